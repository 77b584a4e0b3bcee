#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TableVeskForm;
}

namespace vesk3 {

// The question table of a running exam: not modal, and without any title-bar buttons.
class TTableVeskForm : public QDialog
{
    Q_OBJECT

public:
    explicit TTableVeskForm(QWidget *parent = nullptr);
    ~TTableVeskForm() override;

private:
    std::unique_ptr<Ui::TableVeskForm> ui;
};

} // namespace vesk3
