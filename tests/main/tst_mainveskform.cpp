#include "MainVeskUnit.h"
#include "ModalWatcher.h"
#include "Table.h"

#include <QCloseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace vesk3;
using bank::BankSizes;

namespace {

std::string fixture(const QString &name)
{
    return QStringLiteral(VESK3_FIXTURES "/%1").arg(name).toStdString();
}

// Counts the times a widget is shown and hidden.
class ShowCounter : public QObject
{
public:
    explicit ShowCounter(QWidget &widget) { widget.installEventFilter(this); }
    int shown = 0;
    int hidden = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        shown += event->type() == QEvent::Show;
        hidden += event->type() == QEvent::Hide;
        return false;
    }
};

} // namespace

class TestMainVeskForm : public QObject
{
    Q_OBJECT

private slots:
    void windowHasFixedClientAreaAndNoMaximize()
    {
        TestState state;
        TMainVeskForm form(state, {fixture("bank.xls")});
        TTableVeskForm table(state);
        form.setTableWindow(table);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), u"Vesk-3 Version 0,01"_qs);
        QCOMPARE(form.findChild<QWidget *>("ClientArea")->size(), QSize(791, 554));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    }

    void missingServerStopsBeforeConnecting()
    {
        TestState state;
        QList<int> reported;
        ModalWatcher modals;
        modals.expectMessageBox();
        modals.expectMessageBox();
        TMainVeskForm form(state, {fixture("bank.xls"), [](std::string_view) { return false; },
                                   [&reported](int position) {
                                       reported.append(position);
                                   }});
        QVERIFY(!form.serverInstalled());
        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).title, u"Dorv-3 (0,01)"_qs);
        QCOMPARE(modals.boxes().at(0).text, u"Сервер Excel не встановлено, спочатку встановіть Excel!"_qs);
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::NoIcon);
        QVERIFY(!form.excelApp()->isConnected());
        QCOMPARE(state.TestSettings.BankSize, BankSizes{});
        QVERIFY(reported.isEmpty());
    }

    void showingChoosesNoModeAndShowsTheTableOnce()
    {
        TestState state;
        state.Mode = ModeExam;
        state.TestRunning = true;
        TMainVeskForm form(state, {fixture("bank.xls")});
        TTableVeskForm table(state);
        ShowCounter tableShows(table);
        form.setTableWindow(table);
        form.show();
        QCOMPARE(state.Mode, ModeNone);
        QVERIFY(!state.TestRunning);
        QCOMPARE(tableShows.shown, 1);
        QCOMPARE(tableShows.hidden, 1);
        QVERIFY(table.isHidden());
    }

    void quitCommandClosesAndReleasesTheServer()
    {
        TestState state;
        TMainVeskForm form(state, {fixture("bank.xls")});
        TTableVeskForm table(state);
        form.setTableWindow(table);
        QSignalSpy closed(&form, &TMainVeskForm::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(form.excelApp()->isConnected());
        QTest::keyClick(&form, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(!form.isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(form.excelApp(), nullptr);

        // A second request, as the window system may still send one to the closed window.
        QCloseEvent again;
        QApplication::sendEvent(&form, &again);
        QCOMPARE(closed.count(), 2);
        QCOMPARE(form.excelApp(), nullptr);
    }
};

QTEST_MAIN(TestMainVeskForm)
#include "tst_mainveskform.moc"
