#include "TestRunFixture.h"

#include <set>

using namespace vesk3;

namespace {

// The fixture banks name each plain question and its answers after its number and subject.
QString plainQuestion(const QString &subject, int number)
{
    const QStringList subjects{"Therapy", "Surgery", "Pediatry", "Obstetrics", "Infection"};
    const QStringList words{u"терапії"_qs, u"хірургії"_qs, u"педіатрії"_qs, u"акушерства"_qs,
                            u"інфекційних хвороб"_qs};
    return u"Питання %1 з %2"_qs.arg(number).arg(words.value(subjects.indexOf(subject)));
}

// In the order of the worksheet's columns, the right answer first.
QStringList plainAnswers(int number)
{
    QStringList answers{u"Правильна відповідь %1"_qs.arg(number)};
    for (int wrong = 1; wrong <= 4; ++wrong)
        answers.append(u"Неправильна %1.%2"_qs.arg(number).arg(wrong));
    return answers;
}

QSet<QString> asSet(const QStringList &texts)
{
    return {texts.begin(), texts.end()};
}

// The push buttons that are on, then "M1" when the menu of modes is; then the statistics 1, 2, 3, 6 and 7.
QStringList controls(const TestRunFixture &run)
{
    QStringList seen;
    for (const char *name :
         {"StartBtn", "FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn", "RAnsBtn"}) {
        if (run.button(name)->isEnabled())
            seen.append(name);
    }
    if (run.find<QMenu>("M1")->menuAction()->isEnabled())
        seen.append("M1");
    for (int line : {1, 2, 3, 6, 7})
        seen.append(run.text(u"SLabel%1"_qs.arg(line)));
    return seen;
}

} // namespace

// The test engine: starting a test, showing a question and taking its answer, moving through the table.
class TestRunningTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Showing a question again draws a new order; the right answer's place is always known. An answer is
    // chosen by a click anywhere on its box: its text area, a corner of it, or the frame around it; but not
    // by a press dragged off. Entry 3 is the first Surgery question.
    void anExamFromEntry1()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QVERIFY(run.state.TestRunning);
        const TExamData &first = run.state.ExamData[1];
        QCOMPARE(run.question(), plainQuestion("Therapy", first.Number));
        QCOMPARE(asSet(run.answers()), asSet(plainAnswers(first.Number)));
        QCOMPARE(run.highlighted(), 0);
        QVERIFY(!run.find<QLabel>("Panel1")->isVisible());
        QCOMPARE(controls(run), (QStringList{"FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn", "1",
                                             "200", QString::number(first.Number), "0%", "Therapy"}));
        std::set<QStringList> orders;
        for (int showing = 0; showing < 6; ++showing) {
            orders.insert(run.answers());
            QCOMPARE(run.rightPosition(), run.state.TestSettings.RightAnswer);
            run.next();
            run.back();
        }
        QVERIFY(orders.size() > 1);

        int item = 0;
        for (const auto &[position, where] :
             {std::pair(1, QPoint(-1, -1)), {3, QPoint(1, 1)}, {5, QPoint()}}) {
            QWidget *viewport = run.box(position)->viewport();
            QTest::mousePress(viewport, Qt::LeftButton, {}, viewport->rect().center());
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(viewport->width() + 30, -30));
            QCOMPARE(run.text("SLabel7"), item < 2 ? "Therapy" : "Surgery");
            QCOMPARE(run.highlighted(), 0);
            QVERIFY(!run.showsAnsweredMark(item));
            if (where.x() < 0)
                run.clickAnswer(position);
            else
                QTest::mouseClick(where.isNull() ? run.box(position) : viewport, Qt::LeftButton, {}, where);
            QCOMPARE(run.highlighted(), position);
            QVERIFY(run.showsAnsweredMark(item++));
            run.next();
        }
    }

    void startingTrainingShowsTheConfirmedRange()
    {
        TestRunFixture run;
        run.startTraining("Surgery", 3, 5);
        QCOMPARE(run.question(), plainQuestion("Surgery", 3));
        QCOMPARE(controls(run),
                 (QStringList{"FinishBtn", "NextBtn", "RAnsBtn", "1", "3", "3", "0.0%", "Surgery"}));
    }

    // A start the banks cannot serve shows why and leaves the chosen mode waiting for Start.
    void startsTheBanksCannotServeAreRefused()
    {
        for (const bool exam : {true, false}) {
            TestRunFixture run;
            run.state.SubjectName = "Obstetrics";
            run.state.TestSettings.FromQuestion = 4;
            run.state.TestSettings.ToQuestion = 9;
            exam ? run.command("Test1") : run.chooseTrainingClosingTheDialog();
            ModalWatcher modals;
            modals.expectMessageBox();
            QTest::mouseClick(run.button("StartBtn"), Qt::LeftButton);
            QCOMPARE(modals.texts(),
                     QStringList{
                         exam ? u"На аркуші «Therapy» 12 питань, а екзамен бере з нього 65: екзамен скласти "
                                u"неможливо."_qs
                              : u"На аркуші «Obstetrics» 5 питань: тренування з питання 4 по 9 "
                                u"неможливе. Виберіть інші питання!"_qs});
            QVERIFY(!run.state.TestRunning);
            QCOMPARE(run.state.Mode, exam ? ModeExam : ModeTraining);
            QVERIFY(run.find<QLabel>("Panel1")->isVisible());
            QVERIFY(run.question().isEmpty());
            QCOMPARE(controls(run), (QStringList{"StartBtn", "M1", "0", "0", "0", "0%", "-None-"}));
        }
    }

    // Therapy 3 of bank.xls breaks its question with CR LF, 5 has numbers for answers, 6 an empty answer.
    // The right answer stands in column 3 whatever its text, and every answer can be chosen.
    void cellsShowAsTheirText()
    {
        QStringList withEmpty = plainAnswers(6);
        withEmpty[2].clear();
        const QList<std::tuple<int, QString, QStringList>> cases{
            {3, u"Питання 3 з терапії\nдругий рядок (CR LF)"_qs, plainAnswers(3)},
            {5, plainQuestion("Therapy", 5), {"12", "0,5", "-3", "1000000", "2,25"}},
            {6, plainQuestion("Therapy", 6), withEmpty}};
        for (const auto &[number, question, answers] : cases) {
            QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
            TestRunFixture run;
            QLocale::setDefault(QLocale::c());
            run.startTraining("Therapy", number, number);
            QCOMPARE(run.question(), question);
            QCOMPARE(run.find<QPlainTextEdit>("QuestionMemo")->blockCount(), int(question.count('\n')) + 1);
            QCOMPARE(run.answers().at(run.state.TestSettings.RightAnswer - 1), answers.at(0));
            QCOMPARE(asSet(run.answers()), asSet(answers));
            const int third = int(run.answers().indexOf(answers.at(2))) + 1;
            run.clickAnswer(third);
            QCOMPARE(run.highlighted(), third);
        }
    }
};

QTEST_MAIN(TestRunningTest)
#include "tst_runningtest.moc"
