#include "masterdata/windows/DefectPhenomenonMSelectFrm.h"

TDefectPhenomenonMSelectFrm::TDefectPhenomenonMSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseMulSelectFrm(dm ? &dm->qryDefectPhenomenon() : nullptr, QStringLiteral("缺点项目选择"), QStringLiteral("DPID"), parent)
{
    SetFilterField(edtCode, QStringLiteral("DPCode"));
    SetFilterField(edtName, QStringLiteral("DPName"));
    AddColumn(QStringLiteral("DPCode"), QStringLiteral("缺点项目编码"));
    AddColumn(QStringLiteral("DPName"), QStringLiteral("缺点项目名称"));
}

bool MSelectDefectPhenomenon(const TDataSet* selected, const QString& keyFieldName,
                             const TMultiSelectCallback& callback, QWidget* parent)
{
    TDefectPhenomenonMSelectFrm dialog(TKQCommonDM::Current(), parent);
    return dialog.Execute(selected, keyFieldName, callback);
}
