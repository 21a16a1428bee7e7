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
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtLotSize = AddTextRow(QStringLiteral("批量："), QStringLiteral("edtLotSize"));
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
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
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
