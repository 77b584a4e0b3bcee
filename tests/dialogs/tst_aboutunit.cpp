#include "AboutUnit.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace vesk3;

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsTheProgramAndItsKeys()
    {
        TAboutVeskForm about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        const auto *memo = about.findChild<QPlainTextEdit *>("Memo1");
        // The box has no scroll bars: every line must fit, nothing left to scroll to.
        QCOMPARE(memo->verticalScrollBar()->maximum(), 0);
        QCOMPARE(memo->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(memo->palette().color(QPalette::Base),
                 QApplication::palette("QMenu").color(QPalette::Window));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(about.isVisible());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutunit.moc"
