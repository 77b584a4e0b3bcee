#pragma once

#include <QObject>

namespace vesk3 {

// Sees every key press in every window of the program, after the active window's menu shortcuts have had
// their turn and before the focused control, and reports each press once by its key code. A key goes on to
// its ordinary processing unless the receiver of the report marks it handled.
class ApplicationEvents : public QObject
{
    Q_OBJECT

public:
    explicit ApplicationEvents(QObject *parent = nullptr);

signals:
    void shortCut(int key, bool &handled);

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;
};

} // namespace vesk3
