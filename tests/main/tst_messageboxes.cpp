#include "MessageBoxes.h"
#include "ModalWatcher.h"

#include <QTest>

using namespace vesk3;

class TestMessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void errorTextGetsFullStop_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << u"Файл не знайдено"_qs << u"Файл не знайдено."_qs;
        QTest::newRow("digit") << "Error 42"
                               << "Error 42.";
        QTest::newRow("exclamation") << "Stop!"
                                     << "Stop!";
        QTest::newRow("full stop") << "Done."
                                   << "Done.";
        QTest::newRow("closing bracket") << "(see above)"
                                         << "(see above)";
        QTest::newRow("quote") << u"аркуш \"Therapy\""_qs << u"аркуш \"Therapy\""_qs;
        QTest::newRow("slash") << "a/b/"
                               << "a/b/.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void errorTextGetsFullStop()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(text), shown);
    }

    void boxesShowTheirKind()
    {
        ModalWatcher modals;
        modals.expectMessageBox();
        modals.expectMessageBox();
        showMessage(u"Тест ще не розпочато!"_qs);
        showError(u"Аркуш не знайдено"_qs);
        QCOMPARE(modals.pendingCount(), 0);
        QCOMPARE(modals.boxes().size(), 2);

        const auto plain = modals.boxes().at(0);
        QCOMPARE(plain.title, u"Dorv-3 (0,01)"_qs);
        QCOMPARE(plain.text, u"Тест ще не розпочато!"_qs);
        QCOMPARE(plain.icon, QMessageBox::NoIcon);
        QCOMPARE(plain.buttons, QStringList{"OK"});

        const auto error = modals.boxes().at(1);
        QCOMPARE(error.title, u"Dorv-3 (0,01)"_qs);
        QCOMPARE(error.text, u"Аркуш не знайдено."_qs);
        QCOMPARE(error.icon, QMessageBox::Critical);
    }

    void finishQuestionGoesOnOnlyWithOk_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("press");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("OK") << QMessageBox::Ok << true;
        QTest::newRow("Cancel") << QMessageBox::Cancel << false;
    }
    void finishQuestionGoesOnOnlyWithOk()
    {
        QFETCH(QMessageBox::StandardButton, press);
        QFETCH(bool, goesOn);
        ModalWatcher modals;
        modals.expectMessageBox(press);
        QCOMPARE(askToFinish(u"Ви Дійсно хочете завершити тест?"_qs), goesOn);
        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).title, u"Warning"_qs);
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::Warning);
        QCOMPARE(modals.boxes().at(0).buttons, (QStringList{"OK", "Cancel"}));
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
