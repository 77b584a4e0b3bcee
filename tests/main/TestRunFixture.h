#pragma once

#include "AboutUnit.h"
#include "MainVeskUnit.h"
#include "ModalWatcher.h"
#include "ResultDlg_Train.h"
#include "Table.h"
#include "TestDialog0.h"

#include <QtWidgets>
#include <memory>

// Seeds in a fixed sequence from `seed`; the high bits are set so that a seed taken from anything but the
// low 32 bits of the count shows.
inline vesk3::TickSource fixedTicks(std::uint32_t seed)
{
    return [seed]() mutable {
        const std::int64_t count = (std::int64_t{0x2A} << 32) | seed;
        seed = seed * 69069u + 12345u;
        return count;
    };
}

// Long enough for a sanitised build on a busy machine; a step that never comes fails after it.
inline constexpr int StepTimeout = 30000;

// The main window as the start-up leaves it, with the windows it is handed, on a fixture workbook or one at
// an absolute path (by default the test question bank: 12, 9, 7, 5 and 4 questions), its draws fixed, driven
// as the user drives it: by single calls, or by a script of steps compared step by step with what the window
// shows (play). Any modal window that no test expects fails the test.
//
// Steps of a script:
//   exam                 choose Exam and click Start
//   Surgery:2:9          Training on that subject and range, then Start
//   A to E, right, wrong click that answer box, or the one showing the right or a wrong answer
//   table57, table       open the question table, with item 57 selected, and the focus in its list
//   NextBtn, Test1, ...  click that button of the active window, or trigger that menu item
//   anything else        a key pressed in the active window: Space, Right, Ctrl+R, К
// A step may go on with ">keys>keys": each modal window it opens in turn gets those keys (comma-separated)
// and is noted: a message box by its text, the results by their four values; one left open is noted
// "open" and closed. More modal windows than listed are noted "unexpected" and closed.
//
// What a step shows: SLabel1, then the highlighted answer ('-' for none; a letter, or r / w for a right
// or wrong one where the expected text says so); in an exam '*' for an answer recorded with its mark in the
// table ('?' when only one of them is there), '^' for a bookmark, '[' for Back and ']' for Next switched
// off; in training the right and wrong counts and the score, then '<' should Back be on; '@' and the
// selected item (0 for none) while the table is shown; '?' when the question's text does not name the number
// in SLabel3. "end" when no test runs and the main window, table and exam are as finishing leaves them, else
// "off".
struct TestRunFixture
{
    // The history of finished tests goes to a folder of the fixture's own, or to `dataHome` when one is
    // given.
    explicit TestRunFixture(const char *workbook = "bank.xls", const QString &dataHome = {})
    {
        // What the program remembers goes to folders of this run, never to the user's settings and history.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.isEmpty() ? ownDataHome.path() : dataHome));
        state.Random.ticks = fixedTicks(20061014);
        state.Clock.now = [this] {
            return nowMs;
        };
        const std::string path = workbook[0] == '/' ? workbook : std::string(VESK3_FIXTURES "/") + workbook;
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
    bool showsAnsweredMark(int item) const
    {
        const QColor middle = tableList()->item(item)->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
        return middle.green() > 150 && middle.red() < 60;
    }

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

    // Training chosen from the menu; the subject dialog it shows is closed without OK.
    void chooseTrainingClosingTheDialog()
    {
        ModalWatcher modals;
        modals.expect([](QWidget *dialog) { dialog->close(); });
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

    // The program takes keys and clicks in the window that the window system made active; on a busy machine
    // that may come late, so the wait is for that condition itself, with room.
    static bool active(const QWidget *window)
    {
        return QTest::qWaitFor(
            [window] { return window->isVisible() && QApplication::activeWindow() == window; }, StepTimeout);
    }
    // "Показати таблицю" clicked in the active main window; false unless the table then became active.
    bool openTable()
    {
        form->activateWindow();
        if (!active(form.get()))
            return false;
        QTest::mouseClick(button("TableBtn"), Qt::LeftButton);
        return active(&table);
    }

    // Time passes, and the clock's timer says so.
    void passTime(std::int64_t ms)
    {
        nowMs += ms;
        QMetaObject::invokeMethod(form->findChild<QTimer *>("ClockTimer"), "timeout");
    }

    void next() const { QTest::mouseClick(button("NextBtn"), Qt::LeftButton); }
    void back() const { QTest::mouseClick(button("BackBtn"), Qt::LeftButton); }

    void play(const QString &script, const QString &expected)
    {
        const QStringList steps = script.split(' ');
        const QStringList shows = expected.split(' ');
        QCOMPARE(steps.size(), shows.size());
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QStringList keys = steps[i].split('>');
            // Starting a training answers its own subject dialog.
            ModalWatcher modals;
            if (keys.first().count(':') != 2)
                watch(modals, keys.mid(1));
            act(keys.first());
            const bool byVerdict = shows[i].contains(QRegularExpression("[rw]"));
            QVERIFY2(shown(byVerdict) == shows[i], qPrintable(steps[i] + " showed " + shown(byVerdict)));
        }
    }

    QTemporaryDir settingsFolder;
    QTemporaryDir ownDataHome;
    ModalWatcher modals;
    std::int64_t nowMs = 0;
    vesk3::TestState state;
    vesk3::TTestDLGForm subjectDialog{state};
    vesk3::TResultVeskForm resultDialog{state};
    vesk3::TTableVeskForm table{state};
    vesk3::TAboutVeskForm about;
    std::unique_ptr<vesk3::TMainVeskForm> form;
    // The modal windows that the steps of scripts opened.
    QStringList noted;

private:
    void act(const QString &step)
    {
        const QStringList training = step.split(':');
        if (step == u"exam")
            startExam();
        else if (training.size() == 3)
            startTraining(training[0], training[1].toInt(), training[2].toInt());
        else if (step.size() == 1 && step[0] >= 'A' && step[0] <= 'E')
            clickAnswer(step[0].unicode() - 'A' + 1);
        else if (step == u"right" || step == u"wrong")
            clickAnswer(step == u"right" ? rightPosition() : wrongPosition());
        else if (step.startsWith(u"table")) {
            QVERIFY(openTable());
            if (step.size() > 5)
                tableList()->setCurrentRow(step.mid(5).toInt() - 1);
            tableList()->setFocus();
        } else if (auto *pressed = activeWindow()->findChild<QAbstractButton *>(step))
            QTest::mouseClick(pressed, Qt::LeftButton);
        else if (auto *item = form->findChild<QAction *>(step))
            item->trigger();
        else
            pressIn(activeWindow(), step);
    }

    // Where the window system puts the user after the last modal window of the program has closed.
    QWidget *activeWindow() const
    {
        QWidget *active = QApplication::activeWindow();
        if (active && active->isVisible())
            return active;
        form->activateWindow();
        return form.get();
    }

    static void pressIn(QWidget *window, const QString &key)
    {
        const QKeyCombination combination = QKeySequence::fromString(key)[0];
        QVERIFY2(active(window), qPrintable(key));
        QTest::sendKeyEvent(QTest::Click, window->windowHandle(), combination.key(),
                            key.size() == 1 ? key : QString(), combination.keyboardModifiers());
    }

    // Room for more modal windows than listed, so that a fault fails instead of waiting.
    void watch(ModalWatcher &watcher, const QStringList &answers)
    {
        for (qsizetype modal = 0; modal < answers.size() + 3; ++modal)
            watcher.expect(
                [this, answer = answers.value(modal)](QWidget *window) { answerModal(window, answer); });
    }

    void answerModal(QWidget *window, const QString &keys)
    {
        QPointer<QWidget> modal = window;
        auto *box = qobject_cast<QMessageBox *>(window);
        QStringList results;
        for (const char *line : {"Label1", "Label2", "Label3", "Label4"})
            results.append(box ? QString() : window->findChild<QLabel *>(line)->text().mid(33));
        noted.append((keys.isEmpty() ? "unexpected " : "") + (box ? box->text() : results.join('|')));
        // A modal window that a key opens on top of this one needs a watcher that is not busy here.
        ModalWatcher onTop;
        if (!keys.isEmpty())
            watch(onTop, {});
        for (const QString &key : keys.split(',', Qt::SkipEmptyParts)) {
            if (modal)
                pressIn(modal, key);
        }
        if (modal && modal->isVisible()) {
            if (!keys.isEmpty())
                noted.append("open");
            modal->close();
        }
    }

    QString shown(bool byVerdict) const
    {
        const int chosen = highlighted();
        QString seen(chosen == 0                 ? '-'
                     : !byVerdict                ? QChar('A' + chosen - 1)
                     : chosen == rightPosition() ? 'r'
                                                 : 'w');
        if (!state.TestRunning)
            return (finishedLook() ? "end" : "off") + (chosen == 0 ? QString() : seen);
        if (state.Mode == vesk3::ModeExam) {
            const int item = state.CurrentQuestion - 1;
            const bool answered = state.ExamData[state.CurrentQuestion].Answered;
            if (answered || showsAnsweredMark(item))
                seen += answered == showsAnsweredMark(item) ? "*" : "?";
            if (tableList()->item(item)->checkState() == Qt::Checked)
                seen += '^';
            seen += QString(button("BackBtn")->isEnabled() ? "" : "[") +
                    (button("NextBtn")->isEnabled() ? "" : "]");
        } else {
            seen += text("SLabel4") + '/' + text("SLabel5") + '=' + text("SLabel6") +
                    (button("BackBtn")->isEnabled() ? "<" : "");
        }
        if (table.isVisible()) {
            const QList<QListWidgetItem *> selected = tableList()->selectedItems();
            seen += '@' + QString::number(selected.isEmpty() ? 0 : tableList()->row(selected.first()) + 1);
        }
        if (!question().startsWith(u"Питання "_qs + text("SLabel3") + ' '))
            seen += '?';
        return text("SLabel1") + seen;
    }

    // No mode, nothing on screen, every statistic back to its start, and no answer or bookmark left.
    bool finishedLook() const
    {
        bool cleared = state.Mode == vesk3::ModeNone && question().isEmpty() && answers() == QStringList(5) &&
                       find<QLabel>("Panel1")->isVisible() && find<QMenu>("M1")->menuAction()->isEnabled();
        for (const QString &label :
             u"Panel1=Виберіть режим роботи програми!!;ModeLabel=Виберіть режим!;SLabel1=0;"
             "SLabel2=0;SLabel3=0;SLabel4=0;SLabel5=0;SLabel6=0%;SLabel7="_qs.split(';'))
            cleared = cleared && text(label.section('=', 0, 0)) == label.section('=', 1);
        for (const char *off :
             {"StartBtn", "FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn", "RAnsBtn"})
            cleared = cleared && !button(off)->isEnabled();
        for (int item = 0; item < vesk3::ExamSize; ++item) {
            const vesk3::TExamData &entry = state.ExamData[item + 1];
            cleared = cleared && !showsAnsweredMark(item) && !entry.Answered && !entry.Correct &&
                      tableList()->item(item)->checkState() == Qt::Unchecked;
        }
        return cleared;
    }
};

// A table of scripts: each row names the steps, what each shows, and the modal windows noted on the way.
inline void scriptColumns()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QStringList>("modals");
}

inline void script(const char *name, const QString &steps, const QString &shows,
                   const QStringList &modals = {})
{
    QTest::newRow(name) << steps << shows << modals;
}

inline void playScript(const char *workbook)
{
    QFETCH(QString, script);
    QFETCH(QString, shows);
    QFETCH(QStringList, modals);
    TestRunFixture run(workbook);
    run.play(script, shows);
    QCOMPARE(run.noted, modals);
}
