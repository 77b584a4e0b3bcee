#pragma once

#include "FixedDialog.h"

#include <memory>

namespace Ui {
class TAboutVeskForm;
}

namespace vesk3 {

// The About window: the program's picture, name, version, credits and a summary of the keys. Its content is
// fixed; the user closes it with the close box.
class TAboutVeskForm : public FixedDialog
{
    Q_OBJECT

public:
    explicit TAboutVeskForm(QWidget *parent = nullptr);
    ~TAboutVeskForm() override;

private:
    std::unique_ptr<Ui::TAboutVeskForm> ui;
};

} // namespace vesk3
