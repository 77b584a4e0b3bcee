#pragma once

#include "BankError.h"
#include "MessageBoxes.h"

#include <QObject>
#include <QString>
#include <functional>
#include <utility>

namespace vesk3 {

// Runs an event handler so that a question-bank error stops it at the failing call: the error box shows
// the error's text and the steps already done stay done. No exception may cross Qt's event dispatch.
template <typename Handler, typename... Args> void guarded(Handler &&handler, Args &&...args)
{
    try {
        std::invoke(std::forward<Handler>(handler), std::forward<Args>(args)...);
    } catch (const workbook::BankError &error) {
        showError(QString::fromUtf8(error.what()));
    }
}

// Binds a signal to a window's handler, which then runs guarded; the signal's arguments are not passed on.
template <typename Sender, typename Signal, typename Window>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, Window *window,
                                       void (Window::*handler)())
{
    return QObject::connect(sender, signal, window, [window, handler] { guarded(handler, window); });
}

} // namespace vesk3
