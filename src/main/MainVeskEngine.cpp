// The main window's test engine: starting a test, showing a question and taking its answer, moving through
// the test, bookmarks, the right answer, and finishing.

#include "BankError.h"
#include "ClickNotifier.h"
#include "ErrorGuard.h"
#include "MainVeskUnit.h"
#include "MessageBoxes.h"
#include "ProgressVeskForm.h"
#include "ResultDlg_Train.h"
#include "Table.h"
#include "ui_MainVeskUnit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <algorithm>
#include <utility>

namespace vesk3 {

namespace {

const QString FinishQuestion = u"Ви Дійсно хочете завершити тест?"_qs;

// The colour of the chosen answer; every other answer box has the system's window colour.
const QColor ChosenColour(0, 255, 0);

QColor normalColour()
{
    return QApplication::palette().color(QPalette::Base);
}

void setBoxColour(QPlainTextEdit &box, const QColor &colour)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, colour);
    box.setPalette(palette);
}

} // namespace

void TMainVeskForm::connectTestEngine()
{
    connectGuarded(ui->StartBtn, &QPushButton::clicked, this, &TMainVeskForm::StartBtnClick);
    connectGuarded(ui->NextBtn, &QPushButton::clicked, this, &TMainVeskForm::NextBtnClick);
    connectGuarded(ui->BackBtn, &QPushButton::clicked, this, &TMainVeskForm::BackBtnClick);
    connectGuarded(ui->FinishBtn, &QPushButton::clicked, this, &TMainVeskForm::FinishBtnClick);
    connectGuarded(ui->TableBtn, &QPushButton::clicked, this, &TMainVeskForm::TableBtnClick);
    connectGuarded(ui->CheckBtn, &QPushButton::clicked, this, &TMainVeskForm::CheckBtnClick);
    connectGuarded(ui->RAnsBtn, &QPushButton::clicked, this, &TMainVeskForm::RAnsBtnClick);
    const std::array handlers{&TMainVeskForm::Memo1Click, &TMainVeskForm::Memo2Click,
                              &TMainVeskForm::Memo3Click, &TMainVeskForm::Memo4Click,
                              &TMainVeskForm::Memo5Click};
    for (std::size_t k = 0; k < handlers.size(); ++k)
        connectGuarded(new ClickNotifier(*answerBoxes()[k]), &ClickNotifier::clicked, this, handlers[k]);
}

// Starting a test.

void TMainVeskForm::StartBtnClick()
{
    // A test that cannot run is refused before anything changes.
    if (const std::optional<QString> refusal = startRefusal()) {
        showMessage(*refusal);
        return;
    }
    beginTest(QDateTime::currentDateTime(), newTestTimeLimit(), 0);
    if (state.Mode == ModeExam) {
        StartExamControls();
        ComposeExam(state);
        // Set before the first question is read, so that a failed read leaves it within the exam.
        state.CurrentQuestion = 1;
        beginKeepingExam();
        ShowExamQuestion();
        UpdateStatistics();
    } else if (state.Mode == ModeTraining) {
        StartTrainingControls();
        ShowQuestion(trainingQuestion(TrainingCounter), state.SubjectName);
        UpdateStatistics();
    }
}

// What every start does, also of an exam taken up again: the test runs from `started`, its clock from the
// time already used.
void TMainVeskForm::beginTest(const QDateTime &started, std::optional<std::int64_t> limitMs,
                              std::int64_t usedMs)
{
    ui->Panel1->hide();
    state.TestRunning = true;
    state.Started = started;
    startClock(limitMs, usedMs);
    // The new test replaces the review of the last one.
    state.Review.reset();
    updateHistoryItems();
}

std::optional<QString> TMainVeskForm::startRefusal() const
{
    if (state.Mode == ModeExam)
        return examRefusal(state.TestSettings.BankSize);
    if (state.Mode == ModeTraining)
        return trainingRefusal(state);
    return std::nullopt;
}

