#include "ProgressRecord.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace vesk3 {

namespace {

const QString Driver = u"QSQLITE"_qs;

// Each step takes the file from one version to the next: step k makes version k + 1 of version k.
const std::vector<QStringList> MigrationSteps{
    {
        u"CREATE TABLE tests ("
        "id INTEGER PRIMARY KEY, status INTEGER NOT NULL, mode INTEGER NOT NULL, subject TEXT,"
        " range_from INTEGER, range_to INTEGER, workbook TEXT NOT NULL, started INTEGER NOT NULL,"
        " finished INTEGER, seconds INTEGER NOT NULL, asked INTEGER NOT NULL, answered INTEGER NOT NULL,"
        " correct_count INTEGER NOT NULL, score REAL NOT NULL)"_qs,
        // Each question's figures over its showings are kept with it, so that the progress of a long history
        // reads without going through every answer: the answers given, the right ones, and the outcome of the
        // last showing (0 right, 1 wrong, 2 unanswered; NULL while never shown).
        u"CREATE TABLE questions (id INTEGER PRIMARY KEY, question_key BLOB NOT NULL UNIQUE,"
        " subject TEXT NOT NULL, answered INTEGER NOT NULL, correct_count INTEGER NOT NULL, last_outcome INTEGER)"_qs,
        u"CREATE TABLE answers ("
        "test INTEGER NOT NULL REFERENCES tests(id) ON DELETE CASCADE, entry INTEGER NOT NULL,"
        " question INTEGER NOT NULL REFERENCES questions(id), sheet_row INTEGER NOT NULL,"
        " chosen INTEGER NOT NULL, answer_order INTEGER NOT NULL, correct INTEGER NOT NULL,"
        " bookmarked INTEGER NOT NULL, shown INTEGER NOT NULL, PRIMARY KEY (test, entry)) WITHOUT ROWID"_qs,
    },
    // A running exam is taken up again at the entry it was on, against its own time limit (seconds, NULL
    // when it is not timed).
    {
        u"ALTER TABLE tests ADD COLUMN on_screen INTEGER"_qs,
        u"ALTER TABLE tests ADD COLUMN time_limit INTEGER"_qs,
    },
};

// The outcome of a question's last showing is stored as its value here.
static_assert(int(ReviewOutcome::Right) == 0 && int(ReviewOutcome::Wrong) == 1 &&
              int(ReviewOutcome::Unanswered) == 2);

const QString ReadFailed = u"Історію тестів не вдалося прочитати: %1."_qs;
const QString ClearFailed = u"Історію тестів не вдалося очистити: %1."_qs;
const QString ExamKeepFailed =
    u"Цей екзамен більше не вдається зберігати в історії: %1. Його можна продовжувати, і після завершення "
    "результати буде показано; але якщо програма закриється раніше, відповіді, дані відтепер, буде втрачено."_qs;

// The columns of a test, in the order testsWith() reads them.
const QString TestColumns = u"id, status, started, finished, mode, subject, range_from, range_to, workbook,"
                            " seconds, asked, answered, correct_count, score, on_screen, time_limit"_qs;

// A failure of the history file: why, in words for the user, and whether the file itself is damaged.
struct RecordFailure
{
    QString reason;
    bool damage = false;
};

// SQLite's primary result codes that the user's words tell apart.
enum SqliteCode
{
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADatabase = 26
};

RecordFailure failureOf(const QSqlError &error)
{
    switch (error.nativeErrorCode().toInt() & 0xFF) {
    case Busy:
    case Locked:
        return {u"файл історії зайнятий іншою копією програми"_qs};
    case ReadOnly:
        return {u"файл історії доступний лише для читання"_qs};
    case IoError:
        return {u"помилка читання або запису на диску"_qs};
    case Corrupt:
        return {u"файл історії пошкоджено"_qs, true};
    case Full:
        return {u"на диску немає місця"_qs};
    case CantOpen:
        return {u"файл історії не вдається відкрити"_qs};
    case NotADatabase:
        return {u"файл історії не є базою даних SQLite"_qs, true};
    default:
        return {error.text()};
    }
}

QSqlQuery prepared(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw failureOf(query.lastError());
    return query;
}

void execute(QSqlQuery &query)
{
    if (!query.exec())
        throw failureOf(query.lastError());
}

QSqlQuery executed(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query = prepared(db, sql);
    execute(query);
    return query;
}

int userVersion(QSqlDatabase &db)
{
    QSqlQuery query = executed(db, u"PRAGMA user_version"_qs);
    return query.next() ? query.value(0).toInt() : 0;
}

// BEGIN IMMEDIATE takes the write lock at once, so that two copies of the program queue for it within the
// busy timeout instead of failing when one of them finds its snapshot taken over.
void inTransaction(QSqlDatabase &db, const std::function<void()> &work)
{
    executed(db, u"BEGIN IMMEDIATE"_qs);
    try {
        work();
        executed(db, u"COMMIT"_qs);
    } catch (...) {
        QSqlQuery(db).exec(u"ROLLBACK"_qs);
        throw;
    }
}

QDateTime timeOf(const QVariant &seconds)
{
    return seconds.isNull() ? QDateTime() : QDateTime::fromSecsSinceEpoch(seconds.toLongLong());
}

QVariant secondsOf(const QDateTime &time)
{
    return time.isValid() ? QVariant(time.toSecsSinceEpoch()) : QVariant();
}

// The columns shown at A to E as the digits of one number: 34567 for the worksheet's order.
qint64 packedOrder(const std::array<std::int32_t, bank::AnswerCount> &order)
{
    qint64 packed = 0;
    for (const std::int32_t column : order)
        packed = packed * 10 + column;
    return packed;
}

std::array<std::int32_t, bank::AnswerCount> unpackedOrder(qint64 packed)
{
    std::array<std::int32_t, bank::AnswerCount> order{};
    for (auto column = order.rbegin(); column != order.rend(); ++column, packed /= 10)
        *column = std::int32_t(packed % 10);
    return order;
}

} // namespace

