#pragma once

#include "ExcelApplication.h"
#include "QuestionBank.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace bank {

inline constexpr std::string_view WorkbookFileName = "vesk3_2005.xls";
// In the workbook's folder the program reads the first of these that exists.
inline constexpr std::array<std::string_view, 3> WorkbookExtensions = {".xls", ".xlsx", ".ods"};

// Columns of a subject sheet; a question's five answers stand side by side, the right one first.
inline constexpr int QuestionColumn = 2;
inline constexpr int RightAnswerColumn = 3;
inline constexpr int AnswerCount = 5;

// The workbook beside the executable: its path cut after the last "/", then the file name. The current
// directory plays no part.
std::string workbookPath(std::string_view executablePath);

// The loading reports its progress as the splash's bar shows it: 20, 40, then 60 to 140 per subject.
using LoadingProgress = std::function<void(int)>;

// The workbook to open for a path ending in ".xls": the path itself, else the same name ending in ".xlsx",
// else in ".ods", whichever exists first. When none exists: BankError naming the folder and the three names.
std::string chooseWorkbook(const std::string &path);

// Connects, opens the workbook (chooseWorkbook), counts the questions of every subject in subject order and
// leaves "Therapy" found and active. A BankError stops it at the failed step; the steps before it stay done,
// so the subjects counted before a failure keep their counts.
void loadQuestionBank(ExcelApplication &ExcelApp, const std::string &path, BankSizes &BankSize,
                      const LoadingProgress &progress);

// The number of questions on the sheet that `Worksheet` holds.
std::int32_t CountQuestions(const ExcelApplication &ExcelApp);

// Makes a subject's sheet `Worksheet` and the active sheet; nothing is looked up or activated when it
// already is `Worksheet` (exact, case-sensitive names, though the lookup itself ignores the case).
void makeSubjectCurrent(ExcelApplication &ExcelApp, std::string_view subjectName);

struct QuestionTexts
{
    std::string question;
    std::array<std::string, AnswerCount> answers; // the right answer first
};

// Question `number` (its row) of a subject, its sheet made current first.
QuestionTexts ReadQuestion(ExcelApplication &ExcelApp, std::string_view subjectName, int number);

} // namespace bank
