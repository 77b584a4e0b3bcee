#include "CellTextFormat.h"
#include "FixedClock.h"
#include "MessageBoxes.h"
#include "Routines.h"
#include "StrictInteger.h"

#include <QLocale>
#include <QTest>
#include <algorithm>
#include <set>

using namespace vesk3;

// Answer columns by position, and bank sizes or exam shares by subject.
using Columns = std::array<qint32, bank::AnswerCount>;
using Sizes = std::array<qint32, SubjectCount>;
Q_DECLARE_METATYPE(Columns)

// The window-free parts of src/main: the generator and what draws from it, the texts of numbers and cells,
// training's checks, and the strict reading of a typed number.
class TestRoutines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Worked out by hand from state' = state * 134775813 + 1 (mod 2^32), drawn = (n * state') >> 32.
    void drawFollowsTheFormula_data()
    {
        QTest::addColumn<quint32>("state");
        QTest::addColumn<qint32>("n");
        QTest::addColumn<quint32>("nextState");
        QTest::addColumn<qint32>("drawn");
        QTest::newRow("state wraps") << 0xFFFFFFFFu << 5 << 4160191484u << 4;
        QTest::newRow("exam-sized bank") << 123456789u << 200 << 2335298922u << 108;
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

    // Worked out by hand: a draw already placed is drawn again; a place's column is its draw + 3.
    //   seed 0: draws 0 | 0 again, 4 | 1 | 1 again, 3 | 1 again, 0 again, 1 again, 2 -> places 0 4 1 3 2
    //   seed 123456789: draws 2 | 1 | 1 again, 0 | 4 | 4, 4, 0, 1, 4, 4 again, 3 -> places 2 1 0 4 3
    void answerOrderIsDrawnFromTheClock_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<Columns>("columns");
        QTest::addColumn<qint32>("rightAnswer");
        QTest::addColumn<quint32>("stateAfter");
        QTest::newRow("seed 0") << 0u << Columns{3, 7, 4, 6, 5} << 1 << 1828254910u;
        QTest::newRow("seed 123456789") << 123456789u << Columns{5, 4, 3, 7, 6} << 3 << 3077390393u;
    }
    void answerOrderIsDrawnFromTheClock()
    {
        QFETCH(quint32, seed);
        QFETCH(Columns, columns);
        QFETCH(qint32, rightAnswer);
        QFETCH(quint32, stateAfter);
        fixedclock::start(seed);
        RandomGenerator random(777);
        const AnswerOrder order = ShuffleAnswers(random);
        QCOMPARE(order.AnswerColumns, columns);
        QCOMPARE(order.RightAnswer, rightAnswer);
        QCOMPARE(random.state(), stateAfter);
    }

    void everyArrangementOfTheAnswersTurnsUp()
    {
        RandomGenerator random(987654321);
        std::set<Columns> seen;
        for (int draw = 0; draw < 2000; ++draw) {
            const AnswerOrder order = drawAnswerOrder(random);
            QCOMPARE(order.AnswerColumns[std::size_t(order.RightAnswer - 1)], bank::RightAnswerColumn);
            seen.insert(order.AnswerColumns);
        }
        QCOMPARE(seen.size(), std::size_t(120));
        QCOMPARE(*seen.begin(), (Columns{3, 4, 5, 6, 7}));
    }

    void examBlocksFollowTheShares_data()
    {
        QTest::addColumn<Sizes>("banks");
        QTest::addColumn<Sizes>("shares");
        QTest::newRow("proportional") << Sizes{1000, 800, 600, 400, 200} << Sizes{67, 53, 40, 27, 13};
        QTest::newRow("whole banks") << Sizes{40, 40, 40, 40, 40} << Sizes{40, 40, 40, 40, 40};
    }
    void examBlocksFollowTheShares()
    {
        QFETCH(Sizes, banks);
        QFETCH(Sizes, shares);
        const QStringList subjects{"Therapy", "Surgery", "Pediatry", "Obstetrics", "Infection"};
        TestState state;
        state.TestSettings.BankSize = banks;
        fixedclock::start(1);
        ComposeExam(state);

        int entry = 1;
        int ascending = 0;
        for (int k = 0; k < SubjectCount; ++k) {
            QList<qint32> numbers;
            for (; entry <= ExamSize && state.ExamData[entry].Subject == subjects[k]; ++entry)
                numbers.append(state.ExamData[entry].Number);
            QCOMPARE(numbers.size(), shares[k]);
            const std::set<qint32> distinct(numbers.begin(), numbers.end());
            QCOMPARE(distinct.size(), std::size_t(shares[k]));
            QVERIFY(*distinct.begin() >= 1 && *distinct.rbegin() <= banks[k]);
            ascending += std::ranges::is_sorted(numbers);
        }
        QCOMPARE(entry, ExamSize + 1);
        // Drawn, not counted up.
        QCOMPARE(ascending, 0);

        // Each composition seeds from the clock, whatever the generator held.
        TestState again;
        again.TestSettings.BankSize = banks;
        again.Random = RandomGenerator(5);
        fixedclock::start(1);
        ComposeExam(again);
        for (int e = 1; e <= ExamSize; ++e)
            QCOMPARE(again.ExamData[e].Number, state.ExamData[e].Number);
    }

    // Entry e holds the number 10 * e; the stretch is entries 3 to 5.
    void isNewNumberLooksOnlyInsideTheStretch_data()
    {
        QTest::addColumn<qint32>("n");
        QTest::addColumn<bool>("isNew");
        QTest::newRow("at the first entry") << 30 << false;
        QTest::newRow("at the last entry") << 50 << false;
        QTest::newRow("just after") << 60 << true;
        QTest::newRow("just before") << 20 << true;
    }
    void isNewNumberLooksOnlyInsideTheStretch()
    {
        QFETCH(qint32, n);
        QFETCH(bool, isNew);
        ExamList exam;
        for (int entry = 1; entry <= ExamSize; ++entry)
            exam[entry].Number = 10 * entry;
        QCOMPARE(IsNewNumber(exam, n, 3, 6), isNew);
        QVERIFY(IsNewNumber(exam, 30, 3, 3));
    }

    // Scores come as right * 100 / total; exact halves round up even where their binary form lies below.
    void scoreHasOneOrTwoDecimals_data()
    {
        QTest::addColumn<qint64>("numerator");
        QTest::addColumn<qint64>("denominator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0LL << 1LL << "0.0";
        QTest::newRow("whole") << 75LL << 1LL << "75.0";
        QTest::newRow("one decimal") << 25LL << 2LL << "12.5";
        QTest::newRow("tenths zero") << 105LL << 100LL << "1.05";
        QTest::newRow("two thirds") << 200LL << 3LL << "66.67";
        QTest::newRow("one third") << 100LL << 3LL << "33.33";
        QTest::newRow("0.015") << 300LL << 20000LL << "0.02";
        QTest::newRow("21 of 4000") << 2100LL << 4000LL << "0.53";
        QTest::newRow("89 of 4000") << 8900LL << 4000LL << "2.23";
        QTest::newRow("just below half") << 3124LL << 1000LL << "3.12";
        QTest::newRow("tiny") << 1LL << 1000000LL << "0.0";
        QTest::newRow("carry") << 99995LL << 1000LL << "100.0";
        QTest::newRow("no grouping") << 123456789LL << 100LL << "1234567.89";
        QTest::newRow("negative half") << -25LL << 8LL << "-3.13";
        QTest::newRow("negative to zero") << -1LL << 1000LL << "0.0";
    }
    void scoreHasOneOrTwoDecimals()
    {
        QFETCH(qint64, numerator);
        QFETCH(qint64, denominator);
        QFETCH(QString, expected);
        const long double score = static_cast<long double>(numerator) / denominator;
        QCOMPARE(formatScore(score), expected);
        QCOMPARE(scoreText(score), expected + '%');
    }

    void localeGivesTheSeparators()
    {
        const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);
        QLocale::setDefault(ukrainian);
        const QString score = scoreText(200.0L / 3);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(score, "66,67%");
        const bank::TextFormat cells = cellTextFormat(ukrainian);
        QCOMPARE(cells.decimalSeparator, ",");
        QCOMPARE(cells.shortDatePattern, "dd.MM.yy");
        QCOMPARE(cellTextFormat(QLocale(QLocale::English, QLocale::UnitedStates)).shortDatePattern, "M/d/yy");
    }

    void trainingScore_data()
    {
        QTest::addColumn<qint32>("right");
        QTest::addColumn<qint32>("wrong");
        QTest::addColumn<QString>("score");
        QTest::newRow("nothing scored") << 0 << 0 << "0.0";
        QTest::newRow("2 of 3") << 2 << 1 << "66.67";
        QTest::newRow("21 of 4000") << 21 << 3979 << "0.53";
    }
    void trainingScore()
    {
        QFETCH(qint32, right);
        QFETCH(qint32, wrong);
        QFETCH(QString, score);
        TTestSettings settings;
        settings.RightCount = right;
        settings.WrongCount = wrong;
        QCOMPARE(formatScore(vesk3::trainingScore(settings)), score);
    }

    // Against the demo workbook's banks: 52, 64, 0, 49, 46.
    void trainingRange_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<qint32>("from");
        QTest::addColumn<qint32>("to");
        QTest::addColumn<QString>("refusal");
        const QString chooseFirst = u"Спочатку виберіть предмет і питання для тренування!"_qs;
        const auto refused = [](const QString &sheet, const QString &count, int from, int to) {
            return u"На аркуші «%1» %2: тренування з питання %3 по %4 неможливе. Виберіть інші питання!"_qs.arg(
                sheet, count, QString::number(from), QString::number(to));
        };
        QTest::newRow("whole subject") << "Therapy" << 1 << 52 << QString();
        QTest::newRow("last question") << "Infection" << 46 << 46 << QString();
        QTest::newRow("nothing confirmed") << "" << 0 << 0 << chooseFirst;
        QTest::newRow("sheet names are exact") << "therapy" << 1 << 5 << chooseFirst;
        QTest::newRow("one beyond") << "Therapy" << 5 << 53 << refused("Therapy", u"52 питання"_qs, 5, 53);
        QTest::newRow("from 0") << "Surgery" << 0 << 3 << refused("Surgery", u"64 питання"_qs, 0, 3);
        QTest::newRow("from after to") << "Obstetrics" << 9 << 8 << refused("Obstetrics", u"49 питань"_qs, 9, 8);
        QTest::newRow("empty subject") << "Pediatry" << 1 << 0 << refused("Pediatry", u"0 питань"_qs, 1, 0);
    }
    void trainingRange()
    {
        QFETCH(QString, subject);
        QFETCH(qint32, from);
        QFETCH(qint32, to);
        QFETCH(QString, refusal);
        TestState state;
        state.TestSettings.BankSize = {52, 64, 0, 49, 46};
        state.SubjectName = subject;
        state.TestSettings.FromQuestion = from;
        state.TestSettings.ToQuestion = to;
        QCOMPARE(trainingRefusal(state).value_or(QString()), refusal);
    }

    void lineBreaksStartNewLines()
    {
        QCOMPARE(boxText("1\r2\n3\r\n4\r\r5"), "1\n2\n3\n4\n\n5");
        QCOMPARE(boxText("a\n\rb"), "a\n\nb");
    }

    // A full stop follows a last character whose code lies above that of the full stop.
    void errorTextGetsAFullStop()
    {
        QCOMPARE(errorBoxText(u"Файл не знайдено"_qs), u"Файл не знайдено."_qs);
        QCOMPARE(errorBoxText("a/b/"), "a/b/.");
        QCOMPARE(errorBoxText("Done."), "Done.");
        QCOMPARE(errorBoxText("Stop!"), "Stop!");
        QCOMPARE(errorBoxText(""), "");
    }

    // Blanks, a sign, then decimal digits or hexadecimal ones after "$" or "0x"; 32 bits; nothing else.
    void strictInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        const auto accept = [](const QString &text, int value) {
            QTest::addRow("[%s]", qPrintable(text)) << text << true << value;
        };
        const auto reject = [](const QString &text) { QTest::addRow("[%s]", qPrintable(text)) << text << false << 0; };
        accept("  12", 12);
        accept("+5", 5);
        accept("000000000000480", 480);
        accept("-$1F", -31);
        accept(" +0X1f", 31);
        accept("2147483647", 2147483647);
        accept("-2147483648", int(-2147483648LL));
        accept("$7FFFFFFF", 2147483647);
        accept("-$80000000", int(-2147483648LL));
        for (const char *text : {"", " ", "-", "$", "0x", "12 ", "1 2", "- 5", "+-5", "$-5", "1F", "$1G",
                                    "1,5", "2147483648", "-2147483649", "$80000000", "99999999999999999999"})
            reject(text);
        for (const char16_t *text : {u"\t12", u"\u00A012", u"\u0661\u0662", u"\uFF11\uFF12", u"$\uFF21"})
            reject(QString::fromUtf16(text));
    }
    void strictInteger()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<int> read = strictToInt(text);
        QCOMPARE(read.has_value(), valid);
        QCOMPARE(read.value_or(0), value);
    }
};

QTEST_GUILESS_MAIN(TestRoutines)
#include "tst_routines.moc"
