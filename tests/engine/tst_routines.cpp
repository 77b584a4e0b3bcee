#include "CellTextFormat.h"
#include "Routines.h"
#include "StrictInteger.h"

#include <QLocale>
#include <QTest>
#include <algorithm>
#include <set>
#include <tuple>

using namespace vesk3;

using Five = std::array<qint32, 5>;

// A tick count whose low 32 bits are `seed`; the high bits show a seed taken from anything else.
TickSource ticksWithLowBits(std::uint32_t seed)
{
    return [seed] {
        return (std::int64_t{0x2A} << 32) | seed;
    };
}

// The window-free parts of src/main: the generator and what draws from it, the texts of numbers and cells,
// training's checks, and the strict reading of a typed number.
class TestRoutines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Worked out by hand from state' = state * 134775813 + 1 (mod 2^32), drawn = (n * state') >> 32.
    void drawFollowsTheFormula()
    {
        for (const auto &[state, n, next, drawn] :
             {std::tuple(0xFFFFFFFFu, 5, 4160191484u, 4), std::tuple(123456789u, 200, 2335298922u, 108),
              std::tuple(0xFFFFFFFFu, 2147483647, 4160191484u, 2080095741)}) {
            RandomGenerator random(state);
            QCOMPARE(random.below(n), drawn);
            QCOMPARE(random.state(), next);
        }
    }

    // Each showing seeds from the low 32 bits of the tick count; a draw already placed is drawn again; a
    // place's column is its draw + 3. Worked out by hand:
    //   seed 0: draws 0 | 0 again, 4 | 1 | 1 again, 3 | 1 again, 0 again, 1 again, 2 -> places 0 4 1 3 2
    //   seed 123456789: draws 2 | 1 | 1 again, 0 | 4 | 4, 4, 0, 1, 4, 4 again, 3 -> places 2 1 0 4 3
    void answerOrderIsDrawnFromTheClock()
    {
        for (const auto &[seed, columns, right, after] :
             {std::tuple(0u, Five{3, 7, 4, 6, 5}, 1, 1828254910u),
              std::tuple(123456789u, Five{5, 4, 3, 7, 6}, 3, 3077390393u)}) {
            RandomGenerator random(777);
            random.ticks = ticksWithLowBits(seed);
            const AnswerOrder order = ShuffleAnswers(random);
            QCOMPARE(order.AnswerColumns, columns);
            QCOMPARE(order.RightAnswer, right);
            QCOMPARE(random.state(), after);
        }
    }

    // Blocks sized by the shares, numbers drawn (not counted up) and distinct within a block; each
    // composition seeds from the clock, whatever the generator held.
    void examComposition()
    {
        const QStringList subjects{"Therapy", "Surgery", "Pediatry", "Obstetrics", "Infection"};
        for (const auto &[banks, shares] :
             {std::pair(Five{1000, 800, 600, 400, 200}, Five{67, 53, 40, 27, 13}),
              std::pair(Five{40, 40, 40, 40, 40}, Five{40, 40, 40, 40, 40})}) {
            TestState state;
            TestState again;
            state.TestSettings.BankSize = again.TestSettings.BankSize = banks;
            again.Random = RandomGenerator(5);
            state.Random.ticks = again.Random.ticks = ticksWithLowBits(1);
            ComposeExam(state);
            ComposeExam(again);
            int entry = 1;
            for (int k = 0; k < SubjectCount; ++k) {
                QList<qint32> numbers;
                for (; entry <= ExamSize && state.ExamData[entry].Subject == subjects[k]; ++entry) {
                    numbers.append(state.ExamData[entry].Number);
                    QCOMPARE(again.ExamData[entry].Number, numbers.back());
                }
                const std::set<qint32> distinct(numbers.begin(), numbers.end());
                QCOMPARE(distinct.size(), std::size_t(shares[k]));
                QVERIFY(*distinct.begin() >= 1 && *distinct.rbegin() <= banks[k]);
                QVERIFY(!std::ranges::is_sorted(numbers));
            }
            QCOMPARE(entry, ExamSize + 1);
        }
        // Entry e holds 10 * e; the stretch is entries 3 to 5.
        ExamList exam;
        for (int entry = 1; entry <= ExamSize; ++entry)
            exam[entry].Number = 10 * entry;
        for (const auto &[n, isNew] : {std::pair(30, false), {50, false}, {60, true}, {20, true}})
            QCOMPARE(IsNewNumber(exam, n, 3, 6), isNew);
        QVERIFY(IsNewNumber(exam, 30, 3, 3));
    }

    // Scores come as right * 100 / total; exact halves round up even where their binary form lies below.
    void scoreHasOneOrTwoDecimals()
    {
        using Row = std::tuple<qint64, qint64, const char *>;
        for (const auto &[numerator, denominator, text] :
             {Row(0, 1, "0.0"), Row(75, 1, "75.0"), Row(25, 2, "12.5"), Row(105, 100, "1.05"),
              Row(200, 3, "66.67"), Row(100, 3, "33.33"), Row(300, 20000, "0.02"), Row(2100, 4000, "0.53"),
              Row(8900, 4000, "2.23"), Row(3124, 1000, "3.12"), Row(1, 1000000, "0.0"),
              Row(99995, 1000, "100.0"), Row(123456789, 100, "1234567.89"), Row(-25, 8, "-3.13"),
              Row(-1, 1000, "0.0")}) {
            const long double score = static_cast<long double>(numerator) / denominator;
            QCOMPARE(formatScore(score), text);
            QCOMPARE(scoreText(score), QString(text) + u'%');
        }
        QCOMPARE(formatScore(trainingScore(TTestSettings())), "0.0");
    }

    void localeGivesTheSeparators()
    {
        const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);
        QLocale::setDefault(ukrainian);
        const QString score = scoreText(200.0L / 3);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(score, "66,67%");
        QCOMPARE(cellTextFormat(ukrainian).decimalSeparator, ",");
        QCOMPARE(cellTextFormat(ukrainian).shortDatePattern, "dd.MM.yy");
        QCOMPARE(cellTextFormat(QLocale(QLocale::English, QLocale::UnitedStates)).shortDatePattern, "M/d/yy");
    }

    // Against the demo workbook's banks: 52, 64, 0, 49, 46.
    void trainingRange()
    {
        const QString chooseFirst = u"Спочатку виберіть предмет і питання для тренування!"_qs;
        const QString refused =
            u"На аркуші «%1» %2: тренування з питання %3 по %4 неможливе. Виберіть інші питання!"_qs;
        using Row = std::tuple<const char *, int, int, QString>;
        for (const auto &[subject, from, to, refusal] :
             {Row("Therapy", 1, 52, {}), Row("Infection", 46, 46, {}), Row("", 0, 0, chooseFirst),
              Row("therapy", 1, 5, chooseFirst),
              Row("Therapy", 5, 53, refused.arg("Therapy", u"52 питання"_qs, "5", "53")),
              Row("Surgery", 0, 3, refused.arg("Surgery", u"64 питання"_qs, "0", "3")),
              Row("Obstetrics", 9, 8, refused.arg("Obstetrics", u"49 питань"_qs, "9", "8")),
              Row("Pediatry", 1, 0, refused.arg("Pediatry", u"0 питань"_qs, "1", "0"))}) {
            TestState state;
            state.TestSettings.BankSize = {52, 64, 0, 49, 46};
            state.SubjectName = QString::fromLatin1(subject);
            state.TestSettings.FromQuestion = from;
            state.TestSettings.ToQuestion = to;
            QCOMPARE(trainingRefusal(state).value_or(QString()), refusal);
        }
    }

    // Line breaks in a cell, and the full stop that follows an error text whose last character's code lies
    // above that of the full stop.
    void texts()
    {
        QCOMPARE(boxText("1\r2\n3\r\n4\r\r5"), "1\n2\n3\n4\n\n5");
        QCOMPARE(boxText("a\n\rb"), "a\n\nb");
        QCOMPARE(errorBoxText(u"Файл не знайдено"_qs), u"Файл не знайдено."_qs);
        QCOMPARE(errorBoxText("a/b/"), "a/b/.");
        QCOMPARE(errorBoxText("Done."), "Done.");
        QCOMPARE(errorBoxText("Stop!"), "Stop!");
        QCOMPARE(errorBoxText(""), "");
    }

    // Blanks, a sign, then decimal digits or hexadecimal ones after "$" or "0x"; 32 bits; nothing else.
    void strictInteger()
    {
        using Row = std::pair<const char *, int>;
        for (const auto &[text, value] :
             {Row("  12", 12), Row("+5", 5), Row("000000000000480", 480), Row("-$1F", -31), Row(" +0X1f", 31),
              Row("2147483647", 2147483647), Row("-2147483648", int(-2147483648LL)),
              Row("$7FFFFFFF", 2147483647), Row("-$80000000", int(-2147483648LL))})
            QCOMPARE(strictToInt(QString::fromLatin1(text)).value_or(0), value);
        for (const char16_t *text : {u"", u" ", u"-", u"$", u"0x", u"12 ", u"1 2", u"- 5", u"+-5", u"$-5",
                                     u"1F", u"$1G", u"1,5", u"2147483648", u"-2147483649", u"$80000000"})
            QVERIFY2(!strictToInt(QString::fromUtf16(text)), qPrintable(QString::fromUtf16(text)));
        for (const char16_t *text :
             {u"99999999999999999999", u"\t12", u"\u00A012", u"\u0661\u0662", u"\uFF11", u"$\uFF21"})
            QVERIFY2(!strictToInt(QString::fromUtf16(text)), qPrintable(QString::fromUtf16(text)));
    }
};

QTEST_GUILESS_MAIN(TestRoutines)
#include "tst_routines.moc"
