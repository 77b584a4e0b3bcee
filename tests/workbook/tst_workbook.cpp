// The fixture workbooks written by real spreadsheet programs (tests/fixtures/README.md lists their cells).
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <zip.h>

using workbook::CellValue;
using Kind = CellValue::Kind;
using Parts = std::vector<std::pair<std::string, std::string>>;

Q_DECLARE_METATYPE(CellValue::Kind)
Q_DECLARE_METATYPE(Parts)

namespace {

std::string fixture(const QString &name)
{
    return QStringLiteral(VESK3_FIXTURES "/%1").arg(name).toStdString();
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

struct Expected
{
    const char *sheet;
    int row;
    int column;
    Kind kind;
    QString text;
};

// The bytes of a ZIP archive of the given parts.
std::string zipOf(const Parts &parts)
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
Parts odsParts(const QString &rows)
{
    const std::string content =
        R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
        R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
        R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)"
        R"(<table:table table:name="S">)" +
        rows.toStdString() + "</table:table></office:spreadsheet></office:body></office:document-content>";
    return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}};
}

// An Office Open XML workbook of one sheet "S" whose row 1 holds the given cells, with only the parts that
// Excel cannot do without; style 1 shows a date. workbookContent goes before the sheet's entry.
Parts xlsxParts(const std::string &cells, const std::string &workbookContent = {},
                const std::string &styles = R"(<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs>)")
{
    const std::string namespaces =
        R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)";
    const auto relationship = [](const char *id, const char *type, const char *target) {
        return std::string(R"(<Relationship Id=")") + id +
               R"(" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/)" + type +
               R"(" Target=")" + target + R"("/>)";
    };
    return {
        {"xl/workbook.xml", "<workbook" + namespaces + workbookContent +
                                R"(<sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
             relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
             relationship("rId2", "styles", "styles.xml") + "</Relationships>"},
        {"xl/worksheets/sheet1.xml",
         "<worksheet" + namespaces + "<sheetData><row r=\"1\">" + cells + "</row></sheetData></worksheet>"},
        {"xl/styles.xml", "<styleSheet" + namespaces + styles + "</styleSheet>"}};
}

} // namespace

