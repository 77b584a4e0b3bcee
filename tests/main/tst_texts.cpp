#include "Routines.h"

#include <QLocale>
#include <QTest>
#include <limits>
#include <stdexcept>

using namespace vesk3;

Q_DECLARE_METATYPE(long double)

namespace {

// Scores arise as right * 100 / total in extended precision; the tests build them the same way.
long double ratio(qint64 numerator, qint64 denominator)
{
    return static_cast<long double>(numerator) / denominator;
}

class LocaleScope
{
public:
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(previous); }

private:
    QLocale previous;
};

} // namespace

class TestTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void writesOneOrTwoDecimals_data()
    {
        QTest::addColumn<qint64>("numerator");
        QTest::addColumn<qint64>("denominator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0LL << 1LL << "0.0";
        QTest::newRow("whole") << 75LL << 1LL << "75.0";
        QTest::newRow("hundred") << 100LL << 1LL << "100.0";
        QTest::newRow("one decimal") << 25LL << 2LL << "12.5";
        QTest::newRow("second decimal zero dropped") << 11LL << 10LL << "1.1";
        QTest::newRow("two decimals") << 105LL << 100LL << "1.05";
        QTest::newRow("two thirds") << 200LL << 3LL << "66.67";
        QTest::newRow("one third") << 100LL << 3LL << "33.33";
        QTest::newRow("below half down") << 3124LL << 1000LL << "3.12";
        QTest::newRow("small half up") << 1LL << 200LL << "0.01";
        QTest::newRow("small below half") << 4LL << 1000LL << "0.0";
        QTest::newRow("tiny") << 1LL << 1000000LL << "0.0";
        QTest::newRow("carry into the whole part") << 99995LL << 1000LL << "100.0";
        QTest::newRow("no grouping") << 123456789LL << 100LL << "1234567.89";
        QTest::newRow("negative half") << -25LL << 8LL << "-3.13";
        QTest::newRow("negative that rounds to zero") << -1LL << 1000LL << "0.0";
    }
    void writesOneOrTwoDecimals()
    {
        QFETCH(qint64, numerator);
        QFETCH(qint64, denominator);
        QFETCH(QString, expected);
        QCOMPARE(formatScore(ratio(numerator, denominator)), expected);
        QCOMPARE(scoreText(ratio(numerator, denominator)), expected + '%');
    }

    // Every score right * 100 / total that is exactly halfway between two hundredths rounds up, also
    // those whose binary form lies just below the half, such as 21 of 4000 (0.525) and 89 of 4000 (2.225).
    void everyHalfOfACountRoundsUp()
    {
        int halves = 0;
        for (qint64 total = 1; total <= 4000; ++total) {
            for (qint64 right = 0; right <= total; ++right) {
                const qint64 halfHundredths = 20000 * right; // 2 * 100 * right * 100, over total
                if (halfHundredths % total != 0 || (halfHundredths / total) % 2 == 0)
                    continue;
                const qint64 hundredths = (halfHundredths / total + 1) / 2;
                QString expected =
                    QString::number(hundredths / 100) + '.' + QString::number(hundredths / 10 % 10);
                if (hundredths % 10 != 0)
                    expected += QString::number(hundredths % 10);
                QCOMPARE(formatScore(ratio(right * 100, total)), expected);
                ++halves;
            }
        }
        QVERIFY(halves > 1000);
    }

    void takesTheLocalesSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<qint64>("numerator");
        QTest::addColumn<qint64>("denominator");
        QTest::addColumn<QString>("expected");
        const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("uk two thirds") << ukrainian << 200LL << 3LL << "66,67%";
        QTest::newRow("uk zero") << ukrainian << 0LL << 1LL << "0,0%";
        QTest::newRow("uk no grouping") << ukrainian << 250000LL << 100LL << "2500,0%";
        QTest::newRow("de") << german << 25LL << 2LL << "12,5%";
        QTest::newRow("us") << QLocale(QLocale::English, QLocale::UnitedStates) << 200LL << 3LL << "66.67%";
    }
    void takesTheLocalesSeparator()
    {
        QFETCH(QLocale, locale);
        QFETCH(qint64, numerator);
        QFETCH(qint64, denominator);
        QFETCH(QString, expected);
        LocaleScope scope(locale);
        QCOMPARE(scoreText(ratio(numerator, denominator)), expected);
    }

    void refusesWhatCannotBeWritten_data()
    {
        QTest::addColumn<long double>("score");
        QTest::newRow("1e15") << 1e15L;
        QTest::newRow("-1e15") << -1e15L;
        QTest::newRow("infinity") << std::numeric_limits<long double>::infinity();
        QTest::newRow("NaN") << std::numeric_limits<long double>::quiet_NaN();
    }
    void refusesWhatCannotBeWritten()
    {
        QFETCH(long double, score);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, formatScore(score));
    }

    void lineBreaksStartNewLines_data()
    {
        QTest::addColumn<QByteArray>("cell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one line") << QByteArray("Гострий панкреатит") << u"Гострий панкреатит"_qs;
        QTest::newRow("LF") << QByteArray("a\nb") << "a\nb";
        QTest::newRow("CR") << QByteArray("a\rb") << "a\nb";
        QTest::newRow("CR LF one break") << QByteArray("a\r\nb") << "a\nb";
        QTest::newRow("LF CR two breaks") << QByteArray("a\n\rb") << "a\n\nb";
        QTest::newRow("mixed") << QByteArray("1\r2\n3\r\n4\r\r5") << "1\n2\n3\n4\n\n5";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void lineBreaksStartNewLines()
    {
        QFETCH(QByteArray, cell);
        QFETCH(QString, shown);
        QCOMPARE(boxText(cell.toStdString()), shown);
    }
};

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
