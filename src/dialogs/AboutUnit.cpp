#include "AboutUnit.h"

#include "ui_AboutUnit.h"

#include <QApplication>

namespace vesk3 {

TAboutVeskForm::TAboutVeskForm(QWidget *parent)
    : FixedDialog(parent), ui(std::make_unique<Ui::TAboutVeskForm>())
{
    ui->setupUi(this);
    fixGeometry({319, 242});

    QPalette menuColoured = ui->Memo1->palette();
    menuColoured.setColor(QPalette::Base, QApplication::palette("QMenu").color(QPalette::Window));
    ui->Memo1->setPalette(menuColoured);
    // A narrow margin keeps all eleven lines inside the box, which has no scroll bar.
    ui->Memo1->document()->setDocumentMargin(2);
}

TAboutVeskForm::~TAboutVeskForm() = default;

} // namespace vesk3
