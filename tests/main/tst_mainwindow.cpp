#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

using namespace vesk3;

// What the user sees of the main window when the program has started: no mode chosen.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { window = std::make_unique<MainWindowFixture>(); }
    void cleanup() { window.reset(); }

    void coverPromptsForAMode()
    {
        const auto *cover = window->find<QLabel>("Panel1");
        QVERIFY(cover->isVisible());
        QCOMPARE(cover->text(), u"Виберіть режим роботи програми!!"_qs);
        QCOMPARE(cover->font().pixelSize(), 21);
        QCOMPARE(window->find<QLabel>("ModeLabel")->text(), u"Виберіть режим!"_qs);
        QCOMPARE(window->find<QLabel>("ModeLabel")->font().pixelSize(), 32);
    }

    // Where the user points, the cover is what is hit, except for the bottom row of push buttons.
    void coverLiesOverTheWorkArea_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("covered");
        for (const char *name : {"ModeLabel", "QuestionMemo", "LabelA", "LabelE", "Memo1", "Memo2", "Memo3",
                                 "Memo4", "Memo5", "BackBtn", "NextBtn", "GroupBox1", "SLabel7"})
            QTest::newRow(name) << name << true;
        for (const char *name : {"StartBtn", "FinishBtn", "TableBtn", "RAnsBtn", "CheckBtn", "ExamSpBtn",
                                 "RAnsSpeedButton", "ProgressBar1"})
            QTest::newRow(name) << name << false;
    }
    void coverLiesOverTheWorkArea()
    {
        QFETCH(QString, control);
        QFETCH(bool, covered);
        const auto *widget = window->find<QWidget>(control);
        const QWidget *client = window->find<QWidget>("ClientArea");
        const QPoint centre = widget->mapTo(client, widget->rect().center());
        const QWidget *hit = client->childAt(centre);
        QVERIFY(hit);
        if (covered)
            QCOMPARE(hit->objectName(), u"Panel1"_qs);
        else
            QVERIFY2(hit == widget || widget->isAncestorOf(hit), qPrintable(hit->objectName()));
    }

    void pushButtonsStartDisabled_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::newRow("BackBtn") << "BackBtn" << u"Попереднє"_qs;
        QTest::newRow("NextBtn") << "NextBtn" << u"Наступне"_qs;
        QTest::newRow("StartBtn") << "StartBtn" << u"Розпочати"_qs;
        QTest::newRow("FinishBtn") << "FinishBtn" << u"Закінчити"_qs;
        QTest::newRow("TableBtn") << "TableBtn" << u"Показати таблицю"_qs;
        QTest::newRow("RAnsBtn") << "RAnsBtn" << u"Правильна відповідь"_qs;
        QTest::newRow("CheckBtn") << "CheckBtn" << u"Зробити закладку"_qs;
    }
    void pushButtonsStartDisabled()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        const auto *push = window->find<QPushButton>(button);
        QCOMPARE(push->text(), caption);
        QVERIFY(!push->isEnabled());
        // The whole caption is readable.
        QVERIFY2(push->fontMetrics().horizontalAdvance(caption) < push->width(), qPrintable(caption));
    }

    void statistics_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("value");
        QTest::newRow("1") << 1 << u"Питання:"_qs << "0";
        QTest::newRow("2") << 2 << u"Всього питань:"_qs << "0";
        QTest::newRow("3") << 3 << u"Питання в базі даних:"_qs << "0";
        QTest::newRow("4") << 4 << u"Правильні відповіді:"_qs << "0";
        QTest::newRow("5") << 5 << u"Неправильні відповіді:"_qs << "0";
        QTest::newRow("6") << 6 << u"Ваш бал:"_qs << "0%";
        QTest::newRow("7") << 7 << u"Розділ:"_qs << "-None-";
    }
    void statistics()
    {
        QFETCH(int, line);
        QFETCH(QString, caption);
        QFETCH(QString, value);
        QCOMPARE(window->find<QGroupBox>("GroupBox1")->title(), u"Статистика"_qs);
        const auto *captionLabel = window->find<QLabel>(u"StatLabel%1"_qs.arg(line));
        const auto *valueLabel = window->find<QLabel>(u"SLabel%1"_qs.arg(line));
        QCOMPARE(captionLabel->text(), caption);
        QCOMPARE(valueLabel->text(), value);
        // The caption's text ends before its value begins.
        QVERIFY(captionLabel->x() + captionLabel->fontMetrics().horizontalAdvance(caption) < valueLabel->x());
    }

    void questionAndAnswersAreEmptyAndReadOnly()
    {
        const auto *question = window->find<QPlainTextEdit>("QuestionMemo");
        QCOMPARE(question->toPlainText(), QString());
        QVERIFY(question->isReadOnly());
        QCOMPARE(question->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QStringList letters{"A", "B", "C", "D", "E"};
        for (int i = 0; i < letters.size(); ++i) {
            const auto *answer = window->find<QPlainTextEdit>(u"Memo%1"_qs.arg(i + 1));
            QCOMPARE(answer->toPlainText(), QString());
            QVERIFY(answer->isReadOnly());
            QCOMPARE(answer->viewport()->cursor().shape(), Qt::PointingHandCursor);
            const auto *letter = window->find<QLabel>("Label" + letters[i]);
            QCOMPARE(letter->text(), letters[i]);
            QVERIFY(letter->font().bold());
            QCOMPARE(letter->font().pixelSize(), 37);
            // The letter stands on its answer's rows.
            QVERIFY(letter->y() >= answer->y() && letter->y() < answer->geometry().bottom());
        }
    }

    void toolbar_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("ExamSpBtn") << "ExamSpBtn" << u"Екзамен"_qs << u"Режим екзамену"_qs;
        QTest::newRow("SpeedButton8") << "SpeedButton8" << u"Тренування"_qs << u"Режим тренування"_qs;
        QTest::newRow("StartSpeedButton") << "StartSpeedButton" << QString() << u"Розпочати тест"_qs;
        QTest::newRow("BackSpeedBtn") << "BackSpeedBtn" << QString() << u"Попереднє питання"_qs;
        QTest::newRow("NextSpeedBtn") << "NextSpeedBtn" << QString() << u"Наступне питання"_qs;
        QTest::newRow("FinishSpeedButton") << "FinishSpeedButton" << QString() << u"Закінчити тест"_qs;
        QTest::newRow("CheckSpeedButton") << "CheckSpeedButton" << QString() << u"Зробити закладку"_qs;
        QTest::newRow("TableSpeedButton") << "TableSpeedButton" << QString() << u"Показати таблицю"_qs;
        QTest::newRow("RAnsSpeedButton")
            << "RAnsSpeedButton" << QString() << u"Показати правильну відповідь"_qs;
    }
    void toolbar()
    {
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        const auto *tool = window->find<QToolButton>(button);
        QVERIFY(tool->isEnabled());
        QCOMPARE(tool->toolTip(), hint);
        QCOMPARE(tool->height(), 31);
        if (text.isEmpty()) {
            QCOMPARE(tool->toolButtonStyle(), Qt::ToolButtonIconOnly);
            QCOMPARE(tool->icon().availableSizes(), QList<QSize>{QSize(32, 32)});
        } else {
            QCOMPARE(tool->toolButtonStyle(), Qt::ToolButtonTextOnly);
            QCOMPARE(tool->text(), text);
        }
    }

    void progressBarStaysEmpty()
    {
        const auto *progress = window->find<QProgressBar>("ProgressBar1");
        QCOMPARE(progress->value(), progress->minimum());
        QVERIFY(!progress->isTextVisible());
    }

    void mainMenu()
    {
        const auto *bar = window->find<QMenuBar>("MainMenu1");
        const QList<QAction *> top = bar->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top[0]->text(), u"Старт"_qs);
        QCOMPARE(top[1]->text(), u"Режими"_qs);
        QCOMPARE(top[2]->text(), u"About"_qs);
        QVERIFY(!top[2]->menu());
        for (QAction *item : top)
            QVERIFY(item->isEnabled());

        const auto items = [](const QMenu *menu) {
            QStringList seen;
            for (const QAction *action : menu->actions())
                seen.append(action->objectName() + u' ' + action->text() + u' ' +
                            action->shortcut().toString(QKeySequence::PortableText));
            return seen;
        };
        QCOMPARE(items(top[0]->menu()), (QStringList{u"N2 Розпочати тест F2"_qs, u"N3 Наступне питання "_qs,
                                                     u"N4 Попереднє питання "_qs, u"N5 Закінчити тест F10"_qs,
                                                     u"Review1 Робота над помилками "_qs, u"N6 Вийти з програми Ctrl+F4"_qs}));
        QCOMPARE(top[1]->menu()->objectName(), u"M1"_qs);
        QCOMPARE(items(top[1]->menu()),
                 (QStringList{u"Training1 Режим Тренування "_qs, u"Test1 Режим Екзамену "_qs}));
    }

    // Tab visits these controls in this order (the disabled ones once they are enabled), and no others.
    void tabOrder()
    {
        QWidget *first = window->find<QWidget>("QuestionMemo");
        QStringList chain{first->objectName()};
        for (QWidget *next = first->nextInFocusChain(); next != first; next = next->nextInFocusChain()) {
            if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(window->form.get()))
                chain.append(next->objectName());
        }
        QCOMPARE(chain,
                 (QStringList{"QuestionMemo", "StartBtn", "TableBtn", "Memo1", "Memo2", "Memo3", "Memo4",
                              "Memo5", "NextBtn", "BackBtn", "FinishBtn", "CheckBtn", "RAnsBtn"}));
    }

private:
    std::unique_ptr<MainWindowFixture> window;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
