#pragma once
// 重命名: a new code and name for a duty or user, in the widths of its own columns.
#include "power/UserPowerDM.h"
#include "power/windows/PowerDialog.h"

class QLineEdit;
class QPushButton;

class TRenameFrm : public TPowerDialog {
    Q_OBJECT
public:
    TRenameFrm(TUserPowerDM& dm, TPowerEntryKind kind, int id, const QString& code, const QString& name,
               QWidget* parent = nullptr);
    QLineEdit* CodeEdit;
    QLineEdit* NameEdit;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    // Renames and closes; a refused name keeps the dialog open with what was typed.
    void btnOkClick();

private:
    TUserPowerDM& FDM;
    TPowerEntryKind FKind;
    int FID;
};
