#include "BankError.h"
#include "QuestionBank.h"
#include "Workbook.h"

#include <QTest>
#include <stdexcept>

using bank::BankSizes;
using bank::ExamObstacle;

Q_DECLARE_METATYPE(BankSizes)

class TestQuestionBank : public QObject
{
    Q_OBJECT

private:
    static workbook::Workbook fixture(const char *name)
    {
        return workbook::Workbook::open(std::string(VESK3_FIXTURES) + "/" + name);
    }

private slots:
    void sharesFollowBankSizes_data()
    {
        QTest::addColumn<BankSizes>("sizes");
        QTest::addColumn<BankSizes>("shares");
        QTest::newRow("proportional") << BankSizes{1000, 800, 600, 400, 200} << BankSizes{67, 53, 40, 27, 13};
        QTest::newRow("halves round down to even")
            << BankSizes{5, 5, 5, 5, 380} << BankSizes{2, 2, 2, 2, 192};
        QTest::newRow("halves round up to even") << BankSizes{7, 7, 7, 7, 372} << BankSizes{4, 4, 4, 4, 184};
        QTest::newRow("equal banks") << BankSizes{3, 3, 3, 3, 3} << BankSizes{40, 40, 40, 40, 40};
        QTest::newRow("last takes the rest") << BankSizes{1, 1, 1, 1, 0} << BankSizes{50, 50, 50, 50, 0};
        QTest::newRow("one subject") << BankSizes{0, 0, 9, 0, 0} << BankSizes{0, 0, 200, 0, 0};
        // The product would overflow 32 bits.
        QTest::newRow("huge banks") << BankSizes{2000000000, 1000000000, 0, 0, 1000000000}
                                    << BankSizes{100, 50, 0, 0, 50};
    }
    void sharesFollowBankSizes()
    {
        QFETCH(BankSizes, sizes);
        QFETCH(BankSizes, shares);
        QCOMPARE(bank::examShares(sizes), shares);
    }

    void sharesNeedQuestions() { QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bank::examShares({})); }

    void examObstacles_data()
    {
        QTest::addColumn<BankSizes>("sizes");
        QTest::addColumn<bool>("composable");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("subject");
        QTest::addColumn<int>("share");
        using Kind = ExamObstacle::Kind;
        QTest::newRow("large banks") << BankSizes{1000, 800, 600, 400, 200} << true << 0 << 0 << 0;
        QTest::newRow("banks exactly their shares") << BankSizes{40, 40, 40, 40, 40} << true << 0 << 0 << 0;
        QTest::newRow("empty") << BankSizes{} << false << int(Kind::NoQuestions) << 0 << 0;
        QTest::newRow("small first bank")
            << BankSizes{10, 10, 10, 10, 10} << false << int(Kind::BankBelowShare) << 0 << 40;
        // Infection's share is 2 although the total is far above 200.
        QTest::newRow("rest above last bank")
            << BankSizes{150, 150, 150, 255, 1} << false << int(Kind::BankBelowShare) << 4 << 2;
        // 29 + 29 + 29 + 114 = 201 leaves -1 for the last subject.
        QTest::newRow("first four above 200")
            << BankSizes{1, 1, 1, 4, 0} << false << int(Kind::SharesOverflow) << 0 << 0;
    }
    void examObstacles()
    {
        QFETCH(BankSizes, sizes);
        QFETCH(bool, composable);
        QFETCH(int, kind);
        QFETCH(int, subject);
        QFETCH(int, share);
        const std::optional<ExamObstacle> obstacle = bank::examObstacle(sizes);
        QCOMPARE(!obstacle.has_value(), composable);
        if (composable)
            return;
        QCOMPARE(int(obstacle->kind), kind);
        QCOMPARE(obstacle->subject, subject);
        QCOMPARE(obstacle->share, share);
        QVERIFY(!obstacle->text().empty());
    }

    void obstacleTextNamesSheet()
    {
        const ExamObstacle obstacle{
            .kind = ExamObstacle::Kind::BankBelowShare, .subject = 4, .share = 2, .bankSize = 1};
        QCOMPARE(QString::fromStdString(obstacle.text()),
                 u"На аркуші «Infection» 1 питання, а іспит бере з нього 2: іспит скласти неможливо."_qs);
    }

    void questionWordAgrees_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << u"1 питання"_qs;
        QTest::newRow("4") << 4 << u"4 питання"_qs;
        QTest::newRow("5") << 5 << u"5 питань"_qs;
        QTest::newRow("11") << 11 << u"11 питань"_qs;
        QTest::newRow("14") << 14 << u"14 питань"_qs;
        QTest::newRow("21") << 21 << u"21 питання"_qs;
        QTest::newRow("112") << 112 << u"112 питань"_qs;
        QTest::newRow("1000") << 1000 << u"1000 питань"_qs;
    }
    void questionWordAgrees()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(bank::questionsText(count)), text);
    }

    void countsQuestionsAboveMarker_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("count");
        // Therapy's column 1 holds "End", "END", "end ", " end" and a number above its marker.
        QTest::newRow("near-markers are questions") << "bank.xls"
                                                    << "Therapy" << 12;
        QTest::newRow("empty column 1") << "bank.xls"
                                        << "Surgery" << 9;
        QTest::newRow("marker in row 201") << "bank-one.xls"
                                           << "Therapy" << 200;
        QTest::newRow("marker in row 2") << "bank-one.xls"
                                         << "Infection" << 1;
        QTest::newRow("row 1 never examined") << "bank-one.xls"
                                              << "Obstetrics" << 1;
    }
    void countsQuestionsAboveMarker()
    {
        QFETCH(QString, file);
        QFETCH(QString, sheet);
        QFETCH(int, count);
        const workbook::Workbook workbook = fixture(qPrintable(file));
        const workbook::Sheet *found = workbook.findSheet(sheet.toStdString());
        QVERIFY(found);
        QCOMPARE(bank::countQuestions(*found), count);
    }

    void sheetWithoutMarkerIsAnError()
    {
        const workbook::Workbook workbook = fixture("bank-no-marker.xls");
        const workbook::Sheet *pediatry = workbook.findSheet("Pediatry");
        QVERIFY(pediatry);
        try {
            bank::countQuestions(*pediatry);
            QFAIL("a sheet without its marker was counted");
        } catch (const workbook::BankError &error) {
            const QString text = QString::fromUtf8(error.what());
            QVERIFY2(text.contains(u"«Pediatry»"_qs) && text.contains(u"«end»"_qs), error.what());
        }
    }
};

QTEST_APPLESS_MAIN(TestQuestionBank)
#include "tst_questionbank.moc"