QString ProgressRecord::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           u"/vesk3/progress.sqlite"_qs;
}

ProgressRecord::ProgressRecord(QString file)
    : path(std::move(file)), connection(u"vesk3-progress-%1"_qs.arg(quintptr(this)))
{}

ProgressRecord::~ProgressRecord()
{
    close();
}

QString ProgressRecord::keepFailure(const QString &reason)
{
    return u"Результат цього тесту не вдалося зберегти в історії: %1. Наступний тест програма спробує "
           u"зберегти"
           " знову."_qs.arg(reason);
}

QString ProgressRecord::examKeepFailure(const QString &reason)
{
    return ExamKeepFailed.arg(reason);
}

QString ProgressRecord::file()
{
    if (path.isEmpty())
        path = defaultFile();
    return path;
}

bool ProgressRecord::keep(const TestSummary &test, const std::vector<KeptEntry> &entries)
{
    return run(keepFailure(u"%1"_qs), [&](QSqlDatabase &db) {
        inTransaction(db, [&] { storeEntries(db, storeTest(db, test), entries, true); });
    });
}

// The running exam of the test's id becomes the test; any other test is added. Its id either way.
qint64 ProgressRecord::storeTest(QSqlDatabase &db, const TestSummary &test)
{
    const bool running = test.status == TestStatus::Running;
    const QVariantList values{int(test.status),
                              test.exam ? 0 : 1,
                              test.exam ? QVariant() : QVariant(test.subject),
                              test.exam ? QVariant() : QVariant(test.fromQuestion),
                              test.exam ? QVariant() : QVariant(test.toQuestion),
                              test.workbook,
                              secondsOf(test.started),
                              secondsOf(test.finished),
                              test.seconds,
                              test.asked,
                              test.answered,
                              test.right,
                              test.score,
                              running ? QVariant(test.onScreen) : QVariant(),
                              test.limitSeconds > 0 ? QVariant(test.limitSeconds) : QVariant()};
    const auto bind = [&values](QSqlQuery &query) {
        for (const QVariant &value : values)
            query.addBindValue(value);
    };
    if (test.id != 0) {
        QSqlQuery update = prepared(
            db,
            u"UPDATE tests SET status = ?, mode = ?, subject = ?, range_from = ?, range_to = ?, workbook = ?,"
            " started = ?, finished = ?, seconds = ?, asked = ?, answered = ?, correct_count = ?, score = ?,"
            " on_screen = ?, time_limit = ? WHERE id = ? AND status = 2"_qs);
        bind(update);
        update.addBindValue(test.id);
        execute(update);
        if (update.numRowsAffected() == 1)
            return test.id;
    }
    QSqlQuery insert = prepared(
        db, u"INSERT INTO tests (status, mode, subject, range_from, range_to, workbook, started, finished,"
            " seconds, asked, answered, correct_count, score, on_screen, time_limit)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_qs);
    bind(insert);
    execute(insert);
    return insert.lastInsertId().toLongLong();
}

// The entries of a test, over what it kept before; only `counted` ones go into their questions' figures.
void ProgressRecord::storeEntries(QSqlDatabase &db, qint64 test, const std::vector<KeptEntry> &entries,
                                  bool counted)
{
    QSqlQuery question = prepared(
        db,
        u"INSERT INTO questions (question_key, subject, answered, correct_count, last_outcome)"
        " VALUES (?, ?, ?, ?, ?) ON CONFLICT (question_key) DO UPDATE SET subject = excluded.subject,"
        " answered = answered + excluded.answered, correct_count = correct_count + excluded.correct_count,"
        " last_outcome = coalesce(excluded.last_outcome, last_outcome) RETURNING id"_qs);
    QSqlQuery answer = prepared(
        db,
        u"INSERT INTO answers (test, entry, question, sheet_row, chosen, answer_order, correct, bookmarked,"
        " shown) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (test, entry) DO UPDATE SET"
        " question = excluded.question, sheet_row = excluded.sheet_row, chosen = excluded.chosen,"
        " answer_order = excluded.answer_order, correct = excluded.correct,"
        " bookmarked = excluded.bookmarked, shown = excluded.shown"_qs);
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const ReviewEntry &entry = entries[index].entry;
        for (const QVariant &value :
             {QVariant(entries[index].key), QVariant(entry.Subject),
              QVariant(int(counted && entry.ChosenColumn != 0)), QVariant(int(counted && entry.Right)),
              counted && entry.Shown ? QVariant(int(entry.outcome())) : QVariant()})
            question.addBindValue(value);
        execute(question);
        if (!question.next())
            throw failureOf(question.lastError());
        const QVariant questionId = question.value(0);
        question.finish();
        for (const QVariant &value :
             {QVariant(test), QVariant(qint64(index) + 1), questionId, QVariant(entry.Number),
              QVariant(entry.ChosenColumn), QVariant(packedOrder(entry.ChosenOrder)),
              QVariant(int(entry.Right)), QVariant(int(entry.Bookmarked)), QVariant(int(entry.Shown))})
            answer.addBindValue(value);
        execute(answer);
    }
}

