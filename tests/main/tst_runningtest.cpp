#include "TestRunFixture.h"

#include <QLocale>
#include <set>

using namespace vesk3;

namespace {

// The fixture banks name each plain question and its answers after its number and subject.
QString plainQuestion(const QString &subject, int number)
{
    const QMap<QString, QString> words{{"Therapy", u"терапії"_qs},
                                       {"Surgery", u"хірургії"_qs},
                                       {"Pediatry", u"педіатрії"_qs},
                                       {"Obstetrics", u"акушерства"_qs},
                                       {"Infection", u"інфекційних хвороб"_qs}};
    return u"Питання %1 з %2"_qs.arg(number).arg(words[subject]);
}

// In the order of the worksheet's columns, the right answer first.
QStringList plainAnswers(int number)
{
    QStringList answers{u"Правильна відповідь %1"_qs.arg(number)};
    for (int wrong = 1; wrong <= 4; ++wrong)
        answers.append(u"Неправильна %1.%2"_qs.arg(number).arg(wrong));
    return answers;
}

QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

bool showsAnsweredMark(const QListWidgetItem *item)
{
    const QColor middle = item->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
    return middle.green() > 150 && middle.red() < 60;
}

// The controls that are on; the others of these are off.
QStringList enabledButtons(const TestRunFixture &run)
{
    QStringList on;
    for (const char *name : {"StartBtn", "FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn", "RAnsBtn"}) {
        if (run.button(name)->isEnabled())
            on.append(name);
    }
    if (run.find<QMenu>("M1")->menuAction()->isEnabled())
        on.append("M1");
    return on;
}

} // namespace

