#include "QuestionBank.h"

#include "BankError.h"
#include "CellText.h"

#include <cmath>
#include <numeric>
#include <stdexcept>

namespace bank {

namespace {

constexpr std::string_view EndMarker = "end";
constexpr int MarkerColumn = 1;

std::int64_t totalSize(const BankSizes &bankSizes)
{
    return std::accumulate(bankSizes.begin(), bankSizes.end(), std::int64_t{0});
}

} // namespace

std::int32_t countQuestions(const workbook::Sheet &sheet)
{
    const workbook::TextFormat format;
    // Row 1 always holds a question; the scan stops at the last used row, where a marker would have to be.
    for (int row = 2; row <= sheet.lastRow(); ++row) {
        if (workbook::cellText(sheet.cell(row, MarkerColumn), format) == EndMarker)
            return row - 1;
    }
    if (sheet.lastRow() == 0)
        throw workbook::BankError("Аркуш «" + sheet.name() +
                                  "» порожній: немає позначки кінця «end» у стовпці 1.");
    throw workbook::BankError("На аркуші «" + sheet.name() +
                              "» немає позначки кінця «end» у стовпці 1 до останнього рядка (" +
                              std::to_string(sheet.lastRow()) + ").");
}

BankSizes examShares(const BankSizes &bankSizes)
{
    const std::int64_t total = totalSize(bankSizes);
    if (total <= 0)
        throw std::invalid_argument("examShares: the banks hold no questions");

    BankSizes shares{};
    std::int32_t given = 0;
    for (int k = 0; k < SubjectCount - 1; ++k) {
        const std::int64_t product = std::int64_t{bankSizes[k]} * ExamQuestionCount;
        // The rounding mode is never changed, so nearbyint rounds halves to the even neighbour.
        shares[k] = static_cast<std::int32_t>(
            std::nearbyint(static_cast<double>(product) / static_cast<double>(total)));
        given += shares[k];
    }
    shares[SubjectCount - 1] = ExamQuestionCount - given;
    return shares;
}

std::optional<ExamObstacle> examObstacle(const BankSizes &bankSizes)
{
    if (totalSize(bankSizes) <= 0)
        return ExamObstacle{.kind = ExamObstacle::Kind::NoQuestions};

    const BankSizes shares = examShares(bankSizes);
    if (shares[SubjectCount - 1] < 0)
        return ExamObstacle{.kind = ExamObstacle::Kind::SharesOverflow};
    for (int k = 0; k < SubjectCount; ++k) {
        if (bankSizes[k] < shares[k])
            return ExamObstacle{.kind = ExamObstacle::Kind::BankBelowShare,
                                .subject = k,
                                .share = shares[k],
                                .bankSize = bankSizes[k]};
    }
    return std::nullopt;
}

std::string questionsText(std::int64_t count)
{
    const std::int64_t lastTwo = count % 100;
    const std::int64_t last = count % 10;
    const bool fewForm = last >= 1 && last <= 4 && (lastTwo < 11 || lastTwo > 14);
    return std::to_string(count) + (fewForm ? " питання" : " питань");
}

std::string ExamObstacle::text() const
{
    switch (kind) {
    case Kind::NoQuestions:
        return "Немає жодного питання: екзамен скласти неможливо.";
    case Kind::SharesOverflow:
        return "Частки перших чотирьох предметів разом перевищують " + std::to_string(ExamQuestionCount) +
               " питань: екзамен скласти неможливо.";
    case Kind::BankBelowShare:
        return "На аркуші «" + std::string(SubjectSheets[subject]) + "» " + questionsText(bankSize) +
               ", а екзамен бере з нього " + std::to_string(share) + ": екзамен скласти неможливо.";
    }
    return {};
}

} // namespace bank
