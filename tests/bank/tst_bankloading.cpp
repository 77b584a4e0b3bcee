#include "BankError.h"
#include "BankLoading.h"
#include "ExcelApplication.h"

#include <QTest>

using bank::BankSizes;
using bank::ExcelApplication;

Q_DECLARE_METATYPE(BankSizes)

namespace {

const workbook::TextFormat Ukrainian{",", "dd.MM.yyyy"};

std::string fixture(const QString &name)
{
    return QStringLiteral(VESK3_FIXTURES "/%1").arg(name).toStdString();
}

// Loads a workbook, recording the progress; a BankError's text is returned, or "" on success.
QString load(ExcelApplication &excel, const std::string &path, BankSizes &sizes, QList<int> &progress)
{
    try {
        bank::loadQuestionBank(excel, path, sizes, [&progress](int position) { progress.append(position); });
    } catch (const workbook::BankError &error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

QString worksheetOf(const ExcelApplication &excel)
{
    return QString::fromStdString(excel.worksheetName());
}

} // namespace

class TestBankLoading : public QObject
{
    Q_OBJECT

private slots:
    void workbookLiesBesideTheExecutable_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("workbook");
        QTest::newRow("installed") << "/opt/vesk3/vesk3"
                                   << "/opt/vesk3/vesk3_2005.xls";
        QTest::newRow("root folder") << "/vesk3"
                                     << "/vesk3_2005.xls";
        QTest::newRow("dots and blanks") << "/home/u/my tests/v.1/vesk3"
                                         << "/home/u/my tests/v.1/vesk3_2005.xls";
        // A colon and a backslash are ordinary characters of a file name here, not separators.
        QTest::newRow("colon in folder") << "/media/c:/vesk3"
                                         << "/media/c:/vesk3_2005.xls";
        QTest::newRow("backslash in name") << "/srv/a\\b"
                                           << "/srv/vesk3_2005.xls";
    }
    void workbookLiesBesideTheExecutable()
    {
        QFETCH(QString, executable);
        QFETCH(QString, workbook);
        QCOMPARE(QString::fromStdString(bank::workbookPath(executable.toStdString())), workbook);
    }

    void registryKnowsOnlyTheSpreadsheetServer_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<bool>("installed");
        QTest::newRow("Excel.Application") << "Excel.Application" << true;
        QTest::newRow("other case") << "excel.application" << false;
        QTest::newRow("other server") << "Word.Application" << false;
        QTest::newRow("empty") << "" << false;
    }
    void registryKnowsOnlyTheSpreadsheetServer()
    {
        QFETCH(QString, progId);
        QFETCH(bool, installed);
        const ExcelApplication excel(Ukrainian);
        QCOMPARE(excel.IsServerInstalled(progId.toStdString()), installed);
    }