void TMainVeskForm::StartExamControls()
{
    ui->StartBtn->setEnabled(false);
    ui->FinishBtn->setEnabled(true);
    ui->NextBtn->setEnabled(true);
    ui->BackBtn->setEnabled(true);
    ui->TableBtn->setEnabled(true);
    ui->CheckBtn->setEnabled(true);
    ui->M1->menuAction()->setEnabled(false);
    ui->SLabel2->setText(QString::number(ExamSize));
}

void TMainVeskForm::StartTrainingControls()
{
    TrainingCounter = 1;
    TrainingQuestions = trainingQuestions(state);
    Score = 0;
    TrainingAnswers.clear();
    state.TestSettings.RightCount = 0;
    state.TestSettings.WrongCount = 0;
    ui->StartBtn->setEnabled(false);
    ui->FinishBtn->setEnabled(true);
    ui->NextBtn->setEnabled(true);
    ui->BackBtn->setEnabled(false);
    ui->TableBtn->setEnabled(false);
    ui->RAnsBtn->setEnabled(true);
    ui->M1->menuAction()->setEnabled(false);
}

// Showing a question and taking its answer.

void TMainVeskForm::ShowQuestion(std::int32_t N, const QString &SheetName)
{
    bank::makeSubjectCurrent(*ExcelApp, SheetName.toStdString());
    const AnswerOrder order = ShuffleAnswers(state.Random);
    AnswerColumns = order.AnswerColumns;
    state.TestSettings.RightAnswer = order.RightAnswer;
    // Each text goes into its box as soon as it is read: a failed read leaves the boxes before it filled.
    ui->QuestionMemo->setPlainText(boxText(ExcelApp->readCell(N, bank::QuestionColumn)));
    const auto boxes = answerBoxes();
    for (std::size_t k = 0; k < boxes.size(); ++k)
        boxes[k]->setPlainText(boxText(ExcelApp->readCell(N, AnswerColumns[k])));
    if (state.Mode == ModeExam) {
        state.ExamData[state.CurrentQuestion].Shown = 1;
        keepExamEntry(state.CurrentQuestion);
    }
}

void TMainVeskForm::ShowExamQuestion()
{
    const TExamData &entry = state.ExamData[state.CurrentQuestion];
    ShowQuestion(entry.Number, entry.Subject);
}

void TMainVeskForm::UpdateStatistics()
{
    if (state.Mode == ModeExam) {
        const TExamData &entry = state.ExamData[state.CurrentQuestion];
        ui->SLabel1->setText(QString::number(state.CurrentQuestion));
        ui->SLabel3->setText(QString::number(entry.Number));
        ui->SLabel7->setText(entry.Subject);
    } else if (state.Mode == ModeTraining) {
        ui->SLabel1->setText(QString::number(TrainingCounter));
        ui->SLabel2->setText(QString::number(TrainingQuestions.size()));
        ui->SLabel3->setText(QString::number(trainingQuestion(TrainingCounter)));
        ui->SLabel6->setText(scoreText(Score));
        ui->SLabel7->setText(state.SubjectName);
    }
}

void TMainVeskForm::Memo1Click()
{
    chooseAnswer(1);
}

void TMainVeskForm::Memo2Click()
{
    chooseAnswer(2);
}

void TMainVeskForm::Memo3Click()
{
    chooseAnswer(3);
}

void TMainVeskForm::Memo4Click()
{
    chooseAnswer(4);
}

void TMainVeskForm::Memo5Click()
{
    chooseAnswer(5);
}

void TMainVeskForm::chooseAnswer(int position)
{
    clearAnswerHighlight();
    setBoxColour(*answerBoxes()[std::size_t(position - 1)], ChosenColour);
    state.TestSettings.ChosenAnswer = position;
    RecordAnswer(position);
}

