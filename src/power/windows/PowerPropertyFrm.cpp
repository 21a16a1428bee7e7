#include "power/windows/PowerPropertyFrm.h"

#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "power/PowerManage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TPowerPropertyFrm::TPowerPropertyFrm(TUserPowerDM& dm, TPowerEntryKind kind, int id, QWidget* parent)
    : TPowerDialog(parent), FDM(dm), FID(id), FKind(kind)
{
    const bool duty = kind == TPowerEntryKind::Duty;
    setWindowTitle(duty ? QStringLiteral("职务属性") : QStringLiteral("用户属性"));
    TZCQuery& entries = duty ? dm.qryDuty() : dm.qryUser();
    if (!entries.Active()) entries.Open();
    const QVariant name = entries.Lookup(QStringLiteral("ID"), id, QStringLiteral("Name"));
    const QVariant describe = entries.Lookup(QStringLiteral("ID"), id, QStringLiteral("Describe"));

    auto* layout = new QVBoxLayout(this);
    Tabs = new QTabWidget(this);
    auto* page = new QWidget(Tabs);
    auto* form = new QFormLayout(page);
    NameLabel = new QLabel(name.toString(), page);
    QFont bold = NameLabel->font();
    bold.setBold(true);
    NameLabel->setFont(bold);
    form->addRow(NameLabel);
    DescribeEdit = new QLineEdit(describe.toString(), page);
    DescribeEdit->setMaxLength(PowerDescribeWidth);
    form->addRow(QStringLiteral("描述(&E)："), DescribeEdit);
    MemberList = new QListWidget(page);
    form->addRow(duty ? QStringLiteral("成员(&M)：") : QStringLiteral("隶属于(&M)："), MemberList);
    btnEdit = new QPushButton(QStringLiteral("编辑(&E)"), page);
    auto* editRow = new QHBoxLayout;
    editRow->addStretch(1);
    editRow->addWidget(btnEdit);
    form->addRow(editRow);
    Tabs->addTab(page, QStringLiteral("常规"));
    layout->addWidget(Tabs);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnOk = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    layout->addLayout(row);
    resize(380, 380);
    connect(btnEdit, &QPushButton::clicked, this, &TPowerPropertyFrm::btnEditClick);
    connect(btnOk, &QPushButton::clicked, this, &TPowerPropertyFrm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FillMembers();
}

void TPowerPropertyFrm::FillMembers()
{
    const bool duty = FKind == TPowerEntryKind::Duty;
    TZCQuery& q = duty ? FDM.qryDutyUser() : FDM.qryUserDuty();
    TUserPowerDM::OpenWith(q, duty ? QStringLiteral("DutyID") : QStringLiteral("UserID"), FID);
    MemberList->clear();
    for (q.First(); !q.Eof(); q.Next()) MemberList->addItem(q.FieldByName(QStringLiteral("Code"))->AsString());
}

void TPowerPropertyFrm::btnEditClick()
{
    RunSelection();
    FillMembers();
}

void TPowerPropertyFrm::btnOkClick()
{
    try {
        FDM.ChangeDescribe(FKind, FID, DescribeEdit->text());
    } catch (const ESystemError& e) {
        ShowException(e);
        return;
    }
    accept();
}
