#include "ExitLineEdit.h"

#include <QApplication>

namespace vesk3 {

void ExitLineEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // The application already names the widget that receives the focus.
    const QWidget *next = QApplication::focusWidget();
    if (next && next != this && next->window() == window())
        emit exited();
}

} // namespace vesk3
