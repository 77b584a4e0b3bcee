#include "MainVeskUnit.h"

#include "CellTextFormat.h"
#include "ErrorGuard.h"
#include "MessageBoxes.h"
#include "Table.h"
#include "ui_MainVeskUnit.h"

#include <QCloseEvent>
#include <QLayout>
#include <QLocale>
#include <QShowEvent>

namespace vesk3 {

TMainVeskForm::TMainVeskForm(TestState &state, BankSetup setup, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainVeskForm>()), state(state), setup(std::move(setup)),
      ExcelApp(std::make_unique<bank::ExcelApplication>(cellTextFormat(QLocale()), this->setup.registry))
{
    ui->setupUi(this);
    // A fixed single border: minimize and close, no maximize, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The designed place on the screen: a form file keeps only the size of a window.
    move(260, 184);
    connectGuarded(ui->N6, &QAction::triggered, this, &TMainVeskForm::N6Click);
    guarded(&TMainVeskForm::FormCreate, this);
}

TMainVeskForm::~TMainVeskForm() = default;

void TMainVeskForm::setTableWindow(TTableVeskForm &table)
{
    TableVeskForm = &table;
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

} // namespace vesk3
