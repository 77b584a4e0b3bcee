#pragma once

#include <QObject>

class QAbstractScrollArea;

namespace vesk3 {

// Tells when the left mouse button is released over a text box, its frame or its text area alike: a click
// anywhere on the box.
class ClickNotifier : public QObject
{
    Q_OBJECT

public:
    explicit ClickNotifier(QAbstractScrollArea &box);

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vesk3