void TMainVeskForm::RecordAnswer(int Position)
{
    if (state.Mode != ModeExam)
        return;
    TExamData &entry = state.ExamData[state.CurrentQuestion];
    entry.Correct = Position == state.TestSettings.RightAnswer ? 1 : 0;
    entry.Answered = 1;
    entry.ChosenColumn = AnswerColumns[std::size_t(Position - 1)];
    entry.ChosenOrder = AnswerColumns;
    TableVeskForm->setItemImage(state.CurrentQuestion - 1, TableImage::Answered);
    keepExamEntry(state.CurrentQuestion);
}

// The question table.

void TMainVeskForm::GotoQuestion()
{
    clearAnswerHighlight();
    ShowQuestion(state.GotoNumber, state.ExamData[state.CurrentQuestion].Subject);
    UpdateStatistics();
    TableVeskForm->deselectItem(state.CurrentQuestion - 1);
}

void TMainVeskForm::TableBtnClick()
{
    if (state.CurrentQuestion > ExamSize - 1)
        ui->NextBtn->setEnabled(false);
    ui->BackBtn->setEnabled(true);
    TableVeskForm->show();
    TableVeskForm->raise();
    TableVeskForm->activateWindow();
}

// Bookmarks and the right answer.

void TMainVeskForm::CheckBtnClick()
{
    TableVeskForm->checkItem(state.CurrentQuestion - 1);
}

void TMainVeskForm::RAnsBtnClick()
{
    clearAnswerHighlight();
    const std::int32_t right = state.TestSettings.RightAnswer;
    if (right >= 1 && right <= bank::AnswerCount)
        setBoxColour(*answerBoxes()[std::size_t(right - 1)], ChosenColour);
    state.TestSettings.ChosenAnswer = right;
}

// Moving through a test.

void TMainVeskForm::NextBtnClick()
{
    if (HighlightedAnswer() == 0)
        state.TestSettings.ChosenAnswer = 0;
    clearAnswerHighlight();
    if (state.Mode == ModeExam)
        nextExamQuestion();
    else if (state.Mode == ModeTraining)
        nextTrainingQuestion();
}

void TMainVeskForm::nextExamQuestion()
{
    if (state.CurrentQuestion >= ExamSize) {
        ui->NextBtn->setEnabled(false);
    } else {
        ++state.CurrentQuestion;
        ShowExamQuestion();
        UpdateStatistics();
    }
    ui->BackBtn->setEnabled(true);
}

// The last question of the range is scored by the first Next on it, before the question whether to finish;
// declining keeps that score, and a further Next only asks again.
void TMainVeskForm::nextTrainingQuestion()
{
    const bool last = onLastTrainingQuestion();
    if (!trainingQuestionScored())
        scoreTrainingAnswer();
    if (!last) {
        ShowQuestion(trainingQuestion(TrainingCounter + 1), state.SubjectName);
        ++TrainingCounter;
    }
    UpdateStatistics();
    if (last)
        FinishBtnClick();
}

bool TMainVeskForm::onLastTrainingQuestion() const
{
    return TrainingCounter == std::int32_t(TrainingQuestions.size());
}

// The number of the run's question at a place, 1 for the first.
std::int32_t TMainVeskForm::trainingQuestion(std::int32_t place) const
{
    return TrainingQuestions.at(std::size_t(place - 1));
}

bool TMainVeskForm::trainingQuestionScored() const
{
    return state.TestSettings.RightCount + state.TestSettings.WrongCount == TrainingCounter;
}

// A question left without an answer counts as wrong.
void TMainVeskForm::scoreTrainingAnswer()
{
    TTestSettings &settings = state.TestSettings;
    const bool right = settings.ChosenAnswer == settings.RightAnswer;
    keepTrainingAnswer(right);
    if (right) {
        ++settings.RightCount;
        ui->SLabel4->setText(QString::number(settings.RightCount));
    } else {
        ++settings.WrongCount;
        ui->SLabel5->setText(QString::number(settings.WrongCount));
    }
    Score = trainingScore(settings);
}