std::unique_ptr<QLockFile> ProgressRecord::beginExam(TestSummary &test, const std::vector<KeptEntry> &entries)
{
    test.status = TestStatus::Running;
    test.id = 0;
    std::unique_ptr<QLockFile> claim;
    const bool kept = run(ExamKeepFailed, [&](QSqlDatabase &db) {
        inTransaction(db, [&] {
            const qint64 id = storeTest(db, test);
            storeEntries(db, id, entries, false);
            // Claimed before the exam shows to other copies of the program, so that none finds it unclaimed.
            claim = claimExam(id);
            if (!claim)
                throw RecordFailure{u"файл блокування екзамену не вдалося створити"_qs};
            test.id = id;
        });
    });
    if (!kept) {
        claim.reset();
        test.id = 0;
    }
    return claim;
}

bool ProgressRecord::keepExamEntry(const TestSummary &test, int entry, const ReviewEntry &state)
{
    return run(ExamKeepFailed, [&](QSqlDatabase &db) {
        // A file deleted under an open connection takes every write after it with it, unseen.
        if (!QFileInfo::exists(file()))
            throw RecordFailure{u"файл історії зник з диска"_qs};
        inTransaction(db, [&] {
            QSqlQuery &answer =
                statement(db, u"UPDATE answers SET sheet_row = ?, chosen = ?, answer_order = ?, correct = ?,"
                              " bookmarked = ?, shown = ? WHERE test = ? AND entry = ?"_qs);
            for (const QVariant &value : {QVariant(state.Number), QVariant(state.ChosenColumn),
                                          QVariant(packedOrder(state.ChosenOrder)),
                                          QVariant(int(state.Right)), QVariant(int(state.Bookmarked)),
                                          QVariant(int(state.Shown)), QVariant(test.id), QVariant(entry)})
                answer.addBindValue(value);
            execute(answer);
            QSqlQuery &place =
                statement(db, u"UPDATE tests SET on_screen = ?, seconds = ? WHERE id = ? AND status = 2"_qs);
            for (const QVariant &value : {QVariant(test.onScreen), QVariant(test.seconds), QVariant(test.id)})
                place.addBindValue(value);
            execute(place);
            if (place.numRowsAffected() != 1)
                throw RecordFailure{u"екзамену вже немає в історії"_qs};
        });
    });
}

std::vector<TestSummary> ProgressRecord::runningExams()
{
    return testsWith(u"status = 2"_qs);
}

