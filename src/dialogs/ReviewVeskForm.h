#pragma once

#include "BankLoading.h"
#include "TestReview.h"

#include <QDialog>
#include <array>
#include <memory>

class QIODevice;
class QTreeWidgetItem;

namespace bank {
class ExcelApplication;
}

namespace Ui {
class ReviewVeskForm;
}

namespace vesk3 {

// A question of the review as the window shows it: its texts read afresh from the workbook, or the
// reading's error in place of the question.
struct ReviewTexts
{
    QString question;
    std::array<QString, bank::AnswerCount> answers; // in the worksheet's order, the right one first
};

// Going through a finished test's mistakes: its questions with their outcomes, the selected one with its
// answers marked, and the mistakes written out as a PDF file.
class TReviewVeskForm : public QDialog
{
    Q_OBJECT

public:
    TReviewVeskForm(const TestReview &review, bank::ExcelApplication &ExcelApp, QWidget *parent = nullptr);
    ~TReviewVeskForm() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillList();
    void showSummary();
    void MistakesBoxClick();
    void showSelected();
    void showEntry(const ReviewEntry &entry);
    void SaveBtnClick();
    void writePdf(QIODevice &file);
    QString listedHtml();
    ReviewTexts readTexts(const ReviewEntry &entry);
    const ReviewEntry &entryOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *firstListed() const;

    std::unique_ptr<Ui::ReviewVeskForm> ui;
    const TestReview &review;
    bank::ExcelApplication &ExcelApp;
};

} // namespace vesk3
