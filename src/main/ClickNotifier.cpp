#include "ClickNotifier.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>

namespace vesk3 {

ClickNotifier::ClickNotifier(QAbstractScrollArea &box) : QObject(&box)
{
    box.installEventFilter(this);
    box.viewport()->installEventFilter(this);
}

bool ClickNotifier::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = static_cast<QWidget *>(watched);
        // A press that was dragged off the box before its release is no click.
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
            emit clicked();
    }
    return false;
}

} // namespace vesk3
