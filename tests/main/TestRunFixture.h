#pragma once

#include "MainWindowFixture.h"
#include "ModalWatcher.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

// The main window during a test, driven as the user drives it: menu items, push buttons, clicks on the
// answer boxes, and the boxes and dialogs that these open, answered by a ModalWatcher.
struct TestRunFixture : MainWindowFixture
{
    using MainWindowFixture::MainWindowFixture;

    QPushButton *button(const QString &name) const { return find<QPushButton>(name); }
    QString text(const QString &label) const { return find<QLabel>(label)->text(); }
    QPlainTextEdit *box(int position) const
    {
        return find<QPlainTextEdit>(QStringLiteral("Memo%1").arg(position));
    }
    QString question() const { return find<QPlainTextEdit>("QuestionMemo")->toPlainText(); }
    QStringList answers() const
    {
        QStringList texts;
        for (int position = 1; position <= 5; ++position)
            texts.append(box(position)->toPlainText());
        return texts;
    }
    QListWidget *tableList() const { return table.findChild<QListWidget *>("ListView1"); }

    // Exam mode from the menu, then Start.
    void startExam()
    {
        find<QAction>("Test1")->trigger();
        QTest::mouseClick(button("StartBtn"), Qt::LeftButton);
    }

    // Training mode on a subject and range as the subject dialog confirmed them earlier; the dialog that
    // choosing Training shows again is closed without OK.
    void startTraining(const QString &subject, int from, int to)
    {
        state.SubjectName = subject;
        state.TestSettings.FromQuestion = from;
        state.TestSettings.ToQuestion = to;
        chooseTrainingClosingTheDialog();
        QTest::mouseClick(button("StartBtn"), Qt::LeftButton);
    }

    void chooseTrainingClosingTheDialog(const QString &selectBeforeClosing = {})
    {
        ModalWatcher modals;
        modals.expect([&selectBeforeClosing](QWidget *dialog) {
            if (!selectBeforeClosing.isEmpty())
                dialog->findChild<QAbstractButton *>(selectBeforeClosing)->click();
            dialog->close();
        });
        find<QAction>("Training1")->trigger();
    }

    // The position whose box shows a text starting so; 0 when none does.
    int positionShowing(const QString &start) const
    {
        for (int position = 1; position <= 5; ++position) {
            if (box(position)->toPlainText().startsWith(start))
                return position;
        }
        return 0;
    }
    // The plain questions of the fixtures keep their right answer in "Правильна відповідь N".
    int rightPosition() const { return positionShowing(u"Правильна відповідь"_qs); }
    int wrongPosition() const { return positionShowing(u"Неправильна"_qs); }

    void clickAnswer(int position) const
    {
        QPlainTextEdit *answer = box(position);
        QTest::mouseClick(answer->viewport(), Qt::LeftButton, {}, answer->viewport()->rect().center());
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

    // "Показати таблицю" clicked in the active main window, as a user clicks it; false unless the table then
    // became the active window.
    bool openTable()
    {
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
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

    // The user's answer to the finishing question, then what the results dialog showed, if it opened.
    struct Finish
    {
        QList<ModalWatcher::Box> questions;
        QStringList results;
    };

    // Runs an action that asks to finish (Finish, or Next on a training run's last question), answers the
    // question with `answer` and, after OK, notes the results dialog's four lines and closes it with OK.
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
};
