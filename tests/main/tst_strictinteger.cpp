#include "StrictInteger.h"

#include <QTest>

using namespace vesk3;

class TestStrictInteger : public QObject
{
    Q_OBJECT

private slots:
    void acceptsNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "12" << 12;
        QTest::newRow("leading blank") << " 12" << 12;
        QTest::newRow("leading blanks") << "   7" << 7;
        QTest::newRow("plus") << "+5" << 5;
        QTest::newRow("minus zero") << "-0" << 0;
        QTest::newRow("leading zeros") << "000000000000480" << 480;
        QTest::newRow("dollar hex") << "$1F" << 31;
        QTest::newRow("0x hex") << "0x1f" << 31;
        QTest::newRow("0X hex") << "0X1F" << 31;
        QTest::newRow("signed hex") << "-$1F" << -31;
        QTest::newRow("blank, sign, 0x") << " +0x10" << 16;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << int(-2147483648LL);
        QTest::newRow("largest hex") << "$7FFFFFFF" << 2147483647;
        QTest::newRow("smallest hex") << "-$80000000" << int(-2147483648LL);
        QTest::newRow("zero") << "0" << 0;
    }
    void acceptsNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        const auto converted = strictToInt(text);
        QVERIFY(converted.has_value());
        QCOMPARE(*converted, value);
    }

    void rejectsOtherTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << " ";
        QTest::newRow("lone minus") << "-";
        QTest::newRow("lone plus") << "+";
        QTest::newRow("lone dollar") << "$";
        QTest::newRow("lone 0x") << "0x";
        QTest::newRow("letters after digits") << "12a";
        QTest::newRow("blank inside") << "1 2";
        QTest::newRow("trailing blank") << "12 ";
        QTest::newRow("blank after sign") << "- 5";
        QTest::newRow("two signs") << "+-5";
        QTest::newRow("sign after dollar") << "$-5";
        QTest::newRow("hex digit in decimal") << "1F";
        QTest::newRow("non-hex digit") << "$1G";
        QTest::newRow("above range") << "2147483648";
        QTest::newRow("below range") << "-2147483649";
        QTest::newRow("hex above range") << "$80000000";
        QTest::newRow("far above range") << "99999999999999999999";
        QTest::newRow("tab before") << "\t12";
        QTest::newRow("no-break space before") << u"\u00A012"_qs;
        QTest::newRow("Arabic-Indic digits") << u"\u0661\u0662"_qs;
        QTest::newRow("fullwidth digits") << u"\uFF11\uFF12"_qs;
        QTest::newRow("fullwidth hex letters") << u"$\uFF21"_qs;
        QTest::newRow("decimal comma") << "1,5";
        QTest::newRow("letters") << u"абв"_qs;
    }
    void rejectsOtherTexts()
    {
        QFETCH(QString, text);
        QVERIFY(!strictToInt(text).has_value());
    }
};

QTEST_APPLESS_MAIN(TestStrictInteger)
#include "tst_strictinteger.moc"
