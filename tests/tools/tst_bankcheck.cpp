#include "BankCheck.h"

#include <QTest>
#include <sstream>

using tools::BankCheck;

Q_DECLARE_METATYPE(bank::BankSizes)

class TestBankCheck : public QObject
{
    Q_OBJECT

private:
    static BankCheck checkFixture(const char *name)
    {
        return tools::checkBank(bank::Workbook::open(std::string(VESK3_FIXTURES) + "/" + name));
    }

    static QString report(const BankCheck &check)
    {
        std::ostringstream out;
        tools::printBankCheck(out, check);
        return QString::fromStdString(out.str());
    }

private slots:
    void rowListsShortenRuns_data()
    {
        QTest::addColumn<std::vector<int>>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << std::vector<int>{4} << u"рядок 4"_qs;
        QTest::newRow("apart") << std::vector<int>{2, 9} << u"рядки 2, 9"_qs;
        QTest::newRow("two neighbours") << std::vector<int>{2, 3} << u"рядки 2, 3"_qs;
        QTest::newRow("run") << std::vector<int>{5, 6, 7} << u"рядки 5–7"_qs;
        QTest::newRow("mixed") << std::vector<int>{1, 3, 4, 5, 6, 9, 10, 12} << u"рядки 1, 3–6, 9, 10, 12"_qs;
    }
    void rowListsShortenRuns()
    {
        QFETCH(std::vector<int>, rows);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(tools::rowList(rows)), text);
    }

    void repeatedQuestionsGrouped_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("groups");
        QTest::newRow("all different") << QStringList{"a", "b", "c"} << "";
        QTest::newRow("a pair") << QStringList{"a", "b", "a"} << "1 3";
        QTest::newRow("three times") << QStringList{"x", "a", "a", "x", "a"} << "1 4; 2 3 5";
        QTest::newRow("blank ones are not repeats") << QStringList{"", " ", "", "\t"} << "";
        QTest::newRow("exact texts only") << QStringList{"a", "A", "a ", u"а"_qs} << "";
    }
    void repeatedQuestionsGrouped()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, groups);
        std::vector<std::string> questions;
        for (const QString &text : texts)
            questions.push_back(text.toStdString());
        QStringList found;
        for (const std::vector<int> &rows : tools::repeatedRows(questions)) {
            QStringList group;
            for (const int row : rows)
                group << QString::number(row);
            found << group.join(' ');
        }
        QCOMPARE(found.join(u"; "_qs), groups);
    }

    void countsEverySubject()
    {
        const BankCheck check = checkFixture("bank.xls");
        const std::array<int, bank::SubjectCount> counts{12, 9, 7, 5, 4};
        for (int k = 0; k < bank::SubjectCount; ++k) {
            QCOMPARE(check.subjects[k].sheetName, std::string(bank::SubjectSheets[k]));
            QCOMPARE(check.subjects[k].questionCount.value_or(-1), counts[k]);
        }
    }

    void emptyCellsAreWarnings()
    {
        const BankCheck check = checkFixture("bank.xls");
        const tools::SubjectCheck &therapy = check.subjects[0];
        QCOMPARE(therapy.emptyQuestionRows, std::vector<int>{7});
        QCOMPARE(therapy.emptyAnswerRows, std::vector<int>{6});
        QVERIFY(check.hasWarnings());
        QVERIFY(!check.subjects[1].hasWarnings());
    }

    void smallBankStopsTheExam()
    {
        const BankCheck check = checkFixture("bank.xls");
        QVERIFY(check.examObstacle);
        QCOMPARE(check.examObstacle->subject, 0);
        QCOMPARE(*check.shares, (bank::BankSizes{65, 49, 38, 27, 21}));
        QVERIFY(!check.programCanUseWholeBank());
        QVERIFY(report(check).contains(u"іспит не розпочнеться"_qs));
    }

    void sheetProblemsStopTheLoading_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing sheet") << "bank-missing-sheet.xls" << u"У книзі немає аркуша «Pediatry»."_qs;
        QTest::newRow("sheet name case") << "bank-case.xls" << u"У книзі немає аркуша «Therapy»."_qs;
        QTest::newRow("no marker") << "bank-no-marker.xls" << u"«end»"_qs;
    }
    void sheetProblemsStopTheLoading()
    {
        QFETCH(QString, file);
        QFETCH(QString, problem);
        const BankCheck check = checkFixture(qPrintable(file));
        const auto failed =
            std::ranges::find_if(check.subjects, [](const auto &s) { return !s.questionCount; });
        QVERIFY(failed != check.subjects.end());
        QVERIFY2(QString::fromStdString(failed->problem).contains(problem), failed->problem.c_str());
        QVERIFY(!check.shares);
        QVERIFY(!check.programCanUseWholeBank());
        QVERIFY(report(check).contains(u"завантаження в програмі зупиниться на аркуші «"_qs +
                                       QString::fromStdString(failed->sheetName)));
    }

    void composableBankIsUsable_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bank::BankSizes>("shares");
        QTest::newRow("marker in row 201") << "bank-one.xls" << bank::BankSizes{196, 1, 1, 1, 1};
        QTest::newRow("halves") << "bank-exact.xls" << bank::BankSizes{2, 2, 2, 2, 192};
    }
    void composableBankIsUsable()
    {
        QFETCH(QString, file);
        QFETCH(bank::BankSizes, shares);
        const BankCheck check = checkFixture(qPrintable(file));
        QVERIFY(check.programCanUseWholeBank());
        QVERIFY(!check.hasWarnings());
        QCOMPARE(*check.shares, shares);
        QVERIFY(report(check).contains(u"Іспит скласти можна."_qs));
    }
};

QTEST_APPLESS_MAIN(TestBankCheck)
#include "tst_bankcheck.moc"
