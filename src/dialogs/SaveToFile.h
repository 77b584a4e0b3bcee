#pragma once

#include <QString>
#include <functional>

class QFile;
class QWidget;

namespace vesk3 {

// Asks where to save, proposing `fileName` in the user's home folder, and has `write` fill the file opened
// there; a file that cannot be written is told in a message. Nothing happens when the student cancels.
void saveToFile(QWidget *parent, const QString &caption, const QString &fileName, const QString &filter,
                const std::function<void(QFile &)> &write);

} // namespace vesk3
