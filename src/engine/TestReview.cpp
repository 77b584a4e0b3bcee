#include "TestReview.h"

#include "Routines.h"

#include <algorithm>

namespace vesk3 {

ReviewOutcome ReviewEntry::outcome() const
{
    if (ChosenColumn == 0)
        return ReviewOutcome::Unanswered;
    return Right ? ReviewOutcome::Right : ReviewOutcome::Wrong;
}

QChar ReviewEntry::letterOf(std::int32_t column) const
{
    if (ChosenColumn == 0)
        return {};
    const auto shown = std::ranges::find(ChosenOrder, column);
    if (shown == ChosenOrder.end())
        return {};
    return QChar(u'A' + char16_t(shown - ChosenOrder.begin()));
}

ReviewEntry reviewEntryOf(const TExamData &data, bool bookmarked)
{
    return {data.Subject,      data.Number, data.ChosenColumn, data.ChosenOrder,
            data.Correct == 1, bookmarked,  data.Shown == 1};
}

TExamData examDataOf(const ReviewEntry &entry)
{
    return {entry.Subject,
            entry.Number,
            std::uint8_t(entry.Right),
            std::uint8_t(entry.ChosenColumn != 0),
            entry.ChosenColumn,
            entry.ChosenOrder,
            std::uint8_t(entry.Shown)};
}

TestReview TestReview::ofExam(const ExamList &examData, const std::function<bool(int entry)> &bookmarked)
{
    std::vector<ReviewEntry> entries;
    entries.reserve(ExamSize);
    for (int entry = 1; entry <= ExamSize; ++entry)
        entries.push_back(reviewEntryOf(examData[entry], bookmarked(entry)));
    return TestReview(true, std::move(entries));
}

TestReview TestReview::ofTraining(std::vector<ReviewEntry> scored)
{
    return TestReview(false, std::move(scored));
}

TestReview TestReview::ofHistory(bool exam, std::vector<ReviewEntry> entries)
{
    return TestReview(exam, std::move(entries));
}

int TestReview::answeredCount() const
{
    return int(std::ranges::count_if(list, [](const ReviewEntry &entry) { return entry.ChosenColumn != 0; }));
}

int TestReview::rightCount() const
{
    return int(std::ranges::count_if(list, [](const ReviewEntry &entry) { return entry.Right; }));
}

} // namespace vesk3
