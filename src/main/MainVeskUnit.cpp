#include "MainVeskUnit.h"

#include "CellTextFormat.h"
#include "ErrorGuard.h"
#include "MessageBoxes.h"
#include "Table.h"
#include "TestDialog0.h"
#include "WindowFont.h"
#include "ui_MainVeskUnit.h"

#include <QCloseEvent>
#include <QLayout>
#include <QLocale>
#include <QPlainTextEdit>
#include <QShowEvent>

namespace vesk3 {

namespace {

// The refusal of a mode command while a test runs.
constexpr auto FinishTestFirst = u"Спочатку завершіть попередній тест!";

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
    connectTestEngine();
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
}

void TMainVeskForm::setSubjectDialog(TTestDLGForm &dialog)
{
    TestDLGForm = &dialog;
}

void TMainVeskForm::setResultDialog(TResultVeskForm &dialog)
{
    ResultVeskForm = &dialog;
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
}

void TMainVeskForm::FormClose()
{
    ExcelApp.reset();
}

void TMainVeskForm::N6Click()
{
    close();
}

void TMainVeskForm::Training1Click()
{
    if (state.TestRunning) {
        showMessage(QString::fromUtf16(FinishTestFirst));
        return;
    }
    ui->Panel1->setText(QStringLiteral("Режим Тренування!!! Натисніть кнопку Розпочати!"));
    state.Mode = ModeTraining;
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
        showMessage(QString::fromUtf16(FinishTestFirst));
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

} // namespace vesk3
