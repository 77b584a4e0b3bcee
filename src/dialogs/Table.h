#pragma once

#include "FixedDialog.h"
#include "Routines.h"

#include <QIcon>
#include <QTimer>
#include <array>
#include <memory>

class QListWidgetItem;

namespace Ui {
class TableVeskForm;
}

namespace vesk3 {

// The images of ImageList1, by index.
enum class TableImage
{
    Unanswered = 0,
    Answered = 1
};

// The question table of a running exam: one item per exam entry, showing whether it was answered and
// whether it is bookmarked. Not modal, without any title-bar buttons; it hides itself as soon as another
// window of the program becomes active, or on its button, and then asks the main window to show the item the
// user selected.
class TTableVeskForm : public FixedDialog
{
    Q_OBJECT

public:
    explicit TTableVeskForm(TestState &state, QWidget *parent = nullptr);
    ~TTableVeskForm() override;

    // Items are counted from 0: item i stands for exam entry i + 1. Any other index throws std::out_of_range.
    void setItemImage(int item, TableImage image);
    void checkItem(int item);
    bool isItemChecked(int item) const;
    void deselectItem(int item);
    // Every item back to the unanswered mark, without its bookmark.
    void resetItems();

    // Shown, the table always comes back normal, in front and active, also after a window manager minimised
    // it.
    void setVisible(bool visible) override;

signals:
    // Sent after GotoNumber and CurrentQuestion name the selected entry; the main window connects it
    // directly, so the question is shown before the table goes on.
    void gotoQuestion();
    // An item's check box changed, by checkItem or by the user's click.
    void bookmarkChanged(int item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void CloseBtnClick();
    void activeWindowChanged();
    void FormDeactivate();
    void hotTrack(const QEvent &event);
    void selectItemAt(QPoint viewportPosition);
    QListWidgetItem &item(int index) const;

    std::unique_ptr<Ui::TableVeskForm> ui;
    TestState &state;
    std::array<QIcon, 2> ImageList1;
    // Hot tracking: runs out when the pointer has rested over the list, at the place last seen.
    QTimer restTimer;
    QPoint pointer;
    // Whether the table was the last window of the program to be active.
    bool wasLastActive = false;
};

} // namespace vesk3
