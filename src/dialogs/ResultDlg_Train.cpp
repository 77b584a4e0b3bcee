#include "ResultDlg_Train.h"

#include "ui_ResultDlg_Train.h"

#include <QShowEvent>

namespace vesk3 {

namespace {

// Each line's words padded with blanks to 33 characters, so that the values stand in one column.
constexpr std::array<const char16_t *, 4> LinePrefixes{
    u"Ви пройшли питань                ", u"Правильних відповідей            ",
    u"Неправильних відповідей          ", u"Ваш бал                          "};
// The time the test took, on its own line above the four.
constexpr auto TimeLinePrefix = u"Витрачений час                   ";

// The exam's four values, counted from its entries.
ResultTexts examResultTexts(const ExamList &examData)
{
    int answered = 0;
    int right = 0;
    for (int entry = 1; entry <= ExamSize; ++entry) {
        answered += examData[entry].Answered;
        right += examData[entry].Correct;
    }
    return vesk3::examResultTexts(answered, right);
}

} // namespace

TResultVeskForm::TResultVeskForm(const TestState &state, QWidget *parent)
    : FixedDialog(parent), ui(std::make_unique<Ui::ResultVeskForm>()), state(state)
{
    ui->setupUi(this);
    fixGeometry({438, 302});
    connect(ui->OKBtn, &QPushButton::clicked, this, &TResultVeskForm::OKBtnClick);
    connect(ui->ReviewBtn, &QPushButton::clicked, this, &TResultVeskForm::ReviewBtnClick);
}

TResultVeskForm::~TResultVeskForm() = default;

void TResultVeskForm::setTrainingResultTexts(const ResultTexts &texts)
{
    TrainingResultTexts = texts;
}

void TResultVeskForm::showEvent(QShowEvent *event)
{
    FixedDialog::showEvent(event);
    // Restoring from the task bar is not a showing of the dialog.
    if (!event->spontaneous())
        FormShow();
}

void TResultVeskForm::FormShow()
{
    if (state.Mode == ModeExam)
        showLines(examResultTexts(state.ExamData));
    else if (state.Mode == ModeTraining)
        showLines(TrainingResultTexts);
    ui->Label5->setText(QString::fromUtf16(TimeLinePrefix) + clockText(state.Clock.elapsedSeconds()));
}

void TResultVeskForm::OKBtnClick()
{
    close();
}

void TResultVeskForm::ReviewBtnClick()
{
    done(ReviewAsked);
}

void TResultVeskForm::showLines(const ResultTexts &values)
{
    const std::array<QLabel *, 4> lines{ui->Label1, ui->Label2, ui->Label3, ui->Label4};
    for (std::size_t line = 0; line < lines.size(); ++line)
        lines[line]->setText(QString::fromUtf16(LinePrefixes[line]) + values[line]);
}

} // namespace vesk3
