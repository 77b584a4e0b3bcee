#include "ModalWatcher.h"
#include "ResultDlg_Train.h"

#include <QtWidgets>

using namespace vesk3;

namespace {

// The four lines with their words padded to one column, as the dialog shows them.
QStringList lines(const QString &passed, const QString &right, const QString &wrong, const QString &score)
{
    return {u"Ви пройшли питань                "_qs + passed, u"Правильних відповідей            "_qs + right,
            u"Неправильних відповідей          "_qs + wrong, u"Ваш бал                          "_qs + score};
}

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
    // Each showing fills the lines afresh, so a training after the exam shows the training's figures.
    void linesOfTheTestJustFinished()
    {
        QLocale::setDefault(QLocale::c());
        TestState state;
        state.Mode = ModeExam;
        TResultVeskForm dialog(state);
        QCOMPARE(linesWhileShown(dialog), lines(u"0 з 200"_qs, "0", "0", "0.0%"));
        QVERIFY(dialog.isHidden());
        state.Mode = ModeTraining;
        dialog.setTrainingResultTexts({"12", "9", "3", "75.0%"});
        QCOMPARE(linesWhileShown(dialog), lines("12", "9", "3", "75.0%"));
    }
};

QTEST_MAIN(TestResultDialog)
#include "tst_resultdlg.moc"
