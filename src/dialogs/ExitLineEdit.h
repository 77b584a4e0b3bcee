#pragma once

#include <QLineEdit>

namespace vesk3 {

// An edit box that reports when the focus leaves it for another control of its own window. Losing the focus
// to another window, a message box or a popup menu is no exit: the user has not moved on within the form.
class ExitLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace vesk3
