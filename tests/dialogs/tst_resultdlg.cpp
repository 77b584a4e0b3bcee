#include "ModalWatcher.h"
#include "ResultDlg_Train.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>

using namespace vesk3;

namespace {

const QString Passed = u"Ви пройшли питань                "_qs;
const QString Right = u"Правильних відповідей            "_qs;
const QString Wrong = u"Неправильних відповідей          "_qs;
const QString Score = u"Ваш бал                          "_qs;

// Shows the dialog modally as finishing a test does, notes its lines while it is open and closes it with
// its OK button.
QStringList linesWhileShown(TResultVeskForm &dialog)
{
    QStringList seen;
    ModalWatcher modals;
    modals.expect([&seen](QWidget *modal) {
        for (const char *name : {"Label1", "Label2", "Label3", "Label4"})
            seen.append(modal->findChild<QLabel *>(name)->text());
        QTest::mouseClick(modal->findChild<QPushButton *>("OKBtn"), Qt::LeftButton);
    });
    dialog.exec();
    return seen;
}

} // namespace

class TestResultDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Unanswered exam questions count neither way.
    void examCountsTheAnsweredEntries_data()
    {
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("right");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("1 of 8 right")
            << 8 << 1 << QStringList{Passed + u"8 з 200"_qs, Right + "1", Wrong + "7", Score + "12.5%"};
        QTest::newRow("none answered")
            << 0 << 0 << QStringList{Passed + u"0 з 200"_qs, Right + "0", Wrong + "0", Score + "0.0%"};
    }
    void examCountsTheAnsweredEntries()
    {
        QFETCH(int, answered);
        QFETCH(int, right);
        QFETCH(QStringList, lines);
        TestState state;
        state.Mode = ModeExam;
        for (int entry = 1; entry <= answered; ++entry) {
            state.ExamData[entry].Answered = 1;
            state.ExamData[entry].Correct = entry <= right;
        }
        TResultVeskForm dialog(state);
        QCOMPARE(dialog.windowTitle(), u"Результати"_qs);
        QCOMPARE(linesWhileShown(dialog), lines);
        QVERIFY(dialog.isHidden());

        // Each showing fills the lines afresh: a training after the exam shows the training's figures.
        state.Mode = ModeTraining;
        dialog.setTrainingResultTexts({"12", "9", "3", "75.0%"});
        QCOMPARE(linesWhileShown(dialog),
                 (QStringList{Passed + "12", Right + "9", Wrong + "3", Score + "75.0%"}));
    }
};

QTEST_MAIN(TestResultDialog)
#include "tst_resultdlg.moc"
