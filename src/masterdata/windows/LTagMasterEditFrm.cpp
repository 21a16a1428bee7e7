#include "masterdata/windows/LTagMasterEditFrm.h"

#include "masterdata/MasterDataForms.h"

#include <QLineEdit>
#include <QVBoxLayout>

TLTagMasterEditFrm::TLTagMasterEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    setWindowTitle(QStringLiteral("标签编辑"));
    SetupTagForm(*this);
    ReleasesDetail = true;
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
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
