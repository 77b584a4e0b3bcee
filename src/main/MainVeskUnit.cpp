#include "MainVeskUnit.h"

#include "AboutUnit.h"
#include "ApplicationEvents.h"
#include "CellTextFormat.h"
#include "ErrorGuard.h"
#include "MessageBoxes.h"
#include "ProgressVeskForm.h"
#include "ReviewVeskForm.h"
#include "Table.h"
#include "TestDialog0.h"
#include "WindowFont.h"
#include "ui_MainVeskUnit.h"

#include <QCloseEvent>
#include <QLayout>
#include <QLocale>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QShowEvent>

namespace vesk3 {

namespace {

// The refusal of a mode command, and of Start, while a test runs.
constexpr auto FinishTestFirst = u"Спочатку завершіть попередній тест!";
constexpr auto ChooseModeFirst = u"Спочатку виберіть режим роботи програми!";
constexpr auto TestNotStarted = u"Тест ще не розпочато!";
constexpr auto NoBackInTraining = u"В режимі тренування Кнопка \"Попереднє\" недоступна!!!";
constexpr auto NotInTraining = u"Функція недоступна в режимі \"Тренування\"!";
constexpr auto NotInExam = u"Функція недоступна в режимі \"Екзамен\"!";

void showText(const char16_t *text)
{
    showMessage(QString::fromUtf16(text));
}

} // namespace

TMainVeskForm::TMainVeskForm(TestState &state, BankSetup setup, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainVeskForm>()), state(state), setup(std::move(setup)),
      ExcelApp(std::make_unique<bank::ExcelApplication>(cellTextFormat(QLocale()), this->setup.registry))
{
    setFont(windowFont(11));
    ui->setupUi(this);
    setLargeFonts();
    // A click on an answer chooses it, so the pointer says so over the text.
    for (QPlainTextEdit *answer : {ui->Memo1, ui->Memo2, ui->Memo3, ui->Memo4, ui->Memo5})
        answer->viewport()->setCursor(Qt::PointingHandCursor);
    // A fixed single border: minimize and close, no maximize, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The designed place on the screen: a form file keeps only the size of a window.
    move(260, 184);
    connectGuarded(ui->N6, &QAction::triggered, this, &TMainVeskForm::N6Click);
    connectGuarded(ui->Training1, &QAction::triggered, this, &TMainVeskForm::Training1Click);
    connectGuarded(ui->Test1, &QAction::triggered, this, &TMainVeskForm::Test1Click);
    connectGuarded(ui->ExamSpBtn, &QToolButton::clicked, this, &TMainVeskForm::ExamSpBtnClick);
    connectGuarded(ui->SpeedButton8, &QToolButton::clicked, this, &TMainVeskForm::SpeedButton8Click);
    connectCommands();
    connectTestEngine();
    connectClock();
    guarded(&TMainVeskForm::FormCreate, this);
}

TMainVeskForm::~TMainVeskForm() = default;

void TMainVeskForm::setTableWindow(TTableVeskForm &table)
{
    TableVeskForm = &table;
    // The table goes on only once the question it asked for is on screen.
    connect(
        &table, &TTableVeskForm::gotoQuestion, this, [this] { guarded(&TMainVeskForm::GotoQuestion, this); },
        Qt::DirectConnection);
    connect(&table, &TTableVeskForm::bookmarkChanged, this,
            [this](int item) { guarded(&TMainVeskForm::TableBookmarkChanged, this, item); });
}

void TMainVeskForm::setSubjectDialog(TTestDLGForm &dialog)
{
    TestDLGForm = &dialog;
}

void TMainVeskForm::setResultDialog(TResultVeskForm &dialog)
{
    ResultVeskForm = &dialog;
}

void TMainVeskForm::setAboutWindow(TAboutVeskForm &about)
{
    AboutVeskForm = &about;
}

void TMainVeskForm::setLargeFonts()
{
    ui->ModeLabel->setFont(windowFont(32));
    ui->Panel1->setFont(windowFont(21));
    QFont letters = windowFont(37);
    letters.setBold(true);
    for (QLabel *letter : {ui->LabelA, ui->LabelB, ui->LabelC, ui->LabelD, ui->LabelE})
        letter->setFont(letters);
}

void TMainVeskForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Restoring from the task bar is not a showing of the window.
    if (!event->spontaneous())
        guarded(&TMainVeskForm::FormShow, this);
}

void TMainVeskForm::closeEvent(QCloseEvent *event)
{
    guarded(&TMainVeskForm::FormClose, this);
    QMainWindow::closeEvent(event);
    emit closed();
}

