#include "ScriptedRun.h"

using namespace vesk3;

namespace {

const QString NotInExam = u"Функція недоступна в режимі \"Екзамен\"!"_qs;
const QString NoBackInTraining = u"В режимі тренування Кнопка \"Попереднє\" недоступна!!!"_qs;

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    // Steps and what each shows as ScriptedRun writes them, then the modal windows noted on the way.
    void keys_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QStringList>("modals");
        QTest::newRow("before a test") << "Right Space Left Down Up R"
                                       << "off off off off off off" << QStringList();
        QTest::newRow("after a test") << "exam FinishBtn>Return>Return Right Space Left Down Up R"
                                      << "1- end end end end end end end"
                                      << QStringList{u"Ви Дійсно хочете завершити тест?"_qs, u"0 з 200|0|0|0.0%"_qs};
        QTest::newRow("Down stops at E") << "exam Down Down Down Down Down Down"
                                         << "1- 1A* 1B* 1C* 1D* 1E* 1E*" << QStringList();
        QTest::newRow("Up stops at A") << "exam Up Up Up Up Up Up"
                                       << "1- 1E* 1D* 1C* 1B* 1A* 1A*" << QStringList();
        QTest::newRow("Down on a fresh question") << "exam D Right Down" << "1- 1D* 2- 2A*" << QStringList();
        QTest::newRow("R whatever the modifiers")
            << "Surgery:1:5 wrong R wrong Shift+R wrong Ctrl+R wrong Alt+R wrong К"
            << "1-0/0=0.0% 1w0/0=0.0% 1r0/0=0.0% 1w0/0=0.0% 1r0/0=0.0% 1w0/0=0.0% 1r0/0=0.0% 1w0/0=0.0% "
               "1r0/0=0.0% 1w0/0=0.0% 1r0/0=0.0%"
            << QStringList();
        QTest::newRow("Ctrl+Right") << "Surgery:1:5 Ctrl+Right" << "1-0/0=0.0% 2-0/1=0.0%" << QStringList();
        QTest::newRow("R in an exam") << "exam R>Return" << "1- 1-" << QStringList{NotInExam};
        QTest::newRow("Left in training") << "Surgery:1:5 Left>Return" << "1-0/0=0.0% 1-0/0=0.0%"
                                          << QStringList{NoBackInTraining};
        QTest::newRow("Left in an exam") << "exam NextBtn NextBtn Left" << "1- 2- 3- 2-" << QStringList();
        QTest::newRow("Space in a box moves on and closes it") << "exam R>Space" << "1- 2-" << QStringList{NotInExam};
        QTest::newRow("Down in the table") << "exam NextBtn table5 Down" << "1- 2- 2-@5 2A*@6" << QStringList();
        QTest::newRow("Space on question 200") << "exam table200 CloseBtn Space" << "1- 1-@200 200- 200-"
                                               << QStringList();
        QTest::newRow("other keys") << "exam NextBtn B Return Escape 1 Q N F5 Tab PageDown"
                                    << "1- 2- 2B* 2B* 2B* 2B* 2B* 2B* 2B* 2B* 2B*" << QStringList();
        QTest::newRow("R passed on by a focused button") << "exam FinishBtn>Escape R>Return" << "1- 1- 1-"
                                                         << QStringList{u"Ви Дійсно хочете завершити тест?"_qs, NotInExam};
        QTest::newRow("Space after Start") << "exam Space" << "1- 2-" << QStringList();
        QTest::newRow("Space after a click on Next, exam") << "exam NextBtn Space" << "1- 2- 3-" << QStringList();
        QTest::newRow("Space after a click on Next, training") << "Surgery:1:5 NextBtn Space"
                                                               << "1-0/0=0.0% 2-0/1=0.0% 3-0/2=0.0%" << QStringList();
        QTest::newRow("Space after a click on Back") << "exam NextBtn NextBtn BackBtn Space" << "1- 2- 3- 2- 3-"
                                                     << QStringList();
    }
    void keys()
    {
        QFETCH(QString, script);
        QFETCH(QString, shows);
        QFETCH(QStringList, modals);
        ScriptedRun run("bank-exact.xls");
        run.play(script, shows);
        QCOMPARE(run.noted, modals);
    }

    void autoRepeatedPressesCount()
    {
        ScriptedRun run("bank-exact.xls");
        run.startExam();
        run.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(run.form.get()));
        for (int press = 0; press < 3; ++press) {
            QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), press > 0);
            QApplication::sendEvent(QApplication::focusWidget(), &repeated);
        }
        QCOMPARE(run.highlighted(), 3);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
