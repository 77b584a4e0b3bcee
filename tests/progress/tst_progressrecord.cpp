#include "ProgressRecord.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <tuple>

using namespace vesk3;

namespace {

// A training run of two questions of Surgery, the first right; `key` tells the tests apart.
TestSummary training(int from)
{
    TestSummary test;
    test.exam = false;
    test.subject = u"Surgery"_qs;
    test.fromQuestion = from;
    test.toQuestion = from + 1;
    test.workbook = u"bank.xls"_qs;
    test.started = QDateTime::fromSecsSinceEpoch(1'800'000'000 + from);
    test.finished = test.started.addSecs(60);
    test.asked = 2;
    test.answered = 1;
    test.right = 1;
    test.score = 50;
    return test;
}

std::vector<KeptEntry> entries(int from)
{
    ReviewEntry right{u"Surgery"_qs, from, 3, {5, 3, 4, 6, 7}, true};
    ReviewEntry unanswered{u"Surgery"_qs, from + 1};
    return {{right, QByteArray(20, char(from))}, {unanswered, QByteArray(20, char(from + 1))}};
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A connection of its own, as another copy of the program has one.
struct OtherCopy
{
    explicit OtherCopy(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"other"_qs);
        db.setDatabaseName(path);
        db.open();
    }
    ~OtherCopy() { QSqlDatabase::removeDatabase(u"other"_qs); }
    QSqlQuery query(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(u"other"_qs));
        query.exec(sql);
        return query;
    }
};

} // namespace

