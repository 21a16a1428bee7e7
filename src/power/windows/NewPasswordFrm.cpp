#include "power/windows/NewPasswordFrm.h"

#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "power/PowerManage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNewPasswordFrm::TNewPasswordFrm(QWidget* parent) : TPowerDialog(parent)
{
    setWindowTitle(QStringLiteral("新密码"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    edtPassword = NewEdit(PowerPasswordWidth, true);
    edtConfirm = NewEdit(PowerPasswordWidth, true);
    form->addRow(QStringLiteral("新密码(&N)："), edtPassword);
    form->addRow(QStringLiteral("确认密码(&C)："), edtConfirm);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnOk = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnCancel = new QPushButton(QStringLiteral("取消(&A)"), this);
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    layout->addLayout(row);
    setFixedWidth(300);
    connect(btnOk, &QPushButton::clicked, this, &TNewPasswordFrm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TNewPasswordFrm::btnOkClick()
{
    try {
        CheckNewPassword(edtPassword->text(), edtConfirm->text());
    } catch (const ESystemError& e) {
        ShowException(e);
        edtConfirm->setFocus();
        return;
    }
    accept();
}

QString TNewPasswordFrm::NewPassword() const
{
    return edtPassword->text().trimmed();
}
