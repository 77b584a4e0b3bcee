#include "ApplicationEvents.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vesk3 {

namespace {

// Qt gives a key press first to the keyboard grabber, else to the focus widget, else to the active window,
// and hands it on to the parents of that widget while they ignore it; before all that, a key from the window
// system goes to the window's QWindow. The filter sees every one of these deliveries of the one event, and
// neither the event's address nor its time stamp tells two presses apart, so only the first widget counts.
bool isFirstDelivery(const QObject *receiver)
{
    const QWidget *first = QWidget::keyboardGrabber();
    if (!first)
        first = QApplication::focusWidget();
    if (!first)
        first = QApplication::activeWindow();
    return receiver == first;
}

} // namespace

ApplicationEvents::ApplicationEvents(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool ApplicationEvents::eventFilter(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !isFirstDelivery(receiver))
        return false;
    bool handled = false;
    emit shortCut(static_cast<QKeyEvent *>(event)->key(), handled);
    return handled;
}

} // namespace vesk3
