#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class InitVeskForm;
}

namespace vesk3 {

// The splash window that asks the user to wait while the question bank loads, and shows how far it got.
class TInitVeskForm : public QWidget
{
    Q_OBJECT

public:
    explicit TInitVeskForm(QWidget *parent = nullptr);
    ~TInitVeskForm() override;

    // Shows the splash and paints it at once: the loading that follows keeps the event loop from painting.
    void showPainted();
    void setProgress(int position);

private:
    std::unique_ptr<Ui::InitVeskForm> ui;
};

} // namespace vesk3