class TestProgressRecord : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.emplace().isValid()); }

    // A file of the first version, written as that version wrote it, reads with its figures and outcomes.
    void readsAFileOfTheFirstVersion()
    {
        {
            OtherCopy first(file());
            for (const char *statement :
                 {"CREATE TABLE tests (id INTEGER PRIMARY KEY, status INTEGER NOT NULL, mode INTEGER NOT "
                  "NULL,"
                  " subject TEXT, range_from INTEGER, range_to INTEGER, workbook TEXT NOT NULL, started "
                  "INTEGER"
                  " NOT NULL, finished INTEGER, seconds INTEGER NOT NULL, asked INTEGER NOT NULL, answered"
                  " INTEGER NOT NULL, correct_count INTEGER NOT NULL, score REAL NOT NULL)",
                  "CREATE TABLE questions (id INTEGER PRIMARY KEY, question_key BLOB NOT NULL UNIQUE,"
                  " subject TEXT NOT NULL, answered INTEGER NOT NULL, correct_count INTEGER NOT NULL,"
                  " last_outcome INTEGER)",
                  "CREATE TABLE answers (test INTEGER NOT NULL REFERENCES tests(id) ON DELETE CASCADE, entry"
                  " INTEGER NOT NULL, question INTEGER NOT NULL REFERENCES questions(id), sheet_row INTEGER "
                  "NOT"
                  " NULL, chosen INTEGER NOT NULL, answer_order INTEGER NOT NULL, correct INTEGER NOT NULL,"
                  " bookmarked INTEGER NOT NULL, shown INTEGER NOT NULL, PRIMARY KEY (test, entry)) WITHOUT "
                  "ROWID",
                  "INSERT INTO tests VALUES (7, 0, 0, NULL, NULL, NULL, 'vesk3_2005.xls', 1800000000, "
                  "1800000600,"
                  " 600, 200, 2, 1, 50.0)",
                  "INSERT INTO questions VALUES (1, x'0102', 'Therapy', 1, 0, 1), (2, x'0304', 'Surgery', 1, "
                  "1, 0)",
                  "INSERT INTO answers VALUES (7, 1, 1, 12, 4, 45367, 0, 1, 1), (7, 2, 2, 3, 3, 34567, 1, 0, "
                  "1),"
                  " (7, 3, 1, 5, 0, 0, 0, 0, 0)",
                  "PRAGMA user_version = 1"})
                first.query(QString::fromUtf8(statement));
        }
        ProgressRecord record(file());
        const std::vector<TestSummary> tests = record.tests();
        QCOMPARE(tests.size(), 1u);
        QVERIFY(tests[0].exam);
        QCOMPARE(tests[0].finished.toSecsSinceEpoch() - tests[0].started.toSecsSinceEpoch(), 600);
        QCOMPARE(
            std::tuple(tests[0].seconds, tests[0].asked, tests[0].answered, tests[0].right, tests[0].score),
            std::tuple(qint64(600), 200, 2, 1, 50.0));
        const std::vector<KeptEntry> kept = record.entriesOf(7);
        QCOMPARE(kept.size(), 3u);
        QCOMPARE(kept[0].entry.letterOf(3), QChar(u'C'));
        QVERIFY(kept[0].entry.Bookmarked && !kept[2].entry.Shown);
        const std::vector<QuestionHistory> history = record.questions();
        QCOMPARE(history.size(), 2u);
        QCOMPARE(history[0].last, ReviewOutcome::Wrong);
        QCOMPARE(history[1].last, ReviewOutcome::Right);
        QVERIFY(record.takeMessages().isEmpty());
        QVERIFY(record.keep(training(1), entries(1)));
        QCOMPARE(record.entriesOf(8).at(0).entry.ChosenOrder, entries(1)[0].entry.ChosenOrder);
    }

    // A damaged file is kept aside under a dated name, the message comes once and the test goes into a new
    // history.
    void keepsADamagedFileAside_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not SQLite") << u"text"_qs << u"не є базою даних SQLite"_qs;
        QTest::newRow("truncated") << u"truncate"_qs << u"пошкоджено"_qs;
        QTest::newRow("a page overwritten") << u"overwrite"_qs << u"перевірка цілісності"_qs;
    }
    void keepsADamagedFileAside()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        if (damage == u"text") {
            QDir().mkpath(QFileInfo(file()).absolutePath());
            QFile text(file());
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write(QByteArray(8192, 'x'));
        } else {
            ProgressRecord earlier(file());
            for (int from = 1; from < 200; from += 2)
                QVERIFY(earlier.keep(training(from), entries(from)));
        }
        QFile damaged(file());
        if (damage == u"truncate")
            QVERIFY(damaged.resize(damaged.size() / 2));
        if (damage == u"overwrite") {
            QVERIFY(damaged.open(QIODevice::ReadWrite) && damaged.seek(damaged.size() / 8192 * 4096));
            damaged.write(QByteArray(4096, '\xff'));
            damaged.close();
        }
        const QByteArray before = contentOf(file());

        ProgressRecord record(file());
        QVERIFY(record.keep(training(1), entries(1)));
        QVERIFY(record.keep(training(3), entries(3)));
        const QStringList messages = record.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(reason), qPrintable(messages[0]));
        const QStringList aside =
            QDir(dir->path() + u"/vesk3"_qs).entryList({u"progress-damaged-20*.sqlite"_qs});
        QCOMPARE(aside.size(), 1);
        QVERIFY(messages[0].contains(aside[0]));
        QCOMPARE(contentOf(dir->path() + u"/vesk3/"_qs + aside[0]), before);
        QCOMPARE(record.tests().size(), 2u);
    }

    // A newer program's file stays byte for byte as it was, one message says so, and nothing is kept.
    void leavesANewerFileUntouched()
    {
        {
            OtherCopy newer(file());
            newer.query(u"CREATE TABLE tests (id INTEGER PRIMARY KEY, future BLOB)"_qs);
            newer.query(u"PRAGMA user_version = %1"_qs.arg(ProgressRecord::SchemaVersion + 1));
        }
        const QByteArray before = contentOf(file());
        ProgressRecord record(file());
        QVERIFY(!record.keep(training(1), entries(1)));
        QVERIFY(!record.keep(training(3), entries(3)));
        QVERIFY(record.tests().empty());
        const QStringList messages = record.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(u"новіша версія"_qs));
        QCOMPARE(contentOf(file()), before);
        QVERIFY(!QFileInfo::exists(file() + u"-wal"_qs));
    }

    // A write that cannot be made is told each time with its reason; the next one tries again.
    void triesAgainAfterAFailedWrite_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder cannot be made") << u"folder"_qs << u"не вдалося створити теку"_qs;
        QTest::newRow("locked past the timeout") << u"lock"_qs << u"зайнятий іншою копією"_qs;
    }
    void triesAgainAfterAFailedWrite()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, reason);
        ProgressRecord record(file());
        record.busyTimeoutMs = 50;
        std::optional<OtherCopy> other;
        if (blocker == u"folder") {
            QFile inTheWay(dir->path() + u"/vesk3"_qs);
            QVERIFY(inTheWay.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(record.keep(training(1), entries(1)));
            other.emplace(file());
            QVERIFY(other->query(u"BEGIN IMMEDIATE"_qs).isActive());
        }
        QVERIFY(!record.keep(training(3), entries(3)));
        QVERIFY(!record.keep(training(5), entries(5)));
        const QStringList messages = record.takeMessages();
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[0].contains(reason), qPrintable(messages[0]));

        if (other)
            other->query(u"ROLLBACK"_qs);
        else
            QVERIFY(QFile::remove(dir->path() + u"/vesk3"_qs));
        QVERIFY(record.keep(training(7), entries(7)));
        QVERIFY(record.takeMessages().isEmpty());
        QCOMPARE(record.tests().front().fromQuestion, 7);
    }

    // Two copies of the program write in turn while a third reads: none of them waits for the reader.
    void twoCopiesBothKeep()
    {
        ProgressRecord first(file());
        ProgressRecord second(file());
        first.busyTimeoutMs = second.busyTimeoutMs = 50;
        QVERIFY(first.keep(training(1), entries(1)));
        OtherCopy reader(file());
        QSqlQuery reading = reader.query(u"SELECT * FROM answers"_qs);
        QVERIFY(reading.next());
        QVERIFY(second.keep(training(3), entries(3)));
        QVERIFY(first.keep(training(5), entries(5)));
        QCOMPARE(second.tests().size(), 3u);
        QVERIFY(first.takeMessages().isEmpty() && second.takeMessages().isEmpty());
    }

private:
    QString file() const { return dir->path() + u"/vesk3/progress.sqlite"_qs; }

    std::optional<QTemporaryDir> dir;
};

QTEST_GUILESS_MAIN(TestProgressRecord)
#include "tst_progressrecord.moc"
