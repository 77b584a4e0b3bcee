#pragma once

#include "AboutUnit.h"
#include "MainVeskUnit.h"
#include "ResultDlg_Train.h"
#include "Routines.h"
#include "Table.h"
#include "TestDialog0.h"

#include <QTest>
#include <memory>
#include <string>

// The main window as the start-up leaves it, with the windows it is handed, on a fixture workbook: by
// default the test question bank (12, 9, 7, 5 and 4 questions).
struct MainWindowFixture
{
    explicit MainWindowFixture(const char *workbook = "bank.xls")
    {
        const std::string path = std::string(VESK3_FIXTURES "/") + workbook;
        form = std::make_unique<vesk3::TMainVeskForm>(state, vesk3::BankSetup{path});
        form->setSubjectDialog(subjectDialog);
        form->setResultDialog(resultDialog);
        form->setTableWindow(table);
        form->setAboutWindow(about);
        form->show();
    }

    template <typename W> W *find(const QString &name) const
    {
        auto *found = form->findChild<W *>(name);
        if (!found)
            qFatal("the main window has no %s", qPrintable(name));
        return found;
    }

    vesk3::TestState state;
    vesk3::TTestDLGForm subjectDialog{state};
    vesk3::TResultVeskForm resultDialog{state};
    vesk3::TTableVeskForm table{state};
    vesk3::TAboutVeskForm about;
    std::unique_ptr<vesk3::TMainVeskForm> form;
};
