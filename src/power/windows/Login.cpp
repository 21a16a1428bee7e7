#include "power/windows/Login.h"

#include "component/DialogRunner.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/Settings.h"
#include "power/LoginCheck.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TLoginFrm::TLoginFrm(TWBUserPower& power, QWidget* parent) : TBaseDialog(parent), FPower(power)
{
    setWindowTitle(QStringLiteral("登录"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    NameEdit = new QLineEdit(QStringLiteral("超级用户"), this);
    PasswordEdit = new QLineEdit(this);
    PasswordEdit->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("用户名："), NameEdit);
    form->addRow(QStringLiteral("密  码："), PasswordEdit);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OkBtn = new QPushButton(QStringLiteral("确定"), this);
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("取消"), this);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    setFixedSize(300, 150);
    connect(OkBtn, &QPushButton::clicked, this, &TLoginFrm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TLoginFrm::OkBtnClick()
{
    try {
        CheckLogin(NameEdit->text(), PasswordEdit->text(), FPower);
    } catch (const ESystemError& e) {
        if (NameEdit->text().trimmed().isEmpty()) NameEdit->setFocus();
        ShowErrorBox(e.Message());
        return;
    }
    accept();
}

bool Login(TWBUserPower& power, TAppSettings& settings, QWidget* parent)
{
    TLoginFrm dialog(power, parent);
    dialog.NameEdit->setText(LoginInitialName(settings));
    dialog.PasswordEdit->setFocus();
    const bool ok = RunDialog(dialog) == QDialog::Accepted;
    RememberLoginName(settings, dialog.NameEdit->text());
    return ok;
}
