#pragma once
// 新密码: a user's new password, typed twice.
#include "power/windows/PowerDialog.h"

class QLineEdit;
class QPushButton;

class TUserPasswordFrm : public TPowerDialog {
    Q_OBJECT
public:
    explicit TUserPasswordFrm(QWidget* parent = nullptr);
    QLineEdit* edtPassword;
    QLineEdit* edtConfirm;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    // Closes when both texts are equal; otherwise says so and stays open.
    void btnOkClick();
    // The new password as stored: trimmed.
    QString NewPassword() const;
};
