#include "MessageBoxes.h"
#include "ModalWatcher.h"
#include "Routines.h"
#include "TestDialog0.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

using namespace vesk3;

namespace {

const QString NotANumber = u"Введіть числове значення!!!"_qs;

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
        state = std::make_unique<TestState>();
        state->TestSettings.BankSize = {480, 250, 300, 120, 0};
        dialog = std::make_unique<TTestDLGForm>(*state);
    }
    void cleanup()
    {
        dialog.reset();
        state.reset();
    }

    void firstShowing()
    {
        showDialog();
        QCOMPARE(dialog->windowTitle(), u"Предмети"_qs);
        QCOMPARE(dialog->size(), QSize(402, 331));
        QCOMPARE(dialog->minimumSize(), QSize(402, 331));
        QCOMPARE(dialog->maximumSize(), QSize(402, 331));
        const Qt::WindowFlags flags = dialog->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QCOMPARE(dialog->font().pixelSize(), 11);

        QCOMPARE(widget<QGroupBox>("GroupBox1")->title(), u"Виберіть предмет! "_qs);
        QCOMPARE(widget<QGroupBox>("SubRadioGroup")->title(), QString());
        const QStringList captions{u"Терапія"_qs, u"Хірургія"_qs, u"Педіатрія"_qs,
                                   u"Акушерство і Гінекологія"_qs, u"Інфекція"_qs};
        const QStringList items{"TherapyItem", "SurgeryItem", "PediatryItem", "ObstetricsItem",
                                "InfectionItem"};
        for (int i = 0; i < items.size(); ++i) {
            const auto *item = widget<QRadioButton>(items[i]);
            QCOMPARE(item->text(), captions[i]);
            QCOMPARE(item->isChecked(), i == 0);
        }

        const auto *columns = widget<QLabel>("BioChemStaticText");
        QCOMPARE(columns->text(), u" Від:"_qs + QString(22, u' ') + u"до:"_qs);
        QVERIFY2(columns->width() >= columns->sizeHint().width(), "the column titles are cut off");

        const QStringList counts{"480", "250", "300", "120", "0"};
        for (int i = 0; i < boxNames.size(); ++i) {
            const auto *from = box(boxNames[i] + u'1');
            const auto *to = box(boxNames[i] + u'2');
            QCOMPARE(from->text(), u"1"_qs);
            QCOMPARE(to->text(), counts[i]);
            QCOMPARE(from->palette().color(QPalette::Base), QColor(Qt::yellow));
            QCOMPARE(to->palette().color(QPalette::Base), QColor(Qt::yellow));
        }
        QCOMPARE(widget<QPushButton>("ApplyBtn")->text(), u"OK"_qs);
    }

    void boxCheck_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("partnerText"); // typed into the other box of the pair first, unless null
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("result");

        const QString none;
        QTest::newRow("From letters") << "TherEdit1" << none << "abc" << QStringList{NotANumber} << "1";
        QTest::newRow("From empty") << "SurEdit1" << none << "" << QStringList{NotANumber} << "1";
        QTest::newRow("From trailing blank") << "TherEdit1" << none << "5 " << QStringList{NotANumber} << "1";
        QTest::newRow("From hexadecimal kept as typed")
            << "TherEdit1" << none << "$A" << QStringList{} << "$A";
        QTest::newRow("To letters") << "TherEdit2" << none << "abc" << QStringList{NotANumber} << "480";
        QTest::newRow("To empty") << "SurEdit2" << none << "" << QStringList{NotANumber} << "250";
        QTest::newRow("From zero") << "TherEdit1" << none << "0" << QStringList{fromRange("480")} << "1";
        QTest::newRow("From negative") << "PedEdit1" << none << "-3" << QStringList{fromRange("300")} << "1";
        QTest::newRow("From above To") << "TherEdit1"
                                       << "250"
                                       << "251" << QStringList{fromRange("250")} << "1";
        QTest::newRow("From message quotes To as typed") << "TherEdit1"
                                                         << "$FA"
                                                         << "251" << QStringList{fromRange("$FA")} << "1";
        QTest::newRow("From equal to To") << "ObstEdit1"
                                          << "17"
                                          << "17" << QStringList{} << "17";
        QTest::newRow("To above count") << "TherEdit2"
                                        << "5"
                                        << "481" << QStringList{toRange("5", "480")} << "480";
        QTest::newRow("To below From") << "ObstEdit2"
                                       << "5"
                                       << "4" << QStringList{toRange("5", "120")} << "120";
        QTest::newRow("To message quotes From as typed")
            << "TherEdit2"
            << " 05"
            << "481" << QStringList{toRange(" 05", "480")} << "480";
        QTest::newRow("To equal to From") << "PedEdit2"
                                          << "17"
                                          << "17" << QStringList{} << "17";
        QTest::newRow("To equal to count") << "SurEdit2"
                                           << "3"
                                           << "250" << QStringList{} << "250";
        QTest::newRow("empty subject, From")
            << "HygEdit1" << none << "1" << QStringList{fromRange("0")} << "1";
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
        showDialog();
        QLineEdit *checked = box(boxName);
        QLineEdit *partner = box(boxName.chopped(1) + (boxName.endsWith(u'1') ? u'2' : u'1'));
        // Leave each box for a box of another subject, which is no exit of this pair.
        QLineEdit *elsewhere = box(boxName.startsWith(u"Ther") ? u"SurEdit1"_qs : u"TherEdit1"_qs);

        ModalWatcher modals;
        for (int i = 0; i <= messages.size(); ++i)
            modals.expectMessageBox();
        if (!partnerText.isNull()) {
            typeInto(partner, partnerText);
            leaveFor(elsewhere);
        }
        typeInto(checked, typed);
        leaveFor(elsewhere);

        QCOMPARE(texts(modals.boxes()), messages);
        for (const auto &shown : modals.boxes()) {
            QCOMPARE(shown.title, QString::fromUtf16(ApplicationTitle));
            QCOMPARE(shown.icon, QMessageBox::NoIcon);
        }
        QCOMPARE(modals.pendingCount(), 1);
        QCOMPARE(checked->text(), result);
        if (!partnerText.isNull())
            QCOMPARE(partner->text(), partnerText);
    }

    void leavingTheDialogChecksNothing()
    {
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        typeInto(box("TherEdit1"), "abc");
        dialog->close();
        QCOMPARE(modals.pendingCount(), 1);

        // The entry is checked once the focus moves on inside the dialog.
        showDialog();
        leaveFor(box("TherEdit2"));
        QCOMPARE(texts(modals.boxes()), QStringList{NotANumber});
        QCOMPARE(box("TherEdit1")->text(), u"1"_qs);
    }

    void okStoresOnlyTheSelectedSubject_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("Терапія") << "TherapyItem" << 2 << 10 << "Therapy";
        QTest::newRow("Хірургія") << "SurgeryItem" << 3 << 11 << "Surgery";
        QTest::newRow("Педіатрія") << "PediatryItem" << 4 << 12 << "Pediatry";
        QTest::newRow("Акушерство і Гінекологія") << "ObstetricsItem" << 5 << 13 << "Obstetrics";
        QTest::newRow("Інфекція") << "InfectionItem" << 6 << 14 << "Infection";
    }
    void okStoresOnlyTheSelectedSubject()
    {
        QFETCH(QString, item);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, sheet);
        state->TestSettings.BankSize[4] = 40;
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        // Every subject gets its own range: subject i from 2 + i to 10 + i.
        for (int i = 0; i < boxNames.size(); ++i) {
            typeInto(box(boxNames[i] + u'2'), QString::number(10 + i));
            typeInto(box(boxNames[i] + u'1'), QString::number(2 + i));
        }
        choose(item);
        QTest::mouseClick(widget<QPushButton>("ApplyBtn"), Qt::LeftButton);

        QCOMPARE(state->TestSettings.FromQuestion, from);
        QCOMPARE(state->TestSettings.ToQuestion, to);
        QCOMPARE(state->SubjectName, sheet);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->selectedSubject(), from - 2);
        QCOMPARE(modals.pendingCount(), 1);
    }

    void okChecksTheFocusedBoxFirst()
    {
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        modals.expectMessageBox();
        typeInto(box("TherEdit2"), "abc");
        QTest::mouseClick(widget<QPushButton>("ApplyBtn"), Qt::LeftButton);
        QCOMPARE(texts(modals.boxes()), QStringList{NotANumber});
        QCOMPARE(box("TherEdit2")->text(), u"480"_qs);
        QCOMPARE(state->TestSettings.ToQuestion, 480);
    }

    void closeBoxStoresNothing()
    {
        state->TestSettings.FromQuestion = 3;
        state->TestSettings.ToQuestion = 9;
        state->SubjectName = u"Surgery"_qs;
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        choose("PediatryItem");
        typeInto(box("PedEdit2"), "20");
        typeInto(box("PedEdit1"), "10");
        leaveFor(box("PedEdit2"));
        dialog->close();

        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(state->TestSettings.FromQuestion, 3);
        QCOMPARE(state->TestSettings.ToQuestion, 9);
        QCOMPARE(state->SubjectName, u"Surgery"_qs);
        showDialog();
        QVERIFY(widget<QRadioButton>("PediatryItem")->isChecked());
        QCOMPARE(modals.pendingCount(), 1);
    }

    void toBoxesAreRefilledAtEachShowing()
    {
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        typeInto(box("TherEdit2"), "100");
        typeInto(box("TherEdit1"), "7");
        typeInto(box("SurEdit2"), "50");
        QTest::mouseClick(widget<QPushButton>("ApplyBtn"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());

        state->TestSettings.BankSize[1] = 99;
        showDialog();
        QCOMPARE(box("TherEdit1")->text(), u"7"_qs);
        QCOMPARE(box("TherEdit2")->text(), u"480"_qs);
        QCOMPARE(box("SurEdit2")->text(), u"99"_qs);
        QCOMPARE(modals.pendingCount(), 1);
    }

    void enterAndEscapeDoNothing_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("key");
        QTest::newRow("Escape in a box") << "TherEdit1" << int(Qt::Key_Escape);
        QTest::newRow("Return in a box") << "TherEdit1" << int(Qt::Key_Return);
        QTest::newRow("Enter in a box") << "HygEdit2" << int(Qt::Key_Enter);
        QTest::newRow("Escape on OK") << "ApplyBtn" << int(Qt::Key_Escape);
        QTest::newRow("Return on OK") << "ApplyBtn" << int(Qt::Key_Return);
        QTest::newRow("Escape on an item") << "SurgeryItem" << int(Qt::Key_Escape);
        QTest::newRow("Return on an item") << "SurgeryItem" << int(Qt::Key_Return);
    }
    void enterAndEscapeDoNothing()
    {
        QFETCH(QString, focused);
        QFETCH(int, key);
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        QWidget *target = widget<QWidget>(focused);
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key(key));

        QVERIFY(dialog->isVisible());
        QCOMPARE(state->TestSettings.FromQuestion, 0);
        QCOMPARE(state->SubjectName, QString());
        QCOMPARE(modals.pendingCount(), 1);
    }

    void tabOrder()
    {
        state->TestSettings.BankSize[4] = 40;
        showDialog();
        ModalWatcher modals;
        modals.expectMessageBox();
        choose("PediatryItem");
        box("TherEdit1")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        // The radio group is one stop: its selected item.
        QCOMPARE(visited,
                 (QStringList{"TherEdit2", "SurEdit1", "SurEdit2", "PedEdit1", "PedEdit2", "ObstEdit1",
                              "ObstEdit2", "HygEdit1", "HygEdit2", "PediatryItem", "ApplyBtn", "TherEdit1"}));
        QCOMPARE(modals.pendingCount(), 1);
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

    void leaveFor(QWidget *target)
    {
        dialog->activateWindow();
        QTest::mouseClick(target, Qt::LeftButton);
    }

    static QStringList texts(const QList<ModalWatcher::Box> &boxes)
    {
        QStringList result;
        for (const auto &shown : boxes)
            result.append(shown.text);
        return result;
    }

    const QStringList boxNames{"TherEdit", "SurEdit", "PedEdit", "ObstEdit", "HygEdit"};
    std::unique_ptr<TestState> state;
    std::unique_ptr<TTestDLGForm> dialog;
};

QTEST_MAIN(TestSubjectDialog)
#include "tst_testdialog.moc"
