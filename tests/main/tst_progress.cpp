#include "BankWriter.h"
#include "TestRunFixture.h"

#include <QChartView>
#include <QFileDialog>
#include <QLineSeries>
#include <QLocale>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeWidget>

using namespace vesk3;

namespace {

// Finishes the running test by a click on `button`, or by Next on the last training question: OK to the
// question, the results closed.
void finish(TestRunFixture &run, const char *button = "NextBtn")
{
    ModalWatcher modals;
    modals.expectMessageBox();
    modals.expect([](QWidget *results) { results->close(); });
    QTest::mouseClick(run.button(button), Qt::LeftButton);
}

// Training on the first three questions of Surgery: right, wrong, then none.
void trainSurgeryOneToThree(TestRunFixture &run)
{
    run.startTraining(u"Surgery"_qs, 1, 3);
    run.clickAnswer(run.rightPosition());
    run.next();
    run.clickAnswer(run.wrongPosition());
    run.next();
    finish(run);
}

// "Мій прогрес" as the user sees it.
struct Progress
{
    QWidget *window;

    template <typename W> W *find(const char *name) const { return window->findChild<W *>(name); }
    QTreeWidget *tests() const { return find<QTreeWidget>("TestList"); }
    // Each past test from its kind on: kind, subject, answered of asked, right, score, time.
    QStringList testRows() const
    {
        QStringList rows;
        for (int row = 0; row < tests()->topLevelItemCount(); ++row) {
            QStringList columns;
            for (int column = 1; column < tests()->columnCount(); ++column)
                columns.append(tests()->topLevelItem(row)->text(column));
            rows.append(columns.join(u'|'));
        }
        return rows;
    }
    // Each subject: in the bank, seen, right last time, share of right answers, the bar, and '+' when its
    // mistakes can be trained.
    QStringList subjectRows() const
    {
        auto *table = find<QTableWidget>("SubjectTable");
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList columns;
            for (int column = 1; column <= 4; ++column)
                columns.append(table->item(row, column)->text());
            const auto *bar = static_cast<QProgressBar *>(table->cellWidget(row, 5));
            columns.append(u"%1/%2"_qs.arg(bar->value()).arg(bar->maximum()));
            rows.append(columns.join(u' ') + (mistakesButton(row)->isEnabled() ? u" +"_qs : QString()));
        }
        return rows;
    }
    QPushButton *mistakesButton(int subject) const
    {
        return window->findChild<QPushButton *>(u"MistakesBtn%1"_qs.arg(subject));
    }
    QList<QPointF> examPoints() const
    {
        const auto *chart = find<QChartView>("ExamChart");
        return chart ? static_cast<QLineSeries *>(chart->chart()->series().at(0))->points()
                     : QList<QPointF>();
    }
};

// Opens "Мій прогрес" from the menu and hands it to `look`, which leaves it open or closes it.
void lookAtProgress(TestRunFixture &run, const std::function<void(const Progress &)> &look)
{
    ModalWatcher modals;
    modals.expect([&look](QWidget *window) {
        look(Progress{window});
        if (window->isVisible())
            window->close();
    });
    run.command(u"Progress1"_qs);
    QCOMPARE(modals.pendingCount(), 0);
}

// Five plain questions in each subject; `edited` moves Surgery's question 1 to row 3 and its question 3 to
// row 1, and changes the text of its question 2.
QString writeBank(const QString &folder, bool edited)
{
    return writeBank(folder + (edited ? u"/edited.xls"_qs : u"/bank.xls"_qs), {5, 5, 5, 5, 5},
                     [edited](std::string_view sheet, unsigned row) {
                         if (!edited || sheet != "Surgery")
                             return BankQuestion{row, {}};
                         return row == 2 ? BankQuestion{2, u" (виправлене)"} : BankQuestion{4 - row, {}};
                     });
}

// Enough questions for an exam, as in bank-exact.xls; `moved` turns Surgery's rows upside down, `edited`
// changes the text of every Therapy question.
QString examBank(const QString &folder, const char *name, bool moved = false, bool edited = false)
{
    return writeBank(folder + u'/' + QLatin1String(name), {5, 5, 5, 5, 380},
                     [=](std::string_view sheet, unsigned row) {
                         if (moved && sheet == "Surgery")
                             return BankQuestion{6 - row, {}};
                         return BankQuestion{row, edited && sheet == "Therapy" ? u" (виправлене)" : u""};
                     });
}

