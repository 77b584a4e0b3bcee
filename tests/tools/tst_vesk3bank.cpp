#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

// The built vesk3-bank, run as a user runs it.
class TestVesk3Bank : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    static QString fixture(const QString &name) { return QStringLiteral(VESK3_FIXTURES "/") + name; }

    // A locale with a decimal comma, built here since few systems have it; empty when that fails.
    QTemporaryDir localeDir;
    bool hasUkrainianLocale = false;

    static Run run(const QStringList &args, const QProcessEnvironment &environment = {})
    {
        QProcess process;
        if (!environment.isEmpty())
            process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VESK3_BANK_TOOL), args);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void initTestCase()
    {
        hasUkrainianLocale =
            localeDir.isValid() && QProcess::execute("localedef", {"-i", "uk_UA", "-f", "UTF-8",
                                                                   localeDir.filePath("uk_UA.UTF-8")}) == 0;
    }

    void checkExitCodes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("line");
        QTest::newRow("usable bank") << "bank-exact.xls" << 0 << u"Infection: 380 питань"_qs;
        QTest::newRow("200 questions") << "bank-one.xls" << 0 << u"Therapy: 200 питань"_qs;
        QTest::newRow("bank too small for the exam")
            << "bank.xls" << 1 << u"ПРОБЛЕМА: На аркуші «Therapy» 12 питань, а іспит бере з нього 65"_qs;
        QTest::newRow("empty question cell")
            << "bank.xls" << 1 << u"  попередження: порожній текст питання (стовпець 2), рядок 7"_qs;
        QTest::newRow("missing sheet")
            << "bank-missing-sheet.xls" << 1 << u"Pediatry: ПРОБЛЕМА: У книзі немає аркуша «Pediatry»."_qs;
        QTest::newRow("no marker") << "bank-no-marker.xls" << 1 << u"Pediatry: ПРОБЛЕМА: "_qs;
        QTest::newRow("sheet name in lower case") << "bank-case.xls" << 1 << u"Therapy: 12 питань"_qs;
    }
    void checkExitCodes()
    {
        QFETCH(QString, file);
        QFETCH(int, exitCode);
        QFETCH(QString, line);
        const Run result = run({"check", fixture(file)});
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.out.split('\n').contains(line) || result.out.contains('\n' + line),
                 qPrintable(result.out));
        QCOMPARE(result.err, QString());
    }

    void unreadableWorkbooks_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("check missing file") << QStringList{"check", fixture("no-such-file.xls")};
        QTest::newRow("check text file") << QStringList{"check", fixture("not-a-workbook.xls")};
        QTest::newRow("check empty file") << QStringList{"check", fixture("empty.xls")};
        QTest::newRow("check encrypted") << QStringList{"check", fixture("encrypted.xls")};
        QTest::newRow("export missing file") << QStringList{"export", fixture("no-such-file.xls"), "Therapy"};
        QTest::newRow("export text file") << QStringList{"export", fixture("not-a-workbook.xls"), "Therapy"};
    }
    void unreadableWorkbooks()
    {
        QFETCH(QStringList, args);
        const Run result = run(args);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.out, QString());
        QVERIFY(result.err.startsWith(u"vesk3-bank: "_qs));
        QVERIFY2(result.err.contains(QFileInfo(args[1]).fileName()), qPrintable(result.err));
    }

    void exportWritesEveryCell()
    {
        const Run result = run({"export", fixture("bank.xls"), "Therapy"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        QVERIFY(result.out.endsWith(u"\r\n"_qs));
        const QStringList lines = result.out.chopped(2).split(u"\r\n"_qs);
        // 12 questions, the marker, 3 rows below it; a CR LF inside a quoted cell splits one line in two
        // here.
        QCOMPARE(lines.size(), 17);
        QCOMPARE(lines[0], u",Питання 1 з терапії,Правильна відповідь 1,Неправильна 1.1,Неправильна 1.2,"
                           "Неправильна 1.3,Неправильна 1.4,"_qs);
        QCOMPARE(lines[2], u",\"Питання 3 з терапії"_qs);
        QCOMPARE(lines[5], u",Питання 5 з терапії,12,0.5,-3,1000000,2.25,"_qs);
        QCOMPARE(lines[13], u"end,,,,,,,"_qs);
        QCOMPARE(lines[16], u"42,,junk,,,,,"_qs);
    }

    void exportFollowsLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("date");
        QTest::newRow("C") << "C.UTF-8"
                           << "0.1,42.5,-0.25"
                           << "10/14/06";
        QTest::newRow("Ukrainian") << "uk_UA.UTF-8"
                                   << "\"0,1\",\"42,5\",\"-0,25\""
                                   << "14.10.06";
    }
    void exportFollowsLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, numbers);
        QFETCH(QString, date);
        if (locale.startsWith("uk") && !hasUkrainianLocale)
            QSKIP("localedef could not build uk_UA.UTF-8");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LOCPATH", localeDir.path());
        environment.insert("LC_ALL", locale);
        const Run result = run({"export", fixture("cells.xls"), "Values"}, environment);
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = result.out.split(u"\r\n"_qs);
        QVERIFY(lines.size() > 7);
        QVERIFY2(lines[1].startsWith(numbers + ','), qPrintable(lines[1]));
        QVERIFY2(lines[6].startsWith(date + ','), qPrintable(lines[6]));
    }

    void exportOfMissingSheet()
    {
        const Run result = run({"export", fixture("bank-missing-sheet.xls"), "Pediatry"});
        QCOMPARE(result.exitCode, 3);
        QCOMPARE(result.out, QString());
        QVERIFY2(result.err.contains(u"немає аркуша «Pediatry»"_qs), qPrintable(result.err));
    }

    void fullDiskIsReported()
    {
        QProcess process;
        process.setStandardOutputFile("/dev/full");
        process.start(QStringLiteral(VESK3_BANK_TOOL), {"export", fixture("bank-one.xls"), "Therapy"});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 74);
        QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(u"не вдалося записати"_qs));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("nothing") << QStringList{} << 64;
        QTest::newRow("unknown command") << QStringList{"count", fixture("bank.xls")} << 64;
        QTest::newRow("check without workbook") << QStringList{"check"} << 64;
        QTest::newRow("export without sheet") << QStringList{"export", fixture("bank.xls")} << 64;
        QTest::newRow("too many") << QStringList{"check", fixture("bank.xls"), "Therapy"} << 64;
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("short help") << QStringList{"-h"} << 0;
    }
    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const Run result = run(args);
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0) {
            QVERIFY(result.out.contains(u"Коди завершення"_qs));
            QCOMPARE(result.err, QString());
        } else {
            QCOMPARE(result.out, QString());
            QVERIFY(result.err.contains(u"vesk3-bank --help"_qs));
        }
    }
};

QTEST_GUILESS_MAIN(TestVesk3Bank)
#include "tst_vesk3bank.moc"
