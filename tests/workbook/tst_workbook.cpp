// The fixture workbooks written by LibreOffice and Gnumeric (tests/fixtures/README.md lists their cells).
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"

#include <QTest>
#include <zip.h>

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

// The bytes of a ZIP archive of the given parts.
std::string zipOf(const std::vector<std::pair<std::string, std::string>> &parts)
{
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    zip_source_keep(buffer);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, nullptr);
    for (const auto &[name, data] : parts)
        zip_file_add(archive, name.c_str(), zip_source_buffer(archive, data.data(), data.size(), 0), 0);
    zip_close(archive);
    std::string bytes;
    char piece[4096];
    zip_source_open(buffer);
    for (zip_int64_t n; (n = zip_source_read(buffer, piece, sizeof piece)) > 0;)
        bytes.append(piece, static_cast<std::size_t>(n));
    zip_source_close(buffer);
    zip_source_free(buffer);
    return bytes;
}

// An OpenDocument spreadsheet whose content.xml holds one table "S" of the given rows.
std::string odsOf(const QString &rows)
{
    const std::string content =
        R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
        R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
        R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)"
        R"(<table:table table:name="S">)" +
        rows.toStdString() + "</table:table></office:spreadsheet></office:body></office:document-content>";
    return zipOf({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}});
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

    // What LibreOffice writes that the fixtures do not show, and the million empty rows and columns it
    // ends a sheet with, which must cost nothing.
    void odsCells_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("lastColumn");
        const QString value = R"(<table:table-cell office:value-type="%1" office:%2="%3"/>)";
        const QString emptyEnd = R"(<table:table-row table:number-rows-repeated="1048574">)"
                                 R"(<table:table-cell table:number-columns-repeated="16384"/></table:table-row>)";
        QTest::newRow("repeated empty cells, a covered cell")
            << R"(<table:table-row><table:table-cell table:number-columns-repeated="2"/><table:covered-table-cell/>)" +
                   value.arg("float", "value", "5") + "</table:table-row>"
            << 1 << 4 << "5" << 1 << 4;
        QTest::newRow("a million empty rows and columns")
            << "<table:table-row/><table:table-row><table:table-cell/>" + value.arg("percentage", "value", "0.25") +
                   R"(<table:table-cell table:number-columns-repeated="16382"/></table:table-row>)" + emptyEnd
            << 2 << 2 << "0,25" << 2 << 2;
        QTest::newRow("a repeated row of repeated values")
            << R"(<table:table-row table:number-rows-repeated="3"><table:table-cell table:number-columns-repeated="2" )"
               R"(office:value-type="currency" office:value="1234.5"/></table:table-row>)"
            << 3 << 2 << "1234,5" << 3 << 2;
        QTest::newRow("values repeated past the grid are clipped")
            << R"(<table:table-row table:number-rows-repeated="1048575"/><table:table-row>)"
               R"(<table:table-cell table:number-columns-repeated="16383"/><table:table-cell )"
               R"(table:number-columns-repeated="9" office:value-type="boolean" office:boolean-value="true"/>)"
               "</table:table-row>"
            << 1048576 << 16384 << "True" << 1048576 << 16384;
        QTest::newRow("paragraphs, spaces, tab, line break, span, link, no value type; no comment")
            << R"(<table:table-row><table:table-cell><office:annotation><text:p>note)"
               R"(</text:p></office:annotation><text:p>a<text:s text:c="3"/>b<text:tab/>c<text:line-break/>)"
               R"(<text:span>d</text:span></text:p><text:p><text:a> e </text:a></text:p></table:table-cell></table:table-row>)"
            << 1 << 1 << "a   b\tc\nd\n e " << 1 << 1;
        QTest::newRow("the day before Excel's 29 February 1900")
            << "<table:table-row>" + value.arg("date", "date-value", "1900-02-28") + "</table:table-row>" << 1 << 1
            << "28.02.1900" << 1 << 1;
        QTest::newRow("a time")
            << "<table:table-row>" + value.arg("time", "time-value", "PT36H30M00S") + "</table:table-row>" << 1 << 1
            << "01.01.1900 12:30:00" << 1 << 1;
    }
    void odsCells()
    {
        QFETCH(QString, rows);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, expected);
        QFETCH(int, lastRow);
        QFETCH(int, lastColumn);
        const auto workbook = workbook::Workbook::fromBytes(odsOf(rows), "test.ods");
        QCOMPARE(workbook.sheets().size(), 1u);
        const workbook::Sheet &sheet = workbook.sheets().front();
        QCOMPARE(text(sheet, row, column), expected);
        QCOMPARE(sheet.lastRow(), lastRow);
        QCOMPARE(sheet.lastColumn(), lastColumn);
    }

    void odsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("content.xml missing")
            << QByteArray::fromStdString(zipOf({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}))
            << "бракує частини «content.xml»";
        QTest::newRow("broken XML") << QByteArray::fromStdString(odsOf("<table:table-row>"))
                                    << "частина «content.xml» — не правильний XML";
        QTest::newRow("a value below the grid")
            << QByteArray::fromStdString(odsOf(R"(<table:table-row table:number-rows-repeated="1048576"/>)"
                                               "<table:table-row><table:table-cell><text:p>x</text:p>"
                                               "</table:table-cell></table:table-row>"))
            << "не вдається прочитати аркуш «S»";
        QTest::newRow("a value repeated beyond any memory")
            << QByteArray::fromStdString(odsOf(R"(<table:table-row table:number-rows-repeated="1048576">)"
                                               R"(<table:table-cell table:number-columns-repeated="16384" )"
                                               R"(office:value-type="float" office:value="1"/></table:table-row>)"))
            << "частина «content.xml» після розпакування займає понад";
    }
    void odsRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        try {
            workbook::Workbook::fromBytes(bytes.toStdString(), "test.ods");
            QFAIL("read");
        } catch (const workbook::BankError &error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains(message), error.what());
        }
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

    // Each file of another format, or from another writer, reads cell for cell as its .xls twin.
    void sameAsTwin_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("twin");
        for (const char *file : {"cells.xlsx", "cells-gnumeric.xlsx", "cells-1904.xlsx", "cells.ods"})
            QTest::newRow(file) << file << "cells.xls";
        for (const char *file : {"bank.xlsx", "bank-edited.xlsx", "xlsx-renamed.xls", "bank.ods"})
            QTest::newRow(file) << file << "bank.xls";
    }
    void sameAsTwin()
    {
        QFETCH(QString, file);
        QFETCH(QString, twin);
        const auto read = workbook::Workbook::open(fixture(file.toUtf8().constData()));
        const auto expected = workbook::Workbook::open(fixture(twin.toUtf8().constData()));
        QCOMPARE(read.sheets().size(), expected.sheets().size());
        for (std::size_t i = 0; i < read.sheets().size(); ++i) {
            const workbook::Sheet &sheet = read.sheets()[i], &want = expected.sheets()[i];
            QCOMPARE(sheet.name(), want.name());
            QCOMPARE(sheet.lastRow(), want.lastRow());
            QCOMPARE(sheet.lastColumn(), want.lastColumn());
            for (int row = 1; row <= want.lastRow(); ++row) {
                for (int column = 1; column <= want.lastColumn(); ++column) {
                    const QString got = text(sheet, row, column);
                    const QString where = QString("%1 %2,%3: %4").arg(QString::fromStdString(want.name())).arg(row).arg(column).arg(got);
                    QVERIFY2(got == text(want, row, column), qPrintable(where));
                    // An empty formula result may be kept as an empty text or as no value.
                    QVERIFY2(got.isEmpty() || sheet.cell(row, column).kind == want.cell(row, column).kind,
                             qPrintable(where));
                }
            }
        }
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