void TMainVeskForm::FormCreate()
{
    serverFound = ExcelApp->IsServerInstalled(bank::ExcelProgId);
    if (!serverFound) {
        showMessage(u"Сервер Excel не встановлено, спочатку встановіть Excel!"_qs);
        return;
    }
    bank::loadQuestionBank(*ExcelApp, setup.workbookPath, state.TestSettings.BankSize, setup.progress);
}

void TMainVeskForm::FormShow()
{
    Q_ASSERT_X(TableVeskForm, "FormShow", "the start-up hands the table window over before showing");
    TableVeskForm->show();
    TableVeskForm->hide();
    state.TestRunning = false;
    state.Mode = ModeNone;
    // Once the window stands, and the loop runs, so that a question can be asked.
    QMetaObject::invokeMethod(
        this, [this] { guarded(&TMainVeskForm::offerKeptExams, this); }, Qt::QueuedConnection);
}

// Closing stays immediate, also during an exam: the record keeps the exam, and the time it took until now.
void TMainVeskForm::FormClose()
{
    if (KeepingExam)
        keepExamEntry(state.CurrentQuestion);
    releaseKeptExam();
    ExcelApp.reset();
}

void TMainVeskForm::N6Click()
{
    close();
}

void TMainVeskForm::Training1Click()
{
    if (state.TestRunning) {
        showText(FinishTestFirst);
        return;
    }
    ui->Panel1->setText(QStringLiteral("Режим Тренування!!! Натисніть кнопку Розпочати!"));
    state.Mode = ModeTraining;
    state.MistakeQuestions.clear();
    Q_ASSERT_X(TestDLGForm, "Training1Click", "the start-up hands the subject dialog over before showing");
    TestDLGForm->exec();
    // Only the dialog's OK names a subject. Without a range confirmed once, a training start would ask
    // for question 0, so Start waits for one.
    ui->StartBtn->setEnabled(!state.SubjectName.isEmpty());
    ui->ModeLabel->setText(QStringLiteral("Режим тренування!"));
}

void TMainVeskForm::Test1Click()
{
    if (state.TestRunning) {
        showText(FinishTestFirst);
        return;
    }
    ui->Panel1->setText(QStringLiteral("Режим Екзамену!!! Натисніть кнопку Розпочати!"));
    state.Mode = ModeExam;
    ui->StartBtn->setEnabled(true);
    ui->ModeLabel->setText(QStringLiteral("Режим екзамену!"));
}

void TMainVeskForm::ExamSpBtnClick()
{
    Test1Click();
}

void TMainVeskForm::SpeedButton8Click()
{
    Training1Click();
}

// The toolbar and menu commands.

void TMainVeskForm::connectCommands()
{
    connectGuarded(ui->StartSpeedButton, &QToolButton::clicked, this, &TMainVeskForm::StartSpeedButtonClick);
    connectGuarded(ui->N2, &QAction::triggered, this, &TMainVeskForm::N2Click);
    connectGuarded(ui->FinishSpeedButton, &QToolButton::clicked, this,
                   &TMainVeskForm::FinishSpeedButtonClick);
    connectGuarded(ui->N5, &QAction::triggered, this, &TMainVeskForm::N5Click);
    connectGuarded(ui->NextSpeedBtn, &QToolButton::clicked, this, &TMainVeskForm::NextSpeedBtnClick);
    connectGuarded(ui->N3, &QAction::triggered, this, &TMainVeskForm::N3Click);
    connectGuarded(ui->BackSpeedBtn, &QToolButton::clicked, this, &TMainVeskForm::BackSpeedBtnClick);
    connectGuarded(ui->N4, &QAction::triggered, this, &TMainVeskForm::N4Click);
    connectGuarded(ui->CheckSpeedButton, &QToolButton::clicked, this, &TMainVeskForm::CheckSpeedButtonClick);
    connectGuarded(ui->TableSpeedButton, &QToolButton::clicked, this, &TMainVeskForm::TableSpeedButtonClick);
    connectGuarded(ui->RAnsSpeedButton, &QToolButton::clicked, this, &TMainVeskForm::RAnsSpeedButtonClick);
    connectGuarded(ui->About1, &QAction::triggered, this, &TMainVeskForm::About1Click);
    connectGuarded(ui->Review1, &QAction::triggered, this, &TMainVeskForm::Review1Click);
    connectGuarded(ui->Progress1, &QAction::triggered, this, &TMainVeskForm::Progress1Click);
    ApplicationEvents1 = new ApplicationEvents(this);
    connect(ApplicationEvents1, &ApplicationEvents::shortCut, this, [this](int key, bool &handled) {
        guarded(&TMainVeskForm::ApplicationEvents1ShortCut, this, key, handled);
    });
}

