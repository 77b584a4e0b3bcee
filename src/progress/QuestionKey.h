#pragma once

#include "BankLoading.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>

namespace vesk3 {

// What a question is known by in the history: SHA-1 of its subject, its text and its five answers, so that
// the history follows a question to another row and an edited question counts as a new one.
QByteArray questionKey(const QString &subject, const bank::QuestionTexts &texts);

// The key of question `number` of a subject as the workbook holds it now; BankError when it cannot be read.
QByteArray questionKey(bank::ExcelApplication &ExcelApp, const QString &subject, std::int32_t number);

// Every question of today's workbook by its key: where the history's questions stand now.
class WorkbookKeys
{
public:
    // Reads the questions 1 to BankSize of every subject; a question that cannot be read cannot be found.
    WorkbookKeys(bank::ExcelApplication &ExcelApp, const bank::BankSizes &bankSize);

    // The question's row in today's workbook; 0 when the workbook no longer holds it.
    std::int32_t rowOf(const QByteArray &key) const { return rows.value(key); }

private:
    QHash<QByteArray, std::int32_t> rows;
};

} // namespace vesk3
