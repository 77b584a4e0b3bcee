#pragma once

#include "ProgressRecord.h"
#include "QuestionKey.h"

#include <QByteArray>
#include <array>
#include <vector>

namespace vesk3 {

// One subject's progress over today's bank.
struct SubjectProgress
{
    int inBank = 0;
    // Questions of today's bank shown at least once, and those answered right the last time they were shown.
    int seen = 0;
    int rightLast = 0;
    // All answers given in the subject, and the right ones among them.
    int answers = 0;
    int rightAnswers = 0;
    // Today's numbers of the questions whose last showing ended wrong or unanswered, in worksheet order.
    std::vector<std::int32_t> mistakes;
};

std::array<SubjectProgress, bank::SubjectCount> subjectProgress(const std::vector<QuestionHistory> &history,
                                                                const WorkbookKeys &keys,
                                                                const bank::BankSizes &bankSize);

// The kind of a past test as the list names it: "Екзамен" (one not finished says so), or "Тренування: " with
// its range or "помилки".
QString testKindText(const TestSummary &test);

// Time taken as minutes and seconds, with hours when there are any: 7:05, 1:02:09.
QString durationText(qint64 seconds);

// The past tests one per line, with a line of headings: UTF-8, CRLF, fields quoted as vesk3-bank quotes them.
QByteArray testsCsv(const std::vector<TestSummary> &tests);

} // namespace vesk3