void TMainVeskForm::StartSpeedButtonClick()
{
    if (state.TestRunning) {
        showText(FinishTestFirst);
        return;
    }
    if (state.Mode == ModeNone) {
        showText(ChooseModeFirst);
        return;
    }
    StartBtnClick();
}

void TMainVeskForm::N2Click()
{
    StartSpeedButtonClick();
}

void TMainVeskForm::FinishSpeedButtonClick()
{
    if (refuseWithoutTest())
        return;
    FinishBtnClick();
}

void TMainVeskForm::N5Click()
{
    FinishSpeedButtonClick();
}

void TMainVeskForm::NextSpeedBtnClick()
{
    if (refuseWithoutTest())
        return;
    if (state.Mode == ModeExam) {
        if (state.CurrentQuestion < ExamSize)
            NextBtnClick();
        ui->BackBtn->setEnabled(true);
    } else if (state.Mode == ModeTraining) {
        NextBtnClick();
    }
}

void TMainVeskForm::N3Click()
{
    ui->NextSpeedBtn->click();
}

// Before a test the exam's question number is left over from the last exam, or none at all: going back then
// would show a question of no test, so Back waits for a running exam like the other commands.
void TMainVeskForm::BackSpeedBtnClick()
{
    if (state.Mode == ModeTraining) {
        showText(NoBackInTraining);
        return;
    }
    if (state.Mode == ModeNone || refuseWithoutTest())
        return;
    BackBtnClick();
}

void TMainVeskForm::N4Click()
{
    ui->BackSpeedBtn->click();
}

void TMainVeskForm::CheckSpeedButtonClick()
{
    runExamCommand(&TMainVeskForm::CheckBtnClick);
}

void TMainVeskForm::TableSpeedButtonClick()
{
    runExamCommand(&TMainVeskForm::TableBtnClick);
}

// The bookmark and table commands: refused without a test and in training, run in an exam.
void TMainVeskForm::runExamCommand(void (TMainVeskForm::*handler)())
{
    if (refuseWithoutTest())
        return;
    if (state.Mode == ModeTraining) {
        showText(NotInTraining);
        return;
    }
    if (state.Mode == ModeExam)
        (this->*handler)();
}

void TMainVeskForm::RAnsSpeedButtonClick()
{
    if (refuseWithoutTest())
        return;
    if (state.Mode == ModeExam) {
        showText(NotInExam);
        return;
    }
    if (state.Mode == ModeTraining)
        RAnsBtnClick();
}

void TMainVeskForm::About1Click()
{
    Q_ASSERT_X(AboutVeskForm, "About1Click", "the start-up hands the About window over before showing");
    AboutVeskForm->exec();
}

// Opens the review of the last finished test; the menu item offers it only while no test runs.
void TMainVeskForm::Review1Click()
{
    if (state.TestRunning || !state.Review || !ExcelApp)
        return;
    TReviewVeskForm review(*state.Review, *ExcelApp, this);
    review.exec();
}

// "Мій прогрес", and from there a training run over a subject's mistakes; only while no test runs.
void TMainVeskForm::Progress1Click()
{
    if (state.TestRunning || !ExcelApp)
        return;
    if (!workbookKeys)
        workbookKeys.emplace(*ExcelApp, state.TestSettings.BankSize);
    TProgressVeskForm progress(Progress, *ExcelApp, *workbookKeys, state.TestSettings.BankSize, this);
    if (progress.exec() == TProgressVeskForm::MistakesAsked)
        startMistakes(progress.mistakesSubject(), progress.mistakeQuestions());
}

// The run goes as a training run over a range does; its questions stand in for the range.
void TMainVeskForm::startMistakes(int subject, const std::vector<std::int32_t> &questions)
{
    if (state.TestRunning) {
        showText(FinishTestFirst);
        return;
    }
    state.Mode = ModeTraining;
    state.SubjectName = QString::fromUtf8(bank::SubjectSheets.at(std::size_t(subject)));
    state.MistakeQuestions = questions;
    ui->ModeLabel->setText(QStringLiteral("Режим тренування!"));
    StartBtnClick();
}

void TMainVeskForm::updateHistoryItems()
{
    ui->Review1->setEnabled(state.Review.has_value() && !state.TestRunning);
    ui->Progress1->setEnabled(!state.TestRunning);
}

// Shows the refusal of a command that needs a running test; true when it did.
bool TMainVeskForm::refuseWithoutTest() const
{
    if (state.TestRunning)
        return false;
    showText(TestNotStarted);
    return true;
}

} // namespace vesk3