std::unique_ptr<QLockFile> ProgressRecord::claimExam(qint64 test)
{
    auto claim = std::make_unique<QLockFile>(QFileInfo(file()).dir().filePath(u"exam-%1.lock"_qs.arg(test)));
    // Only a claim of a process that is gone is stale, however long an exam takes.
    claim->setStaleLockTime(0);
    if (!claim->tryLock(0))
        return nullptr;
    return claim;
}

std::vector<TestSummary> ProgressRecord::tests()
{
    return testsWith(u"status IN (0, 1)"_qs);
}

std::vector<TestSummary> ProgressRecord::testsWith(const QString &condition)
{
    std::vector<TestSummary> list;
    run(ReadFailed, [&](QSqlDatabase &db) {
        QSqlQuery query = executed(db, u"SELECT "_qs + TestColumns + u" FROM tests WHERE "_qs + condition +
                                           u" ORDER BY coalesce(finished, started) DESC, id DESC"_qs);
        while (query.next()) {
            TestSummary test;
            test.id = query.value(0).toLongLong();
            test.status = TestStatus(query.value(1).toInt());
            test.started = timeOf(query.value(2));
            test.finished = timeOf(query.value(3));
            test.exam = query.value(4).toInt() == 0;
            test.subject = query.value(5).toString();
            test.fromQuestion = query.value(6).toInt();
            test.toQuestion = query.value(7).toInt();
            test.workbook = query.value(8).toString();
            test.seconds = query.value(9).toLongLong();
            test.asked = query.value(10).toInt();
            test.answered = query.value(11).toInt();
            test.right = query.value(12).toInt();
            test.score = query.value(13).toDouble();
            test.onScreen = query.value(14).toInt();
            test.limitSeconds = query.value(15).toLongLong();
            list.push_back(test);
        }
    });
    return list;
}

std::vector<QuestionHistory> ProgressRecord::questions()
{
    std::vector<QuestionHistory> list;
    run(ReadFailed, [&list](QSqlDatabase &db) {
        QSqlQuery query = executed(db, u"SELECT question_key, subject, answered, correct_count, last_outcome"
                                       " FROM questions WHERE last_outcome IS NOT NULL"_qs);
        while (query.next())
            list.push_back({query.value(0).toByteArray(), query.value(1).toString(), query.value(2).toInt(),
                            query.value(3).toInt(), ReviewOutcome(query.value(4).toInt())});
    });
    return list;
}

std::vector<KeptEntry> ProgressRecord::entriesOf(qint64 test)
{
    std::vector<KeptEntry> list;
    run(ReadFailed, [&list, test](QSqlDatabase &db) {
        QSqlQuery query = prepared(
            db, u"SELECT q.question_key, q.subject, a.sheet_row, a.chosen, a.answer_order, a.correct,"
                " a.bookmarked, a.shown FROM answers a JOIN questions q ON q.id = a.question"
                " WHERE a.test = ? ORDER BY a.entry"_qs);
        query.addBindValue(test);
        execute(query);
        while (query.next()) {
            ReviewEntry entry{query.value(1).toString(), query.value(2).toInt(),
                              query.value(3).toInt(),    unpackedOrder(query.value(4).toLongLong()),
                              query.value(5).toBool(),   query.value(6).toBool(),
                              query.value(7).toBool()};
            list.push_back({entry, query.value(0).toByteArray()});
        }
    });
    return list;
}

bool ProgressRecord::clear()
{
    return run(ClearFailed, [](QSqlDatabase &db) {
        // An exam that another copy of the program is running stays, with its questions.
        inTransaction(db, [&db] {
            for (const char16_t *statement :
                 {u"DELETE FROM answers WHERE test IN (SELECT id FROM tests WHERE status <> 2)",
                  u"DELETE FROM tests WHERE status <> 2",
                  u"DELETE FROM questions WHERE id NOT IN (SELECT question FROM answers)",
                  u"UPDATE questions SET answered = 0, correct_count = 0, last_outcome = NULL"})
                executed(db, QString::fromUtf16(statement));
        });
    });
}

// Runs `work` on the open file. A damaged file is set aside and the work tried once more on a new one; any
// other failure is told with `failure`, its %1 the reason, and the file is opened afresh next time.
bool ProgressRecord::run(const QString &failure, const std::function<void(QSqlDatabase &)> &work)
{
    for (bool retried = false;; retried = true) {
        try {
            if (state == State::Closed)
                open();
            if (state != State::Open)
                return false;
            QSqlDatabase db = QSqlDatabase::database(connection, false);
            work(db);
            return true;
        } catch (const RecordFailure &error) {
            if (!error.damage || retried) {
                close();
                messages.append(failure.arg(error.reason));
                return false;
            }
            setAside(error.reason);
        }
    }
}

