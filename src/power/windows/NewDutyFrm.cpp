#include "power/windows/NewDutyFrm.h"

#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "power/PowerManage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNewDutyFrm::TNewDutyFrm(TUserPowerDM& dm, QWidget* parent) : TPowerDialog(parent), FDM(dm)
{
    setWindowTitle(QStringLiteral("新职务"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    CodeEdit = NewEdit(PowerCodeWidth(TPowerEntryKind::Duty));
    NameEdit = NewEdit(PowerNameWidth(TPowerEntryKind::Duty));
    DescribeEdit = NewEdit(PowerDescribeWidth);
    form->addRow(QStringLiteral("编码："), CodeEdit);
    form->addRow(QStringLiteral("名称："), NameEdit);
    form->addRow(QStringLiteral("描述："), DescribeEdit);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnCreate = new QPushButton(QStringLiteral("创建(&A)"), this);
    btnClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    row->addWidget(btnCreate);
    row->addWidget(btnClose);
    layout->addLayout(row);
    setMinimumWidth(340);
    connect(btnCreate, &QPushButton::clicked, this, &TNewDutyFrm::btnCreateClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TNewDutyFrm::btnCreateClick()
{
    try {
        CheckPowerEntryNames(TPowerEntryKind::Duty, CodeEdit->text(), NameEdit->text());
        CheckPowerDescribe(DescribeEdit->text());
    } catch (const ESystemError& e) {
        ShowException(e);
        (CodeEdit->text().trimmed().isEmpty() ? CodeEdit : NameEdit)->setFocus();
        return;
    }
    if (!FDM.AddDuty(CodeEdit->text(), NameEdit->text(), DescribeEdit->text())) return;
    for (QLineEdit* e : {CodeEdit, NameEdit, DescribeEdit}) e->clear();
    CodeEdit->setFocus();
}
