#include "Table.h"

#include <QHelpEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

using namespace vesk3;

namespace {

const QColor Orange(255, 128, 0);

// The colour at the middle of an item's picture: the cross and the disc both cover it.
QColor markColour(const QListWidgetItem *item)
{
    return item->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
}

bool isGreen(const QColor &colour)
{
    return colour.green() > 150 && colour.red() < 60 && colour.blue() < 60;
}

// The table of an exam whose entry e holds question number 1000 + e, and what a main window does with the
// table's jump request: note where it was asked to go and take the selection off that item.
class TableFixture
{
public:
    TableFixture()
    {
        for (int entry = 1; entry <= ExamSize; ++entry)
            state.ExamData[entry].Number = 1000 + entry;
        state.CurrentQuestion = 3;
        QObject::connect(
            &table, &TTableVeskForm::gotoQuestion, &table,
            [this] {
                jumps.append({state.CurrentQuestion, state.GotoNumber});
                table.deselectItem(state.CurrentQuestion - 1);
            },
            Qt::DirectConnection);
    }

    QListWidget *list() const { return table.findChild<QListWidget *>("ListView1"); }
    QListWidgetItem *item(const QString &caption) const
    {
        const QList<QListWidgetItem *> found = list()->findItems(caption, Qt::MatchExactly);
        return found.size() == 1 ? found.first() : nullptr;
    }
    QPushButton *closeButton() const { return table.findChild<QPushButton *>("CloseBtn"); }

    bool open()
    {
        table.show();
        table.activateWindow();
        return QTest::qWaitForWindowActive(&table);
    }

    TestState state;
    TTableVeskForm table{state};
    QList<QPair<int, int>> jumps;
};

} // namespace

class TestTable : public QObject
{
    Q_OBJECT

private slots:
    void windowHasItsCaptionSizeAndNoTitleBarButtons()
    {
        TableFixture fixture;
        const TTableVeskForm &table = fixture.table;
        QCOMPARE(table.windowTitle(), u"Таблиця питань"_qs);
        QCOMPARE(table.size(), QSize(918, 518));
        QCOMPARE(table.minimumSize(), table.maximumSize());
        QVERIFY(table.windowFlags().testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!table.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!table.windowFlags().testFlag(Qt::WindowSystemMenuHint));
        QCOMPARE(fixture.list()->geometry(), QRect(8, 8, 900, 457));
        QCOMPARE(fixture.closeButton()->geometry(), QRect(8, 472, 902, 41));
        QCOMPARE(fixture.closeButton()->text(), u"Закрити"_qs);
        QCOMPARE(fixture.list()->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(fixture.list()->flow(), QListView::TopToBottom);
        QVERIFY(fixture.list()->isWrapping());
    }

    void holds200UncheckedUnansweredItems()
    {
        TableFixture fixture;
        QListWidget *list = fixture.list();
        QCOMPARE(list->count(), ExamSize);
        for (int index = 0; index < list->count(); ++index) {
            const QListWidgetItem *item = list->item(index);
            QCOMPARE(item->text(), QString::number(index + 1));
            QVERIFY(item->flags().testFlag(Qt::ItemIsUserCheckable));
            QVERIFY(!item->flags().testFlag(Qt::ItemIsEditable));
            QCOMPARE(item->checkState(), Qt::Unchecked);
            QCOMPARE(markColour(item), Orange);
        }
    }

    // Top to bottom, then the next column to the right; all 200 fit without scrolling.
    void itemsFlowDownInColumns()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        QListWidget *list = fixture.list();
        const QRect first = list->visualItemRect(fixture.item("1"));
        const QRect second = list->visualItemRect(fixture.item("2"));
        const QRect last = list->visualItemRect(fixture.item("200"));
        QCOMPARE(second.left(), first.left());
        QVERIFY(second.top() > first.top());
        QVERIFY(last.left() > first.left());
        QVERIFY(list->viewport()->rect().contains(last));
        QVERIFY(!list->horizontalScrollBar()->isVisible());
    }

