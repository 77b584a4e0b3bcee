#include "CsvExport.h"
#include "LocaleFormat.h"

#include <QTest>

class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void fieldsQuotedWhenNeeded_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << u"Питання 1"_qs << u"Питання 1"_qs;
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("semicolon and spaces") << " a; b "
                                              << " a; b ";
        QTest::newRow("comma") << "1,5"
                               << "\"1,5\"";
        QTest::newRow("quote doubled") << u"аркуш \"Therapy\""_qs << u"\"аркуш \"\"Therapy\"\"\""_qs;
        QTest::newRow("only a quote") << "\""
                                      << "\"\"\"\"";
        QTest::newRow("line feed") << "a\nb"
                                   << "\"a\nb\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << "\"a\rb\"";
        QTest::newRow("CR LF") << "a\r\nb"
                               << "\"a\r\nb\"";
    }
    void fieldsQuotedWhenNeeded()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(QString::fromStdString(tools::csvField(text.toStdString())), field);
    }

    void datePatternsFromStrftime_data()
    {
        QTest::addColumn<QString>("strftime");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("Ukrainian") << "%d.%m.%Y"
                                   << "dd.MM.yyyy";
        QTest::newRow("C locale") << "%m/%d/%y"
                                  << "MM/dd/yy";
        QTest::newRow("ISO") << "%F"
                             << "yyyy-MM-dd";
        QTest::newRow("%D") << "%D"
                            << "MM/dd/yy";
        QTest::newRow("space-padded day") << "%e.%m.%Y"
                                          << "d.MM.yyyy";
        QTest::newRow("no leading zeros") << "%-d/%-m/%Y"
                                          << "d/M/yyyy";
        QTest::newRow("alternative forms") << "%Ey-%Om-%Od"
                                           << "yy-MM-dd";
        QTest::newRow("month name as number") << "%d %b %Y"
                                              << "dd MM yyyy";
        QTest::newRow("weekday left out") << "%a %d.%m.%Y"
                                          << " dd.MM.yyyy";
        QTest::newRow("literal percent") << "%d%%%m"
                                         << "dd%MM";
        QTest::newRow("trailing percent") << "%d.%"
                                          << "dd.%";
        QTest::newRow("non-ASCII literals") << u"%Y年%m月%d日"_qs << u"yyyy年MM月dd日"_qs;
    }
    void datePatternsFromStrftime()
    {
        QFETCH(QString, strftime);
        QFETCH(QString, pattern);
        QCOMPARE(QString::fromStdString(tools::datePatternFromStrftime(strftime.toStdString())), pattern);
    }
};

QTEST_APPLESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
