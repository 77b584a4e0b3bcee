#include "InitDLG.h"

#include "ui_InitDLG.h"

// The picture sits in a static library, whose resources the linker keeps only when they are asked for.
static void initSplashPicture()
{
    Q_INIT_RESOURCE(splash);
}

namespace vesk3 {

TInitVeskForm::TInitVeskForm(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::InitVeskForm>())
{
    initSplashPicture();
    ui->setupUi(this);
    // No caption bar and no border, but an ordinary window: it does not stay on top of others.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(size());
}

TInitVeskForm::~TInitVeskForm() = default;

void TInitVeskForm::setProgress(int position)
{
    ui->ProgressBar1->setValue(position);
}

} // namespace vesk3
