#include "ResultDlg_Train.h"

#include "ui_ResultDlg_Train.h"

namespace vesk3 {

TResultVeskForm::TResultVeskForm(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ResultVeskForm>())
{
    ui->setupUi(this);
    // A fixed dialog frame whose title bar holds only the close button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    // The designed place on the screen: a form file keeps only the size of a window.
    move(438, 302);
}

TResultVeskForm::~TResultVeskForm() = default;

} // namespace vesk3
