#include "masterdata/windows/LProcessEditFrm.h"

#include "foundation/DataSet.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/MasterDataRules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

TLProcessEditFrm::TLProcessEditFrm(QWidget* parent) : TBaseListEditFrm(parent)
{
    setWindowTitle(QStringLiteral("过程资料编辑"));
    SetupProcessForm(*this);
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
    edtParent = new QLineEdit(this);
    edtParent->setObjectName(QStringLiteral("edtParent"));
    btnParent = new QPushButton(QStringLiteral("..."), this);
    btnParent->setObjectName(QStringLiteral("btnParent"));
    btnParent->setAutoDefault(false);
    btnParent->setFixedWidth(28);
    auto* parentRow = new QHBoxLayout;
    parentRow->addWidget(edtParent, 1);
    parentRow->addWidget(btnParent);
    FieldLayout->insertRow(2, QStringLiteral("所属过程："), parentRow);
    connect(btnParent, &QPushButton::clicked, this, [this] {
        Run([this] { ChooseProcess(*MainDataSet(), QStringLiteral("ParentID"), QStringLiteral("ParentName")); });
    });
    FinishLayout();
    resize(420, sizeHint().height());
}

void TLProcessEditFrm::BindControls()
{
    Bind(MainDataSet(), QStringLiteral("ProCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("ProName"), edtName, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("ParentName"), edtParent, TFieldLink::TKind::Display);
}

void TLProcessEditFrm::CarryOver(const QVariantMap& saved)
{
    for (auto it = saved.begin(); it != saved.end(); ++it) MainDataSet()->SetValue(it.key(), it.value());
}

