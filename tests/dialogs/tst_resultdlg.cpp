#include "ModalWatcher.h"
#include "ResultDlg_Train.h"

#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace vesk3;

namespace {

const QString Passed = u"Ви пройшли питань                "_qs;
const QString Right = u"Правильних відповідей            "_qs;
const QString Wrong = u"Неправильних відповідей          "_qs;
const QString Score = u"Ваш бал                          "_qs;

QStringList linesOf(const QDialog &dialog)
{
    QStringList lines;
    for (const char *name : {"Label1", "Label2", "Label3", "Label4"})
        lines.append(dialog.findChild<QLabel *>(name)->text());
    return lines;
}

// Shows the dialog modally as finishing a test does, notes its lines while it is open and closes it with
// its OK button.
QStringList linesWhileShown(TResultVeskForm &dialog)
{
    QStringList seen;
    ModalWatcher modals;
    modals.expect([&seen](QWidget *modal) {
        seen = linesOf(static_cast<QDialog &>(*modal));
        QTest::mouseClick(modal->findChild<QPushButton *>("OKBtn"), Qt::LeftButton);
    });
    dialog.exec();
    return seen;
}

// Entries 1 .. answered answered, the first `right` of them right; the entries beyond are left as given.
void answer(ExamList &exam, int answered, int right)
{
    for (int entry = 1; entry <= answered; ++entry) {
        exam[entry].Answered = 1;
        exam[entry].Correct = entry <= right;
    }
}

} // namespace

class TestResultDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void dialogHasItsCaptionsAndPlaces()
    {
        TestState state;
        TResultVeskForm dialog(state);
        QCOMPARE(dialog.windowTitle(), u"Результати"_qs);
        QCOMPARE(dialog.size(), QSize(282, 245));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(dialog.findChild<QFrame *>("Bevel1")->geometry(), QRect(0, 40, 281, 145));
        QCOMPARE(dialog.findChild<QPushButton *>("OKBtn")->geometry(), QRect(104, 200, 75, 25));
        QCOMPARE(dialog.findChild<QPushButton *>("OKBtn")->text(), "OK");
        const QList<QPoint> places{{32, 56}, {32, 88}, {32, 120}, {32, 152}};
        const QStringList captions{u"Ви пройшли питань"_qs, u"Правильних відповідей:"_qs,
                                   u"Неправильних відповідей:"_qs, u"Ваш Бал:"_qs};
        for (int line = 0; line < 4; ++line) {
            const auto *label = dialog.findChild<QLabel *>(QStringLiteral("Label%1").arg(line + 1));
            QCOMPARE(label->pos(), places[line]);
            QCOMPARE(label->text(), captions[line]);
        }
    }

    void examCountsTheAnsweredEntries_data()
    {
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("right");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("all 200 right")
            << 200 << 200
            << QStringList{Passed + u"200 з 200"_qs, Right + "200", Wrong + "0", Score + "100.0%"};
        QTest::newRow("all answered, none right")
            << 200 << 0 << QStringList{Passed + u"200 з 200"_qs, Right + "0", Wrong + "200", Score + "0.0%"};
        QTest::newRow("1 of 8 right")
            << 8 << 1 << QStringList{Passed + u"8 з 200"_qs, Right + "1", Wrong + "7", Score + "12.5%"};
    }
    void examCountsTheAnsweredEntries()
    {
        QFETCH(int, answered);
        QFETCH(int, right);
        QFETCH(QStringList, lines);
        TestState state;
        state.Mode = ModeExam;
        answer(state.ExamData, answered, right);
        TResultVeskForm dialog(state);
        QCOMPARE(linesWhileShown(dialog), lines);
        QVERIFY(dialog.isHidden());
    }

    void examScoreTakesTheLocalesSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
        TestState state;
        state.Mode = ModeExam;
        answer(state.ExamData, 3, 2);
        TResultVeskForm dialog(state);
        QCOMPARE(linesWhileShown(dialog).at(3), Score + "66,67%");
    }

    // Each showing fills the lines afresh: a training after an exam shows the training's figures.
    void everyShowingRefillsTheLines()
    {
        TestState state;
        state.Mode = ModeExam;
        answer(state.ExamData, 3, 2);
        TResultVeskForm dialog(state);
        QCOMPARE(linesWhileShown(dialog).at(0), Passed + u"3 з 200"_qs);

        state.Mode = ModeTraining;
        dialog.setTrainingResultTexts({"12", "9", "3", "75.0%"});
        QCOMPARE(linesWhileShown(dialog),
                 (QStringList{Passed + "12", Right + "9", Wrong + "3", Score + "75.0%"}));
    }
};

QTEST_MAIN(TestResultDialog)
#include "tst_resultdlg.moc"
