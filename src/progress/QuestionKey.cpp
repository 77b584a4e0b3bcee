#include "QuestionKey.h"

#include "BankError.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace vesk3 {

namespace {

// Each text goes in after its length, so that no text can pass for the end of the one before it.
void addText(QCryptographicHash &hash, const QByteArray &utf8)
{
    const auto size = qToBigEndian(quint32(utf8.size()));
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(&size), sizeof size));
    hash.addData(utf8);
}

} // namespace

QByteArray questionKey(const QString &subject, const bank::QuestionTexts &texts)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    addText(hash, subject.toUtf8());
    addText(hash, QByteArray::fromStdString(texts.question));
    for (const std::string &answer : texts.answers)
        addText(hash, QByteArray::fromStdString(answer));
    return hash.result();
}

QByteArray questionKey(bank::ExcelApplication &ExcelApp, const QString &subject, std::int32_t number)
{
    return questionKey(subject, bank::ReadQuestion(ExcelApp, subject.toStdString(), number));
}

WorkbookKeys::WorkbookKeys(bank::ExcelApplication &ExcelApp, const bank::BankSizes &bankSize)
{
    for (std::size_t subject = 0; subject < bankSize.size(); ++subject) {
        const QString sheet = QString::fromUtf8(bank::SubjectSheets[subject]);
        for (std::int32_t number = 1; number <= bankSize[subject]; ++number) {
            try {
                const QByteArray key = questionKey(ExcelApp, sheet, number);
                // A question that stands twice is found at its first row.
                if (!rows.contains(key))
                    rows.insert(key, number);
            } catch (const workbook::BankError &) {
            }
        }
    }
}

} // namespace vesk3