// The test engine: starting a test, showing a question and taking its answer, moving with the table.
class TestRunningTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void examStartShowsEntry1()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QVERIFY(run.state.TestRunning);
        QCOMPARE(run.state.CurrentQuestion, 1);
        const TExamData &first = run.state.ExamData[1];
        QCOMPARE(first.Subject, "Therapy");
        QCOMPARE(run.question(), plainQuestion("Therapy", first.Number));
        QCOMPARE(sorted(run.answers()), sorted(plainAnswers(first.Number)));
        QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
        QCOMPARE(run.highlighted(), 0);
        QVERIFY(!run.find<QLabel>("Panel1")->isVisible());
        QCOMPARE(enabledButtons(run), (QStringList{"FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn"}));
        const QStringList labels{run.text("SLabel1"), run.text("SLabel2"), run.text("SLabel3"),
                                 run.text("SLabel6"), run.text("SLabel7")};
        QCOMPARE(labels, (QStringList{"1", "200", QString::number(first.Number), "0%", "Therapy"}));
    }

    // A start the banks cannot serve shows why and leaves the chosen mode waiting for Start.
    void startTheBanksCannotServeIsRefused_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::addColumn<QString>("message");
        QTest::newRow("exam")
            << true << u"На аркуші «Therapy» 12 питань, а іспит бере з нього 65: іспит скласти неможливо."_qs;
        QTest::newRow("training range")
            << false
            << u"На аркуші «Obstetrics» 5 питань: тренування з питання 4 по 9 неможливе. Виберіть інші питання!"_qs;
    }
    void startTheBanksCannotServeIsRefused()
    {
        QFETCH(bool, exam);
        QFETCH(QString, message);
        TestRunFixture run;
        if (exam) {
            run.command("Test1");
        } else {
            run.state.SubjectName = "Obstetrics";
            run.state.TestSettings.FromQuestion = 4;
            run.state.TestSettings.ToQuestion = 9;
            run.chooseTrainingClosingTheDialog();
        }
        ModalWatcher modals;
        modals.expectMessageBox();
        QTest::mouseClick(run.button("StartBtn"), Qt::LeftButton);
        QCOMPARE(modals.texts(), QStringList{message});
        QVERIFY(!run.state.TestRunning);
        QCOMPARE(run.state.Mode, exam ? ModeExam : ModeTraining);
        QCOMPARE(run.state.CurrentQuestion, 0);
        QVERIFY(run.find<QLabel>("Panel1")->isVisible());
        QCOMPARE(enabledButtons(run), (QStringList{"StartBtn", "M1"}));
        QVERIFY(run.question().isEmpty());
        QCOMPARE(run.text("SLabel2"), "0");
    }

    // The selection changed in the subject dialog without OK names no subject: the run is the confirmed one's.
    void trainingRunsTheConfirmedRange()
    {
        TestRunFixture run;
        run.state.SubjectName = "Surgery";
        run.state.TestSettings.FromQuestion = 3;
        run.state.TestSettings.ToQuestion = 5;
        run.chooseTrainingClosingTheDialog("PediatryItem");
        QTest::mouseClick(run.button("StartBtn"), Qt::LeftButton);
        QVERIFY(run.state.TestRunning);
        QCOMPARE(run.question(), plainQuestion("Surgery", 3));
        QCOMPARE(sorted(run.answers()), sorted(plainAnswers(3)));
        QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
        QCOMPARE(enabledButtons(run), (QStringList{"FinishBtn", "NextBtn", "RAnsBtn"}));
        const auto labels = [&] {
            return QStringList{run.text("SLabel1"), run.text("SLabel2"), run.text("SLabel3"), run.text("SLabel6"),
                               run.text("SLabel7")};
        };
        QCOMPARE(labels(), (QStringList{"1", "3", "3", "0.0%", "Surgery"}));
        run.clickAnswer(run.rightPosition());
        run.next();
        QCOMPARE(run.question(), plainQuestion("Surgery", 4));
        QCOMPARE(labels(), (QStringList{"2", "3", "4", "100.0%", "Surgery"}));
    }

    // Therapy 3 of bank.xls breaks its question with CR LF, 5 has numbers for answers, 6 an empty answer.
    void cellsShowAsTheirText_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("CR LF") << 3 << u"Питання 3 з терапії\nдругий рядок (CR LF)"_qs << plainAnswers(3);
        QTest::newRow("numbers, Ukrainian") << 5 << plainQuestion("Therapy", 5)
                                            << QStringList{"12", "0,5", "-3", "1000000", "2,25"};
        QStringList withEmpty = plainAnswers(6);
        withEmpty[2] = QString();
        QTest::newRow("empty answer") << 6 << plainQuestion("Therapy", 6) << withEmpty;
    }
    void cellsShowAsTheirText()
    {
        QFETCH(int, number);
        QFETCH(QString, question);
        QFETCH(QStringList, answers);
        QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
        TestRunFixture run;
        QLocale::setDefault(QLocale::c());
        run.startTraining("Therapy", number, number);
        QCOMPARE(run.question(), question);
        QCOMPARE(run.find<QPlainTextEdit>("QuestionMemo")->blockCount(), int(question.count('\n')) + 1);
        QCOMPARE(sorted(run.answers()), sorted(answers));
        // The right answer stands in column 3 whatever its text.
        QCOMPARE(run.answers().at(run.state.TestSettings.RightAnswer - 1), answers.at(0));
        // Every answer can be chosen, an empty one too.
        const int third = int(run.answers().indexOf(answers.at(2))) + 1;
        run.clickAnswer(third);
        QCOMPARE(run.highlighted(), third);
    }

    // Anywhere on the box: its text area, a corner of it, or the frame around it.
    void aClickAnywhereOnABoxChoosesIt_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QPoint>("where");
        QTest::newRow("A, middle") << 1 << QPoint(-1, -1);
        QTest::newRow("C, corner") << 3 << QPoint(1, 1);
        QTest::newRow("E, frame") << 5 << QPoint(0, 0);
    }
    void aClickAnywhereOnABoxChoosesIt()
    {
        QFETCH(int, position);
        QFETCH(QPoint, where);
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QPlainTextEdit *answer = run.box(position);
        if (where.x() < 0)
            run.clickAnswer(position);
        else
            QTest::mouseClick(where.isNull() ? answer : answer->viewport(), Qt::LeftButton, {}, where);
        QCOMPARE(run.highlighted(), position);
        QCOMPARE(run.state.TestSettings.ChosenAnswer, position);
        QCOMPARE(run.state.ExamData[1].Answered, 1);
        QCOMPARE(run.state.ExamData[1].Correct, position == run.state.TestSettings.RightAnswer ? 1 : 0);
        QVERIFY(showsAnsweredMark(run.tableList()->item(0)));
    }

    void aPressDraggedOffTheBoxChoosesNothing()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QWidget *viewport = run.box(2)->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, viewport->rect().center());
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(viewport->width() + 30, -30));
        QCOMPARE(run.highlighted(), 0);
        QCOMPARE(run.state.ExamData[1].Answered, 0);
        QVERIFY(!showsAnsweredMark(run.tableList()->item(0)));
    }

    void theLastChoiceJudgesAnExamQuestion_data()
    {
        QTest::addColumn<bool>("rightLast");
        QTest::newRow("wrong, then right") << true;
        QTest::newRow("right, then wrong") << false;
    }
    void theLastChoiceJudgesAnExamQuestion()
    {
        QFETCH(bool, rightLast);
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.next();
        const int right = run.rightPosition();
        const int wrong = run.wrongPosition();
        run.clickAnswer(rightLast ? wrong : right);
        run.clickAnswer(rightLast ? right : wrong);
        QCOMPARE(run.highlighted(), rightLast ? right : wrong);
        QCOMPARE(run.state.ExamData[2].Answered, 1);
        QCOMPARE(run.state.ExamData[2].Correct, rightLast ? 1 : 0);
        QCOMPARE(run.state.ExamData[1].Answered, 0);
        QVERIFY(showsAnsweredMark(run.tableList()->item(1)));
    }

    // Showing a question again draws a new order; the right answer's place is always known. Entries 2 and 3
    // are the last Therapy and the first Surgery question: the worksheet changes only with the subject.
    void movingShowsEachQuestionAfresh()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        std::set<QStringList> orders;
        for (int showing = 0; showing < 6; ++showing) {
            orders.insert(run.answers());
            QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
            run.next();
            run.back();
        }
        QVERIFY(orders.size() > 1);
        const int atStart = run.form->excelApp()->calls().activations;
        run.next();
        QCOMPARE(run.form->excelApp()->calls().activations, atStart);
        run.next();
        QCOMPARE(run.form->excelApp()->calls().activations, atStart + 1);
        QCOMPARE(run.form->excelApp()->activeSheetName(), "Surgery");
        QCOMPARE(run.text("SLabel7"), "Surgery");
    }

    // Opening the table turns Back on, and on question 200 Next off; a jump does not turn Next on again.
    void theTableJumpsToTheSelectedQuestion()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.back();
        QVERIFY(!run.button("BackBtn")->isEnabled());
        run.clickAnswer(run.wrongPosition());
        QVERIFY(run.openTable());
        QVERIFY(run.button("BackBtn")->isEnabled());
        run.jumpTo(57);
        QTRY_VERIFY(run.table.isHidden());
        const TExamData &entry = run.state.ExamData[57];
        QCOMPARE(run.state.CurrentQuestion, 57);
        QCOMPARE(run.question(), plainQuestion(entry.Subject, entry.Number));
        QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
        QCOMPARE(run.highlighted(), 0);
        QCOMPARE(run.text("SLabel1"), "57");
        QCOMPARE(run.text("SLabel3"), QString::number(entry.Number));
        QCOMPARE(run.text("SLabel7"), entry.Subject);
        QVERIFY(run.tableList()->selectedItems().isEmpty());

        QVERIFY(run.openTable());
        run.jumpTo(200);
        QTRY_COMPARE(run.state.CurrentQuestion, 200);
        QVERIFY(run.openTable());
        QVERIFY(!run.button("NextBtn")->isEnabled());
        run.jumpTo(10);
        QTRY_COMPARE(run.state.CurrentQuestion, 10);
        QVERIFY(!run.button("NextBtn")->isEnabled());
        run.back();
        QCOMPARE(run.state.CurrentQuestion, 9);
        QVERIFY(run.button("NextBtn")->isEnabled());
    }

    void theTableLeftWithoutASelectionChangesNothing()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.clickAnswer(run.rightPosition());
        const QStringList answers = run.answers();
        QVERIFY(run.openTable());
        QTest::mouseClick(run.table.findChild<QPushButton *>("CloseBtn"), Qt::LeftButton);
        QTRY_VERIFY(run.table.isHidden());
        QCOMPARE(run.state.CurrentQuestion, 1);
        QCOMPARE(run.answers(), answers);
        QCOMPARE(run.highlighted(), run.rightPosition());
    }
};

QTEST_MAIN(TestRunningTest)
#include "tst_runningtest.moc"
