#include "Table.h"

#include "ui_Table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QWindow>
#include <chrono>
#include <stdexcept>
#include <string>

namespace vesk3 {

namespace {

constexpr int ImageSize = 16;

// The usual hover time of the desktop: a pointer still for this long has come to rest.
constexpr std::chrono::milliseconds RestTime(400);

QPixmap emptyImage()
{
    QPixmap image(ImageSize, ImageSize);
    image.fill(Qt::transparent);
    return image;
}

// The unanswered mark: an orange cross.
QIcon crossImage()
{
    QPixmap image = emptyImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 128, 0), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4, 4), QPointF(12, 12));
    painter.drawLine(QPointF(12, 4), QPointF(4, 12));
    return QIcon(image);
}

// The answered mark: a green disc.
QIcon discImage()
{
    QPixmap image = emptyImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 110, 0), 1));
    painter.setBrush(QColor(0, 190, 0));
    painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return QIcon(image);
}

} // namespace

TTableVeskForm::TTableVeskForm(TestState &state, QWidget *parent)
    : FixedDialog(parent), ui(std::make_unique<Ui::TableVeskForm>()),
      state(state), ImageList1{crossImage(), discImage()}
{
    ui->setupUi(this);
    // No title-bar buttons at all: the window is left through its button or by activating another one.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    fixGeometry({259, 203});

    // The inner border between the list's frame and its items, and the hot item under the pointer.
    ui->ListView1->setStyleSheet(
        QStringLiteral("QListWidget { padding: 12px; background-color: palette(base); }"
                       "QListWidget::item:hover:!selected { background-color: #cce4f7; }"));
    for (int number = 1; number <= ExamSize; ++number) {
        auto *entry = new QListWidgetItem(ImageList1[0], QString::number(number), ui->ListView1);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
    ui->ListView1->setMouseTracking(true);
    ui->ListView1->viewport()->setAttribute(Qt::WA_Hover);
    ui->ListView1->viewport()->installEventFilter(this);
    restTimer.setSingleShot(true);
    restTimer.setInterval(RestTime);
    connect(&restTimer, &QTimer::timeout, this, [this] { selectItemAt(pointer); });
    connect(ui->ListView1, &QListWidget::itemChanged, this,
            [this](QListWidgetItem *changed) { emit bookmarkChanged(ui->ListView1->row(changed)); });
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TTableVeskForm::CloseBtnClick);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TTableVeskForm::activeWindowChanged);
}

TTableVeskForm::~TTableVeskForm() = default;

// Only a check box's change is told: the images follow the answers, which their owner keeps itself.
void TTableVeskForm::setItemImage(int index, TableImage image)
{
    const QSignalBlocker quiet(ui->ListView1);
    item(index).setIcon(ImageList1[std::size_t(image)]);
}

void TTableVeskForm::checkItem(int index)
{
    item(index).setCheckState(Qt::Checked);
}

bool TTableVeskForm::isItemChecked(int index) const
{
    return item(index).checkState() == Qt::Checked;
}

void TTableVeskForm::deselectItem(int index)
{
    item(index).setSelected(false);
}

void TTableVeskForm::resetItems()
{
    const QSignalBlocker quiet(ui->ListView1);
    for (int index = 0; index < ExamSize; ++index) {
        setItemImage(index, TableImage::Unanswered);
        item(index).setCheckState(Qt::Unchecked);
    }
}

void TTableVeskForm::setVisible(bool visible)
{
    if (visible)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    FixedDialog::setVisible(visible);
    if (visible) {
        raise();
        activateWindow();
    }
}

// Window managers that draw a close box whatever the window asks for: closing leaves the table as Закрити
// does.
void TTableVeskForm::closeEvent(QCloseEvent *event)
{
    if (isVisible())
        FormDeactivate();
    event->accept();
}

// A pointer that was still moving when the table went away has not rested on anything.
void TTableVeskForm::hideEvent(QHideEvent *event)
{
    restTimer.stop();
    FixedDialog::hideEvent(event);
}

bool TTableVeskForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->ListView1->viewport())
        hotTrack(*event);
    return FixedDialog::eventFilter(watched, event);
}

// The style shows the hot item while the pointer moves; the item it rests on becomes the selected one.
void TTableVeskForm::hotTrack(const QEvent &event)
{
    if (event.type() == QEvent::MouseMove) {
        pointer = static_cast<const QMouseEvent &>(event).position().toPoint();
        restTimer.start();
    } else if (event.type() == QEvent::Leave) {
        restTimer.stop();
    }
}

// Left through its button, the table jumps whether or not the window manager ever made it active.
void TTableVeskForm::CloseBtnClick()
{
    FormDeactivate();
}

// Another window of the program taking over from the table leaves it, also on coming back from another
// program; another program taking over (no active window here at all) leaves the table as it is.
void TTableVeskForm::activeWindowChanged()
{
    const QWidget *active = QApplication::activeWindow();
    if (!active)
        return;
    if (active != this && wasLastActive && isVisible())
        FormDeactivate();
    wasLastActive = active == this;
}

void TTableVeskForm::FormDeactivate()
{
    hide();
    for (int index = 0; index < ExamSize; ++index) {
        if (item(index).isSelected()) {
            const int entry = index + 1;
            state.GotoNumber = state.ExamData[entry].Number;
            state.CurrentQuestion = entry;
            emit gotoQuestion();
            return;
        }
    }
}

void TTableVeskForm::selectItemAt(QPoint viewportPosition)
{
    if (QListWidgetItem *under = ui->ListView1->itemAt(viewportPosition))
        ui->ListView1->setCurrentItem(under);
}

QListWidgetItem &TTableVeskForm::item(int index) const
{
    QListWidgetItem *found = ui->ListView1->item(index);
    if (!found)
        throw std::out_of_range("there is no table item " + std::to_string(index));
    return *found;
}

} // namespace vesk3
