#include "FixedDialog.h"

#include "WindowFont.h"

#include <QKeyEvent>

namespace vesk3 {

FixedDialog::FixedDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setFont(windowFont(11));
}

void FixedDialog::fixGeometry(QPoint screenPosition)
{
    setFixedSize(size());
    move(screenPosition);
}

void FixedDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vesk3
