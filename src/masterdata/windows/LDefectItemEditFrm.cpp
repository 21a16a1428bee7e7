#include "masterdata/windows/LDefectItemEditFrm.h"

#include "masterdata/MasterDataForms.h"

#include <QLineEdit>

TLDefectItemEditFrm::TLDefectItemEditFrm(QWidget* parent) : TBasePhenomenonEditFrm(parent)
{
    setWindowTitle(QStringLiteral("缺点类别编辑"));
    SetupDefectItemForm(*this);
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
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
