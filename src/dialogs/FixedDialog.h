#pragma once

#include <QDialog>

namespace vesk3 {

// A dialog of fixed size whose title bar has a close box only, in the windows' 11-pixel font. Escape does not
// close it: these dialogs are left through their own button or the close box.
class FixedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FixedDialog(QWidget *parent);

protected:
    // Call after the form is set up: fixes the size the form gave and puts the dialog at its place on screen.
    void fixGeometry(QPoint screenPosition);

    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace vesk3
