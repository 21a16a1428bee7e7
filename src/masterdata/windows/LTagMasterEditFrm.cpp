#include "masterdata/windows/LTagMasterEditFrm.h"

#include "masterdata/MasterDataForms.h"

#include <QLineEdit>
#include <QVBoxLayout>

TLTagMasterEditFrm::TLTagMasterEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    setWindowTitle(QStringLiteral("标签编辑"));
    SetupTagForm(*this);
    ReleasesDetail = true;
    edtCode = new QLineEdit(this);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    AddRow(QStringLiteral("编码："), edtCode);
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    AddRow(QStringLiteral("名称："), edtName);
    edtDescribe = new QLineEdit(this);
    edtDescribe->setObjectName(QStringLiteral("edtDescribe"));
    AddRow(QStringLiteral("描述："), edtDescribe);
    MainLayout->addStretch(1);
    FinishLayout();
    resize(420, sizeHint().height());
}

void TLTagMasterEditFrm::BindControls()
{
    Bind(MasterDataSet(), QStringLiteral("TagCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MasterDataSet(), QStringLiteral("TagName"), edtName, TFieldLink::TKind::Text);
    Bind(MasterDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
}
