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

TestReview TestReview::ofExam(const ExamList &examData, const std::function<bool(int entry)> &bookmarked)
{
    std::vector<ReviewEntry> entries;
    entries.reserve(ExamSize);
    for (int entry = 1; entry <= ExamSize; ++entry) {
        const TExamData &data = examData[entry];
        entries.push_back({data.Subject, data.Number, data.ChosenColumn, data.ChosenOrder, data.Correct == 1,
                           bookmarked(entry), data.Shown == 1});
    }
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
