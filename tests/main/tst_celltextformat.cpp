#include "CellTextFormat.h"

#include <QLocale>
#include <QTest>

using namespace vesk3;

class TestCellTextFormat : public QObject
{
    Q_OBJECT

private slots:
    void cellsAreWrittenInTheUsersLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("decimalSeparator");
        QTest::addColumn<QString>("datePattern");
        QTest::newRow("Ukrainian") << "uk_UA"
                                   << ","
                                   << "dd.MM.yy";
        QTest::newRow("American") << "en_US"
                                  << "."
                                  << "M/d/yy";
        QTest::newRow("German") << "de_DE"
                                << ","
                                << "dd.MM.yy";
    }
    void cellsAreWrittenInTheUsersLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, decimalSeparator);
        QFETCH(QString, datePattern);
        const workbook::TextFormat format = cellTextFormat(QLocale(locale));
        QCOMPARE(QString::fromStdString(format.decimalSeparator), decimalSeparator);
        QCOMPARE(QString::fromStdString(format.shortDatePattern), datePattern);
    }
};

QTEST_GUILESS_MAIN(TestCellTextFormat)
#include "tst_celltextformat.moc"
