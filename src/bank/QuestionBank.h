#pragma once

#include "Workbook.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bank {

inline constexpr int SubjectCount = 5;
inline constexpr int ExamQuestionCount = 200;

// Worksheet names of the subjects, in the order used everywhere.
inline constexpr std::array<std::string_view, SubjectCount> SubjectSheets{"Therapy", "Surgery", "Pediatry",
                                                                          "Obstetrics", "Infection"};
// The subjects' names as the student reads them (UTF-8), in the same order.
inline constexpr std::array<std::string_view, SubjectCount> SubjectTitles{
    "Терапія", "Хірургія", "Педіатрія", "Акушерство і Гінекологія", "Інфекція"};

using BankSizes = std::array<std::int32_t, SubjectCount>;

// The number of questions on a subject sheet: the rows above the first "end" in column 1, row 1 never
// examined. Without a marker up to the sheet's last used row: BankError naming the sheet.
std::int32_t countQuestions(const workbook::Sheet &sheet);

// How many of the exam's questions each subject gets: proportional to the banks, rounded to the nearest
// integer with ties to even, the last subject taking the rest. The sizes must not be negative and their
// total must be above 0; examObstacle() tells beforehand whether the shares can be drawn from the banks.
BankSizes examShares(const BankSizes &bankSizes);

// Why no exam can be composed from banks of these sizes. Drawing distinct question numbers never ends when
// a bank is smaller than its share, so an exam start must refuse then.
struct ExamObstacle
{
    enum class Kind : std::uint8_t
    {
        NoQuestions,    // every bank is empty: no shares at all
        SharesOverflow, // the first four shares together exceed the exam, leaving the last one negative
        BankBelowShare, // subject's bank holds fewer questions than its share
    };

    Kind kind = Kind::NoQuestions;
    int subject = 0;        // BankBelowShare: index into SubjectSheets
    std::int32_t share = 0; // BankBelowShare: the questions the exam wants from that subject
    std::int32_t bankSize = 0;

    // Ukrainian, for the program's message box and the tool's report.
    std::string text() const;

    friend bool operator==(const ExamObstacle &, const ExamObstacle &) = default;
};

// "1 питання", "3 питання", "5 питань", "21 питання": the count with the Ukrainian word in the right form.
std::string questionsText(std::int64_t count);

// Nothing when an exam can be composed; the first obstacle otherwise. Sizes must not be negative.
std::optional<ExamObstacle> examObstacle(const BankSizes &bankSizes);

} // namespace bank
