#include "ModalWatcher.h"
#include "TestDialog0.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

using namespace vesk3;

namespace {

const QString NotANumber = u"Введіть числове значення!!!"_qs;
const QStringList Items{"TherapyItem", "SurgeryItem", "PediatryItem", "ObstetricsItem", "InfectionItem"};
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

    void firstShowing()
    {
        QCOMPARE(dialog->windowTitle(), u"Предмети"_qs);
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(widget<QGroupBox>("GroupBox1")->title(), u"Виберіть предмет! "_qs);
        QStringList seen;
        for (int i = 0; i < 5; ++i) {
            const auto *item = widget<QRadioButton>(Items[i]);
            seen << item->text() + (item->isChecked() ? u" *"_qs : QString()) << box(Boxes[i] + u'1')->text()
                 << box(Boxes[i] + u'2')->text();
            QCOMPARE(box(Boxes[i] + u'1')->palette().color(QPalette::Base), QColor(Qt::yellow));
        }
        QCOMPARE(seen,
                 (QStringList{u"Терапія *"_qs, "1", "480", u"Хірургія"_qs, "1", "250", u"Педіатрія"_qs, "1",
                              "300", u"Акушерство і Гінекологія"_qs, "1", "120", u"Інфекція"_qs, "1", "0"}));
        const auto *columns = widget<QLabel>("BioChemStaticText");
        QCOMPARE(columns->text(), u" Від:"_qs + QString(22, u' ') + u"до:"_qs);
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
        const QString none;
        QTest::newRow("From letters") << "TherEdit1" << none << "abc" << QStringList{NotANumber} << "1";
        QTest::newRow("To empty") << "SurEdit2" << none << "" << QStringList{NotANumber} << "250";
        QTest::newRow("From hexadecimal kept as typed")
            << "TherEdit1" << none << "$A" << QStringList{} << "$A";
        QTest::newRow("From zero") << "PedEdit1" << none << "0" << QStringList{fromRange("300")} << "1";
        QTest::newRow("From above To, quoted as typed") << "TherEdit1"
                                                        << "$FA"
                                                        << "251" << QStringList{fromRange("$FA")} << "1";
        QTest::newRow("From equal to To") << "ObstEdit1"
                                          << "17"
                                          << "17" << QStringList{} << "17";
        QTest::newRow("To above count") << "TherEdit2"
                                        << "5"
                                        << "481" << QStringList{toRange("5", "480")} << "480";
        QTest::newRow("To below From, quoted as typed") << "ObstEdit2"
                                                        << " 05"
                                                        << "4" << QStringList{toRange(" 05", "120")} << "120";
        QTest::newRow("To equal to From") << "PedEdit2"
                                          << "17"
                                          << "17" << QStringList{} << "17";
        QTest::newRow("To equal to count") << "SurEdit2"
                                           << "3"
                                           << "250" << QStringList{} << "250";
        QTest::newRow("empty subject, To letters")
            << "HygEdit2" << none << "abc" << QStringList{NotANumber, toRange("1", "0")} << "0";
    }
    void boxCheck()
    {
        QFETCH(QString, boxName);
        QFETCH(QString, partnerText);
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(QString, result);
        QLineEdit *checked = box(boxName);
        QLineEdit *partner = box(boxName.chopped(1) + (boxName.endsWith(u'1') ? u'2' : u'1'));
        // Each box is left for a box of another subject, which is no exit of this pair.
        QLineEdit *elsewhere = box(boxName.startsWith(u"Ther") ? u"SurEdit1"_qs : u"TherEdit1"_qs);
        ModalWatcher modals;
        for (qsizetype i = 0; i < messages.size(); ++i)
            modals.expectMessageBox();
        if (!partnerText.isNull()) {
            typeInto(partner, partnerText);
            leaveFor(elsewhere);
        }
        typeInto(checked, typed);
        leaveFor(elsewhere);
        QCOMPARE(modals.texts(), messages);
        for (const auto &shown : modals.boxes())
            QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QCOMPARE(checked->text(), result);
        if (!partnerText.isNull())
            QCOMPARE(partner->text(), partnerText);
    }

    // Leaving the dialog checks nothing; the entry is checked once the focus moves on inside it.
    void leavingTheDialogChecksNothing()
    {
        typeInto(box("TherEdit1"), "abc");
        dialog->close();
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        leaveFor(box("TherEdit2"));
        QCOMPARE(modals.texts(), QStringList{NotANumber});
        QCOMPARE(box("TherEdit1")->text(), u"1"_qs);
    }

