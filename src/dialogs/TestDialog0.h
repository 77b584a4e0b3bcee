#pragma once

#include "FixedDialog.h"
#include "Routines.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QButtonGroup;

namespace Ui {
class TTestDLGForm;
}

namespace vesk3 {

class ExitLineEdit;

// Which box of a subject's pair a check is about.
enum class BoxRole
{
    From,
    To
};

// A box check's verdict on a bad entry: the message to show, then the text that replaces the entry.
struct BoxCorrection
{
    QString message;
    QString replacement;
};

// Step 1 of a box check: the box must hold a number. Otherwise a From box becomes "1" and a To box the
// subject's question count.
std::optional<BoxCorrection> CheckNumber(const QString &text, BoxRole role, std::int32_t count);

// Step 2: 1 <= From <= To <= count, judged for the box of the given role; the messages quote the boxes'
// texts as typed.
std::optional<BoxCorrection> CheckRange(const QString &fromText, const QString &toText, BoxRole role,
                                        std::int32_t count);

// The subject and range dialog: one subject and a range of its question numbers for a training run.
class TTestDLGForm : public FixedDialog
{
    Q_OBJECT

public:
    explicit TTestDLGForm(TestState &state, QWidget *parent = nullptr);
    ~TTestDLGForm() override;

    // The index of the selected subject; a training start reads it besides the stored range.
    int selectedSubject() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct SubjectBoxes
    {
        ExitLineEdit *from;
        ExitLineEdit *to;
    };

    void FormShow();
    void TherEdit1Exit();
    void TherEdit2Exit();
    void SurEdit1Exit();
    void SurEdit2Exit();
    void PedEdit1Exit();
    void PedEdit2Exit();
    void ObstEdit1Exit();
    void ObstEdit2Exit();
    void HygEdit1Exit();
    void HygEdit2Exit();
    void ApplyBtnClick();

    void checkBox(int subject, BoxRole role);

    std::unique_ptr<Ui::TTestDLGForm> ui;
    TestState &state;
    QButtonGroup *subjectItems;
    std::array<SubjectBoxes, SubjectCount> boxes;
};

} // namespace vesk3
