#include "masterdata/windows/CaseMSelectFrm.h"

TCaseMSelectFrm::TCaseMSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseMulSelectFrm(dm ? &dm->qryMCase() : nullptr, QStringLiteral("原因选择"), QStringLiteral("CaseID"), parent)
{
    SetFilterField(edtCode, QStringLiteral("CaseCode"));
    SetFilterField(edtName, QStringLiteral("CaseName"));
    AddColumn(QStringLiteral("CaseCode"), QStringLiteral("编码"));
    AddColumn(QStringLiteral("CaseName"), QStringLiteral("名称"));
    AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
