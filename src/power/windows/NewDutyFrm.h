#pragma once
// 新职务: creates duties one after the other; the dialog stays open for the next.
#include "power/windows/PowerDialog.h"

class QLineEdit;
class QPushButton;
class TUserPowerDM;

class TNewDutyFrm : public TPowerDialog {
    Q_OBJECT
public:
    explicit TNewDutyFrm(TUserPowerDM& dm, QWidget* parent = nullptr);
    QLineEdit* CodeEdit;
    QLineEdit* NameEdit;
    QLineEdit* DescribeEdit;
    QPushButton* btnCreate;
    QPushButton* btnClose;
    void btnCreateClick();

private:
    TUserPowerDM& FDM;
};
