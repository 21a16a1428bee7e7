#include "masterdata/windows/ProcessSSelectFrm.h"

TProcessSSelectFrm::TProcessSSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseSingleSelectFrm(dm ? &dm->qryProcess() : nullptr, QStringLiteral("过程选择"), QStringLiteral("ProID"),
                           QStringLiteral("ProName"), parent)
{
    SetFilterField(edtCode, QStringLiteral("ProCode"));
    SetFilterField(edtName, QStringLiteral("ProName"));
    AddColumn(QStringLiteral("ProCode"), QStringLiteral("编码"));
    AddColumn(QStringLiteral("ProName"), QStringLiteral("名称"));
}
