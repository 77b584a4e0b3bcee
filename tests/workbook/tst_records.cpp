// Workbooks assembled record by record, for the layouts that spreadsheet programs write only now and then.
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"
#include "XlsBuilder.h"

#include <QTest>

using namespace xlstest;

Q_DECLARE_METATYPE(std::string)

namespace {

Bytes book(const Bytes &sheetRecords, const Bytes &globals = {})
{
    return compoundFile({{u"Workbook", workbookStream(globals, {{"Therapy", sheetRecords}})}}).bytes;
}

QString text(const workbook::Sheet &sheet, int row, int column)
{
    return QString::fromStdString(workbook::cellText(sheet.cell(row, column), {".", "dd.MM.yyyy"}));
}

// The error text, or an empty text when the workbook opens and every cell reads.
QString failure(const Bytes &bytes)
{
    try {
        const auto workbook = workbook::Workbook::fromBytes(bytes, "test.xls");
        for (const auto &sheet : workbook.sheets()) {
            for (int row = 1; row <= sheet.lastRow(); ++row) {
                for (int column = 1; column <= sheet.lastColumn(); ++column)
                    sheet.cell(row, column);
            }
        }
    } catch (const workbook::BankError &error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

std::uint32_t rkInteger(int value, bool times100 = false)
{
    return static_cast<std::uint32_t>(value) << 2 | 2 | (times100 ? 1 : 0);
}

std::uint32_t rkDouble(double value, bool times100 = false)
{
    return (static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(value) >> 32) & 0xFFFFFFFC) |
           (times100 ? 1 : 0);
}

Bytes rk(std::uint32_t value, unsigned style = 15)
{
    return record(0x027E, cell(0, 0, style).u32(value));
}

Bytes formula(const Bytes &result, unsigned style = 15)
{
    return record(0x0006, cell(0, 0, style).raw(result).u16(0).u32(0).u16(0));
}

Bytes specialResult(unsigned type, unsigned value = 0)
{
    return Fields().u8(type).u8(0).u8(value).u8(0).u16(0).u16(0xFFFF);
}

// Styles 16 to 20 show a date, show text "d" before a number, show a colour, show date and time, and
// name a custom date format; style 15 is General.
Bytes styles()
{
    Bytes globals = record(0x041E, Fields().u16(164).string(u"dd/mm/yyyy")) +
                    record(0x041E, Fields().u16(165).string(u"0.00\"d\"")) +
                    record(0x041E, Fields().u16(166).string(u"[Red]0.00"));
    for (const unsigned format :
         {0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 14u, 165u, 166u, 22u, 164u})
        globals += record(0x00E0, Fields().u16(0).u16(format).raw(Bytes(16, '\0')));
    return globals;
}

Bytes sharedStringRecords(unsigned count, const Bytes &first, const std::vector<Bytes> &continuations = {})
{
    Bytes records = record(0x00FC, Fields().u32(count).u32(count).raw(first));
    for (const auto &part : continuations)
        records += record(0x003C, part);
    return records;
}

// Where the n-th BOUNDSHEET record of a workbook stream keeps its sheet's offset.
std::size_t sheetOffsetField(const Bytes &stream, int n)
{
    const auto u16 = [&](std::size_t at) {
        return std::uint8_t(stream[at]) | std::uint8_t(stream[at + 1]) << 8;
    };
    for (std::size_t at = 0;; at += 4 + u16(at + 2)) {
        if (u16(at) == 0x0085 && n-- == 0)
            return at + 4;
    }
}

// A workbook stream long enough to be kept in sectors of its own rather than in the mini stream.
Bytes longStream()
{
    return workbookStream(record(0x00EC, Bytes(6000, 'x')), {{"Therapy", number(0, 0, 42)}});
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void cellValues_data()
    {
        QTest::addColumn<std::string>("records");
        QTest::addColumn<std::string>("globals");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const Bytes &records, const QString &expected,
                            const Bytes &globals = styles()) {
            QTest::newRow(name) << records << globals << expected;
        };
        row("RK integer", rk(rkInteger(42)), "42");
        row("RK negative integer", rk(rkInteger(-5)), "-5");
        row("RK integer / 100", rk(rkInteger(1234, true)), "12.34");
        row("RK double", rk(rkDouble(2.5)), "2.5");
        row("RK double / 100", rk(rkDouble(3.0, true)), "0.03");
        row("NUMBER", number(0, 0, -0.125), "-0.125");
        row("LABEL one byte per character", label(0, 0, u"café"), "café");
        row("LABEL UTF-16", label(0, 0, u"Терапія"), "Терапія");
        row("RSTRING", record(0x00D6, cell(0, 0).string(u"жирний").u16(1).u32(0)), "жирний");
        row("BOOLERR true", record(0x0205, cell(0, 0).u8(1).u8(0)), "True");
        row("BOOLERR false", record(0x0205, cell(0, 0).u8(0).u8(0)), "False");
        row("BOOLERR error", record(0x0205, cell(0, 0).u8(0x2A).u8(1)), "#N/A");
        row("FORMULA number", formula(Fields().f64(5)), "5");
        row("FORMULA text", formula(specialResult(0)) + record(0x0207, Fields().string(u"abc")), "abc");
        row("FORMULA text after a shared formula",
            formula(specialResult(0)) + record(0x04BC, Bytes(10, '\0')) +
                record(0x0207, Fields().string(u"x")),
            "x");
        row("FORMULA text across CONTINUE",
            formula(specialResult(0)) + record(0x0207, Fields().u16(6).u8(0).latin1("abc")) +
                record(0x003C, Fields().u8(1).utf16(u"где")),
            "abcгде");
        row("FORMULA boolean", formula(specialResult(1, 1)), "True");
        row("FORMULA error", formula(specialResult(2, 0x07)), "#DIV/0!");
        row("FORMULA empty text", formula(specialResult(3)), "");
        row("built-in date format", number(0, 0, 38425, 16), "14.03.2005");
        row("custom date format", number(0, 0, 38425, 20), "14.03.2005");
        row("quoted d is no date", number(0, 0, 38425, 17), "38425");
        row("colour in brackets is no date", number(0, 0, 38425, 18), "38425");
        row("date and time", number(0, 0, 38425.5, 19), "14.03.2005 12:00:00");
        row("RK date", rk(rkInteger(38425), 16), "14.03.2005");
        row("FORMULA date", formula(Fields().f64(38425), 16), "14.03.2005");
        row("style the workbook lacks", number(0, 0, 38425, 99), "38425");
        row("1904 date system", number(0, 0, 36963, 16), "14.03.2005",
            styles() + record(0x0022, Fields().u16(1)));
    }
    void cellValues()
    {
        QFETCH(std::string, records);
        QFETCH(std::string, globals);
        QFETCH(QString, expected);
        const auto workbook = workbook::Workbook::fromBytes(book(records, globals), "test.xls");
        QCOMPARE(text(workbook.sheets().at(0), 1, 1), expected);
    }

    void sharedStrings_data()
    {
        QTest::addColumn<std::string>("globals");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one byte per character")
            << sharedStringRecords(1, Fields().u16(3).u8(0).latin1("abc")) << 0 << "abc";
        QTest::newRow("continued in UTF-16")
            << sharedStringRecords(1, Fields().u16(5).u8(0).latin1("ab"), {Fields().u8(1).utf16(u"вгд")}) << 0
            << "abвгд";
        QTest::newRow("continued in one byte per character")
            << sharedStringRecords(1, Fields().u16(4).u8(1).utf16(u"Те"), {Fields().u8(0).latin1("st")}) << 0
            << "Теst";
        QTest::newRow("next string starts a CONTINUE")
            << sharedStringRecords(2, Fields().u16(2).u8(0).latin1("ab"),
                                   {Fields().u16(2).u8(1).utf16(u"цд")})
            << 1 << "цд";
        const Bytes rich = Fields().u16(2).u8(0x0C).u16(2).u32(10).latin1("xy").raw(Bytes("\1\0\2", 3));
        const Bytes richRest = Fields().raw(Bytes(5, '\3')).raw(Bytes(10, '\4')).u16(1).u8(0).latin1("z");
        QTest::newRow("rich string") << sharedStringRecords(2, rich, {richRest}) << 0 << "xy";
        QTest::newRow("runs and phonetic data across CONTINUE")
            << sharedStringRecords(2, rich, {richRest}) << 1 << "z";
        QTest::newRow("surrogate pair across CONTINUE")
            << sharedStringRecords(1, Fields().u16(2).u8(1).u16(0xD83D), {Fields().u8(1).u16(0xDE00)}) << 0
            << QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("lone surrogate")
            << sharedStringRecords(1, Fields().u16(1).u8(1).u16(0xD800)) << 0 << "\uFFFD";
        // The mini stream's blocks are 64 bytes; the characters of this string start at stream position 35,
        // so some lie across two blocks, unless a record of odd length comes first.
        const std::u16string cyrillic(100, u'Ж');
        QTest::newRow("UTF-16 across blocks")
            << sharedStringRecords(1, Fields().string(cyrillic)) << 0 << QString(100, QChar(u'Ж'));
        QTest::newRow("UTF-16 within blocks")
            << record(0x00EC, "x") + sharedStringRecords(1, Fields().string(cyrillic)) << 0
            << QString(100, QChar(u'Ж'));
        QTest::newRow("line breaks") << sharedStringRecords(1, Fields().u16(4).u8(0).latin1("a\nb\n")) << 0
                                     << "a\nb\n";
    }
    void sharedStrings()
    {
        QFETCH(std::string, globals);
        QFETCH(int, index);
        QFETCH(QString, expected);
        // Beside it, the same text in a cell of its own.
        const Bytes records = record(0x00FD, cell(0, 0).u32(index)) + label(0, 1, expected.toStdU16String());
        const auto workbook = workbook::Workbook::fromBytes(book(records, globals), "test.xls");
        const workbook::Sheet &sheet = workbook.sheets().at(0);
        QCOMPARE(text(sheet, 1, 1), expected);
        QCOMPARE(sheet.textHash(1, 1, {}), sheet.textHash(1, 2, {}));
    }

    void textHashes()
    {
        const Bytes globals = sharedStringRecords(2, Fields().string(u"Питання 1").string(u"Питання 2"));
        const Bytes records = record(0x00FD, cell(0, 0).u32(0)) + record(0x00FD, cell(0, 1).u32(1)) +
                              label(0, 2, u"Питання 1") + label(0, 3, u"12,5") + number(0, 4, 12.5) +
                              number(0, 5, 38425, 16) + label(0, 6, u"14.03.2005") + label(0, 7, u"");
        const auto workbook = workbook::Workbook::fromBytes(book(records, styles() + globals), "test.xls");
        const workbook::Sheet &sheet = workbook.sheets().at(0);
        const workbook::TextFormat format{",", "dd.MM.yyyy"};
        QCOMPARE(sheet.textHash(1, 1, format), sheet.textHash(1, 3, format));
        QVERIFY(sheet.textHash(1, 1, format) != sheet.textHash(1, 2, format));
        QCOMPARE(sheet.textHash(1, 4, format), sheet.textHash(1, 5, format));
        QVERIFY(sheet.textHash(1, 4, {}) != sheet.textHash(1, 5, {}));
        QCOMPARE(sheet.textHash(1, 6, format), sheet.textHash(1, 7, format));
        QCOMPARE(sheet.textHash(2, 1, format), sheet.textHash(1, 8, format));
        for (const auto &[row, column] : {std::pair{0, 1}, {1, 0}, {65537, 1}, {1, 257}})
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, sheet.textHash(row, column, format));
    }