class TestWorkbook : public QObject
{
    Q_OBJECT

private slots:
    // Every format reads as its .xls twin does, cell for cell; the cells fixtures also as README lists them.
    void formats_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("twin");
        for (const char *file :
             {"cells.xls", "cells.xlsx", "cells-gnumeric.xlsx", "cells-1904.xlsx", "cells.ods"})
            QTest::newRow(file) << file << "cells.xls";
        for (const char *file :
             {"bank-gnumeric.xls", "bank.xlsx", "bank-edited.xlsx", "xlsx-renamed.xls", "bank.ods"})
            QTest::newRow(file) << file << "bank.xls";
        QTest::newRow("bank-one.xlsx") << "bank-one.xlsx"
                                       << "bank-one.xls"; // parts of several chunks
    }
    void formats()
    {
        QFETCH(QString, file);
        QFETCH(QString, twin);
        // The cells of cells.xls and of its twins in the other formats, as README lists them.
        static const std::vector<Expected> cells{{"Notes", 1, 1, Kind::Text, "Аркуш із примітками"},
                                                 {"Notes", 300, 20, Kind::Text, "Кінець T300"},
                                                 {"Notes", 300, 21, Kind::Empty, ""},
                                                 {"Values", 1, 5, Kind::Number, "123456789012345"},
                                                 {"Values", 2, 1, Kind::Number, "0,1"},
                                                 {"Values", 2, 4, Kind::Number, "0,333333333333333"},
                                                 {"Values", 2, 5, Kind::Number, "12,34"},
                                                 {"Values", 3, 1, Kind::Number, "1E20"},
                                                 {"Values", 3, 4, Kind::Number, "1E15"},
                                                 {"Values", 4, 2, Kind::Empty, ""},
                                                 {"Values", 4, 6, Kind::Text, "шість"},
                                                 {"Values", 5, 1, Kind::Number, "5"},
                                                 {"Values", 5, 2, Kind::Text, "абвг"},
                                                 {"Values", 5, 4, Kind::Error, "#DIV/0!"},
                                                 {"Values", 5, 5, Kind::Error, "#N/A"},
                                                 {"Values", 5, 6, Kind::Boolean, "True"},
                                                 {"Values", 5, 8, Kind::Text, ""},
                                                 {"Values", 5, 9, Kind::Number, "0,7"},
                                                 {"Values", 6, 1, Kind::Boolean, "True"},
                                                 {"Values", 7, 1, Kind::Date, "14.10.2006"},
                                                 {"Values", 7, 2, Kind::Date, "14.10.2006 13:45:30"},
                                                 {"Values", 7, 4, Kind::Number, "1234,5"},
                                                 {"Values", 8, 1, Kind::Text, "007"},
                                                 {"Texts", 3, 1, Kind::Text, "Café crème, naïve, über, ½ £"},
                                                 {"Texts", 5, 1, Kind::Text, "Рядок один\nРядок два"},
                                                 {"Texts", 7, 1, Kind::Text, "м’ята, пʼять: ґ є і ї Ґ Є І Ї"},
                                                 {"Texts", 8, 1, Kind::Text, "Смайлик 😀 тут"},
                                                 {"Texts", 9, 1, Kind::Text, "  пробіли  "},
                                                 {"Texts", 1, 2, Kind::Text, numbered("L%1-abc", 1000)},
                                                 {"Texts", 2, 2, Kind::Text, numbered("Ж%1 ґанок;", 500)},
                                                 {"Texts", 4, 2, Kind::Text, numbered("Щ%1Їжак;", 200)},
                                                 {"Кирилиця", 1, 1, Kind::Text, "Терапія"}};
        const auto read = workbook::Workbook::open(fixture(file));
        if (file.startsWith("cells.")) {
            for (const Expected &cell : cells) {
                const workbook::Sheet *sheet = read.findSheet(cell.sheet);
                QVERIFY2(sheet, cell.sheet);
                QCOMPARE(sheet->cell(cell.row, cell.column).kind, cell.kind);
                QCOMPARE(text(*sheet, cell.row, cell.column), cell.text);
            }
        }
        const auto expected = workbook::Workbook::open(fixture(twin));
        QCOMPARE(read.sheets().size(), expected.sheets().size());
        for (std::size_t k = 0; k < read.sheets().size(); ++k) {
            const workbook::Sheet &sheet = read.sheets()[k], &other = expected.sheets()[k];
            QCOMPARE(sheet.name(), other.name());
            for (int row = 1; row <= std::max(sheet.lastRow(), other.lastRow()); ++row) {
                for (int column = 1; column <= std::max(sheet.lastColumn(), other.lastColumn()); ++column)
                    QCOMPARE(text(sheet, row, column), text(other, row, column));
            }
        }
    }

    // What LibreOffice writes that the fixtures do not show, and the million empty rows and columns it
    // ends a sheet with, which must cost nothing. The cell checked is the sheet's last used one.
    void odsCells_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("expected");
        const QString value = R"(<table:table-cell office:value-type="%1" office:%2="%3"/>)";
        const QString emptyEnd =
            R"(<table:table-row table:number-rows-repeated="1048574">)"
            R"(<table:table-cell table:number-columns-repeated="16384"/></table:table-row>)";
        QTest::newRow("repeated empty cells, a covered cell")
            << R"(<table:table-row><table:table-cell table:number-columns-repeated="2"/><table:covered-table-cell/>)" +
                   value.arg("float", "value", "5") + "</table:table-row>"
            << 1 << 4 << "5";
        QTest::newRow("a million empty rows and columns")
            << "<table:table-row/><table:table-row><table:table-cell/>" +
                   value.arg("percentage", "value", "0.25") +
                   R"(<table:table-cell table:number-columns-repeated="16382"/></table:table-row>)" + emptyEnd
            << 2 << 2 << "0,25";
        QTest::newRow("a repeated row of repeated values")
            << R"(<table:table-row table:number-rows-repeated="3"><table:table-cell table:number-columns-repeated="2" )"
               R"(office:value-type="currency" office:value="1234.5"/></table:table-row>)"
            << 3 << 2 << "1234,5";
        QTest::newRow("values repeated past the grid are clipped")
            << R"(<table:table-row table:number-rows-repeated="1048575"/><table:table-row>)"
               R"(<table:table-cell table:number-columns-repeated="16383"/><table:table-cell )"
               R"(table:number-columns-repeated="9" office:value-type="boolean" office:boolean-value="true"/>)"
               "</table:table-row>"
            << 1048576 << 16384 << "True";
        QTest::newRow("paragraphs, spaces, tab, line break, span, link, no value type; no comment")
            << R"(<table:table-row><table:table-cell><office:annotation><text:p>note)"
               R"(</text:p></office:annotation><text:p>a<text:s text:c="3"/>b<text:tab/>c<text:line-break/>)"
               R"(<text:span>d</text:span></text:p><text:p><text:a> e </text:a></text:p></table:table-cell></table:table-row>)"
            << 1 << 1 << "a   b\tc\nd\n e ";
        QTest::newRow("the day before Excel's 29 February 1900")
            << "<table:table-row>" + value.arg("date", "date-value", "1900-02-28") + "</table:table-row>" << 1
            << 1 << "28.02.1900";
        QTest::newRow("a time") << "<table:table-row>" + value.arg("time", "time-value", "PT36H30M00S") +
                                       "</table:table-row>"
                                << 1 << 1 << "01.01.1900 12:30:00";
        QTest::newRow("a formula's error as float 0, as Excel writes it")
            << R"(<table:table-row><table:table-cell table:formula="of:=1/0" office:value-type="float" )"
               R"(office:value="0"><text:p>#DIV/0!</text:p></table:table-cell></table:table-row>)"
            << 1 << 1 << "#DIV/0!";
        // Refused: the expected text is the error's.
        QTest::newRow("broken XML") << "<table:table-row>" << 0 << 0
                                    << "частина «content.xml» — не правильний XML";
        QTest::newRow("a value below the grid")
            << R"(<table:table-row table:number-rows-repeated="1048576"/><table:table-row><table:table-cell>)"
               "<text:p>x</text:p></table:table-cell></table:table-row>"
            << 0 << 0 << "не вдається прочитати аркуш «S»";
        QTest::newRow("a value repeated beyond any memory")
            << R"(<table:table-row table:number-rows-repeated="1048576"><table:table-cell )"
               R"(table:number-columns-repeated="16384" office:value-type="float" office:value="1"/></table:table-row>)"
            << 0 << 0 << "частина «content.xml» після розпакування займає понад";
    }
    void odsCells()
    {
        QFETCH(QString, rows);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, expected);
        try {
            const auto workbook = workbook::Workbook::fromBytes(zipOf(odsParts(rows)), "test.ods");
            QCOMPARE(workbook.sheets().size(), 1u);
            const workbook::Sheet &sheet = workbook.sheets().front();
            QCOMPARE(text(sheet, row, column), expected);
            QCOMPARE(std::pair(sheet.lastRow(), sheet.lastColumn()), std::pair(row, column));
        } catch (const workbook::BankError &error) {
            QVERIFY2(row == 0 && QString::fromUtf8(error.what()).contains(expected), error.what());
        }
    }

    // What other writers than LibreOffice put in an archive, and archives made to cost minutes or gigabytes.
    void zipWorkbooks_data()
    {
        QTest::addColumn<Parts>("parts");
        QTest::addColumn<QString>("expected"); // row 1 of the sheet S, its cells joined by |; or the error
        const auto row = [](const char *name, const Parts &parts, const QString &expected) {
            QTest::newRow(name) << parts << expected;
        };
        row("ISO 8601 date and time", xlsxParts(R"(<c r="A1" t="d"><v>2023-03-15T13:45:30</v></c>)"),
            "15.03.2023 13:45:30");
        row("ISO 8601 date in a 1904 workbook",
            xlsxParts(R"(<c r="A1" t="d"><v>2023-03-15</v></c>)", R"(<workbookPr date1904="1"/>)"),
            "15.03.2023");
        row("1904 date system as Excel writes it",
            xlsxParts(R"(<c r="A1" s="1"><v>36963</v></c>)", R"(<workbookPr date1904="1"/>)"), "14.03.2005");
        row("1900 date system spelt false",
            xlsxParts(R"(<c r="A1" s="1"><v>38425</v></c>)", R"(<workbookPr date1904="false"/>)"),
            "14.03.2005");
        row("empty values of a formula and a shared string, lower-case reference",
            xlsxParts(R"(<c r="a1"><f>1/0</f><v/></c><c r="B1" t="s"><v></v></c><c r="c1"><v>3</v></c>)"),
            "||3");
        row("XML Schema spellings",
            xlsxParts(R"(<c r="A1"><v>+5</v></c><c r="B1"><v>1E3</v></c><c r="C1" t="b"><v>true</v></c>)"
                      R"(<c r="D1" t="b"><v>false</v></c>)"),
            "5|1000|True|False");
        row("an old macro sheet without a part",
            xlsxParts(R"(<c r="A1"><v>1</v></c>)",
                      R"(<sheets><sheet name="M" sheetId="2" r:id=""/></sheets>)"),
            "1");
        row("number format id beyond 16 bits",
            xlsxParts(R"(<c r="A1"><v>5</v></c>)", {},
                      R"(<numFmts><numFmt numFmtId="65536" formatCode="dd.mm.yyyy"/></numFmts>)"
                      R"(<cellXfs><xf numFmtId="0"/></cellXfs>)"),
            "5");
        Parts backslashes = xlsxParts(R"(<c r="A1"><v>1</v></c>)");
        for (auto &[name, data] : backslashes)
            std::ranges::replace(name, '/', '\\');
        row("backslashes in entry names", backslashes, "1");
        backslashes.push_back(xlsxParts(R"(<c r="A1"><v>2</v></c>)")[2]);
        row("one part twice", backslashes, "частина «xl/worksheets/sheet1.xml» є в його архіві ZIP двічі");
        row("a 5 MiB attribute",
            xlsxParts(R"(<c r="A1" x=")" + std::string(5 << 20, 'x') + R"("><v>1</v></c>)"),
            "частина «xl/worksheets/sheet1.xml» містить тег, атрибут чи коментар XML довший за 4 МБ");
        std::string nested;
        for (int depth = 0; depth < 300; ++depth)
            nested.insert(depth * 3, "<x></x>");
        row("elements 300 deep", xlsxParts(nested),
            "у його частині «xl/worksheets/sheet1.xml» елементи XML вкладено глибше ніж на 256 рівнів");
        Parts encrypted = odsParts("");
        encrypted[1].second = "\x8b\x01 encrypted bytes";
        encrypted.push_back(
            {"META-INF/manifest.xml",
             R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">)"
             R"(<manifest:file-entry manifest:full-path="content.xml"><manifest:encryption-data/>)"
             "</manifest:file-entry></manifest:manifest>"});
        row("encrypted .ods", encrypted, "захищено паролем");
    }
    void zipWorkbooks()
    {
        QFETCH(Parts, parts);
        QFETCH(QString, expected);
        QString shown;
        try {
            const auto workbook = workbook::Workbook::fromBytes(zipOf(parts), "test.xlsx");
            QCOMPARE(workbook.sheets().size(), 1u);
            const workbook::Sheet &sheet = workbook.sheets().front();
            for (int column = 1; column <= sheet.lastColumn(); ++column)
                shown += (column > 1 ? "|" : "") + text(sheet, 1, column);
        } catch (const workbook::BankError &error) {
            shown = QString::fromUtf8(error.what());
        }
        QVERIFY2(shown == expected || (shown.contains("«test.xlsx»") && shown.contains(expected)),
                 qPrintable(shown));
    }

    // One text for every format's cells.
    void cellText_data()
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
        row("binary noise rounded away", Kind::Number, 0.1 + 0.2, "0.3");
        row("negative zero", Kind::Number, -0.0, "0");
        row("rounding up to 16 digits", Kind::Number, 999999999999999.9, "1E15");
        row("large", Kind::Number, 123456789012345678.0, "1.23456789012346E17");
        row("small with comma", Kind::Number, 1.5e-6, "1,5E-6", ",");
        row("smallest fixed", Kind::Number, 0.0001, "0.0001");
        row("below 1E-4 scientific", Kind::Number, 0.00005, "5E-5");
        row("tiny", Kind::Number, 1.25e-300, "1.25E-300");
        row("not a number", Kind::Number, std::nan(""), "#NUM!");
        row("first day", Kind::Date, 1, "01.01.1900");
        row("false leap day", Kind::Date, 60, "29.02.1900");
        row("day after the false leap day", Kind::Date, 61, "01.03.1900");
        row("almost midnight is midnight", Kind::Date, 38425.99999999, "15.03.2005");
        row("short pattern", Kind::Date, 38425, "14.3.05", ".", "d.M.yy");
        row("quoted text", Kind::Date, 38425, "14.03.2005 р. d'M", ".", "dd.MM.yyyy 'р. d''M'");
        row("quote first, lone y", Kind::Date, 38425, "'14 y", ".", "''d y");
        row("negative serial is a number", Kind::Date, -1, "-1");
        row("last day", Kind::Date, 2958465, "31.12.9999");
        row("serial after 9999 is a number", Kind::Date, 2958466, "2958466");
        row("false", Kind::Boolean, 0, "False");
        for (const auto &[code, error] : {std::pair{0x00, "#NULL!"},
                                          {0x0F, "#VALUE!"},
                                          {0x17, "#REF!"},
                                          {0x1D, "#NAME?"},
                                          {0x24, "#NUM!"}})
            row(error, Kind::Error, code, error);
        row("unknown error code", Kind::Error, 0x55, "#N/A");
    }
    void cellText()
    {
        QFETCH(Kind, kind);
        QFETCH(double, number);
        QFETCH(QString, separator);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        const workbook::TextFormat format{separator.toStdString(), pattern.toStdString()};
        QCOMPARE(QString::fromStdString(workbook::cellText({kind, number, {}}, format)), expected);
    }

    // The used range and the grid's bounds; a cell outside the grid is an error, not a crash.
    void usedRangeAndGrid()
    {
        const auto cells = workbook::Workbook::open(fixture("cells.xls"));
        const workbook::Sheet &notes = *cells.findSheet("Notes");
        QCOMPARE(std::pair(notes.lastRow(), notes.lastColumn()), std::pair(300, 20));
        const workbook::Sheet &values = *cells.findSheet("Values");
        QCOMPARE(std::pair(values.lastRow(), values.lastColumn()), std::pair(8, 10));
        QCOMPARE(notes.cell(65536, 256), CellValue{});
        QVERIFY(notes.isBlank(65536, 256));
        for (const auto &[row, column] : {std::pair{0, 1}, {1, 0}, {65537, 1}, {1, 257}, {-1, -1}}) {
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, notes.cell(row, column));
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, notes.isBlank(row, column));
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, notes.textHash(row, column, {}));
        }
        QVERIFY(values.isBlank(4, 2) && !values.isBlank(1, 3));
        QCOMPARE(cells.findSheet("Texts")->textHash(1, 1, {}), cells.findSheet("Texts")->textHash(10, 1, {}));
    }
};

QTEST_MAIN(TestWorkbook)
#include "tst_workbook.moc"
