#include "CellText.h"

#include <QTest>
#include <cmath>

using workbook::CellValue;
using Kind = CellValue::Kind;

Q_DECLARE_METATYPE(CellValue::Kind)

class TestCellText : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, Kind kind, double number, const QString &expected,
                            const QString &separator = ".", const QString &pattern = "dd.MM.yyyy") {
            QTest::newRow(name) << kind << number << separator << pattern << expected;
        };
        row("comma separator", Kind::Number, 42.5, "42,5", ",");
        row("third rounded to 15 digits", Kind::Number, 1.0 / 3, "0.333333333333333");
        row("binary noise rounded away", Kind::Number, 0.1 + 0.2, "0.3");
        row("negative zero", Kind::Number, -0.0, "0");
        row("15 digits fixed", Kind::Number, 999999999999999, "999999999999999");
        row("16 digits scientific", Kind::Number, 1e15, "1E15");
        row("rounding up to 16 digits", Kind::Number, 999999999999999.9, "1E15");
        row("large", Kind::Number, 123456789012345678.0, "1.23456789012346E17");
        row("small with comma", Kind::Number, 1.5e-6, "1,5E-6", ",");
        row("smallest fixed", Kind::Number, 0.0001, "0.0001");
        row("below 1E-4 scientific", Kind::Number, 0.00005, "5E-5");
        row("not a number", Kind::Number, std::nan(""), "#NUM!");
        row("false leap day", Kind::Date, 60, "29.02.1900");
        row("day after the false leap day", Kind::Date, 61, "01.03.1900");
        row("time to the second", Kind::Date, 38425 + 47109.0 / 86400, "14.03.2005 13:05:09");
        row("almost midnight is midnight", Kind::Date, 38425.99999999, "15.03.2005");
        row("short pattern", Kind::Date, 38425, "14.3.05", ".", "d.M.yy");
        row("quoted text", Kind::Date, 38425, "14.03.2005 р. d'M", ".", "dd.MM.yyyy 'р. d''M'");
        row("quote first, lone y", Kind::Date, 38425, "'14 y", ".", "''d y");
        row("negative serial is a number", Kind::Date, -1, "-1");
        row("last day", Kind::Date, 2958465, "31.12.9999");
        row("serial after 9999 is a number", Kind::Date, 2958466, "2958466");
        row("unknown error code", Kind::Error, 0x55, "#N/A");
    }
    void text()
    {
        QFETCH(Kind, kind);
        QFETCH(double, number);
        QFETCH(QString, separator);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        const workbook::TextFormat format{separator.toStdString(), pattern.toStdString()};
        QCOMPARE(QString::fromStdString(workbook::cellText({kind, number, {}}, format)), expected);
    }
};

QTEST_MAIN(TestCellText)
#include "tst_celltext.moc"
