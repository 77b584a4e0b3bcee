#pragma once

#include "TestReview.h"

#include <QByteArray>
#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class QLockFile;
class QSqlDatabase;

namespace vesk3 {

// Where a test stands in the history: an exam is kept as running from its Start, so that it can be taken up
// again after the program ended without finishing it; one not taken up is kept as unfinished.
enum class TestStatus
{
    Finished = 0,
    Unfinished = 1,
    Running = 2
};

// One test as the history keeps it, with its figures as the results dialog showed them.
struct TestSummary
{
    qint64 id = 0;
    TestStatus status = TestStatus::Finished;
    QDateTime started;
    QDateTime finished;
    bool exam = true;
    // Training: the subject's worksheet, and the range; a range of 0 to 0 is a run over the mistakes.
    QString subject;
    std::int32_t fromQuestion = 0;
    std::int32_t toQuestion = 0;
    // The workbook's file name.
    QString workbook;
    int asked = 0;
    int answered = 0;
    int right = 0;
    double score = 0;
    qint64 seconds = 0;
    // A running exam: the entry on screen, and the time it may take in seconds (0 when it is not timed).
    std::int32_t onScreen = 0;
    qint64 limitSeconds = 0;

    bool overMistakes() const { return !exam && fromQuestion == 0; }
};

// One question of a kept test: as the review holds it (its Number the row when it was asked), and its key.
struct KeptEntry
{
    ReviewEntry entry;
    QByteArray key;
};

// Every showing of one question, summed up.
struct QuestionHistory
{
    QByteArray key;
    QString subject;
    int answered = 0;
    int right = 0;
    // The outcome of the last showing.
    ReviewOutcome last = ReviewOutcome::Unanswered;
};

// The history of tests in an SQLite file, opened at its first use, and the exam in progress, kept change by
// change so that it outlives the program. The history is never required:
// what goes wrong is told in messages for the user (takeMessages) and the program goes on. A damaged file
// is kept aside under a dated name and a new history begins; a file of a newer version is left untouched
// and nothing is kept in this run; a failed write is told and the next one tries again.
class ProgressRecord
{
public:
    static constexpr int SchemaVersion = 2;

    // progress.sqlite in the folder vesk3 of the user's data folder.
    static QString defaultFile();

    // The file as given; an empty name means defaultFile(), looked up at the first use.
    explicit ProgressRecord(QString file = {});
    ~ProgressRecord();
    ProgressRecord(const ProgressRecord &) = delete;
    ProgressRecord &operator=(const ProgressRecord &) = delete;

    // Keeps a finished or unfinished test with its questions in one transaction; a running exam of the record
    // (by its id) becomes that test. False when it could not.
    bool keep(const TestSummary &test, const std::vector<KeptEntry> &entries);
    // The finished and unfinished tests, newest first.
    std::vector<TestSummary> tests();

    // Keeps an exam from its Start as running, with its entries, and claims it for this copy of the program;
    // sets the test's id. The claim, or none when the exam could not be kept.
    std::unique_ptr<QLockFile> beginExam(TestSummary &test, const std::vector<KeptEntry> &entries);
    // One change of a running exam in a transaction of its own: entry `entry` as it stands now, the entry on
    // screen and the time used.
    bool keepExamEntry(const TestSummary &test, int entry, const ReviewEntry &state);
    // The running exams that no other copy of the program claims, newest first.
    std::vector<TestSummary> runningExams();
    // The claim of a running exam: held while a copy of the program runs it, taken over from a copy that
    // died; none while another running copy holds it.
    std::unique_ptr<QLockFile> claimExam(qint64 test);
    // Every question ever shown.
    std::vector<QuestionHistory> questions();
    // A test's questions in their order.
    std::vector<KeptEntry> entriesOf(qint64 test);
    // Forgets every test.
    bool clear();

    // The message that a finished test could not be kept, and why.
    static QString keepFailure(const QString &reason);
    // The message that a running exam can no longer be kept, and why.
    static QString examKeepFailure(const QString &reason);

    // What the user must be told since the last call, each text a message of its own.
    QStringList takeMessages() { return std::exchange(messages, {}); }
    QString file();

    // How long a write waits for another copy of the program to finish its own.
    int busyTimeoutMs = 5000;

private:
    enum class State
    {
        Closed,
        Open,
        Refused
    };

    bool run(const QString &failure, const std::function<void(QSqlDatabase &)> &work);
    qint64 storeTest(QSqlDatabase &db, const TestSummary &test);
    void storeEntries(QSqlDatabase &db, qint64 test, const std::vector<KeptEntry> &entries, bool counted);
    QSqlQuery &statement(QSqlDatabase &db, const QString &sql);
    std::vector<TestSummary> testsWith(const QString &condition);
    void open();
    void migrate(QSqlDatabase &db);
    void close();
    void setAside(const QString &reason);

    QString path;
    QString connection;
    State state = State::Closed;
    QStringList messages;
    // The statements of each change of a running exam, prepared once per opening.
    std::map<QString, QSqlQuery> statements;
};

} // namespace vesk3
