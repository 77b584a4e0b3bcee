#include "TestRunFixture.h"

using namespace vesk3;

namespace {

// The values of the results dialog's lines, the time taken first.
QString resultValues(const QWidget *dialog)
{
    QStringList values;
    for (const char *line : {"Label5", "Label1", "Label2", "Label3", "Label4"})
        values.append(dialog->findChild<QLabel *>(line)->text().mid(33));
    return values.join(u'|');
}

// Counts the paintings of the widgets it watches.
struct PaintCounter : QObject
{
    explicit PaintCounter(const QList<QWidget *> &widgets)
    {
        for (QWidget *widget : widgets)
            widget->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
    QHash<QObject *, int> paints;
};

} // namespace

class TestTheClock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void clockShows_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::addColumn<bool>("timed");
        QTest::addColumn<int>("passedMs");
        QTest::addColumn<QString>("atStart");
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("results");
        QTest::newRow("exam") << true << false << 6'245'999 << "Час: 0:00"
                              << "Час: 104:05"
                              << "104:05|0 з 200|0|0|0.0%";
        QTest::newRow("exam against the clock") << true << true << 754'500 << "Залишилось: 200:00"
                                                << "Залишилось: 187:26"
                                                << "12:34|0 з 200|0|0|0.0%";
        QTest::newRow("training has no limit") << false << true << 15'000'999 << "Час: 0:00"
                                               << "Час: 250:00"
                                               << "250:00|0|0|0|0.0%";
    }
    // The clock counts from Start and changes nothing but itself; finishing stops it, and the results show
    // the time taken.
    void clockShows()
    {
        QFETCH(bool, exam);
        QFETCH(bool, timed);
        QFETCH(int, passedMs);
        QFETCH(QString, atStart);
        QFETCH(QString, running);
        QFETCH(QString, results);
        TestRunFixture run("bank-exact.xls");
        if (timed)
            run.command("TimedExam1");
        run.passTime(90'000);
        exam ? run.startExam() : run.startTraining("Surgery", 1, 5);
        QCOMPARE(run.text("ClockLabel"), atStart);
        QVERIFY(run.form->findChild<QTimer *>("ClockTimer")->isActive());
        run.form->activateWindow();
        QVERIFY(run.active(run.form.get()));
        auto *label = run.find<QLabel>("ClockLabel");
        PaintCounter painted(
            {label, run.find<QPlainTextEdit>("QuestionMemo")->viewport(), run.box(1)->viewport()});
        // Time passes; the window has shown the clock once it has painted it.
        const auto pass = [&](int ms) {
            painted.paints.clear();
            run.passTime(ms);
            return QTest::qWaitFor([&] { return painted.paints.value(label) > 0; }, StepTimeout);
        };
        QVERIFY(pass(1000));
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(pass(passedMs - 1000));
        QCOMPARE(run.text("ClockLabel"), running);
        QCOMPARE(painted.paints.keys(), QList<QObject *>{label});
        QCOMPARE(QApplication::focusWidget(), focus);

        ModalWatcher modals;
        modals.expectMessageBox();
        QString shown;
        modals.expect([&](QWidget *dialog) {
            shown = resultValues(dialog);
            // The limit of an exam that has finished runs out without it.
            run.passTime(TimedExamMs);
            dialog->close();
        });
        QTest::mouseClick(run.button("FinishBtn"), Qt::LeftButton);
        QCOMPARE(shown, results);
        QCOMPARE(run.text("ClockLabel"), running);
    }

    void timeRunsOut_data()
    {
        QTest::addColumn<QString>("open");
        QTest::newRow("the question whether to finish") << "FinishBtn";
        QTest::newRow("the question table") << "TableBtn";
        QTest::newRow("About") << "About1";
    }
    // Whatever the student has open when the time is up is closed as Cancel would close it; the exam then
    // finishes as after OK, once, with the answers given and the whole time taken.
    void timeRunsOut()
    {
        QFETCH(QString, open);
        TestRunFixture run("bank-exact.xls");
        run.command("TimedExam1");
        run.play("exam right NextBtn wrong", "1- 1r* 2- 2w*");
        run.passTime(TimedExamMs - 1);
        QCOMPARE(run.text("ClockLabel"), "Залишилось: 0:01");

        ModalWatcher modals;
        const auto timeRunsOut = [&](QWidget *) {
            run.passTime(90'000);
        };
        if (open == u"FinishBtn" || open == u"About1")
            modals.expect(timeRunsOut);
        QString message;
        modals.expect([&](QWidget *box) {
            message = qobject_cast<QMessageBox *>(box)->text();
            // Shown once the window that the time closed has returned from its wait.
            QCOMPARE(QThread::currentThread()->loopLevel(), 1);
            // Keys once the time is up answer nothing.
            QVERIFY(run.active(box));
            for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down})
                QTest::keyClick(QApplication::focusWidget(), key);
            box->close();
        });
        QString shown;
        modals.expect([&](QWidget *dialog) {
            shown = resultValues(dialog);
            dialog->close();
        });
        if (open == u"TableBtn") {
            QVERIFY(run.openTable());
            timeRunsOut(nullptr);
        } else {
            open == u"FinishBtn" ? QTest::mouseClick(run.button(open), Qt::LeftButton) : run.command(open);
        }
        QVERIFY(QTest::qWaitFor([&] { return !run.state.TestRunning; }, StepTimeout));
        QCOMPARE(message, u"Час вичерпано!"_qs);
        QCOMPARE(shown, "200:00|2 з 200|1|1|50.0%");
        QVERIFY(!run.table.isVisible());
        run.play("Escape", "end");
    }

    void theLimitIsRemembered()
    {
        TestRunFixture run;
        for (const bool timed : {true, false}) {
            run.command("TimedExam1");
            TMainVeskForm again(run.state, BankSetup{std::string(VESK3_FIXTURES "/bank.xls")});
            QCOMPARE(again.findChild<QAction *>("TimedExam1")->isChecked(), timed);
        }
    }
};

QTEST_MAIN(TestTheClock)
#include "tst_clock.moc"