// The exam's first six entries as the table and the questions show them: subject and the question's number
// in its text, 'r' or 'w' for an answer marked in the table, '^' for a bookmark.
QString firstEntries(const TestRunFixture &run, bool surgeryMoved)
{
    QStringList entries;
    for (int entry = 1; entry <= 6; ++entry) {
        const TExamData &data = run.state.ExamData[entry];
        const int number = surgeryMoved && data.Subject == u"Surgery" ? 6 - data.Number : data.Number;
        entries.append(data.Subject.left(3) + QString::number(number) +
                       (run.showsAnsweredMark(entry - 1) ? (data.Correct ? u"r"_qs : u"w"_qs) : QString()) +
                       (run.tableList()->item(entry - 1)->checkState() == Qt::Checked ? u"^"_qs : QString()));
    }
    return entries.join(u' ');
}

// The child process of the kill test: a timed exam with three answers, a bookmark made with the button and
// one clicked in the table, the fifth entry on screen after 65 s; it tells what it shows and waits to be
// killed.
int answerAndWait(const char *workbook, const QString &dataHome)
{
    TestRunFixture run(workbook, dataHome);
    run.command(u"TimedExam1"_qs);
    run.startExam();
    run.clickAnswer(run.rightPosition());
    run.next();
    run.clickAnswer(run.wrongPosition());
    run.next();
    run.clickAnswer(run.rightPosition());
    QTest::mouseClick(run.button(u"CheckBtn"_qs), Qt::LeftButton);
    run.tableList()->item(5)->setCheckState(Qt::Checked);
    run.next();
    run.nowMs += 65'000;
    run.next();
    std::printf("%s\n", qPrintable(firstEntries(run, false)));
    std::fflush(stdout);
    return QApplication::exec();
}

// Runs the question that the start offers, answered by `press`.
QStringList offered(QMessageBox::StandardButton press = QMessageBox::Ok)
{
    ModalWatcher modals;
    modals.expectMessageBox(press);
    QCoreApplication::processEvents();
    return modals.texts();
}

} // namespace

class TestProgressWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // An exam and a training run go into the list and the chart; the training run over the mistakes takes
    // the wrong and unanswered questions and leaves the one answered right out of the pool; the CSV holds the
    // tests; clearing forgets them.
    void keepsTestsAndTrainsTheMistakes()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.clickAnswer(run.rightPosition());
        run.next();
        run.clickAnswer(run.wrongPosition());
        finish(run, "FinishBtn");
        trainSurgeryOneToThree(run);

        lookAtProgress(run, [](const Progress &progress) {
            QCOMPARE(progress.testRows(), (QStringList{u"Тренування: 1–3|Хірургія|2 з 3|1|33.33%|0:00"_qs,
                                                       u"Екзамен||2 з 200|1|50.0%|0:00"_qs}));
            QCOMPARE(progress.examPoints().size(), 1);
            QCOMPARE(progress.examPoints().at(0).y(), 50.0);
            const QChart *chart = progress.find<QChartView>("ExamChart")->chart();
            emit static_cast<QXYSeries *>(chart->series().at(1))->hovered({1, 50}, true);
            QVERIFY(QToolTip::text().endsWith(u" — 50.0%"_qs));
            QVERIFY(!progress.find<QLabel>("NoExamLabel")->isVisible());
            QCOMPARE(progress.subjectRows(),
                     (QStringList{u"5 2 1 50.0% 1/5 +"_qs, u"5 3 1 50.0% 1/5 +"_qs, u"5 0 0 — 0/5"_qs,
                                  u"5 0 0 — 0/5"_qs, u"380 0 0 — 0/380"_qs}));
            QVERIFY(progress.mistakesButton(2)->toolTip().startsWith(u"Немає питань"_qs));
            QTest::mouseClick(progress.mistakesButton(1), Qt::LeftButton);
        });
        QVERIFY(run.state.TestRunning);
        QCOMPARE(run.text("SLabel2") + run.text("SLabel3") + run.text("SLabel7"), u"22Surgery"_qs);
        run.clickAnswer(run.rightPosition());
        run.next();
        QCOMPARE(run.text("SLabel3") + run.text("SLabel4"), u"31"_qs);
        run.clickAnswer(run.wrongPosition());
        finish(run);

        QTemporaryDir folder;
        const QString csv = folder.filePath(u"tests.csv"_qs);
        lookAtProgress(run, [&csv](const Progress &progress) {
            QCOMPARE(progress.testRows().at(0), u"Тренування: помилки|Хірургія|2 з 2|1|50.0%|0:00"_qs);
            QCOMPARE(progress.subjectRows().at(1), u"5 3 2 50.0% 2/5 +"_qs);
            QVERIFY(progress.mistakesButton(1)->toolTip().endsWith(u": 1."_qs));
            ModalWatcher files;
            files.expect([&csv](QWidget *dialog) {
                static_cast<QFileDialog *>(dialog)->selectFile(csv);
                static_cast<QDialog *>(dialog)->accept();
            });
            QTest::mouseClick(progress.find<QPushButton>("ExportBtn"), Qt::LeftButton);
            ModalWatcher question;
            question.expectMessageBox();
            QTest::mouseClick(progress.find<QPushButton>("ClearBtn"), Qt::LeftButton);
            QVERIFY(question.texts().at(0).contains(u"(3)"_qs));
            QVERIFY(progress.testRows().isEmpty() && progress.examPoints().isEmpty());
            QVERIFY(progress.find<QLabel>("NoExamLabel")->isVisible());
            QCOMPARE(progress.subjectRows().at(1), u"5 0 0 — 0/5"_qs);
        });
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], "Початок,Кінець,Тест,Розділ,Книга питань,Питань,Відповідей,Правильних,Бал,Час\r");
        QCOMPARE(lines[1].split(',').mid(2).join(','),
                 "Тренування: помилки,Хірургія,bank-exact.xls,2,2,1,50.0%,0:00\r");
        QCOMPARE(lines[3].split(',').mid(2).join(','), "Екзамен,,bank-exact.xls,200,2,1,50.0%,0:00\r");
        lookAtProgress(run, [](const Progress &progress) { QVERIFY(progress.testRows().isEmpty()); });
        run.startTraining(u"Surgery"_qs, 1, 3);
        QCOMPARE(run.text("SLabel2"), u"3"_qs);
    }

    // After the workbook moved and edited questions, a past test shows each question found by its text at its
    // new row, and the edited one as gone; the subjects count only today's questions.
    void reviewsAPastTestInTheEditedWorkbook()
    {
        QTemporaryDir folder;
        {
            TestRunFixture before(qPrintable(writeBank(folder.path(), false)), folder.path());
            trainSurgeryOneToThree(before);
        }
        TestRunFixture after(qPrintable(writeBank(folder.path(), true)), folder.path());
        QStringList rows;
        QStringList questions;
        lookAtProgress(after, [&](const Progress &progress) {
            QCOMPARE(progress.subjectRows().at(1), u"5 2 1 50.0% 1/5 +"_qs);
            ModalWatcher review;
            review.expect([&](QWidget *window) {
                auto *list = window->findChild<QTreeWidget *>("QuestionList");
                window->findChild<QCheckBox *>("MistakesBox")->click();
                for (int row = 0; row < list->topLevelItemCount(); ++row) {
                    list->setCurrentItem(list->topLevelItem(row));
                    rows.append(list->topLevelItem(row)->text(0) + u' ' + list->topLevelItem(row)->text(2));
                    questions.append(window->findChild<QPlainTextEdit *>("QuestionMemo")->toPlainText());
                }
                window->close();
            });
            QTest::mouseClick(progress.find<QPushButton>("ViewBtn"), Qt::LeftButton);
        });
        QCOMPARE(rows, (QStringList{u"3 Правильно"_qs, u"— Неправильно"_qs, u"1 Без відповіді"_qs}));
        QCOMPARE(questions.at(0), u"Питання 1 з Sur"_qs);
        QVERIFY(questions.at(1).startsWith(u"Цього питання вже немає"_qs));
        QCOMPARE(questions.at(2), u"Питання 3 з Sur"_qs);
    }

    // A result that cannot be kept is told, the results still show, and the next test is kept.
    void tellsWhatItCouldNotKeep()
    {
        TestRunFixture run("bank-exact.xls");
        QFile inTheWay(run.ownDataHome.filePath(u"vesk3"_qs));
        QVERIFY(inTheWay.open(QIODevice::WriteOnly));
        inTheWay.close();
        run.play(u"Surgery:1:1 right Right>Return>Return>Return"_qs, u"1-0/0=0.0% 1r0/0=0.0% end"_qs);
        QCOMPARE(run.noted.size(), 3);
        QVERIFY(run.noted.at(1).startsWith(
            u"Результат цього тесту не вдалося зберегти в історії: не вдалося"_qs));
        QCOMPARE(run.noted.at(2), u"1|1|0|100.0%"_qs);
        QVERIFY(inTheWay.remove());
        run.play(u"Surgery:2:2 Right>Return>Return"_qs, u"1-0/0=0.0% end"_qs);
        QCOMPARE(run.noted.size(), 5);
        lookAtProgress(run, [](const Progress &progress) { QCOMPARE(progress.testRows().size(), 1); });
    }

    // An exam killed in the middle is offered at the next start and goes on where it stood, in a workbook
    // that has moved its questions: answers, bookmarks, the entry on screen, the time used against the exam's
    // own limit. Its finish makes the kept exam the finished one.
    void resumesAnExamAfterAKill()
    {
        QTemporaryDir folder;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--answer-and-wait"_qs, examBank(folder.path(), "bank.xls"), folder.path()});
        while (!child.canReadLine())
            QVERIFY(child.waitForReadyRead(StepTimeout));
        const QString shown = QString::fromUtf8(child.readLine()).trimmed();
        child.kill();
        QVERIFY(child.waitForFinished(StepTimeout));

        TestRunFixture run(qPrintable(examBank(folder.path(), "moved.xls", true)), folder.path());
        QVERIFY(offered(QMessageBox::Yes).at(0).startsWith(u"Ви не завершили екзамен, розпочатий "_qs));
        QCOMPARE(firstEntries(run, true), shown);
        QVERIFY(shown.contains(u'r') && shown.contains(u'w') && shown.count(u'^') == 2);
        QCOMPARE(run.text("ClockLabel"), u"Залишилось: 198:55"_qs);
        run.play(u"right FinishBtn>Return>Return"_qs, u"5r* end"_qs);
        QCOMPARE(run.noted.at(1), u"4 з 200|3|1|75.0%"_qs);
        ProgressRecord history(folder.filePath(u"vesk3/progress.sqlite"_qs));
        QCOMPARE(history.tests().size(), 1u);
        QVERIFY(history.runningExams().empty());
    }

    // An exam not taken up is kept as unfinished with its answers: declined, or refused because its
    // questions changed. While another copy runs it, it is not offered at all; a closed window keeps it.
    void keepsAnExamNotTakenUpAsUnfinished_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("told");
        QTest::newRow("declined") << false << u"Ви не завершили екзамен"_qs;
        QTest::newRow("questions changed") << true << u"продовжити не можна: питання в книзі змінилися"_qs;
    }
    void keepsAnExamNotTakenUpAsUnfinished()
    {
        QFETCH(bool, edited);
        QFETCH(QString, told);
        QTemporaryDir folder;
        const QByteArray bank = examBank(folder.path(), "bank.xls").toLocal8Bit();
        auto first = std::make_unique<TestRunFixture>(bank.data(), folder.path());
        first->play(u"exam right NextBtn wrong"_qs, u"1- 1r* 2- 2w*"_qs);
        {
            TestRunFixture second(bank.data(), folder.path());
            QCoreApplication::processEvents();
            QVERIFY(!second.state.TestRunning);
        }
        first->form->close();
        first.reset();
        TestRunFixture run(qPrintable(examBank(folder.path(), "next.xls", false, edited)), folder.path());
        QVERIFY(offered(QMessageBox::No).at(0).contains(told));
        lookAtProgress(run, [](const Progress &progress) {
            QCOMPARE(progress.testRows(), QStringList{u"Екзамен (не завершено)||2 з 200|1|50.0%|0:00"_qs});
            QVERIFY(progress.examPoints().isEmpty());
        });
    }

    // The record taken away during an exam: told once, the exam goes on, and its finish shows the results
    // and keeps them in a new history.
    void goesOnWhenTheExamCannotBeKept()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        QVERIFY(QFile::remove(run.ownDataHome.filePath(u"vesk3/progress.sqlite"_qs)));
        run.play(u"right>Return NextBtn wrong FinishBtn>Return>Return"_qs, u"1r* 2- 2w* end"_qs);
        QCOMPARE(run.noted.size(), 3);
        QVERIFY(run.noted.at(0).contains(u"більше не вдається зберігати в історії: файл історії зник"_qs));
        QCOMPARE(run.noted.at(2), u"2 з 200|1|1|50.0%"_qs);
        lookAtProgress(run, [](const Progress &progress) { QCOMPARE(progress.testRows().size(), 1); });
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--answer-and-wait") == 0)
        return answerAndWait(argv[2], QString::fromLocal8Bit(argv[3]));
    TestProgressWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_progress.moc"
