#include "MainWindowFixture.h"
#include "MessageBoxes.h"
#include "ModalWatcher.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

using namespace vesk3;

namespace {

const QString ExamCover = u"Режим Екзамену!!! Натисніть кнопку Розпочати!"_qs;
const QString TrainingCover = u"Режим Тренування!!! Натисніть кнопку Розпочати!"_qs;
const QString NoModeCover = u"Виберіть режим роботи програми!!"_qs;

} // namespace

class TestChoosingMode : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        window = std::make_unique<MainWindowFixture>();
        dialogsSeen.clear();
    }
    void cleanup()
    {
        watcher.reset();
        window.reset();
    }

    void exam_data()
    {
        QTest::addColumn<QString>("from");
        QTest::newRow("menu") << "menu";
        QTest::newRow("toolbar") << "toolbar";
    }
    void exam()
    {
        QFETCH(QString, from);
        ModalWatcher modals;
        modals.expectMessageBox();
        chooseExam(from);

        QCOMPARE(modals.pendingCount(), 1);
        QCOMPARE(window->state.Mode, ModeExam);
        expectChosenState(ExamCover, u"Режим екзамену!"_qs, true);
    }

    void training_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<bool>("confirmedBefore");
        QTest::addColumn<bool>("pressOk");
        QTest::addColumn<bool>("startEnabled");
        QTest::newRow("menu, OK") << "menu" << false << true << true;
        QTest::newRow("toolbar, OK") << "toolbar" << false << true << true;
        QTest::newRow("closed, no range ever confirmed") << "menu" << false << false << false;
        QTest::newRow("toolbar, closed, no range ever confirmed") << "toolbar" << false << false << false;
        QTest::newRow("closed after a range was confirmed") << "menu" << true << false << true;
        QTest::newRow("toolbar, closed after a range was confirmed") << "toolbar" << true << false << true;
    }
    void training()
    {
        QFETCH(QString, from);
        QFETCH(bool, confirmedBefore);
        QFETCH(bool, pressOk);
        QFETCH(bool, startEnabled);
        if (confirmedBefore) {
            answerSubjectDialog(true, "SurgeryItem");
            chooseTraining("menu");
        }
        const TestState before = window->state;

        answerSubjectDialog(pressOk, "PediatryItem");
        chooseTraining(from);

        QCOMPARE(dialogsSeen, QStringList(confirmedBefore ? 2 : 1, u"vesk3::TTestDLGForm"_qs));
        QCOMPARE(window->state.Mode, ModeTraining);
        expectChosenState(TrainingCover, u"Режим тренування!"_qs, startEnabled);
        if (pressOk) {
            QCOMPARE(window->state.TestSettings.FromQuestion, 1);
            QCOMPARE(window->state.TestSettings.ToQuestion, 7);
            QCOMPARE(window->state.SubjectName, u"Pediatry"_qs);
        } else {
            QCOMPARE(window->state.TestSettings.FromQuestion, before.TestSettings.FromQuestion);
            QCOMPARE(window->state.TestSettings.ToQuestion, before.TestSettings.ToQuestion);
            QCOMPARE(window->state.SubjectName, before.SubjectName);
        }
    }

    void examAfterTrainingKeepsTheRange()
    {
        answerSubjectDialog(true, "SurgeryItem");
        chooseTraining("menu");
        chooseExam("menu");

        QCOMPARE(window->state.Mode, ModeExam);
        expectChosenState(ExamCover, u"Режим екзамену!"_qs, true);
        QCOMPARE(window->state.TestSettings.FromQuestion, 1);
        QCOMPARE(window->state.TestSettings.ToQuestion, 9);
        QCOMPARE(window->state.SubjectName, u"Surgery"_qs);
    }

    void trainingAfterExamWithoutRangeTurnsStartOff()
    {
        chooseExam("toolbar");
        answerSubjectDialog(false, "TherapyItem");
        chooseTraining("toolbar");

        QCOMPARE(window->state.Mode, ModeTraining);
        expectChosenState(TrainingCover, u"Режим тренування!"_qs, false);
    }

    void refusedWhileATestRuns_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("from");
        QTest::newRow("Exam, menu") << "exam"
                                    << "menu";
        QTest::newRow("Exam, toolbar") << "exam"
                                       << "toolbar";
        QTest::newRow("Training, menu") << "training"
                                        << "menu";
        QTest::newRow("Training, toolbar") << "training"
                                           << "toolbar";
    }
    void refusedWhileATestRuns()
    {
        QFETCH(QString, mode);
        QFETCH(QString, from);
        window->state.TestRunning = true;
        window->state.Mode = ModeTraining;

        ModalWatcher modals;
        modals.expectMessageBox();
        modals.expectMessageBox();
        if (mode == u"exam")
            chooseExam(from);
        else
            chooseTraining(from);

        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).title, QString::fromUtf16(ApplicationTitle));
        QCOMPARE(modals.boxes().at(0).text, u"Спочатку завершіть попередній тест!"_qs);
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::NoIcon);
        QCOMPARE(window->state.Mode, ModeTraining);
        QVERIFY(window->state.TestRunning);
        QCOMPARE(window->find<QLabel>("Panel1")->text(), NoModeCover);
        QCOMPARE(window->find<QLabel>("ModeLabel")->text(), u"Виберіть режим!"_qs);
        QVERIFY(!window->find<QPushButton>("StartBtn")->isEnabled());
    }

private:
    void chooseExam(const QString &from)
    {
        if (from == u"menu")
            window->find<QAction>("Test1")->trigger();
        else
            QTest::mouseClick(window->find<QToolButton>("ExamSpBtn"), Qt::LeftButton);
    }

    void chooseTraining(const QString &from)
    {
        if (from == u"menu")
            window->find<QAction>("Training1")->trigger();
        else
            QTest::mouseClick(window->find<QToolButton>("SpeedButton8"), Qt::LeftButton);
    }

    // Arms the answer to the next subject dialog: select a subject, then OK or the close box.
    void answerSubjectDialog(bool pressOk, const QString &item)
    {
        watcher = std::make_unique<ModalWatcher>();
        watcher->expect([this, pressOk, item](QWidget *dialog) {
            dialogsSeen.append(dialog->metaObject()->className());
            if (auto *subject = dialog->findChild<QAbstractButton *>(item))
                subject->click();
            if (!pressOk) {
                dialog->close();
                return;
            }
            auto *ok = dialog->findChild<QPushButton *>("ApplyBtn");
            QTest::mouseClick(ok, Qt::LeftButton);
        });
    }

    // The state Exam chosen or Training chosen: only Start may be on, and the mode menu is.
    void expectChosenState(const QString &cover, const QString &modeCaption, bool startEnabled)
    {
        const auto *panel = window->find<QLabel>("Panel1");
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->text(), cover);
        QCOMPARE(window->find<QLabel>("ModeLabel")->text(), modeCaption);
        QCOMPARE(window->find<QPushButton>("StartBtn")->isEnabled(), startEnabled);
        for (const char *off : {"FinishBtn", "NextBtn", "BackBtn", "TableBtn", "CheckBtn", "RAnsBtn"})
            QVERIFY2(!window->find<QPushButton>(off)->isEnabled(), off);
        QVERIFY(window->find<QMenu>("M1")->menuAction()->isEnabled());
        QVERIFY(!window->state.TestRunning);
    }

    std::unique_ptr<MainWindowFixture> window;
    std::unique_ptr<ModalWatcher> watcher;
    QStringList dialogsSeen;
};

QTEST_MAIN(TestChoosingMode)
#include "tst_choosingmode.moc"
