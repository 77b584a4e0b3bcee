#include "Routines.h"

#include <QTest>
#include <algorithm>
#include <set>

using namespace vesk3;

using Columns = std::array<qint32, bank::AnswerCount>;
Q_DECLARE_METATYPE(Columns)

class TestAnswerOrder : public QObject
{
    Q_OBJECT

private slots:
    // Worked out by hand from state' = state * 134775813 + 1 (mod 2^32), draw = (5 * state') >> 32; a draw
    // already placed is drawn again.
    //   state 0: draws 0 | 0 again, 4 | 1 | 1 again, 3 | 1 again, 0 again, 1 again, 2 -> places 0 4 1 3 2
    //   state 123456789: draws 2 | 1 | 1 again, 0 | 4 | 4, 4, 0, 1, 4, 4 again, 3 -> places 2 1 0 4 3
    // A place's column is its draw + 3; the right answer (column 3) stands where 0 was drawn.
    void drawnOrderFollowsTheGenerator_data()
    {
        QTest::addColumn<quint32>("state");
        QTest::addColumn<Columns>("columns");
        QTest::addColumn<qint32>("rightAnswer");
        QTest::addColumn<quint32>("stateAfter");
        QTest::newRow("state 0") << 0u << Columns{3, 7, 4, 6, 5} << 1 << 1828254910u;
        QTest::newRow("state 123456789") << 123456789u << Columns{5, 4, 3, 7, 6} << 3 << 3077390393u;
        QTest::newRow("state after the first") << 1828254910u << Columns{3, 5, 7, 4, 6} << 1 << 3327160399u;
    }
    void drawnOrderFollowsTheGenerator()
    {
        QFETCH(quint32, state);
        QFETCH(Columns, columns);
        QFETCH(qint32, rightAnswer);
        QFETCH(quint32, stateAfter);
        RandomGenerator random(state);
        const AnswerOrder order = drawAnswerOrder(random);
        QCOMPARE(order.AnswerColumns, columns);
        QCOMPARE(order.RightAnswer, rightAnswer);
        QCOMPARE(random.state(), stateAfter);
    }

    void everyOrderIsAPermutationWithTheRightAnswerAtColumn3()
    {
        RandomGenerator random(987654321);
        std::set<Columns> seen;
        for (int draw = 0; draw < 2000; ++draw) {
            const AnswerOrder order = drawAnswerOrder(random);
            Columns sorted = order.AnswerColumns;
            std::ranges::sort(sorted);
            QCOMPARE(sorted, (Columns{3, 4, 5, 6, 7}));
            QVERIFY(order.RightAnswer >= 1 && order.RightAnswer <= bank::AnswerCount);
            QCOMPARE(order.AnswerColumns[std::size_t(order.RightAnswer - 1)], bank::RightAnswerColumn);
            seen.insert(order.AnswerColumns);
        }
        // All 120 arrangements turn up.
        QCOMPARE(seen.size(), std::size_t(120));
    }

    // Each showing seeds afresh from the clock: a generator put back to the same state every time would
    // give one order again and again without it.
    void everyShuffleGetsAFreshSeed()
    {
        std::set<Columns> seen;
        for (int showing = 0; showing < 30; ++showing) {
            RandomGenerator random(0);
            seen.insert(ShuffleAnswers(random).AnswerColumns);
        }
        QVERIFY(seen.size() > 1);
    }
};

QTEST_GUILESS_MAIN(TestAnswerOrder)
#include "tst_answerorder.moc"
