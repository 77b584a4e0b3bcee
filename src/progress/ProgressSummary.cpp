#include "ProgressSummary.h"

#include "CsvExport.h"
#include "Routines.h"

#include <algorithm>

namespace vesk3 {

std::array<SubjectProgress, bank::SubjectCount> subjectProgress(const std::vector<QuestionHistory> &history,
                                                                const WorkbookKeys &keys,
                                                                const bank::BankSizes &bankSize)
{
    std::array<SubjectProgress, bank::SubjectCount> subjects;
    for (std::size_t k = 0; k < subjects.size(); ++k)
        subjects[k].inBank = bankSize[k];
    for (const QuestionHistory &question : history) {
        const auto sheet = std::ranges::find(bank::SubjectSheets, question.subject.toStdString());
        if (sheet == bank::SubjectSheets.end())
            continue;
        SubjectProgress &subject = subjects[std::size_t(sheet - bank::SubjectSheets.begin())];
        subject.answers += question.answered;
        subject.rightAnswers += question.right;
        const std::int32_t row = keys.rowOf(question.key);
        if (row == 0)
            continue;
        ++subject.seen;
        if (question.last == ReviewOutcome::Right)
            ++subject.rightLast;
        else
            subject.mistakes.push_back(row);
    }
    for (SubjectProgress &subject : subjects)
        std::ranges::sort(subject.mistakes);
    return subjects;
}

QString testKindText(const TestSummary &test)
{
    if (test.exam)
        return test.status == TestStatus::Unfinished ? u"Екзамен (не завершено)"_qs : u"Екзамен"_qs;
    if (test.overMistakes())
        return u"Тренування: помилки"_qs;
    return u"Тренування: %1–%2"_qs.arg(test.fromQuestion).arg(test.toQuestion);
}

QString durationText(qint64 seconds)
{
    const QString minutesAndSeconds =
        u"%1:%2"_qs.arg(seconds / 60 % 60).arg(seconds % 60, 2, 10, QChar(u'0'));
    if (seconds < 3600)
        return minutesAndSeconds;
    return u"%1:%2"_qs.arg(seconds / 3600).arg(minutesAndSeconds.rightJustified(5, u'0'));
}

QByteArray testsCsv(const std::vector<TestSummary> &tests)
{
    const auto line = [](const QStringList &fields) {
        std::string text;
        for (const QString &field : fields)
            text += (text.empty() ? "" : ",") + tools::csvField(field.toStdString());
        return QByteArray::fromStdString(text + "\r\n");
    };
    QByteArray csv = line({u"Початок"_qs, u"Кінець"_qs, u"Тест"_qs, u"Розділ"_qs, u"Книга питань"_qs,
                           u"Питань"_qs, u"Відповідей"_qs, u"Правильних"_qs, u"Бал"_qs, u"Час"_qs});
    const QString format = u"yyyy-MM-dd HH:mm:ss"_qs;
    for (const TestSummary &test : tests)
        csv += line({test.started.toString(format), test.finished.toString(format), testKindText(test),
                     test.exam ? QString() : subjectTitle(test.subject), test.workbook,
                     QString::number(test.asked), QString::number(test.answered), QString::number(test.right),
                     scoreText(test.score), durationText(test.seconds)});
    return csv;
}

} // namespace vesk3
