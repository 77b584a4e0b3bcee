#include "CellText.h"

#include <QTest>
#include <cmath>
#include <limits>

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

        row("integer", Kind::Number, 7, "7");
        row("tenth", Kind::Number, 0.1, "0.1");
        row("comma separator", Kind::Number, 42.5, "42,5", ",");
        row("third rounded to 15 digits", Kind::Number, 1.0 / 3, "0.333333333333333");
        row("binary noise rounded away", Kind::Number, 0.1 + 0.2, "0.3");
        row("negative", Kind::Number, -2.5, "-2.5");
        row("zeros before the point kept", Kind::Number, 100, "100");
        row("zero", Kind::Number, 0, "0");
        row("negative zero", Kind::Number, -0.0, "0");
        row("15 digits fixed", Kind::Number, 999999999999999, "999999999999999");
        row("16 digits scientific", Kind::Number, 1e15, "1E15");
        row("rounding up to 16 digits", Kind::Number, 999999999999999.9, "1E15");
        row("large", Kind::Number, 123456789012345678.0, "1.23456789012346E17");
        row("power of ten", Kind::Number, 1e20, "1E20");
        row("negative large", Kind::Number, -2e15, "-2E15");
        row("small with comma", Kind::Number, 1.5e-6, "1,5E-6", ",");
        row("smallest fixed", Kind::Number, 0.0001, "0.0001");
        row("below 1E-4 scientific", Kind::Number, 0.00005, "5E-5");
        row("tiny", Kind::Number, 1.25e-300, "1.25E-300");
        row("not a number", Kind::Number, std::nan(""), "#NUM!");
        row("infinite", Kind::Number, std::numeric_limits<double>::infinity(), "#NUM!");

        row("date", Kind::Date, 38425, "14.03.2005");
        row("first day", Kind::Date, 1, "01.01.1900");
        row("day before the false leap day", Kind::Date, 59, "28.02.1900");
        row("false leap day", Kind::Date, 60, "29.02.1900");
        row("day after the false leap day", Kind::Date, 61, "01.03.1900");
        row("last day", Kind::Date, 2958465, "31.12.9999");
        row("noon", Kind::Date, 38425.5, "14.03.2005 12:00:00");
        row("time to the second", Kind::Date, 38425 + 47109.0 / 86400, "14.03.2005 13:05:09");
        row("almost midnight is midnight", Kind::Date, 38425.99999999, "15.03.2005");
        row("short pattern", Kind::Date, 38425, "14.3.05", ".", "d.M.yy");
        row("ISO pattern", Kind::Date, 38425, "2005-03-14", ".", "yyyy-MM-dd");
        row("quoted text", Kind::Date, 38425, "14.03.2005 р. d'M", ".", "dd.MM.yyyy 'р. d''M'");
        row("quote first, lone y", Kind::Date, 38425, "'14 y", ".", "''d y");
        row("negative serial is a number", Kind::Date, -1, "-1");
        row("serial after 9999 is a number", Kind::Date, 2958466, "2958466");

        row("true", Kind::Boolean, 1, "True");
        row("false", Kind::Boolean, 0, "False");
        row("#NULL!", Kind::Error, 0x00, "#NULL!");
        row("#DIV/0!", Kind::Error, 0x07, "#DIV/0!");
        row("#VALUE!", Kind::Error, 0x0F, "#VALUE!");
        row("#REF!", Kind::Error, 0x17, "#REF!");
        row("#NAME?", Kind::Error, 0x1D, "#NAME?");
        row("#NUM!", Kind::Error, 0x24, "#NUM!");
        row("#N/A", Kind::Error, 0x2A, "#N/A");
        row("unknown error code", Kind::Error, 0x55, "#N/A");
        row("empty", Kind::Empty, 0, "");
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

    void textCellsKeepTheirText()
    {
        const std::string text = "Рядок 1\nРядок 2\r\n\tкінець ";
        QCOMPARE(workbook::cellText({Kind::Text, 0, text}, {}), text);
    }
};

QTEST_MAIN(TestCellText)
#include "tst_celltext.moc"
