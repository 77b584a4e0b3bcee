#include "InitDLG.h"

#include "WindowFont.h"
#include "ui_InitDLG.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QWindow>

namespace vesk3 {

namespace {

// How long the splash waits for the window system to put it on screen before it paints anyway.
constexpr int ExposeWaitMs = 1000;

} // namespace

TInitVeskForm::TInitVeskForm(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::InitVeskForm>())
{
    ui->setupUi(this);
    setFont(windowFont(11));
    // The label takes the width of its text, whatever the font.
    ui->Label1->adjustSize();
    // No caption bar and no border, but an ordinary window: it does not stay on top of others.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(size());
    // The designed place on the screen: a form file keeps only the size of a window.
    move(473, 252);
}

TInitVeskForm::~TInitVeskForm() = default;

void TInitVeskForm::showPainted()
{
    show();
    // A new window reaches the screen a moment after it is shown, and what is painted before is lost.
    const QDeadlineTimer deadline(ExposeWaitMs);
    while (!windowHandle()->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(1);
    }
    repaint();
}

void TInitVeskForm::setProgress(int position)
{
    ui->ProgressBar1->setValue(position);
}

} // namespace vesk3
