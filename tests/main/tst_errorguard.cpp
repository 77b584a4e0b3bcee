#include "ErrorGuard.h"
#include "ModalWatcher.h"

#include <QPushButton>
#include <QTest>

using namespace vesk3;

namespace {

// A handler of two steps, the second of which may fail.
struct TwoSteps
{
    bool fail = false;
    QStringList done;

    void run()
    {
        done.append("first");
        if (fail)
            throw workbook::BankError("Аркуш «Surgery» не знайдено");
        done.append("second");
    }
};

} // namespace

class TestErrorGuard : public QObject
{
    Q_OBJECT

private slots:
    void bankErrorStopsTheHandlerWithOneBox_data()
    {
        QTest::addColumn<bool>("fail");
        QTest::addColumn<QStringList>("done");
        QTest::addColumn<int>("boxes");
        QTest::newRow("success") << false << QStringList{"first", "second"} << 0;
        QTest::newRow("failure") << true << QStringList{"first"} << 1;
    }
    void bankErrorStopsTheHandlerWithOneBox()
    {
        QFETCH(bool, fail);
        QFETCH(QStringList, done);
        QFETCH(int, boxes);
        TwoSteps handler{fail, {}};
        ModalWatcher modals;
        modals.expectMessageBox();
        guarded(&TwoSteps::run, &handler);
        QCOMPARE(handler.done, done);
        QCOMPARE(modals.boxes().size(), boxes);
        if (boxes == 0)
            return;
        QCOMPARE(modals.boxes().at(0).title, u"Dorv-3 (0,01)"_qs);
        QCOMPARE(modals.boxes().at(0).text, u"Аркуш «Surgery» не знайдено."_qs);
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::Critical);
    }

    // The error is shown by the clicked button's handler and goes no further than Qt's event dispatch.
    void guardedClickShowsTheError()
    {
        struct Window : QPushButton
        {
            TwoSteps steps{true, {}};
            void Click() { steps.run(); }
        } button;
        connectGuarded(&button, &QPushButton::clicked, &button, &Window::Click);
        ModalWatcher modals;
        modals.expectMessageBox();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(button.steps.done, QStringList{"first"});
        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::Critical);
    }
};

QTEST_MAIN(TestErrorGuard)
#include "tst_errorguard.moc"
