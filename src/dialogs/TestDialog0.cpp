#include "TestDialog0.h"

#include "ExitLineEdit.h"
#include "MessageBoxes.h"
#include "QuestionBank.h"
#include "Routines.h"
#include "StrictInteger.h"
#include "ui_TestDialog0.h"

#include <QButtonGroup>
#include <QShowEvent>

namespace vesk3 {

namespace {

// Boxes other than the focused one always hold a number: every exit checks the box it leaves.
std::int32_t boxNumber(const QLineEdit *box)
{
    return strictToInt(box->text()).value_or(0);
}

void correct(QLineEdit *box, const std::optional<BoxCorrection> &correction)
{
    if (!correction)
        return;
    showMessage(correction->message);
    box->setText(correction->replacement);
}

} // namespace

std::optional<BoxCorrection> CheckNumber(const QString &text, BoxRole role, std::int32_t count)
{
    if (strictToInt(text))
        return std::nullopt;
    return BoxCorrection{QStringLiteral("Введіть числове значення!!!"),
                         role == BoxRole::From ? QStringLiteral("1") : QString::number(count)};
}

std::optional<BoxCorrection> CheckRange(const QString &fromText, const QString &toText, BoxRole role,
                                        std::int32_t count)
{
    const auto from = strictToInt(fromText);
    const auto to = strictToInt(toText);
    if (role == BoxRole::From) {
        if (from && to && *from >= 1 && *from <= *to)
            return std::nullopt;
        return BoxCorrection{QStringLiteral("Значення повинно бути в межах від 1 до ") + toText + u'!',
                             QStringLiteral("1")};
    }
    if (from && to && *from <= *to && *to <= count)
        return std::nullopt;
    return BoxCorrection{QStringLiteral("Значення повинно бути в межах від ") + fromText +
                             QStringLiteral(" до ") + QString::number(count) + u'!',
                         QString::number(count)};
}

TTestDLGForm::TTestDLGForm(TestState &state, QWidget *parent)
    : FixedDialog(parent), ui(std::make_unique<Ui::TTestDLGForm>()), state(state),
      subjectItems(new QButtonGroup(this))
{
    ui->setupUi(this);
    fixGeometry({450, 246});

    // Subjects in their usual order; the item index is the index into BankSize and the sheet names.
    boxes = {{{ui->TherEdit1, ui->TherEdit2},
              {ui->SurEdit1, ui->SurEdit2},
              {ui->PedEdit1, ui->PedEdit2},
              {ui->ObstEdit1, ui->ObstEdit2},
              {ui->HygEdit1, ui->HygEdit2}}};
    const std::array items{ui->TherapyItem, ui->SurgeryItem, ui->PediatryItem, ui->ObstetricsItem,
                           ui->InfectionItem};
    for (int subject = 0; subject < SubjectCount; ++subject)
        subjectItems->addButton(items[subject], subject);

    for (const SubjectBoxes &pair : boxes) {
        for (QLineEdit *box : {pair.from, pair.to}) {
            QPalette yellow = box->palette();
            yellow.setColor(QPalette::Base, Qt::yellow);
            box->setPalette(yellow);
        }
    }
    // As wide as its caption, so that a wider font cuts nothing off.
    QLabel *columnTitles = ui->BioChemStaticText;
    columnTitles->resize(std::max(columnTitles->width(), columnTitles->sizeHint().width()),
                         columnTitles->height());

    connect(ui->TherEdit1, &ExitLineEdit::exited, this, &TTestDLGForm::TherEdit1Exit);
    connect(ui->TherEdit2, &ExitLineEdit::exited, this, &TTestDLGForm::TherEdit2Exit);
    connect(ui->SurEdit1, &ExitLineEdit::exited, this, &TTestDLGForm::SurEdit1Exit);
    connect(ui->SurEdit2, &ExitLineEdit::exited, this, &TTestDLGForm::SurEdit2Exit);
    connect(ui->PedEdit1, &ExitLineEdit::exited, this, &TTestDLGForm::PedEdit1Exit);
    connect(ui->PedEdit2, &ExitLineEdit::exited, this, &TTestDLGForm::PedEdit2Exit);
    connect(ui->ObstEdit1, &ExitLineEdit::exited, this, &TTestDLGForm::ObstEdit1Exit);
    connect(ui->ObstEdit2, &ExitLineEdit::exited, this, &TTestDLGForm::ObstEdit2Exit);
    connect(ui->HygEdit1, &ExitLineEdit::exited, this, &TTestDLGForm::HygEdit1Exit);
    connect(ui->HygEdit2, &ExitLineEdit::exited, this, &TTestDLGForm::HygEdit2Exit);
    connect(ui->ApplyBtn, &QPushButton::clicked, this, &TTestDLGForm::ApplyBtnClick);
}

TTestDLGForm::~TTestDLGForm() = default;

int TTestDLGForm::selectedSubject() const
{
    return subjectItems->checkedId();
}

void TTestDLGForm::showEvent(QShowEvent *event)
{
    FixedDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TTestDLGForm::FormShow()
{
    for (int subject = 0; subject < SubjectCount; ++subject)
        boxes[subject].to->setText(QString::number(state.TestSettings.BankSize[subject]));
}

void TTestDLGForm::TherEdit1Exit()
{
    checkBox(0, BoxRole::From);
}

void TTestDLGForm::TherEdit2Exit()
{
    checkBox(0, BoxRole::To);
}

void TTestDLGForm::SurEdit1Exit()
{
    checkBox(1, BoxRole::From);
}

void TTestDLGForm::SurEdit2Exit()
{
    checkBox(1, BoxRole::To);
}

void TTestDLGForm::PedEdit1Exit()
{
    checkBox(2, BoxRole::From);
}

void TTestDLGForm::PedEdit2Exit()
{
    checkBox(2, BoxRole::To);
}

void TTestDLGForm::ObstEdit1Exit()
{
    checkBox(3, BoxRole::From);
}

void TTestDLGForm::ObstEdit2Exit()
{
    checkBox(3, BoxRole::To);
}

void TTestDLGForm::HygEdit1Exit()
{
    checkBox(4, BoxRole::From);
}

void TTestDLGForm::HygEdit2Exit()
{
    checkBox(4, BoxRole::To);
}

void TTestDLGForm::checkBox(int subject, BoxRole role)
{
    const SubjectBoxes &pair = boxes[subject];
    QLineEdit *box = role == BoxRole::From ? pair.from : pair.to;
    const std::int32_t count = state.TestSettings.BankSize[subject];
    correct(box, CheckNumber(box->text(), role, count));
    correct(box, CheckRange(pair.from->text(), pair.to->text(), role, count));
}

void TTestDLGForm::ApplyBtnClick()
{
    const int subject = selectedSubject();
    state.TestSettings.FromQuestion = boxNumber(boxes[subject].from);
    state.TestSettings.ToQuestion = boxNumber(boxes[subject].to);
    const std::string_view sheet = bank::SubjectSheets[subject];
    state.SubjectName = QString::fromUtf8(sheet.data(), qsizetype(sheet.size()));
    accept();
}

} // namespace vesk3
