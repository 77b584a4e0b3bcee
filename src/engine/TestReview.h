#pragma once

#include "BankLoading.h"

#include <QChar>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vesk3 {

class ExamList;
struct TExamData;

enum class ReviewOutcome
{
    Right,
    Wrong,
    Unanswered
};

// One question of a finished test as the student left it.
struct ReviewEntry
{
    QString Subject;
    std::int32_t Number = 0;
    // The worksheet column of the answer chosen, 0 when none was.
    std::int32_t ChosenColumn = 0;
    // The worksheet column shown at each position A to E when the answer was chosen.
    std::array<std::int32_t, bank::AnswerCount> ChosenOrder{};
    bool Right = false;
    bool Bookmarked = false;
    // False for an exam's question that the student never reached.
    bool Shown = true;

    ReviewOutcome outcome() const;
    // The letter under which the answer of `column` stood when the choice was made; a null character when
    // no answer was chosen.
    QChar letterOf(std::int32_t column) const;
};

// An exam's entry as a review and the history hold it, and back.
ReviewEntry reviewEntryOf(const TExamData &data, bool bookmarked);
TExamData examDataOf(const ReviewEntry &entry);

// A finished test's questions in their order, kept for going through the mistakes after the test's own
// answers are gone.
class TestReview
{
public:
    // The exam's entries 1 to 200, with the bookmarks that `bookmarked(entry)` tells.
    static TestReview ofExam(const ExamList &examData, const std::function<bool(int entry)> &bookmarked);
    // A training run's questions in the order they were scored.
    static TestReview ofTraining(std::vector<ReviewEntry> scored);
    // A test as the history kept it.
    static TestReview ofHistory(bool exam, std::vector<ReviewEntry> entries);

    bool isExam() const { return exam; }
    const std::vector<ReviewEntry> &entries() const { return list; }
    int answeredCount() const;
    int rightCount() const;

private:
    TestReview(bool exam, std::vector<ReviewEntry> entries) : exam(exam), list(std::move(entries)) {}

    bool exam;
    std::vector<ReviewEntry> list;
};

} // namespace vesk3
