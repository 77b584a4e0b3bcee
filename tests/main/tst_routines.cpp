#include "Routines.h"

#include <QTest>
#include <chrono>
#include <stdexcept>

using namespace vesk3;

class TestRoutines : public QObject
{
    Q_OBJECT

private slots:
    // Expected values worked out by hand from state' = state * 134775813 + 1 (mod 2^32) and
    // drawn = (n * state') >> 32.
    void drawFollowsTheFormula_data()
    {
        QTest::addColumn<quint32>("state");
        QTest::addColumn<qint32>("n");
        QTest::addColumn<quint32>("nextState");
        QTest::addColumn<qint32>("drawn");
        QTest::newRow("state 0") << 0u << 10 << 1u << 0;
        QTest::newRow("state 1") << 1u << 100 << 134775814u << 3;
        QTest::newRow("state wraps") << 0xFFFFFFFFu << 5 << 4160191484u << 4;
        QTest::newRow("exam-sized bank") << 123456789u << 200 << 2335298922u << 108;
        QTest::newRow("n 1 always 0") << 0x80000000u << 1 << 2147483649u << 0;
        QTest::newRow("largest n") << 0xFFFFFFFFu << 2147483647 << 4160191484u << 2080095741;
    }
    void drawFollowsTheFormula()
    {
        QFETCH(quint32, state);
        QFETCH(qint32, n);
        QFETCH(quint32, nextState);
        QFETCH(qint32, drawn);
        RandomGenerator random(state);
        QCOMPARE(random.below(n), drawn);
        QCOMPARE(random.state(), nextState);
    }

    void drawBelowNothingIsRefused_data()
    {
        QTest::addColumn<qint32>("n");
        QTest::newRow("0") << 0;
        QTest::newRow("-1") << -1;
    }
    void drawBelowNothingIsRefused()
    {
        QFETCH(qint32, n);
        RandomGenerator random(7);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, random.below(n));
        QCOMPARE(random.state(), 7u);
    }

    // The seed must be the clock's low 32 bits at the moment of seeding; compared modulo 2^32 so that a
    // wrap of the low bits between the readings does not matter.
    void seedTakesLowBitsOfTheClock()
    {
        const auto lowBits = [] {
            return static_cast<quint32>(std::chrono::steady_clock::now().time_since_epoch().count());
        };
        RandomGenerator random(0);
        const quint32 before = lowBits();
        random.seedFromClock();
        const quint32 after = lowBits();
        QVERIFY(quint32(random.state() - before) <= quint32(after - before));
    }

    void examDataRefusesOtherIndices_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("0") << 0;
        QTest::newRow("201") << 201;
        QTest::newRow("-1") << -1;
    }
    void examDataRefusesOtherIndices()
    {
        QFETCH(int, index);
        ExamList exam;
        const ExamList &readOnly = exam;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, exam[index]);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, readOnly[index]);
    }
};

QTEST_GUILESS_MAIN(TestRoutines)
#include "tst_routines.moc"
