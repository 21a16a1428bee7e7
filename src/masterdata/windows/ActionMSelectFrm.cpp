#include "masterdata/windows/ActionMSelectFrm.h"

TActionMSelectFrm::TActionMSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseMulSelectFrm(dm ? &dm->qryMAction() : nullptr, QStringLiteral("措施选择"), QStringLiteral("ActionID"), parent)
{
    SetFilterField(edtCode, QStringLiteral("ActionCode"));
    SetFilterField(edtName, QStringLiteral("ActionName"));
    AddColumn(QStringLiteral("ActionCode"), QStringLiteral("编码"));
    AddColumn(QStringLiteral("ActionName"), QStringLiteral("名称"));
    AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
