#pragma once

#include "FixedDialog.h"
#include "Routines.h"

#include <memory>

namespace Ui {
class ResultVeskForm;
}

namespace vesk3 {

// The results of a finished test, shown modally; "Помилки" closes it as OK does, asking for the review. An
// exam's figures are counted from the exam itself; a training run's arrive as TrainingResultTexts before the
// dialog is shown.
class TResultVeskForm : public FixedDialog
{
    Q_OBJECT

public:
    // What exec() returns when the student asked to go through the mistakes.
    static constexpr int ReviewAsked = 2;

    explicit TResultVeskForm(const TestState &state, QWidget *parent = nullptr);
    ~TResultVeskForm() override;

    void setTrainingResultTexts(const ResultTexts &texts);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void OKBtnClick();
    void ReviewBtnClick();
    void showLines(const ResultTexts &values);

    std::unique_ptr<Ui::ResultVeskForm> ui;
    const TestState &state;
    ResultTexts TrainingResultTexts;
};

} // namespace vesk3
