#include "MessageBoxes.h"

#include "Routines.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace vesk3 {

namespace {

// Boxes have no parent, so they are modal to the whole program and stand in the middle of the screen.
QMessageBox::StandardButton runBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                                   QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons);
    // The program's own button texts, whatever language Qt's translations give the standard buttons: the
    // finish question has always said OK and Cancel; the questions added since answer in Ukrainian.
    for (const auto &[button, caption] :
         {std::pair{QMessageBox::Ok, u"OK"}, std::pair{QMessageBox::Cancel, u"Cancel"},
          std::pair{QMessageBox::Yes, u"Так"}, std::pair{QMessageBox::No, u"Ні"}}) {
        if (QAbstractButton *shown = box.button(button))
            shown->setText(QString::fromUtf16(caption));
    }
    box.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void showMessage(const QString &text)
{
    runBox(QMessageBox::NoIcon, QString::fromUtf16(ApplicationTitle), text, QMessageBox::Ok);
}

bool askToFinish(const QString &text)
{
    return runBox(QMessageBox::Warning, QStringLiteral("Warning"), text,
                  QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool askToConfirm(const QString &text)
{
    return runBox(QMessageBox::Warning, QString::fromUtf16(ApplicationTitle), text,
                  QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool askYesNo(const QString &text)
{
    return runBox(QMessageBox::Question, QString::fromUtf16(ApplicationTitle), text,
                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void showError(const QString &text)
{
    runBox(QMessageBox::Critical, QString::fromUtf16(ApplicationTitle), errorBoxText(text), QMessageBox::Ok);
}

} // namespace vesk3
