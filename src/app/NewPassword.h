#pragma once
#include "component/BaseFrm.h"

class QLineEdit;
class QPushButton;

// The password change dialog: the new password twice.
class TNewPasswordFrm : public TBaseDialog {
    Q_OBJECT
public:
    explicit TNewPasswordFrm(QWidget* parent = nullptr);
    QLineEdit* edtPassword;
    QLineEdit* edtConfirm;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    void btnOkClick();
    // The new password as stored: trimmed.
    QString NewPassword() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
