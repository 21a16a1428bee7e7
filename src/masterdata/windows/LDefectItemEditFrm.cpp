#include "masterdata/windows/LDefectItemEditFrm.h"

#include "masterdata/MasterDataForms.h"

#include <QLineEdit>

TLDefectItemEditFrm::TLDefectItemEditFrm(QWidget* parent) : TBasePhenomenonEditFrm(parent)
{
    setWindowTitle(QStringLiteral("缺点类别编辑"));
    SetupDefectItemForm(*this);
    edtCode = new QLineEdit(this);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    AddRow(QStringLiteral("编码："), edtCode);
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    AddRow(QStringLiteral("名称："), edtName);
    edtDescribe = new QLineEdit(this);
    edtDescribe->setObjectName(QStringLiteral("edtDescribe"));
    AddRow(QStringLiteral("描述："), edtDescribe);
    AddPhenomenonRows();
    FinishLayout();
    resize(560, 440);
}

void TLDefectItemEditFrm::BindControls()
{
    Bind(MasterDataSet(), QStringLiteral("DCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MasterDataSet(), QStringLiteral("DName"), edtName, TFieldLink::TKind::Text);
    Bind(MasterDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
    TBasePhenomenonEditFrm::BindControls();
}
