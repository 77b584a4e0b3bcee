#include "TestRunFixture.h"

const QString NotInExam = u"Функція недоступна в режимі \"Екзамен\"!"_qs;
const QString Finish = u"Ви Дійсно хочете завершити тест?"_qs;

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void keys_data()
    {
        scriptColumns();
        script("before a test", "Right Space Left Down Up R", "off off off off off off");
        script("after a test", "exam FinishBtn>Return>Return Right Space Left Down Up R",
               "1- end end end end end end end", {Finish, u"0 з 200|0|0|0.0%"_qs});
        script("Down stops at E", "exam Down Down Down Down Down Down", "1- 1A* 1B* 1C* 1D* 1E* 1E*");
        script("Up stops at A", "exam Up Up Up Up Up Up", "1- 1E* 1D* 1C* 1B* 1A* 1A*");
        script("Down on a fresh question", "exam D Right Down", "1- 1D* 2- 2A*");
        script("R whatever the modifiers",
               "Surgery:1:5 wrong R wrong Shift+R wrong Ctrl+R wrong Alt+R wrong К",
               "1-0/0=0.0% 1w0/0=0.0% 1r0/0=0.0% 1w0/0=0.0% 1r0/0=0.0% 1w0/0=0.0% 1r0/0=0.0% 1w0/0=0.0% "
               "1r0/0=0.0% 1w0/0=0.0% 1r0/0=0.0%");
        script("Ctrl+Right", "Surgery:1:5 Ctrl+Right", "1-0/0=0.0% 2-0/1=0.0%");
        script("R in an exam", "exam R>Return", "1- 1-", {NotInExam});
        script("Left in training", "Surgery:1:5 Left>Return", "1-0/0=0.0% 1-0/0=0.0%",
               {u"В режимі тренування Кнопка \"Попереднє\" недоступна!!!"_qs});
        script("Left in an exam", "exam NextBtn NextBtn Left", "1- 2- 3- 2-");
        script("Space in a box moves on and closes it", "exam R>Space", "1- 2-", {NotInExam});
        script("Down in the table", "exam NextBtn table5 Down", "1- 2- 2-@5 2A*@6");
        script("Space on question 200", "exam table200 CloseBtn Space", "1- 1-@200 200- 200-");
        script("other keys", "exam NextBtn B Return Escape 1 Q N F5 Tab PageDown",
               "1- 2- 2B* 2B* 2B* 2B* 2B* 2B* 2B* 2B* 2B*");
        script("R passed on by a focused button", "exam FinishBtn>Escape R>Return", "1- 1- 1-",
               {Finish, NotInExam});
        script("Space after Start", "exam Space", "1- 2-");
        script("Space after a click on Next, exam", "exam NextBtn Space", "1- 2- 3-");
        script("Space after a click on Next, training", "Surgery:1:5 NextBtn Space",
               "1-0/0=0.0% 2-0/1=0.0% 3-0/2=0.0%");
        script("Space after a click on Back", "exam NextBtn NextBtn BackBtn Space", "1- 2- 3- 2- 3-");
    }
    void keys() { playScript("bank-exact.xls"); }

    void autoRepeatedPressesCount()
    {
        TestRunFixture run("bank-exact.xls");
        run.play("exam Down", "1- 1A*");
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(QApplication::focusWidget(), &repeated);
        QApplication::sendEvent(QApplication::focusWidget(), &repeated);
        QCOMPARE(run.highlighted(), 3);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