    void marksAndBookmarksAreSetAndReset()
    {
        TableFixture fixture;
        fixture.table.setItemImage(0, TableImage::Answered);
        fixture.table.setItemImage(4, TableImage::Answered);
        fixture.table.checkItem(11);
        fixture.table.checkItem(11);
        QVERIFY(isGreen(markColour(fixture.item("1"))));
        QVERIFY(isGreen(markColour(fixture.item("5"))));
        QCOMPARE(markColour(fixture.item("2")), Orange);
        QCOMPARE(fixture.item("12")->checkState(), Qt::Checked);
        QCOMPARE(fixture.item("11")->checkState(), Qt::Unchecked);

        fixture.table.setItemImage(4, TableImage::Unanswered);
        QCOMPARE(markColour(fixture.item("5")), Orange);

        fixture.table.checkItem(199);
        fixture.table.resetItems();
        for (int index = 0; index < ExamSize; ++index) {
            QCOMPARE(fixture.list()->item(index)->checkState(), Qt::Unchecked);
            QCOMPARE(markColour(fixture.list()->item(index)), Orange);
        }
    }

    void itemsOutsideTheTableAreRefused_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("200") << 200;
    }
    void itemsOutsideTheTableAreRefused()
    {
        QFETCH(int, index);
        TableFixture fixture;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, fixture.table.setItemImage(index, TableImage::Answered));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, fixture.table.checkItem(index));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, fixture.table.deselectItem(index));
    }

    // The two ways of leaving the table: its button, or activating another window of the program.
    void leavingJumpsToTheSelectedItem_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("Закрити") << true;
        QTest::newRow("main window activated") << false;
    }
    void leavingJumpsToTheSelectedItem()
    {
        QFETCH(bool, byButton);
        TableFixture fixture;
        QWidget mainWindow;
        mainWindow.show();
        QVERIFY(fixture.open());
        fixture.list()->setCurrentItem(fixture.item("57"));

        if (byButton) {
            QTest::mouseClick(fixture.closeButton(), Qt::LeftButton);
        } else {
            mainWindow.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
        }

        QTRY_VERIFY(fixture.table.isHidden());
        QCOMPARE(fixture.jumps, (QList<QPair<int, int>>{{57, 1057}}));
        QCOMPARE(fixture.state.CurrentQuestion, 57);
        QCOMPARE(fixture.state.GotoNumber, 1057);
        QVERIFY(fixture.list()->selectedItems().isEmpty());

        // Opened and left again without a new selection: no second jump.
        QVERIFY(fixture.open());
        QTest::mouseClick(fixture.closeButton(), Qt::LeftButton);
        QTRY_VERIFY(fixture.table.isHidden());
        QCOMPARE(fixture.jumps.size(), 1);
    }

    void aClickSelectsTheItemToGoTo()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        QListWidget *list = fixture.list();
        const QRect itemRect = list->visualItemRect(fixture.item("200"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          itemRect.center() + QPoint(itemRect.width() / 4, 0));
        QTest::mouseClick(fixture.closeButton(), Qt::LeftButton);
        QTRY_VERIFY(fixture.table.isHidden());
        QCOMPARE(fixture.jumps, (QList<QPair<int, int>>{{200, 1200}}));
    }

    // Hot tracking: the item under a pointer that has come to rest becomes the selected one.
    void aRestingPointerSelectsTheItemUnderIt()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        QListWidget *list = fixture.list();
        const QPoint onItem = list->visualItemRect(fixture.item("42")).center();
        QTest::mouseMove(list->viewport(), onItem);
        QTRY_COMPARE(list->selectedItems(), QList<QListWidgetItem *>{fixture.item("42")});

        QTest::mouseClick(fixture.closeButton(), Qt::LeftButton);
        QTRY_VERIFY(fixture.table.isHidden());
        QCOMPARE(fixture.jumps, (QList<QPair<int, int>>{{42, 1042}}));
    }

    void aPointerRestingBesideTheItemsSelectsNothing()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        QListWidget *list = fixture.list();
        const QPoint besideItems(list->viewport()->width() - 3, list->viewport()->height() - 3);
        QVERIFY(!list->itemAt(besideItems));
        QHelpEvent rest(QEvent::ToolTip, besideItems, list->viewport()->mapToGlobal(besideItems));
        QCoreApplication::sendEvent(list->viewport(), &rest);
        QVERIFY(list->selectedItems().isEmpty());
    }

    void escapeLeavesTheTableOpen()
    {
        TableFixture fixture;
        QVERIFY(fixture.open());
        QTest::keyClick(fixture.list(), Qt::Key_Escape);
        QVERIFY(fixture.table.isVisible());
    }
};

QTEST_MAIN(TestTable)
#include "tst_table.moc"
