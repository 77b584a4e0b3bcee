#include "ReviewVeskForm.h"

#include "BankError.h"
#include "ExcelApplication.h"
#include "MessageBoxes.h"
#include "Routines.h"
#include "SaveToFile.h"
#include "WindowFont.h"
#include "ui_ReviewVeskForm.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vesk3 {

namespace {

// The right answer in the main window's green; the student's other choice in red.
const QColor RightColour(0, 255, 0);
const QColor WrongChoiceColour(255, 96, 96);

constexpr int NumberColumn = 0;
constexpr int SubjectColumn = 1;
constexpr int OutcomeColumn = 2;

QString outcomeText(ReviewOutcome outcome)
{
    switch (outcome) {
    case ReviewOutcome::Right:
        return u"Правильно"_qs;
    case ReviewOutcome::Wrong:
        return u"Неправильно"_qs;
    case ReviewOutcome::Unanswered:
        break;
    }
    return u"Без відповіді"_qs;
}

bool isMistake(const ReviewEntry &entry)
{
    return entry.outcome() != ReviewOutcome::Right;
}

void setBoxColour(QWidget &box, const QColor &colour)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, colour);
    box.setPalette(palette);
}

QString paragraph(const QString &label, const QString &text)
{
    return u"<p><b>%1</b> %2</p>"_qs.arg(label, text.toHtmlEscaped().replace(u'\n', u"<br>"_qs));
}

// Each question of the list starts with a heading of this level.
constexpr int QuestionHeading = 3;

bool startsQuestion(const QTextBlock &block)
{
    return block.blockFormat().headingLevel() == QuestionHeading;
}

// A question's block (its heading up to the next question's) that would be split between two pages starts on
// the next page instead, unless it is longer than a page anyway. The document must be laid out on pages.
void keepQuestionsOnOnePage(QTextDocument &document)
{
    const QAbstractTextDocumentLayout *layout = document.documentLayout();
    const qreal pageHeight = document.pageSize().height();
    const auto page = [pageHeight](qreal y) {
        return int(y / pageHeight);
    };
    for (QTextBlock first = document.begin(); first.isValid();) {
        QTextBlock last = first;
        while (last.next().isValid() && !startsQuestion(last.next()))
            last = last.next();
        const qreal top = layout->blockBoundingRect(first).top();
        const qreal bottom = layout->blockBoundingRect(last).bottom();
        if (startsQuestion(first) && page(top) != page(bottom - 1) && bottom - top <= pageHeight) {
            QTextBlockFormat breakBefore;
            breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(first).mergeBlockFormat(breakBefore);
            // Qt moves the blocks after a change without dividing them into pages anew: a fresh layout does.
            document.setPageSize(document.pageSize());
        }
        first = last.next();
    }
}

} // namespace

