#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

// Answers the modal windows that an action opens, in the order they open. Arm it before the action:
//
//     ModalWatcher modals;
//     modals.expectMessageBox();            // press OK on the first box
//     QTest::mouseClick(button, Qt::LeftButton);
//     QCOMPARE(modals.texts(), QStringList{"..."});
//
// A message box is recorded (title, text, icon, buttons) before it is answered. A modal window that nobody
// expected, or that its answer left open, is recorded and closed, and the watcher fails the test when it
// goes: an unexpected box fails loudly instead of waiting for a click. Only the newest watcher alive answers.
// An expectation that no window met stays pending, which pendingCount() shows.
class ModalWatcher : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
    };

    ModalWatcher()
    {
        live.push_back(this);
        pollSoon();
    }
    ~ModalWatcher() override
    {
        std::erase(live, this);
        if (!unexpected.isEmpty())
            QTest::qFail(qPrintable("unexpected modal windows: " + unexpected.join(u" | ")), __FILE__,
                         __LINE__);
    }

    void expect(std::function<void(QWidget *)> act) { pending.push_back(std::move(act)); }
    void expectMessageBox(QMessageBox::StandardButton press = QMessageBox::Ok)
    {
        expect([this, press](QWidget *widget) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box)
                return refuse(widget);
            recorded.append({box->windowTitle(), box->text(), box->icon(), {}});
            for (QAbstractButton *button : box->buttons())
                recorded.back().buttons.append(button->text());
            box->button(press) ? box->button(press)->click() : void(box->close());
        });
    }

    const QList<Box> &boxes() const { return recorded; }
    QStringList texts() const
    {
        QStringList result;
        for (const Box &box : recorded)
            result.append(box.text);
        return result;
    }
    int pendingCount() const { return int(pending.size()); }

private:
    // A fresh timer each time, so that a window opened while another is being answered is seen too.
    void pollSoon()
    {
        QTimer::singleShot(5, this, [this] {
            pollSoon();
            const QPointer<QWidget> modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || live.back() != this || beingAnswered(modal))
                return;
            if (pending.empty())
                return refuse(modal);
            const auto act = std::move(pending.front());
            pending.pop_front();
            answering.push_back(modal);
            act(modal);
            answering.pop_back();
            // A window its answer left open would keep the test waiting: it fails and is closed.
            if (modal && modal->isVisible())
                refuse(modal);
        });
    }

    // The window is in the middle of being answered, by this watcher or an older one, whatever it opens on
    // top.
    static bool beingAnswered(const QWidget *window)
    {
        return std::ranges::any_of(live, [window](const ModalWatcher *watcher) {
            return std::ranges::find(watcher->answering, window) != watcher->answering.end();
        });
    }

    void refuse(QWidget *window)
    {
        const auto *box = qobject_cast<QMessageBox *>(window);
        unexpected.append(QString(window->metaObject()->className()) + u' ' +
                          (box ? box->text() : window->windowTitle()));
        window->close();
    }

    inline static std::vector<ModalWatcher *> live;
    std::deque<std::function<void(QWidget *)>> pending;
    std::vector<QPointer<QWidget>> answering;
    QList<Box> recorded;
    QStringList unexpected;
};