void ProgressRecord::open()
{
    if (!QSqlDatabase::isDriverAvailable(Driver))
        throw RecordFailure{u"у системі немає драйвера SQLite для Qt (пакет libqt6sql6-sqlite)"_qs};
    const QFileInfo info(file());
    if (!QDir().mkpath(info.absolutePath()))
        throw RecordFailure{
            u"не вдалося створити теку «%1»"_qs.arg(QDir::toNativeSeparators(info.absolutePath()))};
    state = State::Open;
    QSqlDatabase db = QSqlDatabase::addDatabase(Driver, connection);
    db.setDatabaseName(info.absoluteFilePath());
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_qs.arg(busyTimeoutMs));
    if (!db.open())
        throw failureOf(db.lastError());
    // Nothing is written before the version is known: a newer program's file stays as it was.
    if (userVersion(db) > SchemaVersion) {
        db = {};
        close();
        state = State::Refused;
        messages.append(
            u"Історію тестів у файлі «%1» записала новіша версія програми. Файл залишено без змін;"
            " результати цього сеансу в історії не зберігатимуться."_qs.arg(
                QDir::toNativeSeparators(info.absoluteFilePath())));
        return;
    }
    QSqlQuery check = executed(db, u"PRAGMA integrity_check"_qs);
    if (!check.next() || check.value(0).toString() != u"ok")
        throw RecordFailure{u"файл історії пошкоджено (так показала перевірка цілісності)"_qs, true};
    check.finish();
    executed(db, u"PRAGMA journal_mode = WAL"_qs);
    // In WAL mode a test finished stays kept when the program is killed; only a power cut may lose the last.
    executed(db, u"PRAGMA synchronous = NORMAL"_qs);
    executed(db, u"PRAGMA foreign_keys = ON"_qs);
    migrate(db);
}

// Another copy of the program may be migrating at the same moment: the version is read again under the lock.
void ProgressRecord::migrate(QSqlDatabase &db)
{
    if (userVersion(db) == SchemaVersion)
        return;
    inTransaction(db, [&db] {
        for (int version = userVersion(db); version < SchemaVersion; ++version) {
            for (const QString &statement : MigrationSteps[std::size_t(version)])
                executed(db, statement);
        }
        executed(db, u"PRAGMA user_version = %1"_qs.arg(SchemaVersion));
    });
}

QSqlQuery &ProgressRecord::statement(QSqlDatabase &db, const QString &sql)
{
    auto kept = statements.find(sql);
    if (kept == statements.end())
        kept = statements.emplace(sql, prepared(db, sql)).first;
    return kept->second;
}

void ProgressRecord::close()
{
    statements.clear();
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase::database(connection, false).close();
        QSqlDatabase::removeDatabase(connection);
    }
    if (state == State::Open)
        state = State::Closed;
}

// The damaged file keeps its content under a dated name beside; the history starts again in a new file.
void ProgressRecord::setAside(const QString &reason)
{
    close();
    const QFileInfo info(file());
    const QString stamp = QDateTime::currentDateTime().toString(u"yyyy-MM-dd-HHmmss"_qs);
    QString aside;
    for (int copy = 1; aside.isEmpty() || QFileInfo::exists(aside); ++copy)
        aside = info.dir().filePath(
            u"progress-damaged-%1%2.sqlite"_qs.arg(stamp, copy == 1 ? QString() : u"-%1"_qs.arg(copy)));
    const QString shown = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!QFile::rename(info.absoluteFilePath(), aside)) {
        state = State::Refused;
        messages.append(
            u"Історію тестів у файлі «%1» не можна використати: %2. Файл не вдалося перейменувати,"
            " тож результати цього сеансу в історії не зберігатимуться."_qs.arg(shown, reason));
        return;
    }
    QFile::rename(info.absoluteFilePath() + u"-wal"_qs, aside + u"-wal"_qs);
    QFile::remove(info.absoluteFilePath() + u"-shm"_qs);
    messages.append(u"Історію тестів у файлі «%1» не можна використати: %2. Файл збережено під назвою «%3»,"
                    " а історія починається заново."_qs.arg(shown, reason, QFileInfo(aside).fileName()));
}

} // namespace vesk3
