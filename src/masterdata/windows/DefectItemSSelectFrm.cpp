#include "masterdata/windows/DefectItemSSelectFrm.h"

TDefectItemSSelectFrm::TDefectItemSSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseSingleSelectFrm(dm ? &dm->qryDefectItem() : nullptr, QStringLiteral("缺点类别选择"), QStringLiteral("DID"),
                           QStringLiteral("DName"), parent)
{
    SetFilterField(edtCode, QStringLiteral("DCode"));
    SetFilterField(edtName, QStringLiteral("DName"));
    AddColumn(QStringLiteral("DCode"), QStringLiteral("编码"));
    AddColumn(QStringLiteral("DName"), QStringLiteral("名称"));
}
