#pragma once

#include "AboutUnit.h"
#include "FixedClock.h"
#include "MainVeskUnit.h"
#include "ModalWatcher.h"
#include "ResultDlg_Train.h"
#include "Table.h"
#include "TestDialog0.h"

#include <QtWidgets>
#include <memory>

// The main window as the start-up leaves it, with the windows it is handed, on a fixture workbook (by default
// the test question bank: 12, 9, 7, 5 and 4 questions), driven as the user drives it. Any modal window that
// no test expects fails the test.
struct TestRunFixture
{
    explicit TestRunFixture(const char *workbook = "bank.xls")
    {
        fixedclock::start(20061014);
        form = std::make_unique<vesk3::TMainVeskForm>(
            state, vesk3::BankSetup{std::string(VESK3_FIXTURES "/") + workbook});
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
    QPushButton *button(const QString &name) const { return find<QPushButton>(name); }
    QString text(const QString &label) const { return find<QLabel>(label)->text(); }
    QPlainTextEdit *box(int position) const { return find<QPlainTextEdit>(u"Memo%1"_qs.arg(position)); }
    QString question() const { return find<QPlainTextEdit>("QuestionMemo")->toPlainText(); }
    QStringList answers() const
    {
        QStringList texts;
        for (int position = 1; position <= 5; ++position)
            texts.append(box(position)->toPlainText());
        return texts;
    }
    QListWidget *tableList() const { return table.findChild<QListWidget *>("ListView1"); }

    // A toolbar button clicked with the mouse, or a menu item chosen.
    void command(const QString &name) const
    {
        auto *tool = form->findChild<QToolButton *>(name);
        tool ? QTest::mouseClick(tool, Qt::LeftButton) : find<QAction>(name)->trigger();
    }

    void startExam()
    {
        command("Test1");
        QTest::mouseClick(button("StartBtn"), Qt::LeftButton);
    }

    // Training on a subject and range as the subject dialog confirmed them earlier.
    void startTraining(const QString &subject, int from, int to)
    {
        state.SubjectName = subject;
        state.TestSettings.FromQuestion = from;
        state.TestSettings.ToQuestion = to;
        chooseTrainingClosingTheDialog();
        QTest::mouseClick(button("StartBtn"), Qt::LeftButton);
    }

    // Training chosen from the menu; the subject dialog it shows is closed without OK, after selecting an
    // item.
    void chooseTrainingClosingTheDialog(const QString &selectBeforeClosing = {})
    {
        ModalWatcher modals;
        modals.expect([&selectBeforeClosing](QWidget *dialog) {
            if (!selectBeforeClosing.isEmpty())
                dialog->findChild<QAbstractButton *>(selectBeforeClosing)->click();
            dialog->close();
        });
        command("Training1");
    }

    // The position whose box shows a text starting so; 0 when none does. The plain questions of the fixtures
    // keep their right answer in "Правильна відповідь N".
    int positionShowing(const QString &start) const
    {
        return int(answers().indexOf(QRegularExpression(QRegularExpression::escape(start) + ".*"))) + 1;
    }
    int rightPosition() const { return positionShowing(u"Правильна відповідь"_qs); }
    int wrongPosition() const { return positionShowing(u"Неправильна"_qs); }

    void clickAnswer(int position) const
    {
        QWidget *viewport = box(position)->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, viewport->rect().center());
    }

    // The green box; 0 when all five show the window colour, -1 for anything else.
    int highlighted() const
    {
        const QColor normal = QApplication::palette().color(QPalette::Base);
        int green = 0;
        for (int position = 1; position <= 5; ++position) {
            const QColor colour = box(position)->palette().color(QPalette::Base);
            if (colour == QColor(0, 255, 0))
                green = green == 0 ? position : -1;
            else if (colour != normal)
                return -1;
        }
        return green;
    }

    bool activate() const
    {
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }
    // "Показати таблицю" clicked in the active main window; false unless the table then became active.
    bool openTable()
    {
        if (!activate())
            return false;
        QTest::mouseClick(button("TableBtn"), Qt::LeftButton);
        return QTest::qWaitForWindowActive(&table);
    }
    // Selects a table item as the user does and leaves the table with "Закрити".
    void jumpTo(int item)
    {
        tableList()->setCurrentRow(item - 1);
        QTest::mouseClick(table.findChild<QPushButton *>("CloseBtn"), Qt::LeftButton);
    }

    void next() const { QTest::mouseClick(button("NextBtn"), Qt::LeftButton); }
    void back() const { QTest::mouseClick(button("BackBtn"), Qt::LeftButton); }

    // The finishing question as the user answered it, then the results dialog's four lines if it opened.
    struct Finish
    {
        QList<ModalWatcher::Box> questions;
        QStringList results;
    };
    // Runs an action that asks to finish and answers with `answer`; after OK notes the results dialog's lines
    // and closes it with its OK.
    template <typename Action> Finish finishing(Action action, QMessageBox::StandardButton answer)
    {
        Finish seen;
        ModalWatcher modals;
        modals.expectMessageBox(answer);
        if (answer == QMessageBox::Ok) {
            modals.expect([&seen](QWidget *dialog) {
                for (const char *line : {"Label1", "Label2", "Label3", "Label4"})
                    seen.results.append(dialog->findChild<QLabel *>(line)->text());
                QTest::mouseClick(dialog->findChild<QPushButton *>("OKBtn"), Qt::LeftButton);
            });
        }
        action();
        seen.questions = modals.boxes();
        return seen;
    }
    Finish finish(QMessageBox::StandardButton answer)
    {
        return finishing([this] { QTest::mouseClick(button("FinishBtn"), Qt::LeftButton); }, answer);
    }

    ModalWatcher modals;
    vesk3::TestState state;
    vesk3::TTestDLGForm subjectDialog{state};
    vesk3::TResultVeskForm resultDialog{state};
    vesk3::TTableVeskForm table{state};
    vesk3::TAboutVeskForm about;
    std::unique_ptr<vesk3::TMainVeskForm> form;
};
