#include "masterdata/windows/LTagTemplateMasterEditFrm.h"

#include "masterdata/MasterDataForms.h"

#include <QLineEdit>
#include <QVBoxLayout>

TLTagTemplateMasterEditFrm::TLTagTemplateMasterEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    setWindowTitle(QStringLiteral("标签模板编辑"));
    SetupTagTemplateForm(*this);
    ReleasesDetail = true;
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
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