void TMainVeskForm::keepTrainingAnswer(bool right)
{
    const std::int32_t chosen = state.TestSettings.ChosenAnswer;
    ReviewEntry answer{state.SubjectName, trainingQuestion(TrainingCounter)};
    if (chosen >= 1 && chosen <= bank::AnswerCount) {
        answer.ChosenColumn = AnswerColumns[std::size_t(chosen - 1)];
        answer.ChosenOrder = AnswerColumns;
    }
    answer.Right = right;
    TrainingAnswers.push_back(answer);
}

void TMainVeskForm::BackBtnClick()
{
    clearAnswerHighlight();
    if (state.CurrentQuestion > 1) {
        --state.CurrentQuestion;
        ShowExamQuestion();
        UpdateStatistics();
    } else {
        ui->BackBtn->setEnabled(false);
    }
    ui->NextBtn->setEnabled(true);
}

// Finishing.

void TMainVeskForm::FinishBtnClick()
{
    const QScopedValueRollback finishing(Finishing, true);
    if (!askToFinish(FinishQuestion))
        return;
    finishTest();
}

void TMainVeskForm::finishTest()
{
    stopClock();
    keepReview();
    keepInHistory();
    releaseKeptExam();
    bool reviewAsked = false;
    if (state.Mode == ModeExam) {
        reviewAsked = showResults();
        TableVeskForm->resetItems();
        clearExamAnswers(state.ExamData);
    } else if (state.Mode == ModeTraining) {
        ResultVeskForm->setTrainingResultTexts(trainingResultTexts(state.TestSettings, Score));
        reviewAsked = showResults();
    }
    state.TestRunning = false;
    ui->Panel1->show();
    ui->Panel1->setText(u"Виберіть режим роботи програми!!"_qs);
    FinishTestControls();
    state.Mode = ModeNone;
    updateHistoryItems();
    if (reviewAsked)
        Review1Click();
}

// True when the student left the results asking for the review of the mistakes.
bool TMainVeskForm::showResults()
{
    return ResultVeskForm->exec() == TResultVeskForm::ReviewAsked;
}

// Taken before the finish forgets the exam's answers and bookmarks.
void TMainVeskForm::keepReview()
{
    if (state.Mode == ModeExam)
        state.Review = TestReview::ofExam(
            state.ExamData, [this](int entry) { return TableVeskForm->isItemChecked(entry - 1); });
    else if (state.Mode == ModeTraining)
        state.Review = TestReview::ofTraining(std::exchange(TrainingAnswers, {}));
}

// Kept before the results show, so that the figures in the history are those the student reads.
void TMainVeskForm::keepInHistory()
{
    std::vector<KeptEntry> entries;
    QString workbook;
    try {
        workbook = workbookName();
        for (const ReviewEntry &entry : state.Review->entries())
            entries.push_back({entry, questionKey(*ExcelApp, entry.Subject, entry.Number)});
    } catch (const workbook::BankError &error) {
        showMessage(ProgressRecord::keepFailure(QString::fromUtf8(error.what())));
        return;
    }
    Progress.keep(finishedTest(workbook), entries);
    showRecordMessages(Progress);
}

// The workbook's file name; BankError when there is none.
QString TMainVeskForm::workbookName() const
{
    return QFileInfo(QString::fromStdString(bank::chooseWorkbook(setup.workbookPath))).fileName();
}

// A kept exam's record becomes the finished test.
TestSummary TMainVeskForm::finishedTest(const QString &workbook) const
{
    const TestReview &review = *state.Review;
    TestSummary test;
    test.id = KeptExam.id;
    test.limitSeconds = KeptExam.limitSeconds;
    test.started = state.Started;
    test.finished = QDateTime::currentDateTime();
    test.exam = state.Mode == ModeExam;
    test.workbook = workbook;
    test.answered = review.answeredCount();
    test.right = review.rightCount();
    test.seconds = state.Clock.elapsedSeconds();
    if (test.exam) {
        test.asked = ExamSize;
        test.score = double(examScore(test.answered, test.right));
    } else {
        test.subject = state.SubjectName;
        if (state.MistakeQuestions.empty()) {
            test.fromQuestion = state.TestSettings.FromQuestion;
            test.toQuestion = state.TestSettings.ToQuestion;
        }
        test.asked = int(review.entries().size());
        test.score = double(Score);
    }
    return test;
}

