#include "Table.h"

#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

using namespace vesk3;

namespace {

const QColor Orange(255, 128, 0);

// The pointer moved as the window system reports it, to the window under it.
void movePointer(QWidget *widget, QPoint position)
{
    QTest::mouseMove(widget->window()->windowHandle(), widget->mapTo(widget->window(), position));
}

// The colour at the middle of an item's picture: the cross and the disc both cover it.
QColor markColour(const QListWidgetItem *item)
{
    return item->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
}

// The table of an exam whose entry e holds question number 1000 + e, beside a main window, and what that
// window does with the table's jump request: note where it was asked to go and take the selection off.
struct TableFixture
{
    TableFixture()
    {
        for (int entry = 1; entry <= ExamSize; ++entry)
            state.ExamData[entry].Number = 1000 + entry;
        QObject::connect(
            &table, &TTableVeskForm::gotoQuestion, &table,
            [this] {
                jumps.append({state.CurrentQuestion, state.GotoNumber});
                table.deselectItem(state.CurrentQuestion - 1);
            },
            Qt::DirectConnection);
        mainWindow.show();
    }

    QListWidget *list() const { return table.findChild<QListWidget *>("ListView1"); }
    QListWidgetItem *item(int number) const { return list()->item(number - 1); }
    QPushButton *closeButton() const { return table.findChild<QPushButton *>("CloseBtn"); }

    bool open()
    {
        table.show();
        table.activateWindow();
        return QTest::qWaitForWindowActive(&table);
    }

    TestState state;
    TTableVeskForm table{state};
    QWidget mainWindow;
    QList<QPair<int, int>> jumps;
};

} // namespace

class TestTable : public QObject
{
    Q_OBJECT

private slots:
    void windowItemsMarksAndBookmarks()
    {
        TableFixture fixture;
        const TTableVeskForm &table = fixture.table;
        QListWidget *list = fixture.list();
        QCOMPARE(table.windowTitle(), u"Таблиця питань"_qs);
        QVERIFY(!table.windowFlags().testAnyFlags(Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
        QCOMPARE(fixture.closeButton()->text(), u"Закрити"_qs);
        QCOMPARE(list->count(), ExamSize);
        for (int number = 1; number <= ExamSize; ++number) {
            const QListWidgetItem *item = fixture.item(number);
            QCOMPARE(std::tuple(item->text(), item->checkState(), markColour(item)),
                     std::tuple(QString::number(number), Qt::Unchecked, Orange));
        }
        // Top to bottom, then the next column to the right; all 200 fit without scrolling.
        QVERIFY(fixture.open());
        QCOMPARE(list->visualItemRect(fixture.item(2)).left(), list->visualItemRect(fixture.item(1)).left());
        QVERIFY(list->visualItemRect(fixture.item(2)).top() > list->visualItemRect(fixture.item(1)).top());
        QVERIFY(list->viewport()->rect().contains(list->visualItemRect(fixture.item(200))));
        QVERIFY(!list->horizontalScrollBar()->isVisible());

        fixture.table.setItemImage(199, TableImage::Answered);
        fixture.table.checkItem(199);
        fixture.table.resetItems();
        for (const int number : {5, 12, 200}) {
            QCOMPARE(fixture.item(number)->checkState(), Qt::Unchecked);
            QCOMPARE(markColour(fixture.item(number)), Orange);
        }
    }

    // The item clicked (0 for none), then the user's steps: "close" for Закрити, "main" or "other" for
    // activating the main window or another program's, "escape"; what a window manager may do whatever the
    // table asks for: "wmclose" its close box, "minimise" (the main window then takes over); "show" for the
    // table shown again; the pointer passing over item 7 ("pass"), going on to Закрити ("button"), and
    // time for it to come to rest ("wait"). After each, whether the table is open (or "min" for minimised)
    // and how many jumps were asked for.
    void leaving_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, int selected, const char *steps, const char *after) {
            QTest::newRow(name) << selected << QString(steps) << QString(after);
        };
        row("Закрити", 57, "close", "closed1");
        row("the main window", 57, "main", "closed1");
        row("the last item, then Закрити", 200, "close", "closed1");
        row("nothing selected", 0, "close main", "closed0 closed0");
        row("Escape", 57, "escape", "open0");
        row("another program, then the main window", 57, "other main", "open0 closed1");
        row("the window manager's close box", 57, "wmclose", "closed1");
        row("minimised, then shown again", 57, "minimise show", "closed1 open1");
        row("passing over items on the way to Закрити", 0, "pass button wait close",
            "open0 open0 open0 closed0");
        row("passing over items, then the main window", 0, "pass main wait show close",
            "open0 closed0 closed0 open0 closed0");
    }
    void leaving()
    {
        QFETCH(int, selected);
        QFETCH(QString, steps);
        QFETCH(QString, after);
        TableFixture fixture;
        QWindow otherProgram;
        QVERIFY(fixture.open());
        QListWidget *list = fixture.list();
        if (selected > 0)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(fixture.item(selected)).center());
        QStringList seen;
        for (const QString &step : steps.split(' ')) {
            if (step == u"close") {
                QTest::mouseClick(fixture.closeButton(), Qt::LeftButton);
            } else if (step == u"main") {
                fixture.mainWindow.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&fixture.mainWindow));
            } else if (step == u"other") {
                otherProgram.show();
                otherProgram.requestActivate();
                QVERIFY(QTest::qWaitForWindowActive(&otherProgram));
            } else if (step == u"wmclose") {
                fixture.table.windowHandle()->close();
            } else if (step == u"minimise") {
                fixture.table.setWindowState(Qt::WindowMinimized);
                fixture.mainWindow.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&fixture.mainWindow));
            } else if (step == u"show") {
                fixture.table.show();
            } else if (step == u"pass") {
                movePointer(list->viewport(), list->visualItemRect(fixture.item(7)).center());
            } else if (step == u"button") {
                movePointer(fixture.closeButton(), fixture.closeButton()->rect().center());
            } else if (step == u"wait") {
                QTest::qWait(1000);
            } else {
                QTest::keyClick(list, Qt::Key_Escape);
            }
            const QString open = fixture.table.isMinimized() ? "min" : "open";
            seen.append((fixture.table.isVisible() ? open : "closed") +
                        QString::number(fixture.jumps.size()));
        }
        QCOMPARE(seen.join(' '), after);
        if (fixture.jumps.isEmpty())
            return;
        QCOMPARE(fixture.jumps.first(), qMakePair(selected, 1000 + selected));
        // Opened and left again without a new selection: no second jump.
        QVERIFY(fixture.open());
        QTest::mouseClick(fixture.closeButton(), Qt::LeftButton);
        QCOMPARE(fixture.jumps.size(), 1);
    }

    // The item under the moving pointer is drawn hot at once and becomes the selected item when the pointer
    // rests on it; resting beside the items changes nothing.
    void hotTracking()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        QListWidget *list = fixture.list();
        const QRect onItem = list->visualItemRect(fixture.item(42));
        const QImage plain = list->viewport()->grab(onItem).toImage();
        movePointer(list->viewport(), onItem.center());
        QVERIFY(list->viewport()->grab(onItem).toImage() != plain);
        QVERIFY(list->selectedItems().isEmpty());
        QTRY_COMPARE(list->selectedItems(), QList<QListWidgetItem *>{fixture.item(42)});
        const QPoint besideItems(list->viewport()->width() - 3, list->viewport()->height() - 3);
        movePointer(list->viewport(), besideItems);
        QTest::qWait(1000);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem *>{fixture.item(42)});
    }
};

QTEST_MAIN(TestTable)
#include "tst_table.moc"
