#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>

// Answers the modal windows that an action opens, in the order they open. Arm it before the action:
//
//     ModalWatcher modals;
//     modals.expectMessageBox();            // press OK on the first box
//     QTest::mouseClick(button, Qt::LeftButton);
//     QCOMPARE(modals.boxes().at(0).text, "...");
//
// Each expectation is met by the next modal widget that becomes active; a message box is recorded (title,
// text, icon) before it is answered. A modal window that never opens leaves its expectation pending, which
// pendingCount() shows; nothing waits forever, since the watcher stops polling when it is destroyed.
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
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, &ModalWatcher::answerActiveModal);
        poll.start();
    }

    void expect(std::function<void(QWidget *)> act) { pending.push_back(std::move(act)); }

    void expectMessageBox(QMessageBox::StandardButton press = QMessageBox::Ok)
    {
        expect([this, press](QWidget *widget) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box) {
                unexpected.append(widget->metaObject()->className());
                widget->close();
                return;
            }
            Box seen{box->windowTitle(), box->text(), box->icon(), {}};
            for (QAbstractButton *button : box->buttons())
                seen.buttons.append(button->text());
            recorded.append(seen);
            if (QAbstractButton *button = box->button(press))
                button->click();
            else
                box->close();
        });
    }

    const QList<Box> &boxes() const { return recorded; }
    // Class names of modal windows that opened where a message box was expected.
    const QStringList &unexpectedWindows() const { return unexpected; }
    int pendingCount() const { return int(pending.size()); }

private:
    void answerActiveModal()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == answered || pending.empty() || !modal->isVisible())
            return;
        answered = modal;
        auto act = std::move(pending.front());
        pending.pop_front();
        act(modal);
    }

    QTimer poll;
    std::deque<std::function<void(QWidget *)>> pending;
    QPointer<QWidget> answered;
    QList<Box> recorded;
    QStringList unexpected;
};
