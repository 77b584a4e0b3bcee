#pragma once

#include "ExcelApplication.h"
#include "Routines.h"

#include <QTranslator>
#include <memory>
#include <string>

namespace vesk3 {

class TAboutVeskForm;
class TInitVeskForm;
class TMainVeskForm;
class TResultVeskForm;
class TTableVeskForm;
class TTestDLGForm;

// The workbook beside the program's executable, wherever the program was started from.
std::string programWorkbookPath();

// Qt's own texts (its file dialog, the edit boxes' menus, standard buttons) in Ukrainian, from the system's
// Qt translations; false when those are not installed, and Qt then speaks English.
bool installQtTranslations(QTranslator &translator);

// The program from its launch to its main window: the splash, the windows created once in their fixed
// order, and the test state they share. The windows live as long as this object.
class VeskProgram
{
public:
    explicit VeskProgram(std::string workbookPath = programWorkbookPath(),
                         bank::ServerRegistry registry = bank::readerRegistry);
    ~VeskProgram();

    // Shows the splash, creates the windows (the main window loads the question bank), hides the splash and
    // shows the main window. False when no spreadsheet server is registered: the program must then end.
    bool start();

    const TestState &testState() const { return state; }

private:
    void showSplash();
    void createWindows();

    std::string workbookPath;
    bank::ServerRegistry registry;
    QTranslator qtTranslations;
    TestState state;
    std::unique_ptr<TInitVeskForm> InitVeskForm;
    std::unique_ptr<TMainVeskForm> MainVeskForm;
    std::unique_ptr<TTestDLGForm> TestDLGForm;
    std::unique_ptr<TResultVeskForm> ResultVeskForm;
    std::unique_ptr<TTableVeskForm> TableVeskForm;
    std::unique_ptr<TAboutVeskForm> AboutVeskForm;
};

} // namespace vesk3
