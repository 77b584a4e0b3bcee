#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ResultVeskForm;
}

namespace vesk3 {

// The results of a finished test, shown modally.
class TResultVeskForm : public QDialog
{
    Q_OBJECT

public:
    explicit TResultVeskForm(QWidget *parent = nullptr);
    ~TResultVeskForm() override;

private:
    std::unique_ptr<Ui::ResultVeskForm> ui;
};

} // namespace vesk3
