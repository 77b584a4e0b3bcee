#include "Routines.h"

#include <QTest>
#include <set>
#include <stdexcept>

using namespace vesk3;

using Sizes = std::array<qint32, SubjectCount>;
Q_DECLARE_METATYPE(Sizes)

namespace {

const QStringList SubjectNames{"Therapy", "Surgery", "Pediatry", "Obstetrics", "Infection"};

struct Block
{
    QString subject;
    QList<qint32> numbers;
};

// The exam as the runs of equal subjects it consists of, in entry order.
QList<Block> blocksOf(const ExamList &exam)
{
    QList<Block> blocks;
    for (int entry = 1; entry <= ExamSize; ++entry) {
        if (blocks.isEmpty() || blocks.back().subject != exam[entry].Subject)
            blocks.append({exam[entry].Subject, {}});
        blocks.back().numbers.append(exam[entry].Number);
    }
    return blocks;
}

void fillWith(ExamList &exam, const QString &subject, qint32 number)
{
    for (int entry = 1; entry <= ExamSize; ++entry) {
        exam[entry].Subject = subject;
        exam[entry].Number = number;
    }
}

} // namespace

class TestExamComposition : public QObject
{
    Q_OBJECT

private slots:
    void blocksFollowTheShares_data()
    {
        QTest::addColumn<Sizes>("banks");
        QTest::addColumn<Sizes>("shares");
        QTest::newRow("proportional") << Sizes{1000, 800, 600, 400, 200} << Sizes{67, 53, 40, 27, 13};
        QTest::newRow("2.5 rounds to 2") << Sizes{5, 5, 5, 5, 380} << Sizes{2, 2, 2, 2, 192};
        QTest::newRow("3.5 rounds to 4") << Sizes{7, 7, 7, 7, 372} << Sizes{4, 4, 4, 4, 184};
        QTest::newRow("banks as large as shares") << Sizes{40, 40, 40, 40, 40} << Sizes{40, 40, 40, 40, 40};
    }
    void blocksFollowTheShares()
    {
        QFETCH(Sizes, banks);
        QFETCH(Sizes, shares);
        TestState state;
        state.TestSettings.BankSize = banks;
        ComposeExam(state);

        const QList<Block> blocks = blocksOf(state.ExamData);
        QCOMPARE(blocks.size(), SubjectCount);
        for (int k = 0; k < SubjectCount; ++k) {
            const Block &block = blocks[k];
            QCOMPARE(block.subject, SubjectNames[k]);
            QCOMPARE(block.numbers.size(), shares[k]);
            const std::set<qint32> distinct(block.numbers.begin(), block.numbers.end());
            QCOMPARE(distinct.size(), std::size_t(shares[k]));
            QVERIFY(*distinct.begin() >= 1);
            QVERIFY(*distinct.rbegin() <= banks[k]);
        }
    }

    // Drawn, not counted up: a block of a whole bank comes out in another order than 1, 2, 3 ...
    void aWholeBankComesInRandomOrder()
    {
        TestState state;
        state.TestSettings.BankSize = {40, 40, 40, 40, 40};
        ComposeExam(state);
        QList<qint32> ascending;
        for (qint32 n = 1; n <= 40; ++n)
            ascending.append(n);
        int ordered = 0;
        for (const Block &block : blocksOf(state.ExamData))
            ordered += block.numbers == ascending;
        QVERIFY(ordered < SubjectCount);
    }

    void banksThatCannotServeAnExamAreRefused_data()
    {
        QTest::addColumn<Sizes>("banks");
        QTest::addColumn<QString>("message");
        QTest::newRow("no questions")
            << Sizes{0, 0, 0, 0, 0} << u"Немає жодного питання: іспит скласти неможливо."_qs;
        QTest::newRow("first four shares above 200")
            << Sizes{3, 3, 3, 0, 0}
            << u"Частки перших чотирьох предметів разом перевищують 200 питань: іспит скласти неможливо."_qs;
        QTest::newRow("one subject only")
            << Sizes{10, 0, 0, 0, 0}
            << u"На аркуші «Therapy» 10 питань, а іспит бере з нього 200: іспит "
               u"скласти неможливо."_qs;
        // The last subject takes what the rounding of the others left: 2 questions here.
        QTest::newRow("the last bank one below its share")
            << Sizes{28, 28, 28, 119, 1}
            << u"На аркуші «Infection» 1 питання, а іспит бере з нього 2: іспит скласти неможливо."_qs;
        QTest::newRow("a middle bank below its share")
            << Sizes{0, 0, 1, 0, 0}
            << u"На аркуші «Pediatry» 1 питання, а іспит бере з нього 200: іспит скласти неможливо."_qs;
    }
    void banksThatCannotServeAnExamAreRefused()
    {
        QFETCH(Sizes, banks);
        QFETCH(QString, message);
        QCOMPARE(examRefusal(banks), std::optional<QString>(message));

        TestState state;
        fillWith(state.ExamData, "Old", 9999);
        state.TestSettings.BankSize = banks;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ComposeExam(state));
        QCOMPARE(state.ExamData[1].Subject, "Old");
        QCOMPARE(state.ExamData[200].Number, 9999);
    }

    void banksThatCanServeAnExamAreAccepted_data()
    {
        QTest::addColumn<Sizes>("banks");
        QTest::newRow("demo-sized") << Sizes{52, 64, 52, 49, 46};
        QTest::newRow("exactly 200") << Sizes{40, 40, 40, 40, 40};
        QTest::newRow("one subject only") << Sizes{0, 0, 0, 0, 200};
        QTest::newRow("large") << Sizes{20000, 1, 1, 1, 1};
    }
    void banksThatCanServeAnExamAreAccepted()
    {
        QFETCH(Sizes, banks);
        QCOMPARE(examRefusal(banks), std::nullopt);
    }

    void isNewNumberLooksOnlyInsideTheStretch_data()
    {
        QTest::addColumn<qint32>("n");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::addColumn<bool>("isNew");
        // Entry e holds the number 10 * e.
        QTest::newRow("empty stretch") << 30 << 3 << 3 << true;
        QTest::newRow("at the first entry") << 30 << 3 << 6 << false;
        QTest::newRow("at the last entry") << 50 << 3 << 6 << false;
        QTest::newRow("just after the stretch") << 60 << 3 << 6 << true;
        QTest::newRow("just before the stretch") << 20 << 3 << 6 << true;
        QTest::newRow("not in the exam") << 35 << 1 << 201 << true;
        QTest::newRow("whole exam, last entry") << 2000 << 1 << 201 << false;
    }
    void isNewNumberLooksOnlyInsideTheStretch()
    {
        QFETCH(qint32, n);
        QFETCH(int, first);
        QFETCH(int, end);
        QFETCH(bool, isNew);
        ExamList exam;
        for (int entry = 1; entry <= ExamSize; ++entry)
            exam[entry].Number = 10 * entry;
        QCOMPARE(IsNewNumber(exam, n, first, end), isNew);
    }
};

QTEST_GUILESS_MAIN(TestExamComposition)
#include "tst_examcomposition.moc"