void TMainVeskForm::FinishTestControls()
{
    ui->ModeLabel->setText(u"Виберіть режим!"_qs);
    for (QPushButton *button : {ui->StartBtn, ui->FinishBtn, ui->NextBtn, ui->BackBtn})
        button->setEnabled(false);
    ui->M1->menuAction()->setEnabled(true);
    for (QPushButton *button : {ui->TableBtn, ui->CheckBtn, ui->RAnsBtn})
        button->setEnabled(false);
    ui->QuestionMemo->clear();
    for (QPlainTextEdit *box : answerBoxes())
        box->clear();
    for (QLabel *count : {ui->SLabel1, ui->SLabel2, ui->SLabel3, ui->SLabel4, ui->SLabel5})
        count->setText(u"0"_qs);
    ui->SLabel6->setText(u"0%"_qs);
    ui->SLabel7->clear();
    clearAnswerHighlight();
}

// The answer boxes.

std::array<QPlainTextEdit *, bank::AnswerCount> TMainVeskForm::answerBoxes() const
{
    return {ui->Memo1, ui->Memo2, ui->Memo3, ui->Memo4, ui->Memo5};
}

void TMainVeskForm::clearAnswerHighlight()
{
    for (QPlainTextEdit *box : answerBoxes())
        setBoxColour(*box, normalColour());
}

// The highlight is the record of the choice on screen: the position of the green box, 0 when there is none.
int TMainVeskForm::HighlightedAnswer() const
{
    const auto boxes = answerBoxes();
    const auto green = std::ranges::find_if(boxes, [](const QPlainTextEdit *box) {
        return box->palette().color(QPalette::Base) == ChosenColour;
    });
    return green == boxes.end() ? 0 : int(green - boxes.begin()) + 1;
}

// Keyboard control: each key runs a toolbar command or chooses an answer, by its code alone.

// Qt reports letters by the layout's character; with a Ukrainian or Russian layout the R key gives "К".
constexpr int CyrillicKa = 0x041A;

void TMainVeskForm::ApplicationEvents1ShortCut(int Key, bool &Handled)
{
    // Once the time is up, nothing is answered any more.
    if (!state.TestRunning || timeIsUp(state))
        return;
    switch (Key) {
    case Qt::Key_Space:
        // A focused button of this window would press itself on the same Space: one key, one move.
        Handled = buttonHasFocus();
        [[fallthrough]];
    case Qt::Key_Right:
        // The keys still reach the question whether to finish and the results: there they only answer.
        if (!Finishing)
            ui->NextSpeedBtn->click();
        break;
    case Qt::Key_Left:
        ui->BackSpeedBtn->click();
        break;
    case Qt::Key_Down:
        chooseAnswerBelow();
        break;
    case Qt::Key_Up:
        chooseAnswerAbove();
        break;
    case Qt::Key_R:
    case CyrillicKa:
        ui->RAnsSpeedButton->click();
        break;
    default:
        break;
    }
}

bool TMainVeskForm::buttonHasFocus() const
{
    QWidget *focus = QApplication::focusWidget();
    return qobject_cast<QAbstractButton *>(focus) && isAncestorOf(focus);
}

// Down from nothing chooses A; it stops at E.
void TMainVeskForm::chooseAnswerBelow()
{
    const int highlighted = HighlightedAnswer();
    if (highlighted < bank::AnswerCount)
        chooseAnswer(highlighted + 1);
}

// Up from nothing chooses E; it stops at A.
void TMainVeskForm::chooseAnswerAbove()
{
    const int highlighted = HighlightedAnswer();
    if (highlighted == 0)
        chooseAnswer(bank::AnswerCount);
    else if (highlighted > 1)
        chooseAnswer(highlighted - 1);
}

} // namespace vesk3
