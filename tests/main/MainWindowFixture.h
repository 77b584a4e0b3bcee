#pragma once

#include "MainVeskUnit.h"
#include "Routines.h"
#include "Table.h"
#include "TestDialog0.h"

#include <QTest>
#include <memory>

// The main window as the start-up leaves it, on the test question bank (12, 9, 7, 5 and 4 questions),
// with the windows it is handed.
struct MainWindowFixture
{
    MainWindowFixture()
    {
        form = std::make_unique<vesk3::TMainVeskForm>(state, vesk3::BankSetup{VESK3_FIXTURES "/bank.xls"});
        form->setSubjectDialog(subjectDialog);
        form->setTableWindow(table);
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
    vesk3::TTableVeskForm table;
    std::unique_ptr<vesk3::TMainVeskForm> form;
};
