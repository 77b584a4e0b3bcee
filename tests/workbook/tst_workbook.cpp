// The fixture workbooks written by LibreOffice and Gnumeric (tests/fixtures/README.md lists their cells).
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"

#include <QTest>

using workbook::CellValue;
using Kind = CellValue::Kind;

Q_DECLARE_METATYPE(CellValue::Kind)

namespace {

std::string fixture(const char *name)
{
    return std::string(VESK3_FIXTURES) + "/" + name;
}

QString text(const workbook::Sheet &sheet, int row, int column)
{
    return QString::fromStdString(workbook::cellText(sheet.cell(row, column), {",", "dd.MM.yyyy"}));
}

// The long texts of the sheet Texts: a pattern numbered from 1 to count.
QString numbered(const char *pattern, int count)
{
    QString all;
    for (int i = 1; i <= count; ++i)
        all += QString::fromUtf8(pattern).arg(i, 4, 10, QChar('0'));
    return all;
}

} // namespace

class TestWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void cells_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *sheet, int row, int column, Kind kind, const QString &expected) {
            QTest::addRow("%s %d,%d", sheet, row, column)
                << QString::fromUtf8(sheet) << row << column << kind << expected;
        };
        row("Notes", 1, 1, Kind::Text, "Аркуш із примітками");
        row("Notes", 300, 20, Kind::Text, "Кінець T300");
        row("Notes", 300, 21, Kind::Empty, "");
        row("Notes", 65536, 256, Kind::Empty, "");
        row("Values", 1, 1, Kind::Number, "7");
        row("Values", 1, 2, Kind::Number, "-3");
        row("Values", 1, 3, Kind::Number, "0");
        row("Values", 1, 4, Kind::Number, "65536");
        row("Values", 1, 5, Kind::Number, "123456789012345");
        row("Values", 2, 1, Kind::Number, "0,1");
        row("Values", 2, 2, Kind::Number, "42,5");
        row("Values", 2, 3, Kind::Number, "-0,25");
        row("Values", 2, 4, Kind::Number, "0,333333333333333");
        row("Values", 2, 5, Kind::Number, "12,34");
        row("Values", 2, 6, Kind::Number, "1234567,89");
        row("Values", 3, 1, Kind::Number, "1E20");
        row("Values", 3, 2, Kind::Number, "1E-6");
        row("Values", 3, 3, Kind::Number, "1E-10");
        row("Values", 3, 4, Kind::Number, "1E15");
        row("Values", 3, 5, Kind::Number, "123456789,123");
        row("Values", 4, 2, Kind::Empty, "");
        row("Values", 4, 5, Kind::Empty, "");
        row("Values", 4, 6, Kind::Text, "шість");
        row("Values", 5, 1, Kind::Number, "5");
        row("Values", 5, 2, Kind::Text, "абвг");
        row("Values", 5, 3, Kind::Text, "xy");
        row("Values", 5, 4, Kind::Error, "#DIV/0!");
        row("Values", 5, 5, Kind::Error, "#N/A");
        row("Values", 5, 6, Kind::Boolean, "True");
        row("Values", 5, 7, Kind::Boolean, "False");
        row("Values", 5, 8, Kind::Text, "");
        row("Values", 5, 9, Kind::Number, "0,7");
        row("Values", 5, 10, Kind::Number, "0,3");
        row("Values", 6, 1, Kind::Boolean, "True");
        row("Values", 6, 2, Kind::Boolean, "False");
        row("Values", 7, 1, Kind::Date, "14.10.2006");
        row("Values", 7, 2, Kind::Date, "14.10.2006 13:45:30");
        row("Values", 7, 3, Kind::Number, "0,25");
        row("Values", 7, 4, Kind::Number, "1234,5");
        row("Values", 8, 1, Kind::Text, "007");
        row("Values", 8, 2, Kind::Text, "12,5");
        row("Texts", 1, 1, Kind::Text, "Hello, world");
        row("Texts", 2, 1, Kind::Text, "Привіт, світе");
        row("Texts", 3, 1, Kind::Text, "Café crème, naïve, über, ½ £");
        row("Texts", 4, 1, Kind::Text, "Mixed: Київ and Kyiv");
        row("Texts", 5, 1, Kind::Text, "Рядок один\nРядок два");
        row("Texts", 6, 1, Kind::Text, "звичайний жирний текст");
        row("Texts", 7, 1, Kind::Text, "м’ята, пʼять: ґ є і ї Ґ Є І Ї");
        row("Texts", 8, 1, Kind::Text, "Смайлик 😀 тут");
        row("Texts", 9, 1, Kind::Text, "  пробіли  ");
        row("Texts", 10, 1, Kind::Text, "Hello, world");
        row("Texts", 1, 2, Kind::Text, numbered("L%1-abc", 1000));
        row("Texts", 2, 2, Kind::Text, numbered("Ж%1 ґанок;", 500));
        row("Texts", 3, 2, Kind::Text, numbered("é%1naïf;", 300));
        row("Texts", 4, 2, Kind::Text, numbered("Щ%1Їжак;", 200));
        row("Кирилиця", 1, 1, Kind::Text, "Терапія");
        row("Кирилиця", 2, 2, Kind::Number, "3");
    }
    void cells()
    {
        QFETCH(QString, sheet);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(Kind, kind);
        QFETCH(QString, expected);
        const auto workbook = workbook::Workbook::open(fixture("cells.xls"));
        const workbook::Sheet *found = workbook.findSheet(sheet.toStdString());
        QVERIFY(found);
        QCOMPARE(found->cell(row, column).kind, kind);
        QCOMPARE(text(*found, row, column), expected);
    }

    void sheets_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("lastRows");
        QTest::addColumn<QList<int>>("lastColumns");
        const QStringList bankSheets{"Surgery", "Notes", "Infection", "Therapy", "Obstetrics", "Pediatry"};
        QTest::newRow("cells") << "cells.xls" << QStringList{"Notes", "Values", "Texts", "Кирилиця"}
                               << QList<int>{300, 8, 10, 2} << QList<int>{20, 10, 2, 2};
        QTest::newRow("bank") << "bank.xls" << bankSheets << QList<int>{10, 2, 5, 16, 6, 8}
                              << QList<int>{7, 2, 7, 8, 7, 7};
        QTest::newRow("bank by Gnumeric") << "bank-gnumeric.xls" << bankSheets
                                          << QList<int>{10, 2, 5, 16, 6, 8} << QList<int>{7, 2, 7, 8, 7, 7};
        QTest::newRow("bank without marker")
            << "bank-no-marker.xls" << bankSheets << QList<int>{10, 2, 5, 16, 6, 7}
            << QList<int>{7, 2, 7, 8, 7, 7};
        QTest::newRow("bank with a lower-case sheet name")
            << "bank-case.xls"
            << QStringList{"Surgery", "Notes", "Infection", "therapy", "Obstetrics", "Pediatry"}
            << QList<int>{10, 2, 5, 16, 6, 8} << QList<int>{7, 2, 7, 8, 7, 7};
        QTest::newRow("bank of 200 questions")
            << "bank-one.xls" << QStringList{"Infection", "Obstetrics", "Pediatry", "Surgery", "Therapy"}
            << QList<int>{2, 2, 2, 2, 201} << QList<int>{7, 7, 7, 7, 7};
    }
    void sheets()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, lastRows);
        QFETCH(QList<int>, lastColumns);
        const auto workbook = workbook::Workbook::open(fixture(file.toUtf8().constData()));
        QStringList read;
        QList<int> rows, columns;
        for (const auto &sheet : workbook.sheets()) {
            read << QString::fromStdString(sheet.name());
            rows << sheet.lastRow();
            columns << sheet.lastColumn();
        }
        QCOMPARE(read, names);
        QCOMPARE(rows, lastRows);
        QCOMPARE(columns, lastColumns);
    }

    void questionCells_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("expected");
        for (const char *file : {"bank.xls", "bank-gnumeric.xls"}) {
            const auto row = [file](const char *sheet, int row, int column, const QString &expected) {
                QTest::addRow("%s %s %d,%d", file, sheet, row, column)
                    << file << QString::fromUtf8(sheet) << row << column << expected;
            };
            row("Therapy", 1, 2, "Питання 1 з терапії");
            row("Therapy", 2, 1, "End");
            row("Therapy", 3, 2, "Питання 3 з терапії\r\nдругий рядок (CR LF)");
            row("Therapy", 4, 2, "Питання 4 з терапії\nдругий рядок (LF)");
            row("Therapy", 5, 3, "12");
            row("Therapy", 5, 4, "0,5");
            row("Therapy", 5, 5, "-3");
            row("Therapy", 5, 6, "1000000");
            row("Therapy", 5, 7, "2,25");
            row("Therapy", 6, 1, "end ");
            row("Therapy", 6, 5, "");
            row("Therapy", 7, 2, "");
            row("Therapy", 8, 1, " end");
            row("Therapy", 9, 8, "Стовпець 8: не читати");
            row("Therapy", 10, 1, "1");
            row("Therapy", 13, 1, "end");
            row("Therapy", 16, 1, "42");
            row("Surgery", 9, 7, "Неправильна 9.4");
            row("Surgery", 10, 1, "end");
            row("Notes", 1, 1, "Службовий аркуш, не предмет");
        }
        QTest::newRow("200th question") << "bank-one.xls"
                                        << "Therapy" << 200 << 2 << "Питання 200 з терапії";
        QTest::newRow("marker after 200") << "bank-one.xls"
                                          << "Therapy" << 201 << 1 << "end";
        QTest::newRow("marker in row 1") << "bank-one.xls"
                                         << "Obstetrics" << 1 << 1 << "end";
        QTest::newRow("380th question") << "bank-exact.xls"
                                        << "Infection" << 380 << 7 << "Неправильна 380.4";
        QTest::newRow("marker after 380") << "bank-exact.xls"
                                          << "Infection" << 381 << 1 << "end";
    }
    void questionCells()
    {
        QFETCH(QString, file);
        QFETCH(QString, sheet);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, expected);
        const auto workbook = workbook::Workbook::open(fixture(file.toUtf8().constData()));
        QVERIFY(workbook.findSheet(sheet.toStdString()));
        QCOMPARE(text(*workbook.findSheet(sheet.toStdString()), row, column), expected);
    }

    void sheetNamesMatchExactly()
    {
        const auto workbook = workbook::Workbook::open(fixture("bank-case.xls"));
        QVERIFY(workbook.findSheet("therapy"));
        QCOMPARE(workbook.findSheet("Therapy"), nullptr);
        QCOMPARE(workbook::Workbook::open(fixture("bank-missing-sheet.xls")).findSheet("Pediatry"), nullptr);
    }
};

QTEST_MAIN(TestWorkbook)
#include "tst_workbook.moc"
