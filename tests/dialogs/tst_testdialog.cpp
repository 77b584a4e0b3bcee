#include "ModalWatcher.h"
#include "TestDialog0.h"

#include <QtWidgets>
#include <memory>

using namespace vesk3;

namespace {

const QString NotANumber = u"Введіть числове значення!!!"_qs;
const QStringList Boxes{"TherEdit", "SurEdit", "PedEdit", "ObstEdit", "HygEdit"};

QString fromRange(const QString &to)
{
    return u"Значення повинно бути в межах від 1 до "_qs + to + u'!';
}

QString toRange(const QString &from, const QString &count)
{
    return u"Значення повинно бути в межах від "_qs + from + u" до "_qs + count + u'!';
}

} // namespace

// The subject dialog on banks of 480, 250, 300, 120 and 0 questions, used as the user uses it.
class TestSubjectDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        watcher = std::make_unique<ModalWatcher>();
        state = std::make_unique<TestState>();
        state->TestSettings.BankSize = {480, 250, 300, 120, 0};
        dialog = std::make_unique<TTestDLGForm>(*state);
        showDialog();
    }
    void cleanup()
    {
        dialog.reset();
        state.reset();
        watcher.reset();
    }

    // Each subject from 1 to its count, the boxes yellow, the column titles whole.
    void firstShowing()
    {
        QStringList ranges;
        for (const QString &name : Boxes) {
            ranges << box(name + u'1')->text() + u' ' + box(name + u'2')->text();
            QCOMPARE(box(name + u'1')->palette().color(QPalette::Base), QColor(Qt::yellow));
        }
        QCOMPARE(ranges, (QStringList{"1 480", "1 250", "1 300", "1 120", "1 0"}));
        const auto *columns = dialog->findChild<QLabel *>("BioChemStaticText");
        QVERIFY2(columns->width() >= columns->sizeHint().width(), "the column titles are cut off");
    }

    // A box is checked when the focus leaves it for another box of the dialog.
    void boxCheck_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("partnerText"); // typed into the other box of the pair first, unless null
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("result");
        const auto row = [](const char *name, const char *box, const char *partner, const char *typed,
                            const QStringList &messages, const char *result) {
            QTest::newRow(name) << QString(box) << QString(partner) << QString(typed) << messages
                                << QString(result);
        };
        row("From letters", "TherEdit1", nullptr, "abc", {NotANumber}, "1");
        row("From zero", "PedEdit1", nullptr, "0", {fromRange("300")}, "1");
        row("From above To, quoted as typed", "TherEdit1", "$FA", "251", {fromRange("$FA")}, "1");
        row("From equal to To", "ObstEdit1", "17", "17", {}, "17");
        row("To above count", "TherEdit2", "5", "481", {toRange("5", "480")}, "480");
        row("To below From, quoted as typed", "ObstEdit2", " 05", "4", {toRange(" 05", "120")}, "120");
        row("To equal to From", "PedEdit2", "17", "17", {}, "17");
        row("To equal to count", "SurEdit2", "3", "250", {}, "250");
        row("empty subject, To letters", "HygEdit2", nullptr, "abc", {NotANumber, toRange("1", "0")}, "0");
    }
    void boxCheck()
    {
        QFETCH(QString, boxName);
        QFETCH(QString, partnerText);
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(QString, result);
        QLineEdit *partner = box(boxName.chopped(1) + (boxName.endsWith(u'1') ? u'2' : u'1'));
        // Each box is left for a box of another subject, which is no exit of this pair.
        QLineEdit *elsewhere = box(boxName.startsWith(u"Ther") ? u"SurEdit1"_qs : u"TherEdit1"_qs);
        ModalWatcher modals;
        for (qsizetype i = 0; i < messages.size(); ++i)
            modals.expectMessageBox();
        if (!partnerText.isNull())
            typeInto(partner, partnerText, elsewhere);
        typeInto(box(boxName), typed, elsewhere);
        QCOMPARE(modals.texts(), messages);
        for (const auto &shown : modals.boxes())
            QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QCOMPARE(box(boxName)->text(), result);
        QCOMPARE(partner->text(), partnerText.isNull() ? partner->text() : partnerText);
    }

    // Neither Enter nor Escape does anything, nor does leaving the dialog check the box; closing it stores
    // nothing but keeps the selection. OK checks the box with the focus first, and stores the selected
    // subject's range only.
    void onlyOkStoresTheSelectedSubject()
    {
        state->SubjectName = u"Surgery"_qs;
        choose("PediatryItem");
        for (const char *focused : {"PedEdit1", "PedEdit2", "ApplyBtn"}) {
            auto *target = dialog->findChild<QWidget *>(focused);
            target->setFocus(Qt::TabFocusReason);
            QTest::keyClick(target, Qt::Key_Escape);
            QTest::keyClick(target, Qt::Key_Return);
            QVERIFY2(dialog->isVisible(), focused);
        }
        typeInto(box("PedEdit1"), "abc", nullptr);
        dialog->close();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(state->SubjectName, u"Surgery"_qs);
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        QTest::mouseClick(dialog->findChild<QPushButton *>("ApplyBtn"), Qt::LeftButton);
        QCOMPARE(modals.texts(), QStringList{NotANumber});
        QCOMPARE(state->SubjectName, u"Pediatry"_qs);
        QCOMPARE(state->TestSettings.FromQuestion, 1);

        // Each showing fills the To boxes with the counts again.
        dialog->close();
        state->TestSettings.BankSize[4] = 40;
        showDialog();
        for (int i = 0; i < 5; ++i)
            typeInto(box(Boxes[i] + u'1'), QString::number(2 + i), nullptr);
        typeInto(box("TherEdit2"), "100", nullptr);
        const QStringList items{"TherapyItem", "SurgeryItem", "PediatryItem", "ObstetricsItem",
                                "InfectionItem"};
        for (int i = 0; i < 5; ++i) {
            choose(items[i]);
            QTest::mouseClick(dialog->findChild<QPushButton *>("ApplyBtn"), Qt::LeftButton);
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
            QCOMPARE(dialog->selectedSubject(), i);
            QCOMPARE(state->SubjectName, items[i].chopped(4));
            QCOMPARE(state->TestSettings.FromQuestion, 2 + i);
            QCOMPARE(state->TestSettings.ToQuestion, i == 0 ? 100 : state->TestSettings.BankSize[i]);
            showDialog();
            QCOMPARE(box("TherEdit2")->text(), u"480"_qs);
        }
    }

private:
    QLineEdit *box(const QString &name) const { return dialog->findChild<QLineEdit *>(name); }

    void showDialog()
    {
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Focuses a box as a click does, replaces its text as typing does, and leaves it with a click elsewhere.
    void typeInto(QLineEdit *target, const QString &text, QWidget *leaveFor)
    {
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::keySequence(target, QKeySequence::SelectAll);
        QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, text);
        if (leaveFor) {
            dialog->activateWindow();
            QTest::mouseClick(leaveFor, Qt::LeftButton);
        }
    }

    // Clicks a subject's radio button where its circle is.
    void choose(const QString &item)
    {
        auto *button = dialog->findChild<QRadioButton *>(item);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        QVERIFY(button->isChecked());
    }

    // Fails the test on a box that it did not expect.
    std::unique_ptr<ModalWatcher> watcher;
    std::unique_ptr<TestState> state;
    std::unique_ptr<TTestDLGForm> dialog;
};

QTEST_MAIN(TestSubjectDialog)
#include "tst_testdialog.moc"
