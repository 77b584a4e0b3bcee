#include "TestRunFixture.h"
#include "XlsBuilder.h"

#include <QChartView>
#include <QFileDialog>
#include <QLineSeries>
#include <QLocale>
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

// A workbook of five subjects with five plain questions each; `edited` moves Surgery's question 1 to row 3
// and its question 3 to row 1, and changes the text of its question 2.
QString writeBank(const QString &folder, bool edited)
{
    using namespace xlstest;
    std::vector<SheetSpec> sheets;
    for (const char *name : {"Therapy", "Surgery", "Pediatry", "Obstetrics", "Infection"}) {
        const bool surgery = std::string_view(name) == "Surgery";
        Bytes records;
        for (unsigned row = 0; row < 5; ++row) {
            unsigned number = row + 1;
            if (edited && surgery && (number == 1 || number == 3))
                number = 4 - number;
            const std::u16string n(1, char16_t(u'0' + number));
            const std::u16string extra = edited && surgery && number == 2 ? u" (виправлене)" : u"";
            records += label(row, 1, u"Питання " + n + u" з " + std::u16string(name, name + 3) + extra);
            records += label(row, 2, u"Правильна відповідь " + n);
            for (char16_t k = u'1'; k <= u'4'; ++k)
                records += label(row, 2 + (k - u'0'), u"Неправильна " + n + u'.' + k);
        }
        sheets.push_back({name, records + label(5, 0, u"end")});
    }
    const QString path = folder + (edited ? u"/edited.xls"_qs : u"/bank.xls"_qs);
    QFile file(path);
    const Bytes bytes = compoundFile({{u"Workbook", workbookStream({}, sheets)}});
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write %s", qPrintable(path));
    return path;
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
};

QTEST_MAIN(TestProgressWindow)
#include "tst_progress.moc"
