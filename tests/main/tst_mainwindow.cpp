#include "TestRunFixture.h"
#include "VeskProgram.h"

#include <QSignalSpy>

using namespace vesk3;

namespace {

const QString FinishTestFirst = u"Спочатку завершіть попередній тест!"_qs;
const QString TestNotStarted = u"Тест ще не розпочато!"_qs;
const QString NoBackInTraining = u"В режимі тренування Кнопка \"Попереднє\" недоступна!!!"_qs;
const QString NotInTraining = u"Функція недоступна в режимі \"Тренування\"!"_qs;

enum class Stage
{
    NoMode,
    ExamChosen,
    TrainingChosen,
    ExamRunning,
    TrainingRunning,
};

// The main window on a bank big enough for an exam, brought to a stage of its life as the user brings it.
struct CommandRun : TestRunFixture
{
    explicit CommandRun(Stage stage) : TestRunFixture("bank-exact.xls")
    {
        if (stage == Stage::ExamChosen)
            command("Test1");
        else if (stage == Stage::TrainingChosen)
            chooseTrainingClosingTheDialog();
        else if (stage == Stage::ExamRunning)
            startExam();
        else if (stage == Stage::TrainingRunning)
            startTraining("Infection", 2, 6);
    }

    // What a refused command must leave as it was.
    auto snapshot() const
    {
        return std::tuple(state.TestRunning, state.Mode, state.CurrentQuestion, question(), highlighted(),
                          button("BackBtn")->isEnabled(), text("Panel1"), text("ModeLabel"));
    }
};

} // namespace

Q_DECLARE_METATYPE(Stage)

// The main window itself: what it shows before a test, choosing a mode, and the toolbar, menu and key
// commands with their refusals.
class TestMainWindow : public QObject
{
    Q_OBJECT

    QTranslator qtTranslations;

private slots:
    // As in the program, Qt's own texts are Ukrainian; the boxes keep the button texts they are given.
    void initTestCase() { QVERIFY(installQtTranslations(qtTranslations)); }

    void beforeAnyMode()
    {
        TestRunFixture window;
        QCOMPARE(window.box(4)->viewport()->cursor().shape(), Qt::PointingHandCursor);
        // The table was shown once and hidden again, so it exists as a window of its own.
        QVERIFY(window.table.windowHandle() && window.table.isHidden());
        // Where the user points, the cover is what is hit, except for the bottom row of buttons and the
        // toolbar.
        const QWidget *client = window.find<QWidget>("ClientArea");
        const auto hitAtCentre = [&](const char *name) {
            const auto *widget = window.find<QWidget>(name);
            const QWidget *hit = client->childAt(widget->mapTo(client, widget->rect().center()));
            return hit == widget || widget->isAncestorOf(hit) ? QString(name) : hit->objectName();
        };
        for (const char *covered : {"QuestionMemo", "Memo3", "NextBtn"})
            QCOMPARE(hitAtCentre(covered), "Panel1");
        for (const char *free : {"StartBtn", "RAnsBtn", "ExamSpBtn"})
            QCOMPARE(hitAtCentre(free), free);
    }

