#include "AboutUnit.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace vesk3;

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void window()
    {
        TAboutVeskForm about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.windowTitle(), u"Про програму"_qs);
        QCOMPARE(about.size(), QSize(268, 270));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
    }

    void pictureShowsItsTopLeftPart()
    {
        TAboutVeskForm about;
        const auto *image = about.findChild<QLabel *>("Image1");
        QVERIFY(image);
        QCOMPARE(image->geometry(), QRect(8, 0, 249, 105));
        QCOMPARE(image->pixmap().size(), QSize(250, 124));
        QVERIFY(!image->hasScaledContents());
        QCOMPARE(image->alignment(), Qt::AlignLeft | Qt::AlignTop);
    }

    void textLines()
    {
        TAboutVeskForm about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const auto *memo = about.findChild<QPlainTextEdit *>("Memo1");
        QVERIFY(memo);
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[0], u"Програма Веск-3 версія 0,01 "_qs);
        QCOMPARE(lines[1], u"Створено 14.10.2006"_qs);
        QVERIFY(!lines[2].trimmed().isEmpty());
        const QStringList keys{u"Додано можливість управляти програмою"_qs,
                               u"за допомогою гарячих клавіш:"_qs,
                               u"Up - вибір відповіді вверх"_qs,
                               u"Down - вибір відповіді вниз"_qs,
                               u"Space - наступне питання"_qs,
                               u"Left - попереднє питання"_qs,
                               u"Right - наступне питання"_qs,
                               u"R - Показати правильну відповідь"_qs};
        QCOMPARE(lines.mid(3), keys);

        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // Without scroll bars every line must fit: nothing left to scroll to.
        QCOMPARE(memo->verticalScrollBar()->maximum(), 0);
        QCOMPARE(memo->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(memo->palette().color(QPalette::Base),
                 QApplication::palette("QMenu").color(QPalette::Window));
    }

    void escapeDoesNotClose()
    {
        TAboutVeskForm about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(about.isVisible());
        about.close();
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutunit.moc"
