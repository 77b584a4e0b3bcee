#include "MessageBoxes.h"
#include "TestRunFixture.h"

#include <QLocale>
#include <set>

using namespace vesk3;

namespace {

// The fixture banks name each plain question and its answers after its number and subject.
const QMap<QString, QString> SubjectWords{{"Therapy", u"терапії"_qs},
                                          {"Surgery", u"хірургії"_qs},
                                          {"Pediatry", u"педіатрії"_qs},
                                          {"Obstetrics", u"акушерства"_qs},
                                          {"Infection", u"інфекційних хвороб"_qs}};

QString plainQuestion(const QString &subject, int number)
{
    return u"Питання %1 з %2"_qs.arg(number).arg(SubjectWords[subject]);
}

QStringList plainAnswers(int number)
{
    QStringList answers{u"Правильна відповідь %1"_qs.arg(number)};
    for (int wrong = 1; wrong <= 4; ++wrong)
        answers.append(u"Неправильна %1.%2"_qs.arg(number).arg(wrong));
    return answers;
}

bool showsAnsweredMark(const QListWidgetItem *item)
{
    const QColor middle = item->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
    return middle.green() > 150 && middle.red() < 60;
}

QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

} // namespace

class TestRunningTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void examStartShowsEntry1()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();

        QCOMPARE(run.state.CurrentQuestion, 1);
        QVERIFY(run.state.TestRunning);
        const TExamData &first = run.state.ExamData[1];
        QCOMPARE(first.Subject, "Therapy");
        QCOMPARE(run.question(), plainQuestion("Therapy", first.Number));
        QCOMPARE(sorted(run.answers()), sorted(plainAnswers(first.Number)));
        QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
        QCOMPARE(run.highlighted(), 0);

        QVERIFY(!run.find<QLabel>("Panel1")->isVisible());
        for (const char *on : {"FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn"})
            QVERIFY2(run.button(on)->isEnabled(), on);
        for (const char *off : {"StartBtn", "RAnsBtn"})
            QVERIFY2(!run.button(off)->isEnabled(), off);
        QVERIFY(!run.find<QMenu>("M1")->menuAction()->isEnabled());
        QCOMPARE(run.text("SLabel1"), "1");
        QCOMPARE(run.text("SLabel2"), "200");
        QCOMPARE(run.text("SLabel3"), QString::number(first.Number));
        QCOMPARE(run.text("SLabel6"), "0%");
        QCOMPARE(run.text("SLabel7"), "Therapy");
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
            run.find<QAction>("Test1")->trigger();
        } else {
            run.state.SubjectName = "Obstetrics";
            run.state.TestSettings.FromQuestion = 4;
            run.state.TestSettings.ToQuestion = 9;
            run.chooseTrainingClosingTheDialog();
        }
        ModalWatcher modals;
        modals.expectMessageBox();
        QTest::mouseClick(run.button("StartBtn"), Qt::LeftButton);

        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).title, QString::fromUtf16(ApplicationTitle));
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::NoIcon);
        QCOMPARE(modals.boxes().at(0).text, message);
        QVERIFY(!run.state.TestRunning);
        QCOMPARE(run.state.Mode, exam ? ModeExam : ModeTraining);
        QCOMPARE(run.state.CurrentQuestion, 0);
        QVERIFY(run.find<QLabel>("Panel1")->isVisible());
        QVERIFY(run.button("StartBtn")->isEnabled());
        for (const char *off : {"FinishBtn", "NextBtn"})
            QVERIFY2(!run.button(off)->isEnabled(), off);
        QVERIFY(run.find<QMenu>("M1")->menuAction()->isEnabled());
        QVERIFY(run.question().isEmpty());
        QCOMPARE(run.text("SLabel2"), "0");
    }

    void trainingStartShowsTheFirstQuestionOfTheRange_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("Surgery 3 to 5") << "Surgery" << 3 << 5;
        QTest::newRow("one question") << "Infection" << 4 << 4;
        QTest::newRow("whole subject") << "Pediatry" << 1 << 7;
    }
    void trainingStartShowsTheFirstQuestionOfTheRange()
    {
        QFETCH(QString, subject);
        QFETCH(int, from);
        QFETCH(int, to);
        TestRunFixture run;
        run.startTraining(subject, from, to);

        QVERIFY(run.state.TestRunning);
        QCOMPARE(run.question(), plainQuestion(subject, from));
        QCOMPARE(sorted(run.answers()), sorted(plainAnswers(from)));
        QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
        for (const char *on : {"FinishBtn", "NextBtn", "RAnsBtn"})
            QVERIFY2(run.button(on)->isEnabled(), on);
        for (const char *off : {"StartBtn", "BackBtn", "TableBtn", "CheckBtn"})
            QVERIFY2(!run.button(off)->isEnabled(), off);
        QVERIFY(!run.find<QMenu>("M1")->menuAction()->isEnabled());
        QCOMPARE(run.text("SLabel1"), "1");
        QCOMPARE(run.text("SLabel2"), QString::number(to - from + 1));
        QCOMPARE(run.text("SLabel3"), QString::number(from));
        QCOMPARE(run.text("SLabel6"), "0.0%");
        QCOMPARE(run.text("SLabel7"), subject);
    }

    // The selection changed in the subject dialog without OK names no subject: the run, its first
    // question included, is the confirmed subject's.
    void trainingFollowsTheConfirmedSubject()
    {
        TestRunFixture run;
        run.state.SubjectName = "Surgery";
        run.state.TestSettings.FromQuestion = 2;
        run.state.TestSettings.ToQuestion = 3;
        run.chooseTrainingClosingTheDialog("PediatryItem");
        QTest::mouseClick(run.button("StartBtn"), Qt::LeftButton);
        QCOMPARE(run.question(), plainQuestion("Surgery", 2));
        run.next();
        QCOMPARE(run.question(), plainQuestion("Surgery", 3));
    }

    // Therapy 3 and 4 of bank.xls break their question text with CR LF and with LF; 5 has numeric
    // answers; 6 an empty answer.
    void cellsShowAsTheirText_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("CR LF") << 3 << u"Питання 3 з терапії\nдругий рядок (CR LF)"_qs << plainAnswers(3);
        QTest::newRow("LF") << 4 << u"Питання 4 з терапії\nдругий рядок (LF)"_qs << plainAnswers(4);
        QTest::newRow("numbers") << 5 << plainQuestion("Therapy", 5)
                                 << QStringList{"12", "0.5", "-3", "1000000", "2.25"};
        QStringList withEmpty = plainAnswers(6);
        withEmpty[2] = QString();
        QTest::newRow("empty answer") << 6 << plainQuestion("Therapy", 6) << withEmpty;
    }
    void cellsShowAsTheirText()
    {
        QFETCH(int, number);
        QFETCH(QString, question);
        QFETCH(QStringList, answers);
        TestRunFixture run;
        run.startTraining("Therapy", number, number);
        QCOMPARE(run.question(), question);
        QCOMPARE(run.find<QPlainTextEdit>("QuestionMemo")->blockCount(), int(question.count('\n')) + 1);
        QCOMPARE(sorted(run.answers()), sorted(answers));
        // The right answer stands in column 3 whatever its text.
        QCOMPARE(run.answers().at(run.state.TestSettings.RightAnswer - 1), answers.at(0));
    }

    void anEmptyAnswerCanBeChosen()
    {
        TestRunFixture run;
        run.startTraining("Therapy", 6, 6);
        const int empty = int(run.answers().indexOf(QString())) + 1;
        QVERIFY(empty >= 1);
        run.clickAnswer(empty);
        QCOMPARE(run.highlighted(), empty);
        QCOMPARE(run.state.TestSettings.ChosenAnswer, empty);
    }

    // Anywhere on the box: its text area, a corner of it, or the frame around it.
    void aClickAnywhereOnABoxChoosesIt_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("where");
        for (int position = 1; position <= 5; ++position) {
            for (const char *where : {"middle", "corner", "frame"})
                QTest::addRow("%c %s", 'A' + position - 1, where) << position << QString(where);
        }
    }
    void aClickAnywhereOnABoxChoosesIt()
    {
        QFETCH(int, position);
        QFETCH(QString, where);
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QPlainTextEdit *answer = run.box(position);
        if (where == u"middle")
            QTest::mouseClick(answer->viewport(), Qt::LeftButton, {}, answer->viewport()->rect().center());
        else if (where == u"corner")
            QTest::mouseClick(answer->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
        else
            QTest::mouseClick(answer, Qt::LeftButton, {}, QPoint(0, 0));

        QCOMPARE(run.highlighted(), position);
        QCOMPARE(run.state.TestSettings.ChosenAnswer, position);
        QCOMPARE(run.state.ExamData[1].Answered, 1);
        QVERIFY(showsAnsweredMark(run.tableList()->item(0)));
        QCOMPARE(run.state.ExamData[1].Correct, position == run.state.TestSettings.RightAnswer ? 1 : 0);
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
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("correct");
        QTest::newRow("right") << QStringList{"right"} << 1;
        QTest::newRow("wrong") << QStringList{"wrong"} << 0;
        QTest::newRow("wrong, then right") << QStringList{"wrong", "right"} << 1;
        QTest::newRow("right, then wrong") << QStringList{"right", "wrong"} << 0;
        QTest::newRow("right twice") << QStringList{"right", "right"} << 1;
    }
    void theLastChoiceJudgesAnExamQuestion()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, correct);
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.next();
        int last = 0;
        for (const QString &click : clicks) {
            last = click == u"right" ? run.rightPosition() : run.wrongPosition();
            run.clickAnswer(last);
        }
        QCOMPARE(run.highlighted(), last);
        QCOMPARE(run.state.ExamData[2].Answered, 1);
        QCOMPARE(run.state.ExamData[2].Correct, correct);
        QCOMPARE(run.state.ExamData[1].Answered, 0);
        QVERIFY(showsAnsweredMark(run.tableList()->item(1)));
    }

    // Showing a question again draws a new order; the right answer's place is always known.
    void everyShowingDrawsANewAnswerOrder()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        std::set<QStringList> orders;
        for (int showing = 0; showing < 12; ++showing) {
            orders.insert(run.answers());
            QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
            run.next();
            run.back();
        }
        QVERIFY(orders.size() > 1);
        QCOMPARE(run.state.CurrentQuestion, 1);
    }

    // Entries 2 and 3 are the last Therapy and the first Surgery question.
    void theWorksheetChangesOnlyWithTheSubject()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        const int atStart = run.form->excelApp()->calls().activations;
        run.next();
        QCOMPARE(run.form->excelApp()->calls().activations, atStart);
        run.next();
        QCOMPARE(run.form->excelApp()->calls().activations, atStart + 1);
        QCOMPARE(run.form->excelApp()->activeSheetName(), "Surgery");
        run.next();
        QCOMPARE(run.form->excelApp()->calls().activations, atStart + 1);
        QCOMPARE(run.text("SLabel7"), "Surgery");
    }

    void theTableJumpsToTheSelectedQuestion_data()
    {
        QTest::addColumn<int>("item");
        QTest::newRow("57") << 57;
        QTest::newRow("the question on screen") << 1;
        QTest::newRow("200") << 200;
    }
    void theTableJumpsToTheSelectedQuestion()
    {
        QFETCH(int, item);
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.clickAnswer(run.wrongPosition());
        QVERIFY(run.openTable());
        run.jumpTo(item);

        QTRY_VERIFY(run.table.isHidden());
        const TExamData &entry = run.state.ExamData[item];
        QCOMPARE(run.state.CurrentQuestion, item);
        QCOMPARE(run.state.GotoNumber, entry.Number);
        QCOMPARE(run.question(), plainQuestion(entry.Subject, entry.Number));
        QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
        QCOMPARE(run.highlighted(), 0);
        QCOMPARE(run.text("SLabel1"), QString::number(item));
        QCOMPARE(run.text("SLabel3"), QString::number(entry.Number));
        QCOMPARE(run.text("SLabel7"), entry.Subject);
        QVERIFY(run.tableList()->selectedItems().isEmpty());
        QVERIFY(run.button("NextBtn")->isEnabled());
        QVERIFY(run.button("BackBtn")->isEnabled());
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

    // Opening the table on question 200 turns Next off, and a jump does not turn it on again; opening it
    // on question 1 turns Back on.
    void openingTheTableSetsNextAndBack()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.back();
        QVERIFY(!run.button("BackBtn")->isEnabled());
        QVERIFY(run.openTable());
        QVERIFY(run.button("BackBtn")->isEnabled());
        QVERIFY(run.button("NextBtn")->isEnabled());

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
};

QTEST_MAIN(TestRunningTest)
#include "tst_runningtest.moc"
