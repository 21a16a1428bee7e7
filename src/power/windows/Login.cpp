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
    layout->setContentsMargins(0, 0, 0, 12);
    auto* banner = new QLabel(QStringLiteral("启衡SPC  用户登录"), this);
    banner->setObjectName(QStringLiteral("Banner"));
    banner->setFixedHeight(54);
    banner->setContentsMargins(18, 0, 0, 0);
    banner->setStyleSheet(QStringLiteral("QLabel#Banner { color: white; font-size: 15pt; font-weight: bold;"
                                         " background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #1f5fa8, stop:1 #122f5c); }"));
    layout->addWidget(banner);
    auto* form = new QFormLayout;
    form->setContentsMargins(18, 10, 18, 4);
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
    buttons->setContentsMargins(18, 0, 18, 0);
    layout->addLayout(buttons);
    setFixedSize(330, 190);
    connect(OkBtn, &QPushButton::clicked, this, &TLoginFrm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TLoginFrm::OkBtnClick()
{
    try {
        CheckLogin(NameEdit->text(), PasswordEdit->text(), FPower);
    } catch (const ESystemError& e) {
        if (NameEdit->text().trimmed().isEmpty()) NameEdit->setFocus();
        ShowException(e);
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