    // OK stores the selected subject's range only; each showing fills the To boxes with the counts again.
    void okStoresOnlyTheSelectedSubject()
    {
        giveInfectionQuestions();
        for (int i = 0; i < 5; ++i)
            typeInto(box(Boxes[i] + u'1'), QString::number(2 + i));
        typeInto(box("TherEdit2"), "100");
        for (int i = 0; i < 5; ++i) {
            choose(Items[i]);
            QTest::mouseClick(widget<QPushButton>("ApplyBtn"), Qt::LeftButton);
            QVERIFY(!dialog->isVisible());
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
            QCOMPARE(dialog->selectedSubject(), i);
            QCOMPARE(state->SubjectName,
                     QStringList({"Therapy", "Surgery", "Pediatry", "Obstetrics", "Infection"})[i]);
            QCOMPARE(state->TestSettings.FromQuestion, 2 + i);
            QCOMPARE(state->TestSettings.ToQuestion, i == 0 ? 100 : state->TestSettings.BankSize[i]);
            showDialog();
            QCOMPARE(box("TherEdit2")->text(), u"480"_qs);
        }
    }

    void okChecksTheFocusedBoxFirst()
    {
        ModalWatcher modals;
        modals.expectMessageBox();
        typeInto(box("TherEdit2"), "abc");
        QTest::mouseClick(widget<QPushButton>("ApplyBtn"), Qt::LeftButton);
        QCOMPARE(modals.texts(), QStringList{NotANumber});
        QCOMPARE(state->TestSettings.ToQuestion, 480);
    }

    void closeBoxStoresNothing()
    {
        state->TestSettings.FromQuestion = 3;
        state->TestSettings.ToQuestion = 9;
        state->SubjectName = u"Surgery"_qs;
        choose("PediatryItem");
        typeInto(box("PedEdit2"), "20");
        typeInto(box("PedEdit1"), "10");
        leaveFor(box("PedEdit2"));
        dialog->close();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(state->TestSettings.FromQuestion, 3);
        QCOMPARE(state->TestSettings.ToQuestion, 9);
        QCOMPARE(state->SubjectName, u"Surgery"_qs);
        showDialog();
        QVERIFY(widget<QRadioButton>("PediatryItem")->isChecked());
    }

    void enterAndEscapeDoNothing_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("key");
        QTest::newRow("Escape in a box") << "TherEdit1" << int(Qt::Key_Escape);
        QTest::newRow("Return in a box") << "HygEdit2" << int(Qt::Key_Return);
        QTest::newRow("Return on OK") << "ApplyBtn" << int(Qt::Key_Return);
    }
    void enterAndEscapeDoNothing()
    {
        QFETCH(QString, focused);
        QFETCH(int, key);
        QWidget *target = widget<QWidget>(focused);
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key(key));
        QVERIFY(dialog->isVisible());
        QCOMPARE(state->SubjectName, QString());
    }

    // The radio group is one stop: its selected item.
    void tabOrder()
    {
        giveInfectionQuestions();
        choose("PediatryItem");
        box("TherEdit1")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited,
                 (QStringList{"TherEdit2", "SurEdit1", "SurEdit2", "PedEdit1", "PedEdit2", "ObstEdit1",
                              "ObstEdit2", "HygEdit1", "HygEdit2", "PediatryItem", "ApplyBtn", "TherEdit1"}));
    }

private:
    template <typename W> W *widget(const QString &name) const
    {
        auto *found = dialog->findChild<W *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit *box(const QString &name) const { return widget<QLineEdit>(name); }

    void showDialog()
    {
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Focuses a box as a click does and replaces its text as typing does.
    void typeInto(QLineEdit *target, const QString &text)
    {
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::keySequence(target, QKeySequence::SelectAll);
        QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, text);
    }

    // Clicks a subject's radio button where its circle is.
    void choose(const QString &item)
    {
        auto *button = widget<QRadioButton>(item);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        QVERIFY(button->isChecked());
    }

    // The counts are shown anew at each showing.
    void giveInfectionQuestions()
    {
        dialog->close();
        state->TestSettings.BankSize[4] = 40;
        showDialog();
    }

    void leaveFor(QWidget *target)
    {
        dialog->activateWindow();
        QTest::mouseClick(target, Qt::LeftButton);
    }

    // Fails the test on a box that it did not expect.
    std::unique_ptr<ModalWatcher> watcher;
    std::unique_ptr<TestState> state;
    std::unique_ptr<TTestDLGForm> dialog;
};

QTEST_MAIN(TestSubjectDialog)
#include "tst_testdialog.moc"
