#include "Routines.h"

#include <QTest>

using namespace vesk3;

namespace {

// The bank of the demo workbook.
TestState demoState()
{
    TestState state;
    state.TestSettings.BankSize = {52, 64, 0, 49, 46};
    return state;
}

} // namespace

class TestTraining : public QObject
{
    Q_OBJECT

private slots:
    void rangesTheSubjectCanServeAreAccepted_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<qint32>("from");
        QTest::addColumn<qint32>("to");
        QTest::newRow("whole subject") << "Therapy" << 1 << 52;
        QTest::newRow("one question") << "Surgery" << 7 << 7;
        QTest::newRow("last question of the last subject") << "Infection" << 46 << 46;
    }
    void rangesTheSubjectCanServeAreAccepted()
    {
        QFETCH(QString, subject);
        QFETCH(qint32, from);
        QFETCH(qint32, to);
        TestState state = demoState();
        state.SubjectName = subject;
        state.TestSettings.FromQuestion = from;
        state.TestSettings.ToQuestion = to;
        QCOMPARE(trainingRefusal(state), std::nullopt);
    }

    void otherRangesAreRefusedWithTheReason_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<qint32>("from");
        QTest::addColumn<qint32>("to");
        QTest::addColumn<QString>("message");
        const QString chooseFirst = u"Спочатку виберіть предмет і питання для тренування!"_qs;
        QTest::newRow("nothing confirmed yet") << "" << 0 << 0 << chooseFirst;
        QTest::newRow("sheet names are exact") << "therapy" << 1 << 5 << chooseFirst;
        QTest::newRow("subject without questions")
            << "Pediatry" << 1 << 0
            << u"На аркуші «Pediatry» 0 питань: тренування з питання 1 по 0 неможливе. Виберіть інші питання!"_qs;
        QTest::newRow("beyond the bank")
            << "Therapy" << 5 << 60
            << u"На аркуші «Therapy» 52 питання: тренування з питання 5 по 60 неможливе. Виберіть інші питання!"_qs;
        QTest::newRow("from 0")
            << "Surgery" << 0 << 3
            << u"На аркуші «Surgery» 64 питання: тренування з питання 0 по 3 неможливе. Виберіть "
               u"інші питання!"_qs;
        QTest::newRow("from after to")
            << "Obstetrics" << 9 << 8
            << u"На аркуші «Obstetrics» 49 питань: тренування з питання 9 по 8 неможливе. Виберіть інші питання!"_qs;
    }
    void otherRangesAreRefusedWithTheReason()
    {
        QFETCH(QString, subject);
        QFETCH(qint32, from);
        QFETCH(qint32, to);
        QFETCH(QString, message);
        TestState state = demoState();
        state.SubjectName = subject;
        state.TestSettings.FromQuestion = from;
        state.TestSettings.ToQuestion = to;
        QCOMPARE(trainingRefusal(state), std::optional<QString>(message));
    }

    void scoreIsTheShareOfRightAnswers_data()
    {
        QTest::addColumn<qint32>("right");
        QTest::addColumn<qint32>("wrong");
        QTest::addColumn<QString>("score");
        QTest::newRow("nothing scored") << 0 << 0 << "0.0";
        QTest::newRow("3 of 4") << 3 << 1 << "75.0";
        QTest::newRow("2 of 3") << 2 << 1 << "66.67";
        QTest::newRow("all wrong") << 0 << 5 << "0.0";
        QTest::newRow("all right") << 7 << 0 << "100.0";
        QTest::newRow("21 of 4000") << 21 << 3979 << "0.53";
    }
    void scoreIsTheShareOfRightAnswers()
    {
        QFETCH(qint32, right);
        QFETCH(qint32, wrong);
        QFETCH(QString, score);
        QLocale::setDefault(QLocale::c());
        TTestSettings settings;
        settings.RightCount = right;
        settings.WrongCount = wrong;
        QCOMPARE(formatScore(trainingScore(settings)), score);
    }
};

QTEST_GUILESS_MAIN(TestTraining)
#include "tst_training.moc"
