#pragma once

#include "QuestionBank.h"
#include "Workbook.h"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

// A subject's sheet and its question count as the program's loading finds them, or why the loading stops
// there.
struct CountedSubject
{
    const workbook::Sheet *sheet = nullptr;
    std::optional<std::int32_t> questionCount;
    std::string problem; // Ukrainian; set exactly when questionCount is empty
};

CountedSubject countSubject(const workbook::Workbook &workbook, std::string_view sheetName);

// What the program finds on one subject sheet. Empty cells and repeated questions are warnings: the program
// shows them as they are. A missing count is a problem: the program's loading stops at this sheet.
struct SubjectCheck
{
    std::string sheetName;
    std::optional<std::int32_t> questionCount;
    std::string problem; // Ukrainian; set exactly when questionCount is empty
    std::vector<int> emptyQuestionRows;
    std::vector<int> emptyAnswerRows;
    std::vector<std::vector<int>> repeatedQuestionRows; // rows sharing one question text, each group in order

    bool hasWarnings() const;
};

struct BankCheck
{
    std::array<SubjectCheck, bank::SubjectCount> subjects;
    // Known only when every subject was counted.
    std::optional<bank::BankSizes> shares;
    std::optional<bank::ExamObstacle> examObstacle;

    bool programCanUseWholeBank() const;
    bool hasWarnings() const;
};

BankCheck checkBank(const workbook::Workbook &workbook);

// The report in Ukrainian, one subject after another, then the exam and a verdict.
void printBankCheck(std::ostream &out, const BankCheck &check);

// The 1-based positions of texts that stand more than once, blank ones left out; the groups in the order of
// their first position.
std::vector<std::vector<int>> repeatedRows(const std::vector<std::string> &texts);

// Ascending rows with runs shortened: "рядок 4", "рядки 2, 5–7, 9".
std::string rowList(const std::vector<int> &rows);

} // namespace tools
