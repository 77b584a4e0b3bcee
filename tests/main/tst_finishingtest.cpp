#include "TestRunFixture.h"

#include <QLocale>

using namespace vesk3;

const QString Finish = u"Ви Дійсно хочете завершити тест?"_qs;

class TestFinishingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void finishing_data()
    {
        scriptColumns();
        script("the edges of an exam", "exam BackBtn NextBtn table199 CloseBtn NextBtn NextBtn BackBtn",
               "1- 1-[ 2- 2-@199 199- 200- 200-] 199-");
        script("jumps from the table",
               "exam BackBtn wrong table0 CloseBtn table200 CloseBtn table10 CloseBtn table CloseBtn BackBtn",
               "1- 1-[ 1w*[ 1w*@0 1w* 1w*@200 200- 200-]@10 10-] 10-]@0 10-] 9-");
        script("a revisited question", "exam right NextBtn BackBtn", "1- 1r* 2- 1-*");
        script("bookmarks", "exam table12 CloseBtn CheckBtn CheckBtn", "1- 1-@12 12- 12-^ 12-^");
        script("cancelled, exam", "exam NextBtn wrong CheckBtn FinishBtn>Escape", "1- 2- 2w* 2w*^ 2w*^",
               {Finish});
        script("cancelled, training", "Surgery:1:5 NextBtn wrong FinishBtn>Escape",
               "1-0/0=0.0% 2-0/1=0.0% 2w0/1=0.0% 2w0/1=0.0%", {Finish});
        script("an exam's results",
               "exam right NextBtn right wrong table5 CloseBtn right table12 CloseBtn CheckBtn "
               "FinishBtn>Return>Return",
               "1- 1r* 2- 2r* 2w* 2w*@5 5- 5r* 5r*@12 12- 12-^ end", {Finish, u"3 з 200|2|1|66.67%"_qs});
        script("training finished at once", "Surgery:1:5 FinishBtn>Return>Return", "1-0/0=0.0% end",
               {Finish, "0|0|0|0.0%"});
        script("training scores every Next",
               "Infection:1:9 right NextBtn right wrong NextBtn wrong right NextBtn RAnsBtn NextBtn "
               "RAnsBtn wrong NextBtn NextBtn",
               "1-0/0=0.0% 1r0/0=0.0% 2-1/0=100.0% 2r1/0=100.0% 2w1/0=100.0% 3-1/1=50.0% 3w1/1=50.0% "
               "3r1/1=50.0% 4-2/1=66.67% 4r2/1=66.67% 5-3/1=75.0% 5r3/1=75.0% 5w3/1=75.0% 6-3/2=60.0% "
               "7-3/3=50.0%");
        script("toolbar on the last question",
               "exam table200 CloseBtn B NextSpeedBtn CheckSpeedButton TableSpeedButton",
               "1- 1-@200 200- 200B* 200B* 200B*^ 200B*^]@0");
        script("toolbar and menu in training", "Infection:2:6 wrong RAnsSpeedButton N3 NextSpeedBtn",
               "1-0/0=0.0% 1w0/0=0.0% 1r0/0=0.0% 2-1/0=100.0% 3-1/1=50.0%");
        script("the last question scored once",
               "Obstetrics:4:5 right NextBtn wrong NextBtn>Escape NextBtn>Escape FinishBtn>Return>Return",
               "1-0/0=0.0% 1r0/0=0.0% 2-1/0=100.0% 2w1/0=100.0% 2-1/1=50.0% 2-1/1=50.0% end",
               {Finish, Finish, Finish, "2|1|1|50.0%"});
        script(
            "a second training run starts from nothing",
            "Obstetrics:1:5 right NextBtn wrong NextBtn FinishBtn>Return>Return Obstetrics:2:4 wrong NextBtn "
            "FinishBtn>Return>Return",
            "1-0/0=0.0% 1r0/0=0.0% 2-1/0=100.0% 2w1/0=100.0% 3-1/1=50.0% end 1-0/0=0.0% 1w0/0=0.0% "
            "2-0/1=0.0% end",
            {Finish, "2|1|1|50.0%", Finish, "1|0|1|0.0%"});
        script("keys in the question change no score", "Obstetrics:5:5 wrong NextBtn>Down,Up,R,Return>Return",
               "1-0/0=0.0% 1w0/0=0.0% end", {Finish, "1|0|1|0.0%"});
        script("Right and Space in the question, exam", "exam FinishBtn>Right,Space", "1- 1-", {Finish});
        script("Right and Space in the question, training", "Obstetrics:5:5 NextBtn>Right,Space",
               "1-0/0=0.0% 1-0/1=0.0%", {Finish});
        script("Space on the results", "Obstetrics:5:5 right NextBtn>Space>Space",
               "1-0/0=0.0% 1r0/0=0.0% end", {Finish, "1|1|0|100.0%"});
    }
    void finishing() { playScript("bank-exact.xls"); }

    // Finishing forgets an exam's answers, not its questions, and a training run touches neither; the next
    // exam is composed anew.
    void theExamsQuestionsOutliveItsFinish()
    {
        TestRunFixture run("bank-one.xls");
        run.startExam();
        const ExamList first = run.state.ExamData;
        run.play("A FinishBtn>Return>Return Therapy:1:2 FinishBtn>Return>Return", "1A* end 1-0/0=0.0% end");
        for (int entry = 1; entry <= ExamSize; ++entry) {
            QCOMPARE(run.state.ExamData[entry].Subject, first[entry].Subject);
            QCOMPARE(run.state.ExamData[entry].Number, first[entry].Number);
        }
        run.play("exam", "1-");
        bool same = true;
        for (int entry = 1; entry <= ExamSize; ++entry)
            same = same && run.state.ExamData[entry].Number == first[entry].Number;
        QVERIFY(!same);
    }
};

QTEST_MAIN(TestFinishingTest)
#include "tst_finishingtest.moc"
