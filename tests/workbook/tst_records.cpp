// Workbooks assembled record by record, for the layouts that spreadsheet programs write only now and then,
// and files that cannot be read: they must be refused with a message that names them and says what is
// wrong, and damaged ones must never crash or hang the reader.
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"
#include "XlsBuilder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <random>

using namespace xlstest;

Q_DECLARE_METATYPE(std::string)

namespace {

Bytes book(const Bytes &sheetRecords, const Bytes &globals = {})
{
    return compoundFile({{u"Workbook", workbookStream(globals, {{"Therapy", sheetRecords}})}});
}

const workbook::TextFormat Format{".", "dd.MM.yyyy"};

QString text(const workbook::Sheet &sheet, int row, int column)
{
    return QString::fromStdString(workbook::cellText(sheet.cell(row, column), Format));
}

// The error text, or an empty text when the workbook opens and every cell reads.
QString failure(const Bytes &bytes)
{
    try {
        const auto workbook = workbook::Workbook::fromBytes(bytes, "test.xls");
        for (const auto &sheet : workbook.sheets()) {
            for (int row = 1; row <= sheet.lastRow(); ++row) {
                for (int column = 1; column <= sheet.lastColumn(); ++column)
                    workbook::cellText(sheet.cell(row, column), {});
            }
        }
    } catch (const workbook::BankError &error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

Bytes rk(std::uint32_t value)
{
    return record(0x027E, cell(0, 0).u32(value));
}

Bytes formula(const Bytes &result, unsigned style = 15, unsigned type = 0x0006)
{
    return record(type, cell(0, 0, style).raw(result).u16(0).u32(0).u16(0));
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

// The position of the sector that the header field at `field` names, plus `plus`; 512-byte sectors.
std::size_t sectorAt(const Bytes &file, std::size_t field, std::size_t plus = 0)
{
    const auto byte = [&](std::size_t k) {
        return std::uint32_t(std::uint8_t(file[field + k])) << 8 * k;
    };
    return (byte(0) + byte(1) + byte(2) + byte(3) + 1) * 512 + plus;
}

// Where the first BOUNDSHEET record of a workbook stream without workbook-wide records keeps its sheet's
// offset; those of one-letter sheets are 13 bytes long.
constexpr std::size_t OffsetOfFirstSheet = 24;

// A workbook stream long enough to be kept in sectors of its own rather than in the mini stream.
Bytes longStream()
{
    return workbookStream(record(0x00EC, Bytes(6000, 'x')), {{"Therapy", number(0, 0, 42)}});
}

QString fixture(const QString &name)
{
    return QStringLiteral(VESK3_FIXTURES "/") + name;
}

std::string contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

// A damaged file either still reads or is refused as damaged; it is never taken for another format.
void checkDamaged(const std::string &bytes, const char *what)
{
    const QString error = failure(bytes);
    if (error.isEmpty())
        return;
    QVERIFY2(error.contains("«test.xls»"), qPrintable(QString("%1: %2").arg(what, error)));
    QVERIFY2(error.contains("пошкоджено") || error.contains("застарілому") || error.contains("не є книгою") ||
                 error.contains("захищено"),
             qPrintable(QString("%1: %2").arg(what, error)));
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    // Each row's cell A1; the sheet is kept beyond its workbook.
    void cellValues_data()
    {
        QTest::addColumn<std::string>("records");
        QTest::addColumn<std::string>("globals");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const Bytes &records, const QString &expected,
                            const Bytes &globals = styles()) {
            QTest::newRow(name) << records << globals << expected;
        };
        // RK values: the flag 2 marks an integer in the upper 30 bits, else they are a double's upper bits;
        // the flag 1 divides by 100.
        row("RK double / 100", rk(0x40080001), "0.03");
        row("RSTRING", record(0x00D6, cell(0, 0).string(u"жирний").u16(1).u32(0)), "жирний");
        row("FORMULA text after a shared formula",
            formula(specialResult(0)) + record(0x04BC, Bytes(10, '\0')) +
                record(0x0207, Fields().string(u"x")),
            "x");
        row("FORMULA text across CONTINUE",
            formula(specialResult(0)) + record(0x0207, Fields().u16(6).u8(0).raw("abc")) +
                record(0x003C, Fields().u8(1).utf16(u"где")),
            "abcгде");
        row("FORMULA under the older record id", formula(Fields().f64(5), 15, 0x0406), "5");
        row("FORMULA empty text", formula(specialResult(3)), "");
        row("custom date format", number(0, 0, 38425, 20), "14.03.2005");
        row("quoted d is no date", number(0, 0, 38425, 17), "38425");
        row("colour in brackets is no date", number(0, 0, 38425, 18), "38425");
        row("FORMULA date", formula(Fields().f64(38425), 16), "14.03.2005");
        row("style the workbook lacks", number(0, 0, 38425, 99), "38425");
        row("format code a byte short is general", number(0, 0, 38425, 20), "38425",
            styles() + record(0x041E, Fields().u16(164).u16(10).u8(0).raw("dd/mm/yyy")));
        row("1904 date system", number(0, 0, 36963, 16), "14.03.2005",
            styles() + record(0x0022, Fields().u16(1)));
        row("empty sheet", {}, "");
        row("own spaces", label(0, 0, u" \t "), " \t ");

        const auto shared = [&row](const char *name, const Bytes &first, const QString &expected,
                                   const std::vector<Bytes> &continuations = {}, unsigned index = 0) {
            row(name, record(0x00FD, cell(0, 0).u32(index)), expected,
                sharedStringRecords(index + 1, first, continuations));
        };
        shared("next string starts a CONTINUE", Fields().u16(2).u8(0).raw("ab"), "цд",
               {Fields().u16(2).u8(1).utf16(u"цд")}, 1);
        const Bytes rich = Fields().u16(2).u8(0x0C).u16(2).u32(10).raw("xy").raw(Bytes("\1\0\2", 3));
        const Bytes richRest = Fields().raw(Bytes(5, '\3')).raw(Bytes(10, '\4')).u16(1).u8(0).raw("z");
        shared("rich string", rich, "xy", {richRest});
        shared("runs and phonetic data across CONTINUE", rich, "z", {richRest}, 1);
        shared("surrogate pair across CONTINUE", Fields().u16(2).u8(1).u16(0xD83D), "\U0001F600",
               {Fields().u8(1).u16(0xDE00)});
        shared("lone surrogate", Fields().u16(1).u8(1).u16(0xD800), "\uFFFD");
        // The mini stream's blocks are 64 bytes; these characters start at stream position 35.
        shared("UTF-16 across blocks", Fields().string(std::u16string(100, u'Ж')), QString(100, QChar(u'Ж')));
        shared("empty", Fields().u16(0).u8(0), "");
        shared("spaces, tabs and line breaks", Fields().u16(4).u8(0).raw(" \t\r\n"), " \t\r\n");
        shared("a character whose low byte is a space", Fields().u16(1).u8(1).u16(0x0420), "Р");
        shared("no-break space", Fields().u16(1).u8(0).u8(0xA0), "\u00A0");
        shared("spaces across CONTINUE", Fields().u16(3).u8(0).raw(" "), " \t ",
               {Fields().u8(1).utf16(u"\t ")});
        shared("rich text of spaces", Fields().u16(2).u8(0x08).u16(1).raw("  ").u16(0).u16(0), "  ");
    }
    void cellValues()
    {
        QFETCH(std::string, records);
        QFETCH(std::string, globals);
        QFETCH(QString, expected);
        const workbook::Sheet sheet =
            workbook::Workbook::fromBytes(book(records, globals), "test.xls").sheets().at(0);
        QCOMPARE(text(sheet, 1, 1), expected);
        QCOMPARE(sheet.isBlank(1, 1), workbook::isBlankText(expected.toStdString()));
        // Equal texts hash equal however they are stored.
        const auto own =
            workbook::Workbook::fromBytes(book(label(0, 0, expected.toStdU16String())), "own.xls");
        QCOMPARE(sheet.textHash(1, 1, Format), own.sheets().at(0).textHash(1, 1, Format));
    }

    // BLANK and MULBLANK records extend the used range; of two records for one cell the later counts.
    void usedRange()
    {
        const Bytes records = number(1, 0, 2) + number(0, 0, 1) + number(0, 0, 3) +
                              record(0x0201, cell(9, 0)) +
                              record(0x00BE, Fields().u16(2).u16(3).u16(15).u16(15).u16(15).u16(5));
        const workbook::Sheet sheet = workbook::Workbook::fromBytes(book(records), "test.xls").sheets().at(0);
        QCOMPARE(std::pair(sheet.lastRow(), sheet.lastColumn()), std::pair(10, 6));
        QCOMPARE(text(sheet, 1, 1) + text(sheet, 2, 1), "32");
    }

    void sheetsByTheirOffset()
    {
        Bytes stream =
            workbookStream({}, {{"A", label(0, 0, u"of A")}, {"C", {}, 2}, {"B", label(0, 0, u"of B")}});
        // Swap where the BOUNDSHEET records of A and B point.
        const Bytes offsetA = stream.substr(OffsetOfFirstSheet, 4);
        stream.replace(OffsetOfFirstSheet, 4, stream.substr(OffsetOfFirstSheet + 26, 4));
        stream.replace(OffsetOfFirstSheet + 26, 4, offsetA);
        const auto workbook =
            workbook::Workbook::fromBytes(compoundFile({{u"Workbook", stream}}), "test.xls");
        QCOMPARE(workbook.sheets().size(), std::size_t{2});
        QCOMPARE(text(*workbook.findSheet("A"), 1, 1), "of B");
        QCOMPARE(text(*workbook.findSheet("B"), 1, 1), "of A");
        QCOMPARE(workbook.findSheet("C"), nullptr);
    }

    void damage_data()
    {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const Bytes &bytes, const QString &message) {
            QTest::newRow(name) << bytes << message;
        };
        // Containers that read: the message is empty.
        row("4096-byte sectors", compoundFile({{u"Workbook", longStream()}}, 12), "");
        row("sector table listed in extra sectors", compoundFile({{u"Workbook", longStream()}}, 9, 120), "");
        row("stream name in capitals", compoundFile({{u"WORKBOOK", longStream()}}), "");
        row("Excel 97 records in a stream named BOOK", compoundFile({{u"BOOK", longStream()}}), "");
        const QString sheet = "не вдається прочитати аркуш «Therapy»";
        const QString sectors = "не вдається прочитати таблицю розміщення секторів";
        row("encrypted", book({}, record(0x002F, Fields().u16(1).raw(Bytes(52, '\0')))), "захищено паролем");
        row("Excel 95 record stream in Workbook",
            compoundFile({{u"Workbook", beginning(0x0005, 0x0500) + record(0x000A)}}),
            "застарілому форматі Excel 95");
        row("encrypted Excel 2007", compoundFile({{u"EncryptedPackage", Bytes(100, '\0')}}),
            "захищено паролем");
        row("Word document", compoundFile({{u"WordDocument", Bytes(100, '\0')}}), "не є книгою Excel");
        Bytes olderSheet = workbookStream({}, {{"Therapy", {}}});
        olderSheet.replace(olderSheet.size() - 24 + 4, 2, Fields().u16(0x0500));
        row("sheet of another BIFF version", compoundFile({{u"Workbook", olderSheet}}), sheet);
        row("stream without BOF", compoundFile({{u"Workbook", number(0, 0, 1)}}),
            "не вдається прочитати потік «Workbook»");
        row("workbook records without end",
            compoundFile({{u"Workbook", beginning(0x0005) + record(0x0022, Fields().u16(0))}}),
            "не вдається прочитати потік «Workbook»");
        row("shared string cut short", book({}, sharedStringRecords(1, Fields().u16(9).u8(0).raw("abc"))),
            "не вдається прочитати таблицю спільних рядків");
        const Bytes complete = workbookStream({}, {{"Therapy", {}}});
        row("Excel 4 file", Fields().u16(0x0409).u16(6).u16(0).u16(0x0010).u16(0), "застарілому форматі");
        row("half a character before CONTINUE",
            book({}, sharedStringRecords(1, Fields().u16(2).u8(1).u8('a'), {Fields().u8(1).utf16(u"bc")})),
            "не вдається прочитати таблицю спільних рядків");
        row("sheet without end", compoundFile({{u"Workbook", complete.substr(0, complete.size() - 4)}}),
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
        twoAtOnePlace.replace(OffsetOfFirstSheet + 13, 4, twoAtOnePlace.substr(OffsetOfFirstSheet, 4));
        row("two sheets at one place", compoundFile({{u"Workbook", twoAtOnePlace}}),
            "не вдається прочитати аркуш «B»");
        Bytes beyond = workbookStream({}, {{"Therapy", {}}});
        patch32(beyond, OffsetOfFirstSheet, 100000);
        row("sheet beyond the stream", compoundFile({{u"Workbook", beyond}}), sheet);

        // The stream's sectors are 0 to 11; the header names the first sector of the sector table (0x4C), of
        // the directory (0x30) and of the mini sector table (0x3C).
        const auto damaged = [](Bytes file, std::size_t at, std::uint32_t value) {
            patch32(file, at, value);
            return file;
        };
        const QString directory = "не вдається прочитати каталог потоків";
        const Bytes plain = compoundFile({{u"Workbook", longStream()}});
        row("loop in a sector chain", damaged(plain, sectorAt(plain, 0x4C, 4 * 5), 1), sectors);
        row("free sector in a chain", damaged(plain, sectorAt(plain, 0x4C), 0xFFFFFFFF), sectors);
        row("stream longer than its chain", damaged(plain, sectorAt(plain, 0x30, 128 + 0x78), 9000),
            "не вдається прочитати потік «Workbook»");
        const Bytes mini = compoundFile(
            {{u"Workbook", workbookStream({}, {{"T", label(0, 0, std::u16string(100, u'x'))}})}});
        row("loop in a mini sector chain", damaged(mini, sectorAt(mini, 0x3C, 4), 0), sectors);
        row("sector table outside the file", damaged(plain, 0x4C, 5000), sectors);
        row("more sector table sectors than listed",
            damaged(compoundFile({{u"Workbook", longStream()}}, 9, 120), 0x2C, 125), sectors);
        row("directory name too long", damaged(plain, sectorAt(plain, 0x30, 128 + 0x40), 66), directory);
        const Bytes two = compoundFile({{u"Ctls", Bytes(10, 'c')}, {u"Workbook", longStream()}});
        row("directory tree loop", damaged(two, sectorAt(two, 0x30, 128 + 0x48), 1), directory);
        row("sector size neither 512 nor 4096", damaged(plain, 0x1E, 10),
            "не вдається прочитати заголовок файлу");
    }
    void damage()
    {
        QFETCH(std::string, bytes);
        QFETCH(QString, message);
        const QString error = failure(bytes);
        QVERIFY2(message.isEmpty() ? error.isEmpty()
                                   : error.contains(message) && error.contains("«test.xls»"),
                 qPrintable(error));
        if (message.isEmpty())
            QCOMPARE(text(workbook::Workbook::fromBytes(bytes, "test.xls").sheets().at(0), 1, 1), "42");
    }

    void refused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("advisesResaving");
        QTest::newRow("empty") << fixture("empty.xls") << "порожній" << false;
        QTest::newRow("text") << fixture("not-a-workbook.xls") << "не є книгою Excel" << true;
        QTest::newRow("Excel 95") << fixture("excel95.xls") << "застарілому форматі Excel 95" << true;
        QTest::newRow("encrypted") << fixture("encrypted.xls") << "захищено паролем" << true;
        QTest::newRow("missing") << fixture("no-such-file.xls") << "не знайдено" << false;
        QTest::newRow("folder") << fixture("") << "Не вдається прочитати файл" << false;
        const QString sheetPart = "частина «xl/worksheets/sheet4.xml»";
        QTest::newRow("sheet part missing")
            << fixture("broken-missing-part.xlsx") << "бракує частини «xl/worksheets/sheet4.xml»" << false;
        QTest::newRow("broken XML") << fixture("broken-xml.xlsx") << sheetPart + " — не правильний XML"
                                    << false;
        QTest::newRow("DTD") << fixture("broken-dtd.xlsx") << sheetPart + " — не правильний XML" << false;
        QTest::newRow("inflation bomb")
            << fixture("broken-bomb.xlsx") << sheetPart + " після розпакування займає понад 256 МБ" << false;
    }
    void refused()
    {
        QFETCH(QString, path);
        QFETCH(QString, message);
        QFETCH(bool, advisesResaving);
        QString text;
        try {
            workbook::Workbook::open(path.toStdString());
        } catch (const workbook::BankError &error) {
            text = QString::fromUtf8(error.what());
        }
        QVERIFY2(text.contains(message), qPrintable(text));
        QVERIFY2(text.contains("«" + path + "»"), qPrintable(text));
        QCOMPARE(text.contains("збережіть як книгу .xlsx, .ods чи .xls."), advisesResaving);
    }

    void damaged_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("cutShort"); // the message for the first 100 bytes
        const QString header = "не вдається прочитати заголовок файлу";
        QTest::newRow("LibreOffice") << "cells.xls" << header;
        QTest::newRow("LibreOffice bank") << "bank.xls" << header;
        QTest::newRow("Gnumeric") << "bank-gnumeric.xls" << header;
        const QString archive = "не вдається розпакувати архів ZIP";
        QTest::newRow("LibreOffice .xlsx") << "bank.xlsx" << archive;
        QTest::newRow("Gnumeric .xlsx") << "cells-gnumeric.xlsx" << archive;
    }
    // Cut short at many points, one byte spoilt at many places, and many bytes spoilt at random.
    void damaged()
    {
        QFETCH(QString, file);
        QFETCH(QString, cutShort);
        const std::string good = contents(fixture(file));
        QVERIFY(failure(good).isEmpty());

        QVERIFY(failure(good.substr(0, 100)).contains(cutShort));
        for (std::size_t length = 512; length < good.size(); length += 487)
            checkDamaged(good.substr(0, length), "cut short");

        for (std::size_t at = 0; at < good.size(); at += 61) {
            std::string bytes = good;
            bytes[at] = static_cast<char>(bytes[at] ^ 0xFF);
            checkDamaged(bytes, "byte flipped");
        }

        std::mt19937 random(20050314);
        std::uniform_int_distribution<std::size_t> place(0, good.size() - 1);
        for (int round = 0; round < 200; ++round) {
            std::string bytes = good;
            for (int i = 0; i < 8; ++i)
                bytes[place(random)] = static_cast<char>(random());
            checkDamaged(bytes, "bytes spoilt");
        }
    }

    // Inputs on which the fuzzer once found a fault.
    void fuzzFindings()
    {
        const QDir findings(fixture("fuzz"));
        const QStringList names = findings.entryList(QDir::Files);
        if (names.isEmpty())
            QSKIP("no fuzz findings kept");
        for (const QString &name : names) {
            const std::string bytes = contents(findings.filePath(name));
            QVERIFY2(!bytes.empty(), qPrintable(name));
            checkDamaged(bytes, qPrintable(name));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
