#include "masterdata/windows/LTagTemplateMasterEditFrm.h"

#include "masterdata/MasterDataForms.h"

#include <QLineEdit>
#include <QVBoxLayout>

TLTagTemplateMasterEditFrm::TLTagTemplateMasterEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    setWindowTitle(QStringLiteral("标签模板编辑"));
    SetupTagTemplateForm(*this);
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

void TLTagTemplateMasterEditFrm::BindControls()
{
    Bind(MasterDataSet(), QStringLiteral("TagTemplateCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MasterDataSet(), QStringLiteral("TagTemplateName"), edtName, TFieldLink::TKind::Text);
    Bind(MasterDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
}
