#pragma once
// 新密码: a new password, typed twice (the administrator setting a user's, or a user changing their own).
#include "power/windows/PowerDialog.h"

class QLineEdit;
class QPushButton;

class TNewPasswordFrm : public TPowerDialog {
    Q_OBJECT
public:
    explicit TNewPasswordFrm(QWidget* parent = nullptr);
    QLineEdit* edtPassword;
    QLineEdit* edtConfirm;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    // Closes when both texts are equal; otherwise says so and stays open.
    void btnOkClick();
    // The new password as stored: trimmed.
    QString NewPassword() const;
};
