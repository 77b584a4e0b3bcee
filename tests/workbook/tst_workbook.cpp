// The fixture workbooks written by real spreadsheet programs (tests/fixtures/README.md lists their cells).
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"

#include <QTest>

using workbook::CellValue;
using Kind = CellValue::Kind;

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

// The cells of cells.xls and of its twins in the other formats, as README lists them.
const std::vector<Expected> &cellsFixture()
{
    static const std::vector<Expected> cells{{"Notes", 1, 1, Kind::Text, "Аркуш із примітками"},
                                             {"Notes", 300, 20, Kind::Text, "Кінець T300"},
                                             {"Notes", 300, 21, Kind::Empty, ""},
                                             {"Values", 1, 2, Kind::Number, "-3"},
                                             {"Values", 1, 3, Kind::Number, "0"},
                                             {"Values", 1, 4, Kind::Number, "65536"},
                                             {"Values", 1, 5, Kind::Number, "123456789012345"},
                                             {"Values", 2, 1, Kind::Number, "0,1"},
                                             {"Values", 2, 3, Kind::Number, "-0,25"},
                                             {"Values", 2, 4, Kind::Number, "0,333333333333333"},
                                             {"Values", 2, 5, Kind::Number, "12,34"},
                                             {"Values", 2, 6, Kind::Number, "1234567,89"},
                                             {"Values", 3, 1, Kind::Number, "1E20"},
                                             {"Values", 3, 2, Kind::Number, "1E-6"},
                                             {"Values", 3, 4, Kind::Number, "1E15"},
                                             {"Values", 3, 5, Kind::Number, "123456789,123"},
                                             {"Values", 4, 2, Kind::Empty, ""},
                                             {"Values", 4, 6, Kind::Text, "шість"},
                                             {"Values", 5, 1, Kind::Number, "5"},
                                             {"Values", 5, 2, Kind::Text, "абвг"},
                                             {"Values", 5, 4, Kind::Error, "#DIV/0!"},
                                             {"Values", 5, 5, Kind::Error, "#N/A"},
                                             {"Values", 5, 6, Kind::Boolean, "True"},
                                             {"Values", 5, 7, Kind::Boolean, "False"},
                                             {"Values", 5, 8, Kind::Text, ""},
                                             {"Values", 5, 9, Kind::Number, "0,7"},
                                             {"Values", 6, 1, Kind::Boolean, "True"},
                                             {"Values", 7, 1, Kind::Date, "14.10.2006"},
                                             {"Values", 7, 2, Kind::Date, "14.10.2006 13:45:30"},
                                             {"Values", 7, 3, Kind::Number, "0,25"},
                                             {"Values", 7, 4, Kind::Number, "1234,5"},
                                             {"Values", 8, 1, Kind::Text, "007"},
                                             {"Texts", 3, 1, Kind::Text, "Café crème, naïve, über, ½ £"},
                                             {"Texts", 5, 1, Kind::Text, "Рядок один\nРядок два"},
                                             {"Texts", 6, 1, Kind::Text, "звичайний жирний текст"},
                                             {"Texts", 7, 1, Kind::Text, "м’ята, пʼять: ґ є і ї Ґ Є І Ї"},
                                             {"Texts", 8, 1, Kind::Text, "Смайлик 😀 тут"},
                                             {"Texts", 9, 1, Kind::Text, "  пробіли  "},
                                             {"Texts", 10, 1, Kind::Text, "Hello, world"},
                                             {"Texts", 1, 2, Kind::Text, numbered("L%1-abc", 1000)},
                                             {"Texts", 2, 2, Kind::Text, numbered("Ж%1 ґанок;", 500)},
                                             {"Texts", 3, 2, Kind::Text, numbered("é%1naïf;", 300)},
                                             {"Texts", 4, 2, Kind::Text, numbered("Щ%1Їжак;", 200)},
                                             {"Кирилиця", 1, 1, Kind::Text, "Терапія"},
                                             {"Кирилиця", 2, 2, Kind::Number, "3"}};
    return cells;
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
        QTest::newRow("cells.xls") << "cells.xls"
                                   << "cells.xls";
        QTest::newRow("bank-gnumeric.xls") << "bank-gnumeric.xls"
                                           << "bank.xls";
        for (const char *file : {"cells.xlsx", "cells-gnumeric.xlsx", "cells-1904.xlsx"})
            QTest::newRow(file) << file << "cells.xls";
        for (const char *file : {"bank.xlsx", "bank-edited.xlsx", "xlsx-renamed.xls"})
            QTest::newRow(file) << file << "bank.xls";
        QTest::newRow("bank-one.xlsx") << "bank-one.xlsx" << "bank-one.xls"; // parts of several chunks
    }
    void formats()
    {
        QFETCH(QString, file);
        QFETCH(QString, twin);
        const auto read = workbook::Workbook::open(fixture(file));
        if (file.startsWith("cells.")) {
            for (const Expected &cell : cellsFixture()) {
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

    // The used range and the grid's bounds; a cell outside the grid is an error, not a crash.
    void usedRangeAndGrid()
    {
        const auto cells = workbook::Workbook::open(fixture("cells.xls"));
        const workbook::Sheet &notes = *cells.findSheet("Notes");
        QCOMPARE(std::pair(notes.lastRow(), notes.lastColumn()), std::pair(300, 20));
        const workbook::Sheet &values = *cells.findSheet("Values");
        QCOMPARE(std::pair(values.lastRow(), values.lastColumn()), std::pair(8, 10));
        QCOMPARE(notes.cell(65536, 256), CellValue{});
        for (const auto &[row, column] : {std::pair{0, 1}, {1, 0}, {65537, 1}, {1, 257}})
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, notes.cell(row, column));
        QVERIFY(values.isBlank(4, 2) && !values.isBlank(1, 3));
        QCOMPARE(cells.findSheet("Texts")->textHash(1, 1, {}), cells.findSheet("Texts")->textHash(10, 1, {}));
    }

    void sheetsAreFoundWhateverTheCase()
    {
        const auto workbook = workbook::Workbook::open(fixture("bank-case.xls"));
        QCOMPARE(workbook.findSheet("THERAPY")->name(), "therapy");
        QCOMPARE(workbook.findSheet("Therapy"), workbook.findSheet("therapy"));
        QCOMPARE(workbook::Workbook::open(fixture("bank-missing-sheet.xls")).findSheet("Pediatry"), nullptr);
    }
};

QTEST_MAIN(TestWorkbook)
#include "tst_workbook.moc"
