#include "BankCheck.h"

#include "BankError.h"
#include "CellText.h"

#include <algorithm>
#include <unordered_map>

namespace tools {

namespace {

constexpr int QuestionColumn = 2;
constexpr int FirstAnswerColumn = 3;
constexpr int LastAnswerColumn = 7;

bool hasBlankAnswer(const workbook::Sheet &sheet, int row)
{
    for (int column = FirstAnswerColumn; column <= LastAnswerColumn; ++column) {
        if (sheet.isBlank(row, column))
            return true;
    }
    return false;
}

// The rows of the questions that may repeat, in order: those whose text shares its hash with another's.
// The hash needs no text read out, so only these few are read and compared whole.
std::vector<int> rowsSharingAHash(const workbook::Sheet &sheet, int questionCount)
{
    std::vector<std::pair<std::uint64_t, int>> hashes;
    for (int row = 1; row <= questionCount; ++row) {
        if (!sheet.isBlank(row, QuestionColumn))
            hashes.emplace_back(sheet.textHash(row, QuestionColumn, workbook::TextFormat{}), row);
    }
    std::ranges::sort(hashes);
    std::vector<int> rows;
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        const bool sharesHash = (i > 0 && hashes[i - 1].first == hashes[i].first) ||
                                (i + 1 < hashes.size() && hashes[i + 1].first == hashes[i].first);
        if (sharesHash)
            rows.push_back(hashes[i].second);
    }
    std::ranges::sort(rows);
    return rows;
}

std::vector<std::vector<int>> repeatedQuestionRows(const workbook::Sheet &sheet, int questionCount)
{
    const std::vector<int> candidates = rowsSharingAHash(sheet, questionCount);
    std::vector<std::string> texts;
    for (const int row : candidates)
        texts.push_back(workbook::cellText(sheet.cell(row, QuestionColumn), workbook::TextFormat{}));
    std::vector<std::vector<int>> groups = repeatedRows(texts);
    // repeatedRows numbers the candidates from 1.
    for (std::vector<int> &group : groups) {
        for (int &position : group)
            position = candidates[position - 1];
    }
    return groups;
}

void checkQuestions(const workbook::Sheet &sheet, SubjectCheck &subject)
{
    for (int row = 1; row <= *subject.questionCount; ++row) {
        if (sheet.isBlank(row, QuestionColumn))
            subject.emptyQuestionRows.push_back(row);
        if (hasBlankAnswer(sheet, row))
            subject.emptyAnswerRows.push_back(row);
    }
    subject.repeatedQuestionRows = repeatedQuestionRows(sheet, *subject.questionCount);
}

SubjectCheck checkSubject(const workbook::Workbook &workbook, std::string_view sheetName)
{
    SubjectCheck subject;
    subject.sheetName = sheetName;
    const CountedSubject counted = countSubject(workbook, sheetName);
    subject.questionCount = counted.questionCount;
    subject.problem = counted.problem;
    if (counted.questionCount)
        checkQuestions(*counted.sheet, subject);
    return subject;
}

void printSubject(std::ostream &out, const SubjectCheck &subject)
{
    out << subject.sheetName << ": ";
    if (!subject.questionCount) {
        out << "ПРОБЛЕМА: " << subject.problem << '\n';
        return;
    }
    out << bank::questionsText(*subject.questionCount) << '\n';
    if (!subject.emptyQuestionRows.empty())
        out << "  попередження: порожній текст питання (стовпець 2), " << rowList(subject.emptyQuestionRows)
            << '\n';
    if (!subject.emptyAnswerRows.empty())
        out << "  попередження: порожня відповідь (стовпці 3–7), " << rowList(subject.emptyAnswerRows)
            << '\n';
    for (const std::vector<int> &rows : subject.repeatedQuestionRows)
        out << "  попередження: однаковий текст питання, " << rowList(rows) << '\n';
}

void printExam(std::ostream &out, const BankCheck &check)
{
    out << "\nЕкзамен із " << bank::ExamQuestionCount << " питань: ";
    if (!check.shares) {
        out << "частки не обчислено, бо не всі предмети вдалося прочитати.\n";
        return;
    }
    out << "частки ";
    for (int k = 0; k < bank::SubjectCount; ++k)
        out << (k > 0 ? ", " : "") << bank::SubjectSheets[k] << ' ' << (*check.shares)[k];
    out << ".\n";
    if (check.examObstacle)
        out << "ПРОБЛЕМА: " << check.examObstacle->text() << '\n';
    else
        out << "Екзамен скласти можна.\n";
}

} // namespace

