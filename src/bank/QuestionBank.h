#pragma once

#include "Workbook.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace bank {

inline constexpr int SubjectCount = 5;
inline constexpr int ExamQuestionCount = 200;

// Worksheet names of the subjects, in the order used everywhere.
inline constexpr std::array<std::string_view, SubjectCount> SubjectSheets{"Therapy", "Surgery", "Pediatry",
                                                                          "Obstetrics", "Infection"};

using BankSizes = std::array<std::int32_t, SubjectCount>;

// The number of questions on a subject sheet: the rows above the first "end" in column 1, row 1 never
// examined. Without a marker up to the sheet's last used row: BankError naming the sheet.
std::int32_t countQuestions(const Sheet &sheet);

// How many of the exam's questions each subject gets: proportional to the banks, rounded to the nearest
// integer with ties to even, the last subject taking the rest. The total must be above 0.
BankSizes examShares(const BankSizes &bankSizes);

} // namespace bank
