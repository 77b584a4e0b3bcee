#include "TestRunFixture.h"

#include <QSignalSpy>
#include <QToolButton>

using namespace vesk3;

namespace {

const QString FinishTestFirst = u"Спочатку завершіть попередній тест!"_qs;
const QString ChooseModeFirst = u"Спочатку виберіть режим роботи програми!"_qs;
const QString TestNotStarted = u"Тест ще не розпочато!"_qs;
const QString NoBackInTraining = u"В режимі тренування Кнопка \"Попереднє\" недоступна!!!"_qs;
const QString NotInTraining = u"Функція недоступна в режимі \"Тренування\"!"_qs;
const QString NotInExam = u"Функція недоступна в режимі \"Екзамен\"!"_qs;
const QString NoTrainingSubject = u"Спочатку виберіть предмет і питання для тренування!"_qs;

enum class Stage
{
    NoMode,
    ExamChosen,
    TrainingChosen,
    ExamRunning,
    TrainingRunning,
};

// The main window on a bank big enough for an exam, brought to a stage of its life as the user brings it
// there.
struct CommandRun : TestRunFixture
{
    explicit CommandRun(Stage stage) : TestRunFixture("bank-exact.xls")
    {
        switch (stage) {
        case Stage::NoMode:
            break;
        case Stage::ExamChosen:
            find<QAction>("Test1")->trigger();
            break;
        case Stage::TrainingChosen:
            chooseTrainingClosingTheDialog();
            break;
        case Stage::ExamRunning:
            startExam();
            break;
        case Stage::TrainingRunning:
            startTraining("Infection", 2, 6);
            break;
        }
    }

    // A toolbar button is clicked with the mouse; a menu item is chosen.
    void command(const QString &name) const
    {
        if (auto *toolButton = form->findChild<QToolButton *>(name))
            QTest::mouseClick(toolButton, Qt::LeftButton);
        else
            find<QAction>(name)->trigger();
    }

    // What a refused command must leave as it was.
    struct Snapshot
    {
        bool running;
        std::uint8_t mode;
        int current;
        QString question;
        int highlighted;
        bool operator==(const Snapshot &) const = default;
    };
    Snapshot snapshot() const
    {
        return {state.TestRunning, state.Mode, state.CurrentQuestion, question(), highlighted()};
    }
};

} // namespace