    // Each step chooses a mode: Exam from the menu (Test1) or the toolbar (ExamSpBtn); Training likewise
    // (Training1, SpeedButton8), its subject dialog left with OK after selecting Pediatry, or closed after
    // selecting Surgery.
    void choosingAMode_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("startEnabled");
        QTest::addColumn<QString>("subject");
        QTest::newRow("exam, menu") << QStringList{"Test1"} << true << "";
        QTest::newRow("training, OK") << QStringList{"Training1 OK"} << true << "Pediatry";
        QTest::newRow("training, never confirmed") << QStringList{"SpeedButton8 close"} << false << "";
        QTest::newRow("training, confirmed before")
            << QStringList{"SpeedButton8 OK", "Training1 close"} << true << "Pediatry";
        QTest::newRow("exam after training") << QStringList{"Training1 OK", "Test1"} << true << "Pediatry";
        QTest::newRow("training after exam") << QStringList{"ExamSpBtn", "SpeedButton8 close"} << false << "";
    }
    void choosingAMode()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, startEnabled);
        QFETCH(QString, subject);
        TestRunFixture window;
        for (const QString &step : steps) {
            ModalWatcher modals;
            const bool ok = step.endsWith(u"OK");
            if (step.contains(u' ')) {
                modals.expect([ok](QWidget *dialog) {
                    QCOMPARE(dialog->objectName(), "TestDLGForm");
                    dialog->findChild<QAbstractButton *>(ok ? "PediatryItem" : "SurgeryItem")->click();
                    ok ? dialog->findChild<QPushButton *>("ApplyBtn")->click() : void(dialog->close());
                });
            }
            window.command(step.section(u' ', 0, 0));
            QCOMPARE(modals.pendingCount(), 0);
        }
        const bool exam = !steps.last().contains(u' ');
        QCOMPARE(window.state.Mode, exam ? ModeExam : ModeTraining);
        QCOMPARE(window.text("Panel1"), exam ? u"Режим Екзамену!!! Натисніть кнопку Розпочати!"_qs
                                             : u"Режим Тренування!!! Натисніть кнопку Розпочати!"_qs);
        QCOMPARE(window.text("ModeLabel"), exam ? u"Режим екзамену!"_qs : u"Режим тренування!"_qs);
        QCOMPARE(window.button("StartBtn")->isEnabled(), startEnabled);
        QCOMPARE(window.state.SubjectName, subject);
        QCOMPARE(window.state.TestSettings.ToQuestion, subject.isEmpty() ? 0 : 7);
    }

    void refusals_data()
    {
        QTest::addColumn<Stage>("stage");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        const auto row = [](Stage stage, const char *command, const QString &message) {
            QTest::addRow("%s at stage %d", command, int(stage)) << stage << QString(command) << message;
        };
        row(Stage::NoMode, "StartSpeedButton", u"Спочатку виберіть режим роботи програми!"_qs);
        row(Stage::TrainingChosen, "StartSpeedButton",
            u"Спочатку виберіть предмет і питання для тренування!"_qs);
        row(Stage::TrainingRunning, "StartSpeedButton", FinishTestFirst);
        row(Stage::ExamRunning, "ExamSpBtn", FinishTestFirst);
        row(Stage::TrainingRunning, "SpeedButton8", FinishTestFirst);
        row(Stage::NoMode, "FinishSpeedButton", TestNotStarted);
        row(Stage::TrainingChosen, "NextSpeedBtn", TestNotStarted);
        row(Stage::ExamChosen, "CheckSpeedButton", TestNotStarted);
        row(Stage::ExamChosen, "RAnsSpeedButton", TestNotStarted);
        row(Stage::TrainingRunning, "TableSpeedButton", NotInTraining);
        row(Stage::ExamRunning, "RAnsSpeedButton", u"Функція недоступна в режимі \"Екзамен\"!"_qs);
        row(Stage::NoMode, "BackSpeedBtn", QString());
        row(Stage::ExamChosen, "N4", TestNotStarted);
        row(Stage::TrainingChosen, "BackSpeedBtn", NoBackInTraining);
    }
    // A refused command shows its one plain box, or nothing, and changes nothing.
    void refusals()
    {
        QFETCH(Stage, stage);
        QFETCH(QString, command);
        QFETCH(QString, message);
        CommandRun run(stage);
        const auto before = run.snapshot();
        ModalWatcher modals;
        if (!message.isEmpty())
            modals.expectMessageBox();
        run.command(command);
        QCOMPARE(modals.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const ModalWatcher::Box &box : modals.boxes()) {
            QCOMPARE(box.title, "Dorv-3 (0,01)");
            QCOMPARE(box.icon, QMessageBox::NoIcon);
            QCOMPARE(box.buttons, QStringList{"OK"});
        }
        QVERIFY(run.snapshot() == before);
    }

    // The commands run their push button's handler itself, so a push button being off does not matter;
    // the mode buttons of the toolbar stay on during a test, though the menu "Режими" does not. Quitting
    // closes the window at once.
    void commandsRunWhateverThePushButtonsAndQuitting()
    {
        CommandRun run(Stage::ExamChosen);
        run.button("StartBtn")->setEnabled(false);
        run.command("N2");
        QVERIFY(run.state.TestRunning);
        QVERIFY(!run.find<QMenu>("M1")->menuAction()->isEnabled());
        QVERIFY(run.find<QToolButton>("ExamSpBtn")->isEnabled() &&
                run.find<QToolButton>("SpeedButton8")->isEnabled());
        for (const char *name : {"NextBtn", "BackBtn", "FinishBtn"})
            run.button(name)->setEnabled(false);
        run.command("N3");
        QCOMPARE(run.text("SLabel1"), "2");
        QVERIFY(run.button("BackBtn")->isEnabled());
        run.button("BackBtn")->setEnabled(false);
        run.command("N4");
        QCOMPARE(run.text("SLabel1"), "1");

        ModalWatcher modals;
        modals.expectMessageBox(QMessageBox::Cancel);
        run.command("N5");
        QCOMPARE(modals.boxes().size(), 1);
        const ModalWatcher::Box &question = modals.boxes().at(0);
        QCOMPARE(std::tuple(question.title, question.text, question.icon, question.buttons),
                 std::tuple(u"Warning"_qs, u"Ви Дійсно хочете завершити тест?"_qs, QMessageBox::Warning,
                            QStringList{"OK", "Cancel"}));
        QVERIFY(run.state.TestRunning);
        run.play("FinishSpeedButton>Return>Return", "end");
        QCOMPARE(run.noted.size(), 2);

        // Ctrl+F4 closes without asking, even during a test, and lets the workbook go.
        run.startExam();
        QSignalSpy closed(run.form.get(), &TMainVeskForm::closed);
        run.form->activateWindow();
        QVERIFY(run.active(run.form.get()));
        QVERIFY(run.form->excelApp()->isConnected());
        QTest::keyClick(run.form.get(), Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!run.form->isVisible());
        QCOMPARE(run.form->excelApp(), nullptr);
        // The window system may still send a request to the closed window.
        QCloseEvent again;
        QApplication::sendEvent(run.form.get(), &again);
        QCOMPARE(closed.size(), 2);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
