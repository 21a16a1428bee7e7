#include "masterdata/windows/LAControlItemEditFrm.h"

#include "foundation/DataSet.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/MasterDataRules.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

TLAControlItemEditFrm::TLAControlItemEditFrm(QWidget* parent) : TBasePhenomenonEditFrm(parent)
{
    setWindowTitle(QStringLiteral("计数型质量特性编辑"));
    SetupAControlItemForm(*this);
    edtCode = new QLineEdit(this);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    AddRow(QStringLiteral("编码："), edtCode);
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    AddRow(QStringLiteral("名称："), edtName);
    edtLotSize = new QLineEdit(this);
    edtLotSize->setObjectName(QStringLiteral("edtLotSize"));
    AddRow(QStringLiteral("批量："), edtLotSize);
    edtProcess = new QLineEdit(this);
    edtProcess->setObjectName(QStringLiteral("edtProcess"));
    btnProcess = new QPushButton(QStringLiteral("..."), this);
    btnProcess->setObjectName(QStringLiteral("btnProcess"));
    btnProcess->setAutoDefault(false);
    btnProcess->setFixedWidth(28);
    auto* processRow = new QHBoxLayout;
    processRow->addWidget(edtProcess, 1);
    processRow->addWidget(btnProcess);
    AddRow(QStringLiteral("过程："), processRow);
    edtDescribe = new QLineEdit(this);
    edtDescribe->setObjectName(QStringLiteral("edtDescribe"));
    AddRow(QStringLiteral("描述："), edtDescribe);
    AddPhenomenonRows();
    connect(btnProcess, &QPushButton::clicked, this, [this] {
        Run([this] { ChooseProcess(*MasterDataSet(), QStringLiteral("ProID"), QStringLiteral("ProName")); });
    });
    FinishLayout();
    resize(560, 500);
}

void TLAControlItemEditFrm::BindControls()
{
    TDataSet* master = MasterDataSet();
    Bind(master, QStringLiteral("CCode"), edtCode, TFieldLink::TKind::Text);
    Bind(master, QStringLiteral("CName"), edtName, TFieldLink::TKind::Text);
    Bind(master, QStringLiteral("LotSize"), edtLotSize, TFieldLink::TKind::Integer);
    Bind(master, QStringLiteral("ProName"), edtProcess, TFieldLink::TKind::Display);
    Bind(master, QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
    TBasePhenomenonEditFrm::BindControls();
}

void TLAControlItemEditFrm::CarryOver(const QVariantMap& saved)
{
    for (auto it = saved.begin(); it != saved.end(); ++it) MasterDataSet()->SetValue(it.key(), it.value());
}