Q_DECLARE_METATYPE(Stage)

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data()
    {
        QTest::addColumn<Stage>("stage");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");

        const auto row = [](const char *name, Stage stage, const char *command, const QString &message) {
            QTest::newRow(name) << stage << QString::fromLatin1(command) << message;
        };
        for (const char *start : {"StartSpeedButton", "N2"})
            row(qPrintable(QString("no mode, %1").arg(start)), Stage::NoMode, start, ChooseModeFirst);
        for (const char *command : {"FinishSpeedButton", "N5", "NextSpeedBtn", "N3", "CheckSpeedButton",
                                    "TableSpeedButton", "RAnsSpeedButton"}) {
            row(qPrintable(QString("no mode, %1").arg(command)), Stage::NoMode, command, TestNotStarted);
            row(qPrintable(QString("exam chosen, %1").arg(command)), Stage::ExamChosen, command,
                TestNotStarted);
            row(qPrintable(QString("training chosen, %1").arg(command)), Stage::TrainingChosen, command,
                TestNotStarted);
        }
        for (const char *back : {"BackSpeedBtn", "N4"}) {
            row(qPrintable(QString("no mode, %1").arg(back)), Stage::NoMode, back, QString());
            row(qPrintable(QString("exam chosen, %1").arg(back)), Stage::ExamChosen, back, TestNotStarted);
            row(qPrintable(QString("training chosen, %1").arg(back)), Stage::TrainingChosen, back,
                NoBackInTraining);
            row(qPrintable(QString("training running, %1").arg(back)), Stage::TrainingRunning, back,
                NoBackInTraining);
        }
        for (const char *start : {"StartSpeedButton", "N2"}) {
            row(qPrintable(QString("training without a range, %1").arg(start)), Stage::TrainingChosen, start,
                NoTrainingSubject);
            row(qPrintable(QString("exam running, %1").arg(start)), Stage::ExamRunning, start,
                FinishTestFirst);
            row(qPrintable(QString("training running, %1").arg(start)), Stage::TrainingRunning, start,
                FinishTestFirst);
        }
        for (const char *mode : {"ExamSpBtn", "SpeedButton8"}) {
            row(qPrintable(QString("exam running, %1").arg(mode)), Stage::ExamRunning, mode, FinishTestFirst);
            row(qPrintable(QString("training running, %1").arg(mode)), Stage::TrainingRunning, mode,
                FinishTestFirst);
        }
        row("exam running, RAnsSpeedButton", Stage::ExamRunning, "RAnsSpeedButton", NotInExam);
        row("training running, CheckSpeedButton", Stage::TrainingRunning, "CheckSpeedButton", NotInTraining);
        row("training running, TableSpeedButton", Stage::TrainingRunning, "TableSpeedButton", NotInTraining);
    }

    // A refused command shows its one plain box, or nothing, and changes nothing.
    void refusals()
    {
        QFETCH(Stage, stage);
        QFETCH(QString, command);
        QFETCH(QString, message);
        CommandRun run(stage);
        const CommandRun::Snapshot before = run.snapshot();
        const bool backEnabled = run.button("BackBtn")->isEnabled();

        ModalWatcher modals;
        modals.expectMessageBox();
        run.command(command);

        if (message.isEmpty()) {
            QCOMPARE(modals.boxes().size(), 0);
        } else {
            QCOMPARE(modals.boxes().size(), 1);
            QCOMPARE(modals.boxes().at(0).title, "Dorv-3 (0,01)");
            QCOMPARE(modals.boxes().at(0).text, message);
            QCOMPARE(modals.boxes().at(0).icon, QMessageBox::NoIcon);
            QCOMPARE(modals.boxes().at(0).buttons, QStringList{"OK"});
        }
        QVERIFY(modals.unexpectedWindows().isEmpty());
        QVERIFY(run.snapshot() == before);
        QCOMPARE(run.button("BackBtn")->isEnabled(), backEnabled);
    }

    // The mode buttons of the toolbar are there to be pressed during a test, though the menu "Режими" is not.
    void modeButtonsStayEnabledDuringTest_data()
    {
        QTest::addColumn<Stage>("stage");
        QTest::newRow("exam") << Stage::ExamRunning;
        QTest::newRow("training") << Stage::TrainingRunning;
    }
    void modeButtonsStayEnabledDuringTest()
    {
        QFETCH(Stage, stage);
        CommandRun run(stage);
        QVERIFY(!run.find<QMenu>("M1")->menuAction()->isEnabled());
        QVERIFY(run.find<QToolButton>("ExamSpBtn")->isEnabled());
        QVERIFY(run.find<QToolButton>("SpeedButton8")->isEnabled());
    }

    // The guard runs the push button's handler itself, so StartBtn being off does not matter.
    void startRunsStartWhateverStartBtn_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("toolbar") << "StartSpeedButton";
        QTest::newRow("menu") << "N2";
    }
    void startRunsStartWhateverStartBtn()
    {
        QFETCH(QString, command);
        CommandRun run(Stage::ExamChosen);
        run.button("StartBtn")->setEnabled(false);
        run.command(command);
        QVERIFY(run.state.TestRunning);
        QCOMPARE(run.state.CurrentQuestion, 1);
        QVERIFY(!run.question().isEmpty());
    }

    void startTrainingOnItsRange()
    {
        CommandRun run(Stage::NoMode);
        run.state.SubjectName = "Infection";
        run.state.TestSettings.FromQuestion = 3;
        run.state.TestSettings.ToQuestion = 5;
        run.chooseTrainingClosingTheDialog();
        run.command("StartSpeedButton");
        QVERIFY(run.state.TestRunning);
        QCOMPARE(run.question(), u"Питання 3 з інфекційних хвороб"_qs);
    }

    void finishAsksFirst_data()
    {
        QTest::addColumn<Stage>("stage");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        for (const char *command : {"FinishSpeedButton", "N5"}) {
            QTest::addRow("exam, %s, OK", command)
                << Stage::ExamRunning << QString(command) << QMessageBox::Ok;
            QTest::addRow("exam, %s, Cancel", command)
                << Stage::ExamRunning << QString(command) << QMessageBox::Cancel;
            QTest::addRow("training, %s, OK", command)
                << Stage::TrainingRunning << QString(command) << QMessageBox::Ok;
        }
    }
    void finishAsksFirst()
    {
        QFETCH(Stage, stage);
        QFETCH(QString, command);
        QFETCH(QMessageBox::StandardButton, answer);
        CommandRun run(stage);
        run.button("FinishBtn")->setEnabled(false);
        const auto seen = run.finishing([&] { run.command(command); }, answer);
        QCOMPARE(seen.questions.size(), 1);
        QCOMPARE(seen.questions.at(0).text, u"Ви Дійсно хочете завершити тест?"_qs);
        QCOMPARE(seen.questions.at(0).icon, QMessageBox::Warning);
        QCOMPARE(run.state.TestRunning, answer != QMessageBox::Ok);
        QCOMPARE(seen.results.size(), answer == QMessageBox::Ok ? 4 : 0);
    }

    void nextInExam_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("toolbar") << "NextSpeedBtn";
        QTest::newRow("menu") << "N3";
    }
    void nextInExam()
    {
        QFETCH(QString, command);
        CommandRun run(Stage::ExamRunning);
        run.back();
        QVERIFY(!run.button("BackBtn")->isEnabled());
        run.button("NextBtn")->setEnabled(false);
        run.command(command);
        QCOMPARE(run.state.CurrentQuestion, 2);
        QCOMPARE(run.text("SLabel1"), "2");
        QVERIFY(run.button("BackBtn")->isEnabled());
    }

    // On the last question Next runs nothing, yet still makes sure Back can be used.
    void nextOnQuestion200()
    {
        CommandRun run(Stage::ExamRunning);
        QVERIFY(run.openTable());
        run.jumpTo(200);
        QTRY_COMPARE(run.state.CurrentQuestion, 200);
        run.clickAnswer(2);
        const QString question200 = run.question();
        run.button("BackBtn")->setEnabled(false);
        run.command("NextSpeedBtn");
        QCOMPARE(run.state.CurrentQuestion, 200);
        QCOMPARE(run.question(), question200);
        QCOMPARE(run.highlighted(), 2);
        QVERIFY(run.button("NextBtn")->isEnabled());
        QVERIFY(run.button("BackBtn")->isEnabled());
    }

    void nextInTraining_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("toolbar") << "NextSpeedBtn";
        QTest::newRow("menu") << "N3";
    }
    void nextInTraining()
    {
        QFETCH(QString, command);
        CommandRun run(Stage::TrainingRunning);
        for (int question = 3; question <= 6; ++question) {
            run.command(command);
            QCOMPARE(run.question(), u"Питання %1 з інфекційних хвороб"_qs.arg(question));
            QVERIFY(!run.button("BackBtn")->isEnabled());
        }
        QCOMPARE(run.state.TestSettings.WrongCount, 4);
    }

    void backInExam_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("toolbar") << "BackSpeedBtn";
        QTest::newRow("menu") << "N4";
    }
    void backInExam()
    {
        QFETCH(QString, command);
        CommandRun run(Stage::ExamRunning);
        run.next();
        run.next();
        run.button("BackBtn")->setEnabled(false);
        run.command(command);
        QCOMPARE(run.state.CurrentQuestion, 2);
        QCOMPARE(run.text("SLabel1"), "2");
    }

    void bookmarkInExam()
    {
        CommandRun run(Stage::ExamRunning);
        run.next();
        run.command("CheckSpeedButton");
        QCOMPARE(run.tableList()->item(1)->checkState(), Qt::Checked);
        QCOMPARE(run.tableList()->item(0)->checkState(), Qt::Unchecked);
    }

    void tableInExam()
    {
        CommandRun run(Stage::ExamRunning);
        QVERIFY(!run.table.isVisible());
        run.command("TableSpeedButton");
        QVERIFY(run.table.isVisible());
    }

    void rightAnswerInTraining()
    {
        CommandRun run(Stage::TrainingRunning);
        run.clickAnswer(run.wrongPosition());
        run.command("RAnsSpeedButton");
        QCOMPARE(run.highlighted(), run.rightPosition());
        QCOMPARE(run.state.TestSettings.ChosenAnswer, run.rightPosition());
    }

    void aboutShowsTheAboutWindowModally()
    {
        CommandRun run(Stage::ExamRunning);
        bool modal = false;
        ModalWatcher modals;
        modals.expect([&](QWidget *window) {
            modal = window == &run.about && window->isModal();
            window->close();
        });
        run.command("About1");
        QCOMPARE(modals.pendingCount(), 0);
        QVERIFY(modal);
        QVERIFY(!run.about.isVisible());
        QVERIFY(run.state.TestRunning);
    }

    void f2DuringTestRefuses()
    {
        CommandRun run(Stage::ExamRunning);
        QVERIFY(activate(run));
        const CommandRun::Snapshot before = run.snapshot();
        ModalWatcher modals;
        modals.expectMessageBox();
        QTest::keyClick(run.form.get(), Qt::Key_F2);
        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).text, FinishTestFirst);
        QVERIFY(run.snapshot() == before);
    }

    void f2StartsAChosenExam()
    {
        CommandRun run(Stage::ExamChosen);
        QVERIFY(activate(run));
        QTest::keyClick(run.form.get(), Qt::Key_F2);
        QVERIFY(run.state.TestRunning);
    }

    void f10AsksToFinish()
    {
        CommandRun run(Stage::ExamRunning);
        QVERIFY(activate(run));
        const auto seen =
            run.finishing([&] { QTest::keyClick(run.form.get(), Qt::Key_F10); }, QMessageBox::Cancel);
        QCOMPARE(seen.questions.size(), 1);
        QVERIFY(run.state.TestRunning);
    }

    void ctrlF4DuringTestQuitsWithoutAsking()
    {
        CommandRun run(Stage::ExamRunning);
        QVERIFY(activate(run));
        QSignalSpy closed(run.form.get(), &TMainVeskForm::closed);
        ModalWatcher modals;
        modals.expectMessageBox(QMessageBox::Cancel);
        QTest::keyClick(run.form.get(), Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!run.form->isVisible());
        QCOMPARE(modals.pendingCount(), 1);
    }

    // A box open over the main window keeps its menu shortcuts from it.
    void shortcutsWaitWhileABoxIsOpen_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        for (const char *opener : {"NextSpeedBtn", "About1"}) {
            QTest::addRow("%s, F2", opener) << QString(opener) << int(Qt::Key_F2) << Qt::KeyboardModifiers();
            QTest::addRow("%s, F10", opener)
                << QString(opener) << int(Qt::Key_F10) << Qt::KeyboardModifiers();
            QTest::addRow("%s, Ctrl+F4", opener)
                << QString(opener) << int(Qt::Key_F4) << Qt::KeyboardModifiers(Qt::ControlModifier);
        }
    }
    void shortcutsWaitWhileABoxIsOpen()
    {
        QFETCH(QString, opener);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        CommandRun run(Stage::ExamChosen);
        QVERIFY(activate(run));
        QSignalSpy closed(run.form.get(), &TMainVeskForm::closed);
        ModalWatcher modals;
        int furtherBoxes = 0;
        modals.expect([&](QWidget *window) {
            // A box that the key opened all the same is closed at once, so that the test goes on to fail.
            QTimer closer;
            QObject::connect(&closer, &QTimer::timeout, [&] {
                QWidget *modal = QApplication::activeModalWidget();
                if (modal && modal != window) {
                    ++furtherBoxes;
                    modal->close();
                }
            });
            closer.start(5);
            QTest::keyClick(window, Qt::Key(key), modifiers);
            window->close();
        });
        run.command(opener);
        QCOMPARE(modals.pendingCount(), 0);
        QCOMPARE(furtherBoxes, 0);
        QVERIFY(!run.state.TestRunning);
        QCOMPARE(closed.size(), 0);
        QVERIFY(run.form->isVisible());
    }

private:
    static bool activate(CommandRun &run)
    {
        run.form->activateWindow();
        return QTest::qWaitForWindowActive(run.form.get());
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
