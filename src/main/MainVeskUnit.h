#pragma once

#include "BankLoading.h"
#include "ExcelApplication.h"
#include "Routines.h"

#include <QMainWindow>
#include <memory>
#include <string>

namespace Ui {
class MainVeskForm;
}

namespace vesk3 {

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

    std::unique_ptr<Ui::MainVeskForm> ui;
    TestState &state;
    BankSetup setup;
    std::unique_ptr<bank::ExcelApplication> ExcelApp;
    TTableVeskForm *TableVeskForm = nullptr;
    TTestDLGForm *TestDLGForm = nullptr;
    bool serverFound = false;
};

} // namespace vesk3
