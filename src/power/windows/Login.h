#pragma once
// The login dialog: identifies the user and loads the user's rights.
#include "component/BaseFrm.h"

class QLineEdit;
class QPushButton;
class TAppSettings;
class TWBUserPower;

class TLoginFrm : public TBaseDialog {
    Q_OBJECT
public:
    TLoginFrm(TWBUserPower& power, QWidget* parent = nullptr);
    QLineEdit* NameEdit;
    QLineEdit* PasswordEdit;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;
    void OkBtnClick();

private:
    TWBUserPower& FPower;
};

// Shows the dialog; true when a user logged in. Whatever the outcome the typed name is remembered.
bool Login(TWBUserPower& power, TAppSettings& settings, QWidget* parent = nullptr);
