#include "power/windows/NewUserFrm.h"

#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "power/PowerManage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNewUserFrm::TNewUserFrm(TUserPowerDM& dm, QWidget* parent) : TPowerDialog(parent), FDM(dm)
{
    setWindowTitle(QStringLiteral("新用户"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    CodeEdit = NewEdit(PowerCodeWidth(TPowerEntryKind::User));
    NameEdit = NewEdit(PowerNameWidth(TPowerEntryKind::User));
    DescribeEdit = NewEdit(PowerDescribeWidth);
    PasswordEdit = NewEdit(PowerPasswordWidth, true);
    ConfigPasswordEdit = NewEdit(PowerPasswordWidth, true);
    form->addRow(QStringLiteral("编号："), CodeEdit);
    form->addRow(QStringLiteral("名称："), NameEdit);
    form->addRow(QStringLiteral("描述："), DescribeEdit);
    form->addRow(QStringLiteral("密码："), PasswordEdit);
    form->addRow(QStringLiteral("确认密码："), ConfigPasswordEdit);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnCreate = new QPushButton(QStringLiteral("创建(&A)"), this);
    btnClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    row->addWidget(btnCreate);
    row->addWidget(btnClose);
    layout->addLayout(row);
    setMinimumWidth(340);
    connect(btnCreate, &QPushButton::clicked, this, &TNewUserFrm::btnCreateClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TNewUserFrm::btnCreateClick()
{
    try {
        CheckNewUserInput(CodeEdit->text(), NameEdit->text(), PasswordEdit->text(), ConfigPasswordEdit->text());
        CheckPowerDescribe(DescribeEdit->text());
    } catch (const ESystemError& e) {
        ShowException(e);
        if (CodeEdit->text().trimmed().isEmpty()) CodeEdit->setFocus();
        else if (NameEdit->text().trimmed().isEmpty()) NameEdit->setFocus();
        else ConfigPasswordEdit->setFocus();
        return;
    }
    if (!FDM.AddUser(CodeEdit->text(), NameEdit->text(), PasswordEdit->text().trimmed(), DescribeEdit->text()))
        return;
    for (QLineEdit* e : {CodeEdit, NameEdit, DescribeEdit, PasswordEdit, ConfigPasswordEdit}) e->clear();
    CodeEdit->setFocus();
}
