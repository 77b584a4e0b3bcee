#include "ProgressVeskForm.h"

#include "MessageBoxes.h"
#include "ReviewVeskForm.h"
#include "Routines.h"
#include "SaveToFile.h"
#include "WindowFont.h"
#include "ui_ProgressVeskForm.h"

#include <QChartView>
#include <QCursor>
#include <QFile>
#include <QLineSeries>
#include <QProgressBar>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <ranges>

namespace vesk3 {

namespace {

enum SubjectColumns
{
    TitleColumn,
    InBankColumn,
    SeenColumn,
    RightLastColumn,
    ShareColumn,
    BarColumn,
    MistakesColumn
};

const QString DateFormat = u"dd.MM.yyyy HH:mm"_qs;

void setNumber(QTableWidget &table, int row, int column, const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    table.setItem(row, column, item);
}

} // namespace

void showRecordMessages(ProgressRecord &record)
{
    for (const QString &message : record.takeMessages())
        showMessage(message);
}

TProgressVeskForm::TProgressVeskForm(ProgressRecord &record, bank::ExcelApplication &ExcelApp,
                                     const WorkbookKeys &keys, const bank::BankSizes &bankSize,
                                     QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ProgressVeskForm>()), record(record), ExcelApp(ExcelApp),
      keys(keys), bankSize(bankSize)
{
    setFont(windowFont(11));
    ui->setupUi(this);
    ui->SubjectTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->SubjectTable->horizontalHeader()->setSectionResizeMode(BarColumn, QHeaderView::Stretch);
    for (int subject = 0; subject < bank::SubjectCount; ++subject) {
        auto *bar = new QProgressBar(ui->SubjectTable);
        bar->setObjectName(u"MasteredBar%1"_qs.arg(subject));
        ui->SubjectTable->setCellWidget(subject, BarColumn, bar);
        auto *train = new QPushButton(u"Тренувати помилки"_qs, ui->SubjectTable);
        train->setObjectName(u"MistakesBtn%1"_qs.arg(subject));
        ui->SubjectTable->setCellWidget(subject, MistakesColumn, train);
        connect(train, &QPushButton::clicked, this, [this, subject] { MistakesBtnClick(subject); });
    }
    connect(ui->TestList, &QTreeWidget::itemDoubleClicked, this, &TProgressVeskForm::ViewBtnClick);
    connect(ui->ViewBtn, &QPushButton::clicked, this, &TProgressVeskForm::ViewBtnClick);
    connect(ui->ExportBtn, &QPushButton::clicked, this, &TProgressVeskForm::ExportBtnClick);
    connect(ui->ClearBtn, &QPushButton::clicked, this, &TProgressVeskForm::ClearBtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    fill();
}

TProgressVeskForm::~TProgressVeskForm() = default;

const std::vector<std::int32_t> &TProgressVeskForm::mistakeQuestions() const
{
    return subjects.at(std::size_t(chosenSubject)).mistakes;
}

void TProgressVeskForm::fill()
{
    tests = record.tests();
    exams.clear();
    std::ranges::copy_if(tests | std::views::reverse, std::back_inserter(exams), [](const TestSummary &test) {
        return test.exam && test.status == TestStatus::Finished;
    });
    subjects = subjectProgress(record.questions(), keys, bankSize);
    showRecordMessages(record);
    showExamChart();
    showSubjects();
    showTests();
}

// One point per finished exam in date order, evenly spaced: two exams on one day stand apart. The line of
// text stands in for a chart without points.
void TProgressVeskForm::showExamChart()
{
    delete ui->ChartFrame->findChild<QChartView *>();
    ui->NoExamLabel->setVisible(exams.empty());
    if (exams.empty())
        return;
    auto *line = new QLineSeries;
    // The points themselves answer the pointer: each tells its exam's date and score.
    auto *points = new QScatterSeries;
    points->setMarkerSize(8);
    for (std::size_t index = 0; index < exams.size(); ++index) {
        line->append(qreal(index + 1), exams[index].score);
        points->append(qreal(index + 1), exams[index].score);
    }
    auto *chart = new QChart;
    chart->addSeries(line);
    chart->addSeries(points);
    points->setColor(line->color());
    chart->legend()->hide();
    chart->setMargins({});
    auto *order = new QValueAxis;
    const auto count = qreal(exams.size());
    order->setRange(0.5, count + 0.5);
    order->setTickType(QValueAxis::TicksDynamic);
    order->setTickAnchor(1);
    order->setTickInterval(std::max(1.0, std::ceil(count / 8)));
    order->setLabelFormat(u"%d"_qs);
    order->setTitleText(u"Екзамени по черзі; дата — під вказівником"_qs);
    auto *percent = new QValueAxis;
    percent->setRange(0, 100);
    percent->setLabelFormat(u"%d%%"_qs);
    chart->addAxis(order, Qt::AlignBottom);
    chart->addAxis(percent, Qt::AlignLeft);
    for (QXYSeries *series : {static_cast<QXYSeries *>(line), static_cast<QXYSeries *>(points)}) {
        series->attachAxis(order);
        series->attachAxis(percent);
    }
    connect(points, &QScatterSeries::hovered, this, &TProgressVeskForm::examHovered);
    auto *view = new QChartView(chart, ui->ChartFrame);
    view->setObjectName(u"ExamChart"_qs);
    view->setRenderHint(QPainter::Antialiasing);
    ui->ChartFrame->layout()->addWidget(view);
}

// The exam of the point under the pointer, by its date and score.
void TProgressVeskForm::examHovered(const QPointF &point, bool entered)
{
    if (!entered || exams.empty()) {
        QToolTip::hideText();
        return;
    }
    const auto index = std::size_t(std::clamp(qRound(point.x()), 1, int(exams.size())) - 1);
    const TestSummary &exam = exams[index];
    QToolTip::showText(QCursor::pos(), exam.finished.toString(DateFormat) + u" — "_qs + scoreText(exam.score),
                       this);
}

void TProgressVeskForm::showSubjects()
{
    QTableWidget &table = *ui->SubjectTable;
    for (int row = 0; row < bank::SubjectCount; ++row) {
        const SubjectProgress &subject = subjects[std::size_t(row)];
        auto *title = new QTableWidgetItem(
            subjectTitle(QString::fromUtf8(bank::SubjectSheets[std::size_t(row)].data())));
        table.setItem(row, TitleColumn, title);
        setNumber(table, row, InBankColumn, QString::number(subject.inBank));
        setNumber(table, row, SeenColumn, QString::number(subject.seen));
        setNumber(table, row, RightLastColumn, QString::number(subject.rightLast));
        setNumber(table, row, ShareColumn,
                  subject.answers == 0 ? u"—"_qs
                                       : scoreText(examScore(subject.answers, subject.rightAnswers)));
        auto *bar = static_cast<QProgressBar *>(table.cellWidget(row, BarColumn));
        bar->setRange(0, std::max(subject.inBank, 1));
        bar->setValue(subject.rightLast);
        auto *train = static_cast<QPushButton *>(table.cellWidget(row, MistakesColumn));
        train->setEnabled(!subject.mistakes.empty());
        train->setToolTip(
            subject.mistakes.empty()
                ? u"Немає питань цього розділу, на які ви востаннє відповіли неправильно або не "
                  "відповіли."_qs
                : u"Тренування з питань, на які ви востаннє відповіли неправильно або не відповіли: "
                  "%1."_qs.arg(subject.mistakes.size()));
    }
    table.resizeRowsToContents();
    table.setFixedHeight(table.horizontalHeader()->height() + table.rowHeight(0) * bank::SubjectCount +
                         2 * table.frameWidth());
}

void TProgressVeskForm::showTests()
{
    ui->TestList->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(tests.size()));
    for (std::size_t index = 0; index < tests.size(); ++index) {
        const TestSummary &test = tests[index];
        auto *item = new QTreeWidgetItem({test.started.toString(DateFormat), testKindText(test),
                                          test.exam ? QString() : subjectTitle(test.subject),
                                          u"%1 з %2"_qs.arg(test.answered).arg(test.asked),
                                          QString::number(test.right), scoreText(test.score),
                                          durationText(test.seconds)});
        item->setData(0, Qt::UserRole, qulonglong(index));
        items.append(item);
    }
    ui->TestList->addTopLevelItems(items);
    // Room between the columns: their texts are short and mostly numbers.
    for (int column = 0; column < ui->TestList->columnCount(); ++column) {
        ui->TestList->resizeColumnToContents(column);
        ui->TestList->setColumnWidth(column, ui->TestList->columnWidth(column) + 24);
    }
    ui->TestList->setCurrentItem(ui->TestList->topLevelItem(0));
    ui->ViewBtn->setEnabled(!tests.empty());
    ui->ExportBtn->setEnabled(!tests.empty());
    ui->ClearBtn->setEnabled(!tests.empty());
}

void TProgressVeskForm::MistakesBtnClick(int subject)
{
    chosenSubject = subject;
    done(MistakesAsked);
}

// The test's questions are found in today's workbook by their keys; one it no longer holds shows that.
void TProgressVeskForm::ViewBtnClick()
{
    const QTreeWidgetItem *current = ui->TestList->currentItem();
    if (!current)
        return;
    const TestSummary &test = tests.at(current->data(0, Qt::UserRole).toULongLong());
    std::vector<ReviewEntry> entries;
    for (KeptEntry &kept : record.entriesOf(test.id)) {
        kept.entry.Number = keys.rowOf(kept.key);
        entries.push_back(kept.entry);
    }
    showRecordMessages(record);
    const TestReview review = TestReview::ofHistory(test.exam, std::move(entries));
    TReviewVeskForm window(review, ExcelApp, this);
    window.exec();
}

void TProgressVeskForm::ExportBtnClick()
{
    saveToFile(this, u"Експорт історії тестів у CSV"_qs, u"Мій прогрес.csv"_qs, u"CSV (*.csv)"_qs,
               [this](QFile &file) { file.write(testsCsv(tests)); });
}

void TProgressVeskForm::ClearBtnClick()
{
    if (!askToConfirm(
            u"Очистити історію? Буде видалено всі пройдені тести (%1) з їхніми відповідями й балами, а "
            "з ними і пул помилок для тренування. Повернути їх буде неможливо."_qs.arg(tests.size())))
        return;
    record.clear();
    showRecordMessages(record);
    fill();
}

} // namespace vesk3
