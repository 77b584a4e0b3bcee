// Files that cannot be read must be refused with a message that names them and says what is wrong;
// damaged ones must never crash or hang the reader.
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <random>

namespace {

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

// Empty when the bytes open and every cell of the used ranges reads; else the error's text.
QString readEverything(const std::string &bytes)
{
    try {
        const auto workbook = workbook::Workbook::fromBytes(bytes, "broken.xls");
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

// A damaged file either still reads or is refused as damaged; it is never taken for another format.
void checkDamaged(const std::string &bytes, const char *what)
{
    const QString error = readEverything(bytes);
    if (error.isEmpty())
        return;
    QVERIFY2(error.contains("«broken.xls»"), qPrintable(QString("%1: %2").arg(what, error)));
    QVERIFY2(error.contains("пошкоджено") || error.contains("застарілому") || error.contains("не є книгою") ||
                 error.contains("захищено"),
             qPrintable(QString("%1: %2").arg(what, error)));
}

} // namespace

class TestBrokenInput : public QObject
{
    Q_OBJECT

private slots:
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
        QTest::newRow("broken XML") << fixture("broken-xml.xlsx") << sheetPart + " — не правильний XML" << false;
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
        QCOMPARE(text.contains("збережіть у форматі «Excel 97–2003» (.xls)"), advisesResaving);
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
        QVERIFY(readEverything(good).isEmpty());

        QVERIFY(readEverything(good.substr(0, 100)).contains(cutShort));
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

QTEST_MAIN(TestBrokenInput)
#include "tst_brokeninput.moc"
