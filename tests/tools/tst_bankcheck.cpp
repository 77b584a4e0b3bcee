#include "BankCheck.h"
#include "XlsBuilder.h"

#include <QTest>
#include <sstream>

using tools::BankCheck;

class TestBankCheck : public QObject
{
    Q_OBJECT

private:
    static BankCheck checkFixture(const char *name)
    {
        return tools::checkBank(workbook::Workbook::open(std::string(VESK3_FIXTURES) + "/" + name));
    }

    static QString report(const BankCheck &check)
    {
        std::ostringstream out;
        tools::printBankCheck(out, check);
        return QString::fromStdString(out.str());
    }

    // A question row of the in-memory workbook; rows and columns 0-based as stored.
    static xlstest::Bytes questionRow(unsigned row, std::u16string_view question,
                                      std::u16string_view lastAnswer)
    {
        xlstest::Bytes records = xlstest::label(row, 1, question);
        for (unsigned column = 2; column < 6; ++column)
            records += xlstest::label(row, column, u"відповідь");
        return records + xlstest::label(row, 6, lastAnswer);
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

    void blankAndRepeatedQuestionsFound()
    {
        const xlstest::Bytes therapy =
            questionRow(0, u"Однакове питання", u"так") + questionRow(1, u" \t", u"так") +
            questionRow(2, u"Однакове питання", u"  ") + xlstest::label(3, 0, u"end");
        std::vector<xlstest::SheetSpec> sheets;
        for (const std::string_view name : bank::SubjectSheets)
            sheets.push_back({std::string(name), name == "Therapy" ? therapy
                                                                   : questionRow(0, u"Питання", u"так") +
                                                                         xlstest::label(1, 0, u"end")});
        const xlstest::Bytes bytes =
            xlstest::compoundFile({{u"Workbook", xlstest::workbookStream({}, sheets)}}).bytes;
        const BankCheck check = tools::checkBank(workbook::Workbook::fromBytes(bytes, "test.xls"));

        const tools::SubjectCheck &subject = check.subjects[0];
        QCOMPARE(subject.questionCount.value_or(-1), 3);
        QCOMPARE(subject.emptyQuestionRows, std::vector<int>{2});
        QCOMPARE(subject.emptyAnswerRows, std::vector<int>{3});
        QCOMPARE(subject.repeatedQuestionRows, (std::vector<std::vector<int>>{{1, 3}}));
        QVERIFY(report(check).contains(u"Therapy: 3 питання\n"
                                       "  попередження: порожній текст питання (стовпець 2), рядок 2\n"
                                       "  попередження: порожня відповідь (стовпці 3–7), рядок 3\n"
                                       "  попередження: однаковий текст питання, рядки 1, 3\n"_qs));
    }

    // Shared and own texts, numbers, and a shared text that the table holds twice: equal texts are repeats
    // however they are stored.
    void repeatedQuestionsFoundWhateverTheirStore()
    {
        const auto shared = [](unsigned row, unsigned column, std::uint32_t index) {
            return xlstest::record(0x00FD, xlstest::cell(row, column).u32(index));
        };
        xlstest::Bytes table = xlstest::Fields().u32(4).u32(4);
        for (const std::u16string_view text : {u"Питання", u"Інше питання", u"Питання", u"  "})
            table += xlstest::Fields().string(text);
        const xlstest::Bytes globals = xlstest::record(0x00FC, table);
        xlstest::Bytes therapy;
        const auto answers = [](unsigned row) {
            return questionRow(row, u"-", u"так").substr(xlstest::label(row, 1, u"-").size());
        };
        const std::array<xlstest::Bytes, 8> questions{
            shared(0, 1, 0),          shared(1, 1, 1), xlstest::label(2, 1, u"Питання"),
            xlstest::number(3, 1, 5), shared(4, 1, 2), xlstest::label(5, 1, u"5"),
            shared(6, 1, 3),          shared(7, 1, 3)};
        for (unsigned row = 0; row < questions.size(); ++row)
            therapy += questions[row] + answers(row);
        therapy += xlstest::label(8, 0, u"end");
        std::vector<xlstest::SheetSpec> sheets;
        for (const std::string_view name : bank::SubjectSheets)
            sheets.push_back({std::string(name), name == "Therapy" ? therapy
                                                                   : questionRow(0, u"Питання", u"так") +
                                                                         xlstest::label(1, 0, u"end")});
        const xlstest::Bytes bytes =
            xlstest::compoundFile({{u"Workbook", xlstest::workbookStream(globals, sheets)}}).bytes;
        const BankCheck check = tools::checkBank(workbook::Workbook::fromBytes(bytes, "test.xls"));

        const tools::SubjectCheck &subject = check.subjects[0];
        QCOMPARE(subject.questionCount.value_or(-1), 8);
        QCOMPARE(subject.emptyQuestionRows, (std::vector<int>{7, 8}));
        QCOMPARE(subject.repeatedQuestionRows, (std::vector<std::vector<int>>{{1, 3, 5}, {4, 6}}));
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
};

QTEST_APPLESS_MAIN(TestBankCheck)
#include "tst_bankcheck.moc"
