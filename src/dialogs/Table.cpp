#include "Table.h"

#include "ui_Table.h"

namespace vesk3 {

TTableVeskForm::TTableVeskForm(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::TableVeskForm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    // The designed place on the screen: a form file keeps only the size of a window.
    move(259, 203);
}

TTableVeskForm::~TTableVeskForm() = default;

} // namespace vesk3