    void blankCells_data()
    {
        QTest::addColumn<std::string>("records");
        QTest::addColumn<std::string>("globals");
        QTest::addColumn<bool>("blank");
        const auto row = [](const char *name, const Bytes &records, bool blank, const Bytes &globals = {}) {
            QTest::newRow(name) << records << globals << blank;
        };
        const auto shared = [](const Bytes &first, const std::vector<Bytes> &continuations = {}) {
            return sharedStringRecords(1, first, continuations);
        };
        const Bytes sharedCell = record(0x00FD, cell(0, 0).u32(0));
        row("no cell", {}, true);
        row("empty shared text", sharedCell, true, shared(Fields().u16(0).u8(0)));
        row("shared spaces, tabs and line breaks", sharedCell, true,
            shared(Fields().u16(4).u8(0).latin1(" \t\r\n")));
        row("shared text after spaces", sharedCell, false, shared(Fields().u16(3).u8(0).latin1("  x")));
        row("shared UTF-16 spaces", sharedCell, true, shared(Fields().u16(2).u8(1).utf16(u"  ")));
        row("shared UTF-16 text", sharedCell, false, shared(Fields().u16(2).u8(1).utf16(u" Ж")));
        row("a character whose low byte is a space", sharedCell, false,
            shared(Fields().u16(1).u8(1).u16(0x0420)));
        row("no-break space", sharedCell, false, shared(Fields().u16(1).u8(0).u8(0xA0)));
        row("shared spaces across CONTINUE", sharedCell, true,
            shared(Fields().u16(3).u8(0).latin1(" "), {Fields().u8(1).utf16(u"\t ")}));
        row("shared text across CONTINUE", sharedCell, false,
            shared(Fields().u16(3).u8(0).latin1(" "), {Fields().u8(1).utf16(u" в")}));
        row("shared rich text of spaces", sharedCell, true,
            shared(Fields().u16(2).u8(0x08).u16(1).latin1("  ").u16(0).u16(0)));
        row("own spaces", label(0, 0, u" \t "), true);
        row("own text", label(0, 0, u" a"), false);
        row("formula empty text", formula(specialResult(3)), true);
        row("zero", number(0, 0, 0), false);
        row("false", record(0x0205, cell(0, 0).u8(0).u8(0)), false);
        row("error", record(0x0205, cell(0, 0).u8(0x2A).u8(1)), false);
    }
    void blankCells()
    {
        QFETCH(std::string, records);
        QFETCH(std::string, globals);
        QFETCH(bool, blank);
        const auto workbook = workbook::Workbook::fromBytes(book(records, globals), "test.xls");
        const workbook::Sheet &sheet = workbook.sheets().at(0);
        QCOMPARE(sheet.isBlank(1, 1), blank);
        QCOMPARE(sheet.isBlank(1, 1), workbook::isBlankText(text(sheet, 1, 1).toStdString()));
        QVERIFY(sheet.isBlank(65536, 256));
        for (const auto &[row, column] : {std::pair{0, 1}, {1, 0}, {65537, 1}, {1, 257}})
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, sheet.isBlank(row, column));
    }

    void sheetOutlivesItsWorkbook()
    {
        const Bytes globals = sharedStringRecords(1, Fields().string(u"Текст зі спільної таблиці"));
        const workbook::Sheet sheet =
            workbook::Workbook::fromBytes(book(record(0x00FD, cell(0, 0).u32(0)), globals), "test.xls")
                .sheets()
                .at(0);
        QCOMPARE(text(sheet, 1, 1), "Текст зі спільної таблиці");
    }

    void usedRangeAndGrid()
    {
        const Bytes records = number(1, 0, 2) + number(0, 0, 1) + number(0, 0, 3) +
                              record(0x0201, cell(9, 0)) +
                              record(0x00BE, Fields().u16(2).u16(3).u16(15).u16(15).u16(15).u16(5));
        const auto workbook = workbook::Workbook::fromBytes(book(records), "test.xls");
        const workbook::Sheet &sheet = workbook.sheets().at(0);
        QCOMPARE(sheet.lastRow(), 10);
        QCOMPARE(sheet.lastColumn(), 6);
        QCOMPARE(text(sheet, 1, 1), "3");
        QCOMPARE(text(sheet, 2, 1), "2");
        QCOMPARE(sheet.cell(10, 1), workbook::CellValue{});
        QCOMPARE(sheet.cell(65536, 256), workbook::CellValue{});
        for (const auto &[row, column] : {std::pair{0, 1}, {1, 0}, {65537, 1}, {1, 257}, {-1, -1}})
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, sheet.cell(row, column));
    }

    void multipleNumbers()
    {
        const Bytes mulrk = record(
            0x00BD, Fields().u16(4).u16(1).u16(15).u32(rkInteger(7)).u16(16).u32(rkInteger(38425)).u16(2));
        const auto workbook = workbook::Workbook::fromBytes(book(mulrk, styles()), "test.xls");
        const workbook::Sheet &sheet = workbook.sheets().at(0);
        QCOMPARE(text(sheet, 5, 2), "7");
        QCOMPARE(text(sheet, 5, 3), "14.03.2005");
        QCOMPARE(sheet.lastColumn(), 3);
    }

    void sheetsByTheirOffset()
    {
        Bytes stream =
            workbookStream({}, {{"A", label(0, 0, u"of A")}, {"Chart", {}, 2}, {"B", label(0, 0, u"of B")}});
        // Swap where the BOUNDSHEET records of A and B point.
        const std::size_t entryA = sheetOffsetField(stream, 0), entryB = sheetOffsetField(stream, 2);
        const Bytes offsetA = stream.substr(entryA, 4);
        stream.replace(entryA, 4, stream.substr(entryB, 4));
        stream.replace(entryB, 4, offsetA);
        const auto workbook =
            workbook::Workbook::fromBytes(compoundFile({{u"Workbook", stream}}).bytes, "test.xls");
        QCOMPARE(workbook.sheets().size(), std::size_t{2});
        QCOMPARE(text(*workbook.findSheet("A"), 1, 1), "of B");
        QCOMPARE(text(*workbook.findSheet("B"), 1, 1), "of A");
        QCOMPARE(workbook.findSheet("Chart"), nullptr);
        QCOMPARE(workbook.findSheet("a"), nullptr);
    }

    void emptySheet()
    {
        const auto workbook = workbook::Workbook::fromBytes(book({}), "test.xls");
        QCOMPARE(workbook.sheets().at(0).lastRow(), 0);
        QCOMPARE(workbook.sheets().at(0).lastColumn(), 0);
        QCOMPARE(workbook.sheets().at(0).cell(1, 1), workbook::CellValue{});
    }

    void containers_data()
    {
        QTest::addColumn<std::string>("bytes");
        QTest::newRow("4096-byte sectors") << compoundFile({{u"Workbook", longStream()}}, {12}).bytes;
        QTest::newRow("sector table listed in extra sectors")
            << compoundFile({{u"Workbook", longStream()}}, {9, 120}).bytes;
        QTest::newRow("other streams beside") << compoundFile({{u"\x05SummaryInformation", Bytes(200, 's')},
                                                               {u"Workbook", longStream()},
                                                               {u"Ctls", Bytes(5000, 'c')}})
                                                     .bytes;
        QTest::newRow("stream name in capitals") << compoundFile({{u"WORKBOOK", longStream()}}).bytes;
        QTest::newRow("in the mini stream")
            << compoundFile({{u"Workbook", workbookStream({}, {{"T", number(0, 0, 42)}})}}).bytes;
    }
    void containers()
    {
        QFETCH(std::string, bytes);
        const auto workbook = workbook::Workbook::fromBytes(bytes, "test.xls");
        QCOMPARE(text(workbook.sheets().at(0), 1, 1), "42");
    }

    void damage_data()
    {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const Bytes &bytes, const QString &message) {
            QTest::newRow(name) << bytes << message;
        };
        const QString sheet = "не вдається прочитати аркуш «Therapy»";
        const QString sectors = "не вдається прочитати таблицю розміщення секторів";
        row("encrypted", book({}, record(0x002F, Fields().u16(1).raw(Bytes(52, '\0')))), "захищено паролем");
        row("Excel 95 record stream in Workbook",
            compoundFile({{u"Workbook", beginning(0x0005, 0x0500) + record(0x000A)}}).bytes,
            "застарілому форматі Excel 95");
        row("Excel 95 stream Book", compoundFile({{u"Book", Bytes(100, '\0')}}).bytes, "застарілому форматі");
        row("encrypted Excel 2007", compoundFile({{u"EncryptedPackage", Bytes(100, '\0')}}).bytes,
            "захищено паролем");
        row("Word document", compoundFile({{u"WordDocument", Bytes(100, '\0')}}).bytes, "не є книгою Excel");
        Bytes olderSheet = workbookStream({}, {{"Therapy", {}}});
        olderSheet.replace(olderSheet.size() - 24 + 4, 2, Fields().u16(0x0500));
        row("sheet of another BIFF version", compoundFile({{u"Workbook", olderSheet}}).bytes, sheet);
        row("stream without BOF", compoundFile({{u"Workbook", number(0, 0, 1)}}).bytes,
            "не вдається прочитати потік «Workbook»");
        row("workbook records without end",
            compoundFile({{u"Workbook", beginning(0x0005) + record(0x0022, Fields().u16(0))}}).bytes,
            "не вдається прочитати потік «Workbook»");
        row("shared string cut short", book({}, sharedStringRecords(1, Fields().u16(9).u8(0).latin1("abc"))),
            "не вдається прочитати таблицю спільних рядків");
        const Bytes complete = workbookStream({}, {{"Therapy", {}}});
        row("Excel 4 file", Fields().u16(0x0409).u16(6).u16(0).u16(0x0010).u16(0), "застарілому форматі");
        row("half a character before CONTINUE",
            book({}, sharedStringRecords(1, Fields().u16(2).u8(1).u8('a'), {Fields().u8(1).utf16(u"bc")})),
            "не вдається прочитати таблицю спільних рядків");
        row("sheet without end", compoundFile({{u"Workbook", complete.substr(0, complete.size() - 4)}}).bytes,
            sheet);
        row("shared string that is not there", book(record(0x00FD, cell(0, 0).u32(0))), sheet);
        row("unknown error code", book(record(0x0205, cell(0, 0).u8(0x33).u8(1))), sheet);
        row("column beyond the grid", book(number(0, 256, 1)), sheet);
        row("formula text missing", book(formula(specialResult(0)) + number(1, 0, 1)), sheet);
        row("formula text missing at the end", book(formula(specialResult(0))), sheet);
        row("unknown formula result", book(formula(specialResult(7))), sheet);
        row("MULRK of odd length", book(record(0x00BD, Fields().u16(0).u16(0).u16(15).u32(0).u8(0).u16(0))),
            sheet);
        row("cell record too short", book(record(0x0203, cell(0, 0).u32(0))), sheet);

        Bytes twoAtOnePlace = workbookStream({}, {{"A", {}}, {"B", {}}});
        twoAtOnePlace.replace(sheetOffsetField(twoAtOnePlace, 1), 4,
                              twoAtOnePlace.substr(sheetOffsetField(twoAtOnePlace, 0), 4));
        row("two sheets at one place", compoundFile({{u"Workbook", twoAtOnePlace}}).bytes,
            "не вдається прочитати аркуш «B»");
        Bytes beyond = workbookStream({}, {{"Therapy", {}}});
        patch32(beyond, sheetOffsetField(beyond, 0), 100000);
        row("sheet beyond the stream", compoundFile({{u"Workbook", beyond}}).bytes, sheet);

        auto loop = compoundFile({{u"Workbook", longStream()}});
        const std::uint32_t start = loop.streamStarts[0];
        patch32(loop.bytes, loop.fatEntryOffset(start + 5), start + 1);
        row("loop in a sector chain", loop.bytes, sectors);
        auto selfLoop = compoundFile({{u"Workbook", longStream()}});
        patch32(selfLoop.bytes, selfLoop.fatEntryOffset(selfLoop.streamStarts[0]), selfLoop.streamStarts[0]);
        row("sector chained to itself", selfLoop.bytes, sectors);
        auto freeSector = compoundFile({{u"Workbook", longStream()}});
        patch32(freeSector.bytes, freeSector.fatEntryOffset(freeSector.streamStarts[0]), 0xFFFFFFFF);
        row("free sector in a chain", freeSector.bytes, sectors);
        auto tooLong = compoundFile({{u"Workbook", longStream()}});
        patch32(tooLong.bytes, tooLong.entryOffset(1) + 0x78, 9000);
        row("stream longer than its chain", tooLong.bytes, "не вдається прочитати потік «Workbook»");
        auto miniLoop = compoundFile(
            {{u"Workbook", workbookStream({}, {{"T", label(0, 0, std::u16string(100, u'x'))}})}});
        patch32(miniLoop.bytes, miniLoop.sectorOffset(miniLoop.miniFatStart) + 4, 0);
        row("loop in a mini sector chain", miniLoop.bytes, sectors);
        auto fatOutside = compoundFile({{u"Workbook", longStream()}});
        patch32(fatOutside.bytes, 0x4C, 5000);
        row("sector table outside the file", fatOutside.bytes, sectors);
        auto moreFat = compoundFile({{u"Workbook", longStream()}}, {9, 120});
        patch32(moreFat.bytes, 0x2C, 125);
        row("more sector table sectors than listed", moreFat.bytes, sectors);
        auto longName = compoundFile({{u"Workbook", longStream()}});
        patch32(longName.bytes, longName.entryOffset(1) + 0x40, 66);
        row("directory name too long", longName.bytes, "не вдається прочитати каталог потоків");
        auto treeLoop = compoundFile({{u"Ctls", Bytes(10, 'c')}, {u"Workbook", longStream()}});
        patch32(treeLoop.bytes, treeLoop.entryOffset(1) + 0x48, 1);
        row("directory tree loop", treeLoop.bytes, "не вдається прочитати каталог потоків");
        auto badShift = compoundFile({{u"Workbook", longStream()}});
        badShift.bytes[0x1E] = 10;
        row("sector size neither 512 nor 4096", badShift.bytes, "не вдається прочитати заголовок файлу");
        row("header cut short", compoundFile({{u"Workbook", longStream()}}).bytes.substr(0, 300),
            "не вдається прочитати заголовок файлу");
    }
    void damage()
    {
        QFETCH(std::string, bytes);
        QFETCH(QString, message);
        const QString error = failure(bytes);
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY2(error.contains("«test.xls»"), qPrintable(error));
    }
};

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
