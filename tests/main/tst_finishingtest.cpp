#include "TestRunFixture.h"

#include <QLocale>

using namespace vesk3;

namespace {

const QString Passed = u"Ви пройшли питань                "_qs;
const QString Right = u"Правильних відповідей            "_qs;
const QString Wrong = u"Неправильних відповідей          "_qs;
const QString Score = u"Ваш бал                          "_qs;

QStringList resultLines(const QString &passed, const QString &right, const QString &wrong,
                        const QString &score)
{
    return {Passed + passed, Right + right, Wrong + wrong, Score + score};
}

bool showsMark(const QListWidgetItem *item, bool answered)
{
    const QColor middle = item->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
    return answered ? middle.green() > 150 && middle.red() < 60 : middle == QColor(255, 128, 0);
}

} // namespace

class TestFinishingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Next and Back at the edges of an exam: the first press that cannot move turns its button off, and
    // the other button turns it on again.
    void examNavigationAtTheEdges()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.back();
        QCOMPARE(run.state.CurrentQuestion, 1);
        QVERIFY(!run.button("BackBtn")->isEnabled());
        run.next();
        QCOMPARE(run.state.CurrentQuestion, 2);
        QVERIFY(run.button("BackBtn")->isEnabled());

        QVERIFY(run.openTable());
        run.jumpTo(199);
        QTRY_COMPARE(run.state.CurrentQuestion, 199);
        run.next();
        QCOMPARE(run.state.CurrentQuestion, 200);
        QVERIFY(run.button("NextBtn")->isEnabled());
        const QString question200 = run.question();
        run.next();
        QCOMPARE(run.state.CurrentQuestion, 200);
        QCOMPARE(run.question(), question200);
        QVERIFY(!run.button("NextBtn")->isEnabled());
        QCOMPARE(run.text("SLabel1"), "200");
        run.back();
        QCOMPARE(run.state.CurrentQuestion, 199);
        QVERIFY(run.button("NextBtn")->isEnabled());
        QCOMPARE(run.text("SLabel1"), "199");
    }

    void aRevisitedExamQuestionComesBackUnchosenWithItsVerdict()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.clickAnswer(run.rightPosition());
        run.next();
        QCOMPARE(run.highlighted(), 0);
        run.back();
        QCOMPARE(run.highlighted(), 0);
        QCOMPARE(run.state.ExamData[1].Answered, 1);
        QCOMPARE(run.state.ExamData[1].Correct, 1);
        QVERIFY(showsMark(run.tableList()->item(0), true));
        QVERIFY(showsMark(run.tableList()->item(1), false));
    }

    void bookmarksCheckTheTableItem()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QVERIFY(run.openTable());
        run.jumpTo(12);
        QTRY_COMPARE(run.state.CurrentQuestion, 12);
        QTest::mouseClick(run.button("CheckBtn"), Qt::LeftButton);
        QTest::mouseClick(run.button("CheckBtn"), Qt::LeftButton);
        QCOMPARE(run.tableList()->item(11)->checkState(), Qt::Checked);
        QCOMPARE(run.tableList()->item(10)->checkState(), Qt::Unchecked);
        QCOMPARE(run.tableList()->item(12)->checkState(), Qt::Unchecked);
    }

    void cancellingTheFinishChangesNothing_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::newRow("exam") << true;
        QTest::newRow("training") << false;
    }
    void cancellingTheFinishChangesNothing()
    {
        QFETCH(bool, exam);
        TestRunFixture run(exam ? "bank-exact.xls" : "bank.xls");
        if (exam)
            run.startExam();
        else
            run.startTraining("Surgery", 1, 9);
        run.next();
        const int chosen = run.wrongPosition();
        run.clickAnswer(chosen);
        QTest::mouseClick(run.button("CheckBtn"), Qt::LeftButton);
        const QString question = run.question();
        const QStringList answers = run.answers();

        const auto seen = run.finish(QMessageBox::Cancel);

        QCOMPARE(seen.questions.size(), 1);
        QCOMPARE(seen.questions.at(0).title, "Warning");
        QCOMPARE(seen.questions.at(0).text, u"Ви Дійсно хочете завершити тест?"_qs);
        QCOMPARE(seen.questions.at(0).icon, QMessageBox::Warning);
        QCOMPARE(seen.questions.at(0).buttons, (QStringList{"OK", "Cancel"}));
        QVERIFY(seen.results.isEmpty());
        QVERIFY(run.state.TestRunning);
        QCOMPARE(run.state.Mode, exam ? ModeExam : ModeTraining);
        QCOMPARE(run.question(), question);
        QCOMPARE(run.answers(), answers);
        QCOMPARE(run.highlighted(), chosen);
        QVERIFY(run.button("FinishBtn")->isEnabled());
        if (exam) {
            QCOMPARE(run.state.ExamData[2].Answered, 1);
            QVERIFY(showsMark(run.tableList()->item(1), true));
            QCOMPARE(run.tableList()->item(1)->checkState(), Qt::Checked);
        }
    }

    // Questions 1, 2 and 5 answered, 1 and 5 right, whatever the other 197; question 12 bookmarked.
    void aFinishedExamShowsItsResultsAndClearsTheTable()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.clickAnswer(run.rightPosition());
        run.next();
        run.clickAnswer(run.rightPosition());
        run.clickAnswer(run.wrongPosition());
        QVERIFY(run.openTable());
        run.jumpTo(5);
        QTRY_COMPARE(run.state.CurrentQuestion, 5);
        run.clickAnswer(run.rightPosition());
        QVERIFY(run.openTable());
        run.jumpTo(12);
        QTRY_COMPARE(run.state.CurrentQuestion, 12);
        QTest::mouseClick(run.button("CheckBtn"), Qt::LeftButton);
        for (int index = 0; index < ExamSize; ++index)
            QCOMPARE(showsMark(run.tableList()->item(index), true), index == 0 || index == 1 || index == 4);

        const auto seen = run.finish(QMessageBox::Ok);

        QCOMPARE(seen.results, resultLines(u"3 з 200"_qs, "2", "1", "66.67%"));
        for (int index = 0; index < ExamSize; ++index) {
            QVERIFY(showsMark(run.tableList()->item(index), false));
            QCOMPARE(run.tableList()->item(index)->checkState(), Qt::Unchecked);
            QCOMPARE(run.state.ExamData[index + 1].Answered, 0);
            QCOMPARE(run.state.ExamData[index + 1].Correct, 0);
        }
        expectNoMode(run);
    }

    void finishedRightAfterStart_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::addColumn<QString>("passed");
        QTest::newRow("exam") << true << u"0 з 200"_qs;
        QTest::newRow("training") << false << "0";
    }
    void finishedRightAfterStart()
    {
        QFETCH(bool, exam);
        QFETCH(QString, passed);
        TestRunFixture run(exam ? "bank-exact.xls" : "bank.xls");
        if (exam)
            run.startExam();
        else
            run.startTraining("Therapy", 1, 12);
        const auto seen = run.finish(QMessageBox::Ok);
        QCOMPARE(seen.results, resultLines(passed, "0", "0", "0.0%"));
        expectNoMode(run);
    }

    void aSecondExamIsComposedAfresh()
    {
        TestRunFixture run("bank-one.xls");
        run.startExam();
        QList<int> first;
        for (int entry = 1; entry <= ExamSize; ++entry)
            first.append(run.state.ExamData[entry].Number);
        run.finish(QMessageBox::Ok);
        run.startExam();
        QList<int> second;
        for (int entry = 1; entry <= ExamSize; ++entry)
            second.append(run.state.ExamData[entry].Number);
        QVERIFY(second != first);
        QCOMPARE(run.state.CurrentQuestion, 1);
        QCOMPARE(run.text("SLabel1"), "1");
        QVERIFY(run.button("BackBtn")->isEnabled());
    }

    // Each entry: the answer given before Next ("right", "wrong", "none", or "shown" for the right-answer
    // command), then the labels after that Next.
    void trainingScoresEveryNext_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("wrong");
        QTest::addColumn<QString>("score");
        QTest::newRow("three right, one unanswered") << QStringList{"right", "right", "none", "right"} << "3"
                                                     << "1"
                                                     << "75.0%";
        QTest::newRow("two of three") << QStringList{"right", "wrong", "right"} << "2"
                                      << "1"
                                      << "66.67%";
        QTest::newRow("right, then changed to wrong") << QStringList{"right wrong"} << "0"
                                                      << "1"
                                                      << "0.0%";
        QTest::newRow("wrong, then changed to right") << QStringList{"wrong right"} << "1"
                                                      << "0"
                                                      << "100.0%";
        QTest::newRow("the right answer shown") << QStringList{"shown"} << "1"
                                                << "0"
                                                << "100.0%";
        QTest::newRow("shown, then another chosen") << QStringList{"shown wrong"} << "0"
                                                    << "1"
                                                    << "0.0%";
    }
    void trainingScoresEveryNext()
    {
        QFETCH(QStringList, choices);
        QFETCH(QString, right);
        QFETCH(QString, wrong);
        QFETCH(QString, score);
        TestRunFixture run;
        run.startTraining("Surgery", 2, 9);
        for (const QString &choice : choices) {
            for (const QString &step : choice.split(' ')) {
                if (step == u"right")
                    run.clickAnswer(run.rightPosition());
                else if (step == u"wrong")
                    run.clickAnswer(run.wrongPosition());
                else if (step == u"shown") {
                    QTest::mouseClick(run.button("RAnsBtn"), Qt::LeftButton);
                    QCOMPARE(run.highlighted(), run.rightPosition());
                    QCOMPARE(run.state.TestSettings.RightCount, 0);
                }
            }
            run.next();
            QCOMPARE(run.highlighted(), 0);
        }
        QCOMPARE(run.text("SLabel4"), right);
        QCOMPARE(run.text("SLabel5"), wrong);
        QCOMPARE(run.text("SLabel6"), score);
        const int passed = int(choices.size());
        QCOMPARE(run.text("SLabel1"), QString::number(passed + 1));
        QCOMPARE(run.text("SLabel3"), QString::number(passed + 2));
        QCOMPARE(run.question(), u"Питання %1 з хірургії"_qs.arg(passed + 2));
        QVERIFY(!run.button("BackBtn")->isEnabled());
    }

    void aTrainingOfOneQuestionAsksAtTheFirstNext()
    {
        TestRunFixture run;
        run.startTraining("Infection", 3, 3);
        QCOMPARE(run.text("SLabel2"), "1");
        run.clickAnswer(run.rightPosition());
        const auto seen = run.finishing([&run] { run.next(); }, QMessageBox::Ok);
        QCOMPARE(seen.questions.size(), 1);
        QCOMPARE(seen.questions.at(0).text, u"Ви Дійсно хочете завершити тест?"_qs);
        QCOMPARE(seen.results, resultLines("1", "1", "0", "100.0%"));
        expectNoMode(run);
    }

    // Declining to finish leaves the last question unscored, with its answer still chosen: each further
    // Next scores it once and asks again.
    void decliningToFinishAtTheEndOfTheRangeScoresTheQuestionOnce()
    {
        TestRunFixture run;
        run.startTraining("Obstetrics", 4, 5);
        run.clickAnswer(run.rightPosition());
        run.next();
        QCOMPARE(run.question(), u"Питання 5 з акушерства"_qs);
        const int chosen = run.wrongPosition();
        run.clickAnswer(chosen);

        for (int declined = 0; declined < 2; ++declined) {
            const auto seen = run.finishing([&run] { run.next(); }, QMessageBox::Cancel);
            QCOMPARE(seen.questions.size(), 1);
            QVERIFY(run.state.TestRunning);
            QCOMPARE(run.question(), u"Питання 5 з акушерства"_qs);
            QCOMPARE(run.highlighted(), chosen);
            QCOMPARE(run.text("SLabel4"), "1");
            QCOMPARE(run.text("SLabel5"), "0");
            QCOMPARE(run.text("SLabel6"), "100.0%");
            QCOMPARE(run.text("SLabel1"), "2");
        }

        const auto seen = run.finishing([&run] { run.next(); }, QMessageBox::Ok);
        QCOMPARE(seen.results, resultLines("2", "1", "1", "50.0%"));
        expectNoMode(run);
    }

    // A whole training run as a user walks it: Surgery 1 to 9, every third question right, the others
    // wrong or unanswered, the last one through the right-answer command.
    void aWholeTrainingRun()
    {
        TestRunFixture run;
        run.startTraining("Surgery", 1, 9);
        for (int number = 1; number <= 8; ++number) {
            QCOMPARE(run.question(), u"Питання %1 з хірургії"_qs.arg(number));
            QCOMPARE(run.text("SLabel1"), QString::number(number));
            QCOMPARE(run.text("SLabel3"), QString::number(number));
            if (number % 3 == 0)
                run.clickAnswer(run.rightPosition());
            else if (number % 3 == 1)
                run.clickAnswer(run.wrongPosition());
            run.next();
        }
        QCOMPARE(run.text("SLabel4"), "2");
        QCOMPARE(run.text("SLabel5"), "6");
        QCOMPARE(run.text("SLabel6"), "25.0%");
        QTest::mouseClick(run.button("RAnsBtn"), Qt::LeftButton);
        const auto seen = run.finishing([&run] { run.next(); }, QMessageBox::Ok);
        QCOMPARE(seen.results, resultLines("9", "3", "6", "33.33%"));
        expectNoMode(run);
    }

    // A whole exam: an answer to every fourth question by Next, some bookmarks, a jump back through the
    // table to change an answer, and the finish.
    void aWholeExam()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        int answered = 0;
        int right = 0;
        for (int entry = 1; entry <= ExamSize; ++entry) {
            QCOMPARE(run.text("SLabel1"), QString::number(entry));
            QCOMPARE(run.text("SLabel7"), run.state.ExamData[entry].Subject);
            if (entry % 4 == 0) {
                const bool takeRight = entry % 8 == 0;
                run.clickAnswer(takeRight ? run.rightPosition() : run.wrongPosition());
                ++answered;
                right += takeRight;
            }
            if (entry % 50 == 0)
                QTest::mouseClick(run.button("CheckBtn"), Qt::LeftButton);
            run.next();
        }
        QVERIFY(!run.button("NextBtn")->isEnabled());
        QVERIFY(run.openTable());
        run.jumpTo(4);
        QTRY_COMPARE(run.state.CurrentQuestion, 4);
        run.clickAnswer(run.rightPosition());
        ++right;
        for (int bookmark : {50, 100, 150, 200})
            QCOMPARE(run.tableList()->item(bookmark - 1)->checkState(), Qt::Checked);

        const auto seen = run.finish(QMessageBox::Ok);
        QCOMPARE(answered, 50);
        QCOMPARE(right, 26);
        QCOMPARE(seen.results, resultLines(u"50 з 200"_qs, "26", "24", "52.0%"));
        expectNoMode(run);
    }

    // Finishing forgets an exam's answers, not its questions; a training run touches neither.
    void theExamsQuestionsOutliveItsFinish()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QList<QPair<QString, int>> questions;
        for (int entry = 1; entry <= ExamSize; ++entry)
            questions.append({run.state.ExamData[entry].Subject, run.state.ExamData[entry].Number});
        run.finish(QMessageBox::Ok);
        run.startTraining("Therapy", 1, 2);
        run.clickAnswer(run.rightPosition());
        run.finish(QMessageBox::Ok);
        for (int entry = 1; entry <= ExamSize; ++entry) {
            QCOMPARE(run.state.ExamData[entry].Subject, questions[entry - 1].first);
            QCOMPARE(run.state.ExamData[entry].Number, questions[entry - 1].second);
            QCOMPARE(run.state.ExamData[entry].Answered, 0);
        }
    }

private:
    // The state No mode, as finishing leaves it.
    void expectNoMode(const TestRunFixture &run)
    {
        QCOMPARE(run.state.Mode, ModeNone);
        QVERIFY(!run.state.TestRunning);
        const auto *panel = run.find<QLabel>("Panel1");
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->text(), u"Виберіть режим роботи програми!!"_qs);
        QCOMPARE(run.text("ModeLabel"), u"Виберіть режим!"_qs);
        for (const char *off :
             {"StartBtn", "FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn", "RAnsBtn"})
            QVERIFY2(!run.button(off)->isEnabled(), off);
        QVERIFY(run.find<QMenu>("M1")->menuAction()->isEnabled());
        QVERIFY(run.question().isEmpty());
        QCOMPARE(run.answers(), QStringList(5));
        QCOMPARE(run.highlighted(), 0);
        for (const char *zero : {"SLabel1", "SLabel2", "SLabel3", "SLabel4", "SLabel5"})
            QCOMPARE(run.text(zero), "0");
        QCOMPARE(run.text("SLabel6"), "0%");
        QCOMPARE(run.text("SLabel7"), "");
    }
};

QTEST_MAIN(TestFinishingTest)
#include "tst_finishingtest.moc"
