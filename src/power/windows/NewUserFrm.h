#pragma once
// 新用户: creates users one after the other, each with its password; the dialog stays open.
#include "power/windows/PowerDialog.h"

class QLineEdit;
class QPushButton;
class TUserPowerDM;

class TNewUserFrm : public TPowerDialog {
    Q_OBJECT
public:
    explicit TNewUserFrm(TUserPowerDM& dm, QWidget* parent = nullptr);
    QLineEdit* CodeEdit;
    QLineEdit* NameEdit;
    QLineEdit* DescribeEdit;
    QLineEdit* PasswordEdit;
    QLineEdit* ConfigPasswordEdit;
    QPushButton* btnCreate;
    QPushButton* btnClose;
    void btnCreateClick();

private:
    TUserPowerDM& FDM;
};
