#include "TestRunFixture.h"

using namespace vesk3;

namespace {

const QString NotInExam = u"Функція недоступна в режимі \"Екзамен\"!"_qs;
const QString NoBackInTraining = u"В режимі тренування Кнопка \"Попереднє\" недоступна!!!"_qs;

bool showsAnsweredMark(const QListWidgetItem *item)
{
    const QColor middle = item->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
    return middle.green() > 150 && middle.red() < 60;
}

// Counts the presses of one key that reach a widget, wherever Qt delivered them first.
struct PressCounter : QObject
{
    PressCounter(QWidget &widget, Qt::Key key) : key(key) { widget.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == key)
            ++count;
        return false;
    }
    Qt::Key key;
    int count = 0;
};

// The main window on a bank big enough for an exam, active, with the focus on the question text, so that a
// key pressed there has no ordinary effect that matters here.
struct KeyRun : TestRunFixture
{
    KeyRun() : TestRunFixture("bank-exact.xls") {}

    bool activate()
    {
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            return false;
        find<QPlainTextEdit>("QuestionMemo")->setFocus();
        return QApplication::focusWidget() == find<QPlainTextEdit>("QuestionMemo");
    }

    // A key as the window system delivers it: to the window, then to its focus widget.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        // QTest finds a key's text through ASCII alone; a Cyrillic letter brings its own.
        if (key > 0xff)
            QTest::sendKeyEvent(QTest::Click, form->windowHandle(), key, QString(QChar(char16_t(key))),
                                modifiers);
        else
            QTest::keyClick(form->windowHandle(), key, modifiers);
    }

    // The boxes that pressing the key opened, each answered with OK; there is room for more boxes than one
    // press should open, so that a fault fails instead of waiting.
    QList<ModalWatcher::Box> boxesOfPressing(Qt::Key key)
    {
        return boxesOf([this, key] { press(key); });
    }
    template <typename Action> QList<ModalWatcher::Box> boxesOf(Action action)
    {
        ModalWatcher modals;
        for (int box = 0; box < 8; ++box)
            modals.expectMessageBox();
        action();
        return modals.boxes();
    }
};

