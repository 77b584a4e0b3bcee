#pragma once

#include "BankLoading.h"
#include "ExcelApplication.h"
#include "ProgressRecord.h"
#include "QuestionKey.h"
#include "Routines.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLockFile;
class QPlainTextEdit;
class QTimer;

namespace Ui {
class MainVeskForm;
}

namespace vesk3 {

class TAboutVeskForm;
class ApplicationEvents;
class TResultVeskForm;
class TTableVeskForm;
class TTestDLGForm;

// What FormCreate needs from the program's start-up: where the workbook lies, which spreadsheet servers are
// registered, and where the loading reports its progress.
struct BankSetup
{
    std::string workbookPath;
    bank::ServerRegistry registry = bank::readerRegistry;
    bank::LoadingProgress progress = [](int) {
    };
};

// The main window. Creating it runs FormCreate, which checks for the spreadsheet server and loads the
// question bank.
class TMainVeskForm : public QMainWindow
{
    Q_OBJECT

public:
    TMainVeskForm(TestState &state, BankSetup setup, QWidget *parent = nullptr);
    ~TMainVeskForm() override;

    // The question table, created after this window; FormShow shows it once.
    void setTableWindow(TTableVeskForm &table);
    // The subject and range dialog, created after this window; choosing Training shows it.
    void setSubjectDialog(TTestDLGForm &dialog);
    // The results dialog, created after this window; finishing a test shows it.
    void setResultDialog(TResultVeskForm &dialog);
    // The About window, created after this window; the menu item About shows it.
    void setAboutWindow(TAboutVeskForm &about);
    // False when FormCreate found no spreadsheet server: the program then ends without showing this window.
    bool serverInstalled() const { return serverFound; }
    // The connection to the spreadsheet server; null once the window has closed.
    const bank::ExcelApplication *excelApp() const { return ExcelApp.get(); }

signals:
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setLargeFonts();

    void FormCreate();
    void FormShow();
    void FormClose();
    void N6Click();
    void Training1Click();
    void Test1Click();
    void ExamSpBtnClick();
    void SpeedButton8Click();

    // The toolbar and menu commands: each checks the test state, then refuses with a message or runs the
    // matching push button's handler.
    void connectCommands();
    void StartSpeedButtonClick();
    void N2Click();
    void FinishSpeedButtonClick();
    void N5Click();
    void NextSpeedBtnClick();
    void N3Click();
    void BackSpeedBtnClick();
    void N4Click();
    void CheckSpeedButtonClick();
    void TableSpeedButtonClick();
    void runExamCommand(void (TMainVeskForm::*handler)());
    void RAnsSpeedButtonClick();
    void About1Click();
    bool refuseWithoutTest() const;

    // Going through the mistakes of the last finished test.
    void Review1Click();
    // The history of finished tests, and training on one's mistakes from it.
    void Progress1Click();
    void startMistakes(int subject, const std::vector<std::int32_t> &questions);
    void updateHistoryItems();

    // The test engine (MainVeskEngine.cpp).
    void connectTestEngine();
    void StartBtnClick();
    void beginTest(const QDateTime &started, std::optional<std::int64_t> limitMs, std::int64_t usedMs);
    void StartExamControls();
    void StartTrainingControls();
    std::optional<QString> startRefusal() const;
    void ShowQuestion(std::int32_t N, const QString &SheetName);
    void ShowExamQuestion();
    void UpdateStatistics();
    void Memo1Click();
    void Memo2Click();
    void Memo3Click();
    void Memo4Click();
    void Memo5Click();
    void chooseAnswer(int position);
    void RecordAnswer(int Position);
    void GotoQuestion();
    void TableBtnClick();
    void CheckBtnClick();
    void RAnsBtnClick();
    void NextBtnClick();
    void nextExamQuestion();
    void nextTrainingQuestion();
    bool onLastTrainingQuestion() const;
    bool trainingQuestionScored() const;
    std::int32_t trainingQuestion(std::int32_t place) const;
    void scoreTrainingAnswer();
    void BackBtnClick();
    void FinishBtnClick();
    void finishTest();
    bool showResults();
    void keepReview();
    void keepInHistory();
    QString workbookName() const;
    TestSummary finishedTest(const QString &workbook) const;
    void keepTrainingAnswer(bool right);
    void FinishTestControls();
    std::array<QPlainTextEdit *, bank::AnswerCount> answerBoxes() const;
    void clearAnswerHighlight();
    int HighlightedAnswer() const;

    // The clock of a test and the time limit of an exam (MainVeskClock.cpp).
    void connectClock();
    void TimedExam1Click();
    std::optional<std::int64_t> newTestTimeLimit() const;
    void startClock(std::optional<std::int64_t> limitMs, std::int64_t usedMs);
    void stopClock();
    void ClockTimerTimer();
    void showClock();
    void finishOnTime();

    // The exam kept in the record while it runs, and taken up again after the program ended without
    // finishing it (MainVeskKeeping.cpp).
    void beginKeepingExam();
    void keepExamEntry(int entry);
    void TableBookmarkChanged(int item);
    void releaseKeptExam();
    void offerKeptExams();
    bool offerKeptExam(const TestSummary &exam, std::unique_ptr<QLockFile> claim);
    bool findToday(std::vector<KeptEntry> &entries);
    bool rowHolds(const KeptEntry &kept) const;
    void resumeExam(const TestSummary &exam, const std::vector<KeptEntry> &entries,
                    std::unique_ptr<QLockFile> claim);
    void keepUnfinished(TestSummary exam, const std::vector<KeptEntry> &entries);

    // Keyboard control during a test (MainVeskEngine.cpp).
    void ApplicationEvents1ShortCut(int Key, bool &Handled);
    bool buttonHasFocus() const;
    void chooseAnswerBelow();
    void chooseAnswerAbove();

    std::unique_ptr<Ui::MainVeskForm> ui;
    TestState &state;
    BankSetup setup;
    std::unique_ptr<bank::ExcelApplication> ExcelApp;
    TTableVeskForm *TableVeskForm = nullptr;
    TTestDLGForm *TestDLGForm = nullptr;
    TResultVeskForm *ResultVeskForm = nullptr;
    TAboutVeskForm *AboutVeskForm = nullptr;
    ApplicationEvents *ApplicationEvents1 = nullptr;
    bool serverFound = false;
    // True from the question whether to finish until the results are closed: Next must not finish again.
    bool Finishing = false;
    // Refreshes the clock every second while a test runs.
    QTimer *ClockTimer = nullptr;
    // The depth of the event loop that the test was started from.
    int StartLoopLevel = 0;

    // Training: the place of the question on screen within the run, 1 for its first question.
    std::int32_t TrainingCounter = 0;
    // Training: the question numbers of the run in their order.
    std::vector<std::int32_t> TrainingQuestions;
    // Training: the per cent of right answers among the questions scored so far.
    long double Score = 0;
    // Training: the questions scored so far, in their order, for the review of the run.
    std::vector<ReviewEntry> TrainingAnswers;
    // The worksheet column shown at each answer position of the question on screen.
    std::array<std::int32_t, bank::AnswerCount> AnswerColumns{};
    // The finished tests; opened at the first finish or the first look at them.
    ProgressRecord Progress;
    // Today's questions by their keys, read at the first look at the history.
    std::optional<WorkbookKeys> workbookKeys;
    // The running exam as the record keeps it (its id 0 when it is not kept), this copy's claim on it, and
    // whether its changes are still written.
    TestSummary KeptExam;
    std::unique_ptr<QLockFile> ExamClaim;
    bool KeepingExam = false;
};

} // namespace vesk3