CountedSubject countSubject(const workbook::Workbook &workbook, std::string_view sheetName)
{
    CountedSubject subject;
    subject.sheet = workbook.findSheet(sheetName);
    if (subject.sheet == nullptr) {
        subject.problem = "У книзі немає аркуша «" + std::string(sheetName) + "».";
        return subject;
    }
    try {
        subject.questionCount = bank::countQuestions(*subject.sheet);
    } catch (const workbook::BankError &error) {
        subject.problem = error.what();
    }
    return subject;
}

bool SubjectCheck::hasWarnings() const
{
    return !emptyQuestionRows.empty() || !emptyAnswerRows.empty() || !repeatedQuestionRows.empty();
}

bool BankCheck::programCanUseWholeBank() const
{
    return std::ranges::all_of(subjects, [](const SubjectCheck &s) { return s.questionCount.has_value(); }) &&
           !examObstacle;
}

bool BankCheck::hasWarnings() const
{
    return std::ranges::any_of(subjects, &SubjectCheck::hasWarnings);
}

BankCheck checkBank(const workbook::Workbook &workbook)
{
    BankCheck check;
    bank::BankSizes sizes{};
    bool allCounted = true;
    for (int k = 0; k < bank::SubjectCount; ++k) {
        check.subjects[k] = checkSubject(workbook, bank::SubjectSheets[k]);
        allCounted = allCounted && check.subjects[k].questionCount.has_value();
        sizes[k] = check.subjects[k].questionCount.value_or(0);
    }
    // A counted sheet holds at least one question, so the total is above 0 and the shares exist.
    if (allCounted) {
        check.shares = bank::examShares(sizes);
        check.examObstacle = bank::examObstacle(sizes);
    }
    return check;
}

void printBankCheck(std::ostream &out, const BankCheck &check)
{
    for (const SubjectCheck &subject : check.subjects)
        printSubject(out, subject);
    printExam(out, check);

    out << "\nПідсумок: ";
    const auto uncounted =
        std::ranges::find_if(check.subjects, [](const SubjectCheck &s) { return !s.questionCount; });
    if (uncounted != check.subjects.end())
        out << "завантаження в програмі зупиниться на аркуші «" << uncounted->sheetName << "».\n";
    else if (check.examObstacle)
        out << "програма завантажить банк, але екзамен не розпочнеться.\n";
    else if (check.hasWarnings())
        out << "програма може використати весь банк питань; попередження їй не заважають.\n";
    else
        out << "програма може використати весь банк питань.\n";
}

std::vector<std::vector<int>> repeatedRows(const std::vector<std::string> &texts)
{
    std::unordered_map<std::string_view, std::vector<int>> rowsByText;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!workbook::isBlankText(texts[i]))
            rowsByText[texts[i]].push_back(static_cast<int>(i) + 1);
    }
    std::vector<std::vector<int>> groups;
    for (auto &[text, rows] : rowsByText) {
        if (rows.size() > 1)
            groups.push_back(std::move(rows));
    }
    std::ranges::sort(groups, {}, [](const std::vector<int> &rows) { return rows.front(); });
    return groups;
}

std::string rowList(const std::vector<int> &rows)
{
    std::string list = rows.size() == 1 ? "рядок " : "рядки ";
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t runEnd = i;
        while (runEnd + 1 < rows.size() && rows[runEnd + 1] == rows[runEnd] + 1)
            ++runEnd;
        list += (i > 0 ? ", " : "") + std::to_string(rows[i]);
        // Two neighbours read better as a list than as a range.
        if (runEnd - i >= 2)
            list += "–" + std::to_string(rows[runEnd]);
        else if (runEnd > i)
            list += ", " + std::to_string(rows[runEnd]);
        i = runEnd + 1;
    }
    return list;
}

} // namespace tools
