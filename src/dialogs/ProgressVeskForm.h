#pragma once

#include "ProgressRecord.h"
#include "ProgressSummary.h"

#include <QDialog>
#include <memory>
#include <vector>

namespace bank {
class ExcelApplication;
}

namespace Ui {
class ProgressVeskForm;
}

namespace vesk3 {

// Shows each message that the history has for the user in a plain box.
void showRecordMessages(ProgressRecord &record);

// "Мій прогрес": the exams' scores over time, each subject's progress over today's bank, the past tests with
// their review, the CSV export, the clearing of the history, and the start of a training run on one's
// mistakes.
class TProgressVeskForm : public QDialog
{
    Q_OBJECT

public:
    // What exec() returns when the student asked to train a subject's mistakes.
    static constexpr int MistakesAsked = 2;

    TProgressVeskForm(ProgressRecord &record, bank::ExcelApplication &ExcelApp, const WorkbookKeys &keys,
                      const bank::BankSizes &bankSize, QWidget *parent = nullptr);
    ~TProgressVeskForm() override;

    // After MistakesAsked: the subject's index, and its questions to train in worksheet order.
    int mistakesSubject() const { return chosenSubject; }
    const std::vector<std::int32_t> &mistakeQuestions() const;

private:
    void fill();
    void showExamChart();
    void showSubjects();
    void showTests();
    void examHovered(const QPointF &point, bool entered);
    void MistakesBtnClick(int subject);
    void ViewBtnClick();
    void ExportBtnClick();
    void ClearBtnClick();

    std::unique_ptr<Ui::ProgressVeskForm> ui;
    ProgressRecord &record;
    bank::ExcelApplication &ExcelApp;
    const WorkbookKeys &keys;
    bank::BankSizes bankSize;
    std::vector<TestSummary> tests;
    std::vector<TestSummary> exams;
    std::array<SubjectProgress, bank::SubjectCount> subjects;
    int chosenSubject = -1;
};

} // namespace vesk3
