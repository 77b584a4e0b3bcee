#include "BankError.h"
#include "BankLoading.h"
#include "ExcelApplication.h"
#include "QuestionBank.h"

#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

using bank::BankSizes;
using bank::ExamObstacle;
using bank::ExcelApplication;

Q_DECLARE_METATYPE(BankSizes)

namespace {

const workbook::TextFormat Ukrainian{",", "dd.MM.yyyy"};

std::string fixture(const QString &name)
{
    return QStringLiteral(VESK3_FIXTURES "/%1").arg(name).toStdString();
}

// A workbook loaded with its progress recorded; error holds a BankError's text.
struct Loading
{
    ExcelApplication excel{Ukrainian};
    BankSizes sizes{};
    QList<int> progress;
    QString error;

    explicit Loading(const std::string &path)
    {
        try {
            bank::loadQuestionBank(excel, path, sizes, [this](int position) { progress.append(position); });
        } catch (const workbook::BankError &failure) {
            error = QString::fromUtf8(failure.what());
        }
    }
    QString worksheet() const { return QString::fromStdString(excel.worksheetName()); }
    QString activeSheet() const { return QString::fromStdString(excel.activeSheetName()); }
};

} // namespace

class TestBankLoading : public QObject
{
    Q_OBJECT

private slots:
    // Each subject's share of the exam, and what stands in the way of an exam as the user reads it.
    void sharesAndObstacles_data()
    {
        QTest::addColumn<BankSizes>("sizes");
        QTest::addColumn<BankSizes>("shares");
        QTest::addColumn<QString>("obstacle");
        const auto row = [](const char *name, const BankSizes &sizes, const BankSizes &shares,
                            const QString &obstacle = {}) {
            QTest::newRow(name) << sizes << shares << obstacle;
        };
        const QString impossible = u": екзамен скласти неможливо."_qs;
        row("halves round down to even", {5, 5, 5, 5, 380}, {2, 2, 2, 2, 192});
        row("halves round up to even", {7, 7, 7, 7, 372}, {4, 4, 4, 4, 184});
        row("exactly their shares", {40, 40, 40, 40, 40}, {40, 40, 40, 40, 40});
        // The product would overflow 32 bits.
        row("huge banks", {2000000000, 1000000000, 0, 0, 1000000000}, {100, 50, 0, 0, 50});
        row("last takes the rest", {1, 1, 1, 1, 0}, {50, 50, 50, 50, 0},
            u"На аркуші «Therapy» 1 питання, а екзамен бере з нього 50"_qs + impossible);
        row("small first bank", {10, 10, 10, 10, 10}, {40, 40, 40, 40, 40},
            u"На аркуші «Therapy» 10 питань, а екзамен бере з нього 40"_qs + impossible);
        // Infection's share is 2 although the total is far above 200.
        row("rest above last bank", {150, 150, 150, 255, 1}, {42, 42, 42, 72, 2},
            u"На аркуші «Infection» 1 питання, а екзамен бере з нього 2"_qs + impossible);
        // 29 + 29 + 29 + 114 = 201 leaves -1 for the last subject.
        row("first four above 200", {1, 1, 1, 4, 0}, {29, 29, 29, 114, -1},
            u"Частки перших чотирьох предметів разом перевищують 200 питань"_qs + impossible);
        row("empty", {}, {}, u"Немає жодного питання"_qs + impossible);
    }
    void sharesAndObstacles()
    {
        QFETCH(BankSizes, sizes);
        QFETCH(BankSizes, shares);
        QFETCH(QString, obstacle);
        if (sizes == BankSizes{})
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bank::examShares(sizes));
        else
            QCOMPARE(bank::examShares(sizes), shares);
        const std::optional<ExamObstacle> found = bank::examObstacle(sizes);
        QCOMPARE(found ? QString::fromStdString(found->text()) : QString(), obstacle);
        for (const auto &[count, words] :
             {std::pair{5, "5 питань"}, {11, "11 питань"}, {21, "21 питання"}, {112, "112 питань"}})
            QCOMPARE(QString::fromStdString(bank::questionsText(count)), QString::fromUtf8(words));
    }

    // A colon and a backslash are ordinary characters of a file name here, not separators.
    void workbookLiesBesideTheExecutable()
    {
        QCOMPARE(bank::workbookPath("/opt/vesk3/vesk3"), "/opt/vesk3/vesk3_2005.xls");
        QCOMPARE(bank::workbookPath("/media/c:/a\\b"), "/media/c:/vesk3_2005.xls");
        QCOMPARE(bank::workbookPath("/vesk3"), "/vesk3_2005.xls");
        const ExcelApplication excel(Ukrainian);
        QVERIFY(excel.IsServerInstalled("Excel.Application") &&
                !excel.IsServerInstalled("excel.application"));
    }

    // The loading counts every subject and leaves Therapy active, or stops at the failing step; counts and
    // progress made before it stay.
    void loading_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<BankSizes>("counts");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<QString>("worksheet");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *name, const char *file, const BankSizes &counts,
                            const QList<int> &progress, const char *worksheet, const QString &error = {}) {
            QTest::newRow(name) << QString(file) << counts << progress << QString(worksheet) << error;
        };
        const QList<int> all{20, 40, 60, 80, 100, 120, 140};
        row("smallest and 200", "bank-one.xls", {200, 1, 1, 1, 1}, all, "Therapy");
        // Found as the spreadsheet server found it, without regard to the letter case.
        row("sheet name in lower case", "bank-case.xls", {12, 9, 7, 5, 4}, all, "therapy");
        row("workbook absent", "absent/vesk3_2005.xls", {}, {20}, "", "vesk3_2005.xls");
        row("not a workbook", "not-a-workbook.xls", {}, {20}, "", "not-a-workbook.xls");
        row("sheet missing", "bank-missing-sheet.xls", {12, 9, 0, 0, 0}, {20, 40, 60, 80}, "Surgery",
            u"«Pediatry»"_qs);
        row("marker missing", "bank-no-marker.xls", {12, 9, 0, 0, 0}, {20, 40, 60, 80}, "Pediatry",
            "Pediatry");
    }
    void loading()
    {
        QFETCH(QString, file);
        QFETCH(BankSizes, counts);
        QFETCH(QList<int>, progress);
        QFETCH(QString, worksheet);
        QFETCH(QString, error);
        const Loading loaded(fixture(file));
        QVERIFY2(error.isEmpty() ? loaded.error.isEmpty() : loaded.error.contains(error),
                 qPrintable(loaded.error));
        QCOMPARE(loaded.sizes, counts);
        QCOMPARE(loaded.progress, progress);
        QCOMPARE(loaded.worksheet(), worksheet);
        QCOMPARE(loaded.activeSheet(), error.isEmpty() ? worksheet : "");
        QCOMPARE(loaded.excel.calls().activations, error.isEmpty() ? 1 : 0);
        QVERIFY(loaded.excel.isConnected() && !loaded.excel.displayAlerts());
    }

    // Files are copies of bank.xls (12 Therapy questions) and bank-one.xls (200): the reader goes by content.
    void workbookChosenInOrder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("therapy");
        QTest::newRow(".xls first") << QStringList{"bank-one.xls", "bank.xls", "bank.xls"} << 200;
        QTest::newRow(".xlsx before .ods") << QStringList{"", "bank-one.xls", "bank.xls"} << 200;
        QTest::newRow(".ods alone") << QStringList{"", "", "bank.xls"} << 12;
        QTest::newRow("none") << QStringList{"", "", ""} << 0;
    }
    void workbookChosenInOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(int, therapy);
        QTemporaryDir folder;
        for (int k = 0; k < files.size(); ++k) {
            const QString name = u"vesk3_2005"_qs + QString::fromUtf8(bank::WorkbookExtensions[k]);
            QVERIFY(files[k].isEmpty() ||
                    QFile::copy(QString::fromStdString(fixture(files[k])), folder.filePath(name)));
        }
        const Loading loaded(folder.filePath("vesk3_2005.xls").toStdString());
        QCOMPARE(loaded.sizes[0], therapy);
        if (therapy == 0)
            QCOMPARE(loaded.error,
                     "У теці «" + folder.path() +
                         "» немає книги питань: жодного з файлів «vesk3_2005.xls», "
                         "«vesk3_2005.xlsx», «vesk3_2005.ods». Покладіть туди книгу питань у форматі "
                         ".xls, .xlsx або .ods.");
    }

    // The review reads a question whole from its row; an empty answer keeps its place.
    void questionIsReadFromItsRow()
    {
        Loading loaded(fixture("bank.xls"));
        const bank::QuestionTexts texts = bank::ReadQuestion(loaded.excel, "Therapy", 6);
        QString all = QString::fromStdString(texts.question);
        for (const std::string &answer : texts.answers)
            all += '|' + QString::fromStdString(answer);
        QCOMPARE(all, u"Питання 6 з терапії|Правильна відповідь 6|Неправильна 6.1||Неправильна 6.3|"
                      "Неправильна 6.4"_qs);
    }

    // After the loading "Therapy" is current; only a change of subject looks a sheet up and activates it.
    void sheetChangesOnlyWithTheSubject_data()
    {
        QTest::addColumn<QStringList>("subjects");
        QTest::addColumn<int>("changes");
        QTest::addColumn<QString>("active");
        QTest::newRow("same subject") << QStringList{"Therapy", "Therapy"} << 0 << "Therapy";
        // Subject names compare exactly: the sheet is looked up again, and found whatever the case.
        QTest::newRow("other case") << QStringList{"therapy"} << 1 << "Therapy";
        QTest::newRow("there and back") << QStringList{"Surgery", "Therapy", "Therapy"} << 2 << "Therapy";
    }
    void sheetChangesOnlyWithTheSubject()
    {
        QFETCH(QStringList, subjects);
        QFETCH(int, changes);
        QFETCH(QString, active);
        Loading loaded(fixture("bank.xls"));
        const ExcelApplication::Calls before = loaded.excel.calls();
        for (const QString &subject : subjects)
            bank::ReadQuestion(loaded.excel, subject.toStdString(), 1);
        QCOMPARE(loaded.excel.calls().sheetLookups - before.sheetLookups, changes);
        QCOMPARE(loaded.excel.calls().activations - before.activations, changes);
        QCOMPARE(loaded.activeSheet(), active);
        QCOMPARE(loaded.worksheet(), active);
    }

    // After a failed loading or a quit a question can still be asked for; the answer is an error, never a
    // crash.
    void readingWithoutAWorkbookIsAnError()
    {
        for (const char *file : {"absent/vesk3_2005.xls", "bank.xls"}) {
            Loading loaded(fixture(file));
            if (loaded.error.isEmpty())
                loaded.excel.quit();
            QCOMPARE(loaded.activeSheet() + loaded.worksheet(), "");
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, bank::ReadQuestion(loaded.excel, "Therapy", 1));
            QVERIFY_THROWS_EXCEPTION(workbook::BankError, bank::CountQuestions(loaded.excel));
        }
    }
};

QTEST_GUILESS_MAIN(TestBankLoading)
#include "tst_bankloading.moc"
