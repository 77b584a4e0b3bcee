#pragma once

#include "XlsBuilder.h"

#include <QFile>
#include <QString>
#include <array>
#include <functional>
#include <string>

// A workbook of the five subjects with plain questions ("Питання N з Sur", "Правильна відповідь N",
// "Неправильна N.k"), `counts` of them in each. `question(sheet, row)` may put another question in a row
// and add words to its text; by default row N holds question N as it is.
struct BankQuestion
{
    unsigned number;
    std::u16string extra;
};
using BankEdit = std::function<BankQuestion(std::string_view sheet, unsigned row)>;

inline QString writeBank(const QString &path, const std::array<unsigned, 5> &counts,
                         const BankEdit &question = {})
{
    using namespace xlstest;
    std::vector<SheetSpec> sheets;
    std::size_t subject = 0;
    for (const char *name : {"Therapy", "Surgery", "Pediatry", "Obstetrics", "Infection"}) {
        Bytes records;
        const unsigned count = counts[subject++];
        for (unsigned row = 0; row < count; ++row) {
            const BankQuestion shown = question ? question(name, row + 1) : BankQuestion{row + 1, {}};
            const std::u16string n = QString::number(shown.number).toStdU16String();
            records += label(row, 1, u"Питання " + n + u" з " + std::u16string(name, name + 3) + shown.extra);
            records += label(row, 2, u"Правильна відповідь " + n);
            for (char16_t k = u'1'; k <= u'4'; ++k)
                records += label(row, 2 + (k - u'0'), u"Неправильна " + n + u'.' + k);
        }
        sheets.push_back({name, records + label(count, 0, u"end")});
    }
    QFile file(path);
    const Bytes bytes = compoundFile({{u"Workbook", workbookStream({}, sheets)}});
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