const QList<Qt::Key> HookKeys{Qt::Key_Right, Qt::Key_Space, Qt::Key_Left,
                              Qt::Key_Down,  Qt::Key_Up,    Qt::Key_R};

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void keysDoNothingOutsideATest_data()
    {
        QTest::addColumn<bool>("afterAnExam");
        QTest::addColumn<Qt::Key>("key");
        for (const Qt::Key key : HookKeys) {
            const QString name = QKeySequence(key).toString();
            QTest::addRow("before start, %s", qPrintable(name)) << false << key;
            QTest::addRow("after finishing, %s", qPrintable(name)) << true << key;
        }
    }
    void keysDoNothingOutsideATest()
    {
        QFETCH(bool, afterAnExam);
        QFETCH(Qt::Key, key);
        KeyRun run;
        if (afterAnExam) {
            run.startExam();
            run.next();
            run.finish(QMessageBox::Ok);
        }
        run.find<QAction>("Test1")->trigger();
        QVERIFY(run.activate());
        const int current = run.state.CurrentQuestion;

        QCOMPARE(run.boxesOfPressing(key).size(), 0);
        QVERIFY(!run.state.TestRunning);
        QCOMPARE(run.state.CurrentQuestion, current);
        QCOMPARE(run.highlighted(), 0);
        QVERIFY(run.question().isEmpty());
    }

    void downAndUp_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("to");
        for (int from = 0; from <= 5; ++from) {
            QTest::addRow("Down from %d", from) << from << Qt::Key_Down << (from == 5 ? 5 : from + 1);
            QTest::addRow("Up from %d", from) << from << Qt::Key_Up
                                              << (from == 0   ? 5
                                                  : from == 1 ? 1
                                                              : from - 1);
        }
    }
    void downAndUp()
    {
        QFETCH(int, from);
        QFETCH(Qt::Key, key);
        QFETCH(int, to);
        KeyRun run;
        run.startExam();
        if (from > 0)
            run.clickAnswer(from);
        QVERIFY(run.activate());
        run.press(key);
        QCOMPARE(run.highlighted(), to);
        QCOMPARE(run.state.TestSettings.ChosenAnswer, to);
        QCOMPARE(run.state.CurrentQuestion, 1);
    }

    // The keys work from what is on screen: a question shown anew has nothing highlighted.
    void downOnAFreshQuestionRecordsA()
    {
        KeyRun run;
        run.startExam();
        run.clickAnswer(4);
        QVERIFY(run.activate());
        run.press(Qt::Key_Right);
        QCOMPARE(run.state.CurrentQuestion, 2);
        QVERIFY(!run.state.ExamData[2].Answered);
        run.press(Qt::Key_Down);
        QCOMPARE(run.highlighted(), 1);
        QVERIFY(run.state.ExamData[2].Answered);
        QCOMPARE(bool(run.state.ExamData[2].Correct), run.state.TestSettings.RightAnswer == 1);
        QVERIFY(showsAnsweredMark(run.tableList()->item(1)));
    }

    void downFromBRecordsC()
    {
        KeyRun run;
        run.startExam();
        run.clickAnswer(2);
        QVERIFY(run.activate());
        run.press(Qt::Key_Down);
        QCOMPARE(run.highlighted(), 3);
        QVERIFY(run.state.ExamData[1].Answered);
        QCOMPARE(bool(run.state.ExamData[1].Correct), run.state.TestSettings.RightAnswer == 3);
        QVERIFY(showsAnsweredMark(run.tableList()->item(0)));
    }

    void rWhateverTheModifiers_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("R") << Qt::Key_R << Qt::KeyboardModifiers();
        QTest::newRow("Shift+R") << Qt::Key_R << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("Ctrl+R") << Qt::Key_R << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("Alt+R") << Qt::Key_R << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("R key in the Ukrainian layout") << Qt::Key(0x041A) << Qt::KeyboardModifiers();
    }
    void rWhateverTheModifiers()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        KeyRun run;
        run.startTraining("Infection", 2, 6);
        run.clickAnswer(run.wrongPosition());
        QVERIFY(run.activate());
        run.press(key, modifiers);
        QCOMPARE(run.highlighted(), run.rightPosition());
        QCOMPARE(run.state.TestSettings.ChosenAnswer, run.rightPosition());
    }

    void ctrlRightActsAsRight()
    {
        KeyRun run;
        run.startTraining("Infection", 2, 6);
        QVERIFY(run.activate());
        run.press(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(run.question(), u"Питання 3 з інфекційних хвороб"_qs);
        QCOMPARE(run.state.TestSettings.WrongCount, 1);
    }

    void refusedKeysShowTheirMessage_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("R in an exam") << true << Qt::Key_R << NotInExam;
        QTest::newRow("Left in training") << false << Qt::Key_Left << NoBackInTraining;
    }
    void refusedKeysShowTheirMessage()
    {
        QFETCH(bool, exam);
        QFETCH(Qt::Key, key);
        QFETCH(QString, message);
        KeyRun run;
        if (exam)
            run.startExam();
        else
            run.startTraining("Infection", 2, 6);
        QVERIFY(run.activate());
        const QString question = run.question();
        const auto boxes = run.boxesOfPressing(key);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).text, message);
        QCOMPARE(boxes.at(0).title, "Dorv-3 (0,01)");
        QCOMPARE(run.question(), question);
    }

    void backInAnExam()
    {
        KeyRun run;
        run.startExam();
        run.next();
        run.next();
        QVERIFY(run.activate());
        run.press(Qt::Key_Left);
        QCOMPARE(run.state.CurrentQuestion, 2);
    }

    // The key acts on the main window first, then the box's focused OK button takes it and closes the box.
    void spaceInAMessageBoxMovesOnAndClosesIt()
    {
        KeyRun run;
        run.startExam();
        QVERIFY(run.activate());
        QString text;
        bool closedBySpace = false;
        int questionWhileOpen = 0;
        ModalWatcher modals;
        modals.expect([&](QWidget *box) {
            text = qobject_cast<QMessageBox *>(box)->text();
            // The key must reach the box's own button, as a user's would once the box has the focus.
            QTest::qWaitForWindowActive(box);
            QTest::keyClick(box->windowHandle(), Qt::Key_Space);
            questionWhileOpen = run.state.CurrentQuestion;
            closedBySpace = !box->isVisible();
            box->close();
        });
        run.press(Qt::Key_R);
        QCOMPARE(text, NotInExam);
        QCOMPARE(questionWhileOpen, 2);
        QVERIFY(closedBySpace);
        QCOMPARE(run.state.CurrentQuestion, 2);
    }

    void downInTheTableMovesItAndTheAnswer()
    {
        KeyRun run;
        run.startExam();
        run.next();
        QVERIFY(run.openTable());
        QListWidget *list = run.tableList();
        list->setCurrentRow(4);
        list->setFocus();
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(run.table.windowHandle(), Qt::Key_Down);
        QCOMPARE(list->currentRow(), 5);
        QCOMPARE(run.highlighted(), 1);
        QCOMPARE(run.state.TestSettings.ChosenAnswer, 1);
        QVERIFY(run.state.ExamData[2].Answered);
        QVERIFY(showsAnsweredMark(list->item(1)));
    }

    void spaceOnQuestion200Stays()
    {
        KeyRun run;
        run.startExam();
        QVERIFY(run.openTable());
        run.jumpTo(200);
        QTRY_COMPARE(run.state.CurrentQuestion, 200);
        const QString question200 = run.question();
        QVERIFY(run.activate());
        run.press(Qt::Key_Space);
        QCOMPARE(run.state.CurrentQuestion, 200);
        QCOMPARE(run.question(), question200);
        QCOMPARE(run.text("SLabel1"), "200");
    }

    void otherKeysDoNothing_data()
    {
        QTest::addColumn<Qt::Key>("key");
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_1, Qt::Key_A, Qt::Key_N, Qt::Key_F5,
                                  Qt::Key_Tab, Qt::Key_PageDown})
            QTest::addRow("%s", qPrintable(QKeySequence(key).toString())) << key;
    }
    void otherKeysDoNothing()
    {
        QFETCH(Qt::Key, key);
        KeyRun run;
        run.startExam();
        run.next();
        run.clickAnswer(2);
        QVERIFY(run.activate());
        const QString question = run.question();
        QCOMPARE(run.boxesOfPressing(key).size(), 0);
        QCOMPARE(run.state.CurrentQuestion, 2);
        QCOMPARE(run.question(), question);
        QCOMPARE(run.highlighted(), 2);
        QVERIFY(!run.table.isVisible());
    }

    // R is ignored by a focused push button and goes on to its parents, up to the main window; the one
    // press shows one box, whether it comes from the window system or straight to the button.
    void onePressActsOnce_data()
    {
        QTest::addColumn<bool>("throughTheWindow");
        QTest::newRow("through the window") << true;
        QTest::newRow("straight to the button") << false;
    }
    void onePressActsOnce()
    {
        QFETCH(bool, throughTheWindow);
        KeyRun run;
        run.startExam();
        QVERIFY(run.activate());
        QPushButton *focused = run.button("FinishBtn");
        focused->setFocus();
        QCOMPARE(QApplication::focusWidget(), focused);
        PressCounter reachedMainWindow(*run.form, Qt::Key_R);
        const auto boxes = run.boxesOf([&] {
            if (throughTheWindow)
                QTest::keyClick(run.form->windowHandle(), Qt::Key_R);
            else
                QTest::keyClick(focused, Qt::Key_R);
        });
        QCOMPARE(reachedMainWindow.count, 1);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).text, NotInExam);
    }

    void autoRepeatedPressesCount()
    {
        KeyRun run;
        run.startExam();
        QVERIFY(run.activate());
        for (int press = 0; press < 3; ++press) {
            QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), press > 0);
            QApplication::sendEvent(QApplication::focusWidget(), &repeated);
        }
        QCOMPARE(run.highlighted(), 3);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
