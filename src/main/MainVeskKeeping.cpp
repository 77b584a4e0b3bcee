// The exam in progress kept in the record from its Start, change by change, so that one cut off by a closed
// window, a crash or a kill is offered again at the next start.

#include "BankError.h"
#include "ErrorGuard.h"
#include "MainVeskUnit.h"
#include "MessageBoxes.h"
#include "ProgressVeskForm.h"
#include "Table.h"
#include "ui_MainVeskUnit.h"

#include <QFileInfo>
#include <QLockFile>
#include <algorithm>

namespace vesk3 {

namespace {

QString startedText(const TestSummary &exam)
{
    return exam.started.toString(u"dd.MM.yyyy, HH:mm"_qs);
}

} // namespace

// The exam is kept with its questions' keys, so that it can be taken up again when the workbook moved them.
void TMainVeskForm::beginKeepingExam()
{
    KeptExam = {};
    KeptExam.started = state.Started;
    KeptExam.asked = ExamSize;
    KeptExam.onScreen = state.CurrentQuestion;
    KeptExam.limitSeconds = state.TimeLimitMs.value_or(0) / 1000;
    std::vector<KeptEntry> entries;
    try {
        KeptExam.workbook = workbookName();
        for (int entry = 1; entry <= ExamSize; ++entry) {
            const TExamData &data = state.ExamData[entry];
            entries.push_back(
                {reviewEntryOf(data, false), questionKey(*ExcelApp, data.Subject, data.Number)});
        }
    } catch (const workbook::BankError &error) {
        showMessage(ProgressRecord::examKeepFailure(QString::fromUtf8(error.what())));
        return;
    }
    ExamClaim = Progress.beginExam(KeptExam, entries);
    KeepingExam = ExamClaim != nullptr;
    showRecordMessages(Progress);
}

// One change is written as it happens: the entry that changed, the entry on screen and the time used.
void TMainVeskForm::keepExamEntry(int entry)
{
    if (!KeepingExam)
        return;
    KeptExam.onScreen = state.CurrentQuestion;
    KeptExam.seconds = state.Clock.elapsedSeconds();
    if (Progress.keepExamEntry(KeptExam, entry,
                               reviewEntryOf(state.ExamData[entry], TableVeskForm->isItemChecked(entry - 1))))
        return;
    // Told once; the exam goes on, and its finish tries the record once more.
    KeepingExam = false;
    showRecordMessages(Progress);
}

void TMainVeskForm::TableBookmarkChanged(int item)
{
    if (state.TestRunning && state.Mode == ModeExam)
        keepExamEntry(item + 1);
}

void TMainVeskForm::releaseKeptExam()
{
    KeptExam = {};
    ExamClaim.reset();
    KeepingExam = false;
}

// Offered one after another, the newest first, until one is taken up; one that another running copy of the
// program holds is left to it. A workbook that cannot serve an exam keeps them for a later start.
void TMainVeskForm::offerKeptExams()
{
    if (!ExcelApp || state.TestRunning || examRefusal(state.TestSettings.BankSize) ||
        !QFileInfo::exists(Progress.file()))
        return;
    for (const TestSummary &exam : Progress.runningExams()) {
        std::unique_ptr<QLockFile> claim = Progress.claimExam(exam.id);
        if (claim && offerKeptExam(exam, std::move(claim)))
            break;
    }
    showRecordMessages(Progress);
}

// True when the exam was taken up again; else it is kept as unfinished.
bool TMainVeskForm::offerKeptExam(const TestSummary &exam, std::unique_ptr<QLockFile> claim)
{
    const std::vector<KeptEntry> entries = Progress.entriesOf(exam.id);
    if (entries.size() != std::size_t(ExamSize))
        return false;
    std::vector<KeptEntry> today = entries;
    if (!findToday(today)) {
        showMessage(u"Екзамен, розпочатий %1, продовжити не можна: питання в книзі змінилися. Його збережено"
                    " в історії як незавершений."_qs.arg(startedText(exam)));
        keepUnfinished(exam, entries);
        return false;
    }
    if (!askYesNo(u"Ви не завершили екзамен, розпочатий %1. Продовжити його?"_qs.arg(startedText(exam)))) {
        keepUnfinished(exam, entries);
        return false;
    }
    resumeExam(exam, today, std::move(claim));
    return true;
}

// Each kept question at its row in today's workbook: where it was, else wherever its key is found now.
// False when one of them is no longer there.
bool TMainVeskForm::findToday(std::vector<KeptEntry> &entries)
{
    for (KeptEntry &kept : entries) {
        if (rowHolds(kept))
            continue;
        if (!workbookKeys)
            workbookKeys.emplace(*ExcelApp, state.TestSettings.BankSize);
        kept.entry.Number = workbookKeys->rowOf(kept.key);
        if (kept.entry.Number == 0)
            return false;
    }
    return true;
}

bool TMainVeskForm::rowHolds(const KeptEntry &kept) const
{
    const auto sheet = std::ranges::find(bank::SubjectSheets, kept.entry.Subject.toStdString());
    if (sheet == bank::SubjectSheets.end() || kept.entry.Number < 1 ||
        kept.entry.Number > state.TestSettings.BankSize[std::size_t(sheet - bank::SubjectSheets.begin())])
        return false;
    try {
        return questionKey(*ExcelApp, kept.entry.Subject, kept.entry.Number) == kept.key;
    } catch (const workbook::BankError &) {
        return false;
    }
}

// The exam goes on as if never cut off: its questions, answers, bookmarks and the entry on screen, its clock
// from the time it had used, against its own limit.
void TMainVeskForm::resumeExam(const TestSummary &exam, const std::vector<KeptEntry> &entries,
                               std::unique_ptr<QLockFile> claim)
{
    Test1Click();
    beginTest(exam.started, exam.limitSeconds > 0 ? std::optional(exam.limitSeconds * 1000) : std::nullopt,
              exam.seconds * 1000);
    StartExamControls();
    for (int entry = 1; entry <= ExamSize; ++entry) {
        const ReviewEntry &kept = entries[std::size_t(entry - 1)].entry;
        state.ExamData[entry] = examDataOf(kept);
        if (kept.ChosenColumn != 0)
            TableVeskForm->setItemImage(entry - 1, TableImage::Answered);
        if (kept.Bookmarked)
            TableVeskForm->checkItem(entry - 1);
    }
    KeptExam = exam;
    ExamClaim = std::move(claim);
    KeepingExam = true;
    state.CurrentQuestion = std::clamp(exam.onScreen, 1, ExamSize);
    ShowExamQuestion();
    UpdateStatistics();
}

// Into the history as unfinished, with the answers given: shown so, and reviewable, as a finished test.
void TMainVeskForm::keepUnfinished(TestSummary exam, const std::vector<KeptEntry> &entries)
{
    std::vector<ReviewEntry> answers;
    for (const KeptEntry &kept : entries)
        answers.push_back(kept.entry);
    const TestReview review = TestReview::ofHistory(true, std::move(answers));
    exam.status = TestStatus::Unfinished;
    exam.answered = review.answeredCount();
    exam.right = review.rightCount();
    exam.score = double(examScore(exam.answered, exam.right));
    Progress.keep(exam, entries);
}

} // namespace vesk3