    void loadingCountsEverySubject_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<BankSizes>("counts");
        QTest::newRow("regular bank") << "bank.xls" << BankSizes{12, 9, 7, 5, 4};
        QTest::newRow("second writer") << "bank-gnumeric.xls" << BankSizes{12, 9, 7, 5, 4};
        QTest::newRow("smallest and 200") << "bank-one.xls" << BankSizes{200, 1, 1, 1, 1};
    }
    void loadingCountsEverySubject()
    {
        QFETCH(QString, file);
        QFETCH(BankSizes, counts);
        ExcelApplication excel(Ukrainian);
        BankSizes sizes{};
        QList<int> progress;
        QCOMPARE(load(excel, fixture(file), sizes, progress), QString());
        QCOMPARE(sizes, counts);
        QCOMPARE(progress, (QList<int>{20, 40, 60, 80, 100, 120, 140}));
        QVERIFY(excel.isConnected());
        QVERIFY(!excel.displayAlerts());
        QCOMPARE(worksheetOf(excel), "Therapy");
        QCOMPARE(QString::fromStdString(excel.activeSheetName()), "Therapy");
        QCOMPARE(excel.calls().activations, 1);
    }

    // The loading stops at the failing step; counts and progress made before it stay.
    void loadingStopsAtTheFailedStep_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<BankSizes>("counts");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<QString>("worksheet");
        QTest::addColumn<QString>("errorNames");
        QTest::newRow("workbook absent") << "absent/vesk3_2005.xls" << BankSizes{} << QList<int>{20} << ""
                                         << "vesk3_2005.xls";
        QTest::newRow("not a workbook") << "not-a-workbook.xls" << BankSizes{} << QList<int>{20} << ""
                                        << "not-a-workbook.xls";
        QTest::newRow("sheet missing") << "bank-missing-sheet.xls" << BankSizes{12, 9, 0, 0, 0}
                                       << QList<int>{20, 40, 60, 80} << "Surgery" << u"«Pediatry»"_qs;
        QTest::newRow("marker missing")
            << "bank-no-marker.xls" << BankSizes{12, 9, 0, 0, 0} << QList<int>{20, 40, 60, 80} << "Pediatry"
            << "Pediatry";
        QTest::newRow("first sheet misnamed")
            << "bank-case.xls" << BankSizes{} << QList<int>{20, 40} << "" << u"«Therapy»"_qs;
    }
    void loadingStopsAtTheFailedStep()
    {
        QFETCH(QString, file);
        QFETCH(BankSizes, counts);
        QFETCH(QList<int>, progress);
        QFETCH(QString, worksheet);
        QFETCH(QString, errorNames);
        ExcelApplication excel(Ukrainian);
        BankSizes sizes{};
        QList<int> reported;
        const QString error = load(excel, fixture(file), sizes, reported);
        QVERIFY2(error.contains(errorNames), qPrintable(error));
        QCOMPARE(sizes, counts);
        QCOMPARE(reported, progress);
        QCOMPARE(worksheetOf(excel), worksheet);
        QCOMPARE(QString::fromStdString(excel.activeSheetName()), "");
        QCOMPARE(excel.calls().activations, 0);
    }

    void questionIsReadFromItsRow_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("first of Therapy")
            << "Therapy" << 1 << u"Питання 1 з терапії"_qs
            << QStringList{u"Правильна відповідь 1"_qs, u"Неправильна 1.1"_qs, u"Неправильна 1.2"_qs,
                           u"Неправильна 1.3"_qs, u"Неправильна 1.4"_qs};
        QTest::newRow("last of Surgery")
            << "Surgery" << 9 << u"Питання 9 з хірургії"_qs
            << QStringList{u"Правильна відповідь 9"_qs, u"Неправильна 9.1"_qs, u"Неправильна 9.2"_qs,
                           u"Неправильна 9.3"_qs, u"Неправильна 9.4"_qs};
        QTest::newRow("numbers in the locale's writing") << "Therapy" << 5 << u"Питання 5 з терапії"_qs
                                                         << QStringList{"12", "0,5", "-3", "1000000", "2,25"};
        QTest::newRow("empty answer") << "Therapy" << 6 << u"Питання 6 з терапії"_qs
                                      << QStringList{u"Правильна відповідь 6"_qs, u"Неправильна 6.1"_qs, "",
                                                     u"Неправильна 6.3"_qs, u"Неправильна 6.4"_qs};
        QTest::newRow("empty question")
            << "Therapy" << 7 << ""
            << QStringList{u"Правильна відповідь 7"_qs, u"Неправильна 7.1"_qs, u"Неправильна 7.2"_qs,
                           u"Неправильна 7.3"_qs, u"Неправильна 7.4"_qs};
    }
    void questionIsReadFromItsRow()
    {
        QFETCH(QString, subject);
        QFETCH(int, number);
        QFETCH(QString, question);
        QFETCH(QStringList, answers);
        ExcelApplication excel(Ukrainian);
        BankSizes sizes{};
        QList<int> progress;
        QCOMPARE(load(excel, fixture("bank.xls"), sizes, progress), QString());
        const bank::QuestionTexts texts = bank::ReadQuestion(excel, subject.toStdString(), number);
        QCOMPARE(QString::fromStdString(texts.question), question);
        QStringList read;
        for (const std::string &answer : texts.answers)
            read.append(QString::fromStdString(answer));
        QCOMPARE(read, answers);
    }

    // After the loading "Therapy" is current; only a change of subject looks a sheet up and activates it.
    void sheetChangesOnlyWithTheSubject_data()
    {
        QTest::addColumn<QStringList>("subjects");
        QTest::addColumn<int>("changes");
        QTest::addColumn<QString>("active");
        QTest::newRow("same subject") << QStringList{"Therapy", "Therapy"} << 0 << "Therapy";
        QTest::newRow("another subject") << QStringList{"Surgery"} << 1 << "Surgery";
        QTest::newRow("stays on it") << QStringList{"Infection", "Infection", "Infection"} << 1
                                     << "Infection";
        QTest::newRow("there and back") << QStringList{"Surgery", "Therapy", "Therapy"} << 2 << "Therapy";
    }
    void sheetChangesOnlyWithTheSubject()
    {
        QFETCH(QStringList, subjects);
        QFETCH(int, changes);
        QFETCH(QString, active);
        ExcelApplication excel(Ukrainian);
        BankSizes sizes{};
        QList<int> progress;
        QCOMPARE(load(excel, fixture("bank.xls"), sizes, progress), QString());
        const ExcelApplication::Calls before = excel.calls();
        for (const QString &subject : subjects)
            bank::ReadQuestion(excel, subject.toStdString(), 1);
        QCOMPARE(excel.calls().sheetLookups - before.sheetLookups, changes);
        QCOMPARE(excel.calls().activations - before.activations, changes);
        QCOMPARE(QString::fromStdString(excel.activeSheetName()), active);
        QCOMPARE(worksheetOf(excel), active);
    }

    void subjectNamesCompareExactly()
    {
        ExcelApplication excel(Ukrainian);
        BankSizes sizes{};
        QList<int> progress;
        QCOMPARE(load(excel, fixture("bank.xls"), sizes, progress), QString());
        const int lookups = excel.calls().sheetLookups;
        QVERIFY_THROWS_EXCEPTION(workbook::BankError, bank::ReadQuestion(excel, "therapy", 1));
        QCOMPARE(excel.calls().sheetLookups, lookups + 1);
        QCOMPARE(worksheetOf(excel), "Therapy");
    }

    // After a failed loading or a quit a question can still be asked for; the answer is an error, never a
    // crash.
    void readingWithoutAWorkbookIsAnError_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("quit");
        QTest::newRow("loading failed") << "absent/vesk3_2005.xls" << false;
        QTest::newRow("after quit") << "bank.xls" << true;
    }
    void readingWithoutAWorkbookIsAnError()
    {
        QFETCH(QString, file);
        QFETCH(bool, quit);
        ExcelApplication excel(Ukrainian);
        BankSizes sizes{};
        QList<int> progress;
        QCOMPARE(load(excel, fixture(file), sizes, progress).isEmpty(), quit);
        if (quit) {
            excel.quit();
            QVERIFY(!excel.isConnected());
            QCOMPARE(QString::fromStdString(excel.activeSheetName()), "");
        }
        QCOMPARE(worksheetOf(excel), "");
        QVERIFY_THROWS_EXCEPTION(workbook::BankError, bank::ReadQuestion(excel, "Therapy", 1));
        QVERIFY_THROWS_EXCEPTION(workbook::BankError, bank::CountQuestions(excel));
    }
};

QTEST_GUILESS_MAIN(TestBankLoading)
#include "tst_bankloading.moc"