TReviewVeskForm::TReviewVeskForm(const TestReview &review, bank::ExcelApplication &ExcelApp, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ReviewVeskForm>()), review(review), ExcelApp(ExcelApp)
{
    setFont(windowFont(11));
    ui->setupUi(this);
    QFont letters = windowFont(15);
    letters.setBold(true);
    const std::array answers{ui->Answer1, ui->Answer2, ui->Answer3, ui->Answer4, ui->Answer5};
    const std::array letterLabels{ui->Letter1, ui->Letter2, ui->Letter3, ui->Letter4, ui->Letter5};
    for (std::size_t k = 0; k < answers.size(); ++k) {
        answers[k]->setReadOnly(true);
        answers[k]->setFocusPolicy(Qt::NoFocus);
        answers[k]->setMinimumHeight(answers[k]->fontMetrics().lineSpacing() * 2 + 12);
        letterLabels[k]->setFont(letters);
        letterLabels[k]->setFixedWidth(letterLabels[k]->fontMetrics().horizontalAdvance(u'W') + 4);
        letterLabels[k]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    // Up and Down go through the list whichever control has the keyboard.
    for (QWidget *control : {static_cast<QWidget *>(ui->MistakesBox), static_cast<QWidget *>(ui->SaveBtn),
                             static_cast<QWidget *>(ui->CloseBtn)})
        control->installEventFilter(this);
    fillList();
    showSummary();
    connect(ui->QuestionList, &QTreeWidget::currentItemChanged, this, &TReviewVeskForm::showSelected);
    connect(ui->MistakesBox, &QCheckBox::toggled, this, &TReviewVeskForm::MistakesBoxClick);
    connect(ui->SaveBtn, &QPushButton::clicked, this, &TReviewVeskForm::SaveBtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
    MistakesBoxClick();
    ui->QuestionList->setFocus();
}

TReviewVeskForm::~TReviewVeskForm() = default;

bool TReviewVeskForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            QCoreApplication::sendEvent(ui->QuestionList, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TReviewVeskForm::fillList()
{
    const auto &entries = review.entries();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const ReviewEntry &entry = entries[index];
        const int number = review.isExam() ? int(index) + 1 : entry.Number;
        auto *item = new QTreeWidgetItem(ui->QuestionList,
                                         {number == 0 ? u"—"_qs : QString::number(number),
                                          subjectTitle(entry.Subject), outcomeText(entry.outcome())});
        item->setData(NumberColumn, Qt::UserRole, qulonglong(index));
        // A bookmark shows as in the question table: a checked box beside the number.
        if (review.isExam())
            item->setCheckState(NumberColumn, entry.Bookmarked ? Qt::Checked : Qt::Unchecked);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    for (int column : {NumberColumn, SubjectColumn, OutcomeColumn})
        ui->QuestionList->resizeColumnToContents(column);
}

// The same figures as the results dialog showed.
void TReviewVeskForm::showSummary()
{
    const std::array<QString, 4> words{u"Ви пройшли питань"_qs, u"Правильних відповідей"_qs,
                                       u"Неправильних відповідей"_qs, u"Ваш бал"_qs};
    const ResultTexts values = reviewResultTexts(review);
    QStringList parts;
    for (std::size_t k = 0; k < words.size(); ++k)
        parts.append(words[k] + u": "_qs + values[k]);
    ui->SummaryLabel->setText(parts.join(u"   ·   "_qs));
}

void TReviewVeskForm::MistakesBoxClick()
{
    const bool mistakesOnly = ui->MistakesBox->isChecked();
    for (int row = 0; row < ui->QuestionList->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = ui->QuestionList->topLevelItem(row);
        item->setHidden(mistakesOnly && !isMistake(entryOf(item)));
    }
    QTreeWidgetItem *current = ui->QuestionList->currentItem();
    if (!current || current->isHidden())
        ui->QuestionList->setCurrentItem(firstListed());
    showSelected();
}

void TReviewVeskForm::showSelected()
{
    QTreeWidgetItem *current = ui->QuestionList->currentItem();
    if (current && !current->isHidden()) {
        showEntry(entryOf(current));
        return;
    }
    ui->QuestionMemo->clear();
    for (QPlainTextEdit *answer : {ui->Answer1, ui->Answer2, ui->Answer3, ui->Answer4, ui->Answer5}) {
        answer->clear();
        setBoxColour(*answer, QApplication::palette().color(QPalette::Base));
    }
    for (QLabel *letter : {ui->Letter1, ui->Letter2, ui->Letter3, ui->Letter4, ui->Letter5})
        letter->clear();
}

void TReviewVeskForm::showEntry(const ReviewEntry &entry)
{
    const ReviewTexts texts = readTexts(entry);
    ui->QuestionMemo->setPlainText(texts.question);
    const std::array answers{ui->Answer1, ui->Answer2, ui->Answer3, ui->Answer4, ui->Answer5};
    const std::array letters{ui->Letter1, ui->Letter2, ui->Letter3, ui->Letter4, ui->Letter5};
    for (std::size_t k = 0; k < answers.size(); ++k) {
        const std::int32_t column = bank::RightAnswerColumn + std::int32_t(k);
        answers[k]->setPlainText(texts.answers[k]);
        QColor colour = QApplication::palette().color(QPalette::Base);
        if (column == bank::RightAnswerColumn)
            colour = RightColour;
        else if (column == entry.ChosenColumn)
            colour = WrongChoiceColour;
        setBoxColour(*answers[k], colour);
        const QChar letter = entry.letterOf(column);
        letters[k]->setText(letter.isNull() ? QString() : QString(letter));
    }
}

void TReviewVeskForm::SaveBtnClick()
{
    saveToFile(this, u"Зберегти помилки у файл PDF"_qs, u"Помилки.pdf"_qs, u"PDF (*.pdf)"_qs,
               [this](QFile &file) { writePdf(file); });
}

// Laid out on the writer's own pages, so that the breaks chosen are the printed ones; each page numbered at
// its foot.
void TReviewVeskForm::writePdf(QIODevice &file)
{
    QPdfWriter writer(&file);
    writer.setTitle(windowTitle());
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(25, 25, 25, 20), QPageLayout::Millimeter);
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    QFont font = windowFont(11);
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setHtml(listedHtml());
    const qreal footer = QFontMetricsF(font, &writer).height() * 2;
    document.setPageSize(QSizeF(writer.width(), writer.height() - footer));
    keepQuestionsOnOnePage(document);

    QPainter painter(&writer);
    const QSizeF page = document.pageSize();
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -index * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(QPointF(0, index * page.height()), page);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(font);
        painter.drawText(QRectF(0, page.height(), page.width(), footer), Qt::AlignRight | Qt::AlignBottom,
                         QString::number(index + 1));
    }
}

// The questions of the list as it is filtered, each with its right answer and the student's.
QString TReviewVeskForm::listedHtml()
{
    QString html = u"<h2>%1</h2><p>%2</p>"_qs.arg(windowTitle().toHtmlEscaped(),
                                                  ui->SummaryLabel->text().toHtmlEscaped());
    for (int row = 0; row < ui->QuestionList->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = ui->QuestionList->topLevelItem(row);
        if (item->isHidden())
            continue;
        const ReviewEntry &entry = entryOf(item);
        const ReviewTexts texts = readTexts(entry);
        // A training run's questions go by their own numbers; an exam's by their places in it.
        const QString place = review.isExam() ? item->text(NumberColumn) + u". "_qs : QString();
        html +=
            u"<h3>%1%2, питання %3: %4</h3>"_qs.arg(place, item->text(SubjectColumn).toHtmlEscaped(),
                                                    QString::number(entry.Number), item->text(OutcomeColumn));
        html += paragraph({}, texts.question);
        html += paragraph(u"Правильна відповідь:"_qs, texts.answers[0]);
        if (entry.ChosenColumn == 0) {
            html += paragraph(u"Ваша відповідь:"_qs, u"немає"_qs);
        } else {
            const std::size_t chosen = std::size_t(entry.ChosenColumn - bank::RightAnswerColumn);
            html += paragraph(u"Ваша відповідь (%1):"_qs.arg(entry.letterOf(entry.ChosenColumn)),
                              chosen < texts.answers.size() ? texts.answers[chosen] : QString());
        }
    }
    return html;
}

ReviewTexts TReviewVeskForm::readTexts(const ReviewEntry &entry)
{
    ReviewTexts texts;
    // A test kept in the history finds its questions by their texts: an edited or removed one is gone.
    if (entry.Number == 0) {
        texts.question = u"Цього питання вже немає в книзі питань: його змінили або вилучили."_qs;
        return texts;
    }
    try {
        const bank::QuestionTexts cells =
            bank::ReadQuestion(ExcelApp, entry.Subject.toStdString(), entry.Number);
        texts.question = boxText(cells.question);
        for (std::size_t k = 0; k < cells.answers.size(); ++k)
            texts.answers[k] = boxText(cells.answers[k]);
    } catch (const workbook::BankError &error) {
        texts.question =
            u"Питання не вдалося прочитати: %1"_qs.arg(errorBoxText(QString::fromUtf8(error.what())));
    }
    return texts;
}

const ReviewEntry &TReviewVeskForm::entryOf(const QTreeWidgetItem *item) const
{
    return review.entries().at(item->data(NumberColumn, Qt::UserRole).toULongLong());
}

QTreeWidgetItem *TReviewVeskForm::firstListed() const
{
    for (int row = 0; row < ui->QuestionList->topLevelItemCount(); ++row) {
        if (!ui->QuestionList->topLevelItem(row)->isHidden())
            return ui->QuestionList->topLevelItem(row);
    }
    return nullptr;
}

} // namespace vesk3
