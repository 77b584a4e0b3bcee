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
        QCOMPARE(about.windowTitle(), u"Про програму"_qs);
        const auto *memo = about.findChild<QPlainTextEdit *>("Memo1");
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines.first(2),
                 (QStringList{u"Програма Веск-3 версія 0,01 "_qs, u"Створено 14.10.2006"_qs}));
        QCOMPARE(lines.mid(3),
                 (QStringList{u"Додано можливість управляти програмою"_qs, u"за допомогою гарячих клавіш:"_qs,
                              u"Up - вибір відповіді вверх"_qs, u"Down - вибір відповіді вниз"_qs,
                              u"Space - наступне питання"_qs, u"Left - попереднє питання"_qs,
                              u"Right - наступне питання"_qs, u"R - Показати правильну відповідь"_qs}));
        QVERIFY(memo->isReadOnly());
        // Without scroll bars every line must fit: nothing left to scroll to.
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
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
