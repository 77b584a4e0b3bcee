#include "SaveToFile.h"

#include "MessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace vesk3 {

void saveToFile(QWidget *parent, const QString &caption, const QString &fileName, const QString &filter,
                const std::function<void(QFile &)> &write)
{
    QFileDialog dialog(parent, caption, QDir::homePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(fileName).suffix());
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QFile file(dialog.selectedFiles().constFirst());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        write(file);
        // Closing flushes: a full disk shows here.
        file.close();
    }
    if (file.error() != QFileDevice::NoError)
        showMessage(u"Не вдалося записати файл «%1»: %2"_qs.arg(file.fileName(), file.errorString()));
}

} // namespace vesk3
