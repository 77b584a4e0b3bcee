#pragma once

#include <QString>

class QWidget;

namespace vesk3 {

// Caption of the program's plain and error boxes.
inline constexpr auto ApplicationTitle = u"Dorv-3 (0,01)";

// A plain message: the application title, no icon, one OK button.
void showMessage(const QString &text);

// The finishing question: caption "Warning", the warning icon, OK and Cancel. True only for OK.
bool askToFinish(const QString &text);

// A question before something that cannot be undone: the application title, the warning icon, OK and Cancel.
// True only for OK.
bool askToConfirm(const QString &text);

// A question with two answers: the application title, the question icon, "Так" and "Ні".
// True only for "Так".
bool askYesNo(const QString &text);

// An error: the application title, the stop icon, the text by errorBoxText().
void showError(const QString &text);

} // namespace vesk3
