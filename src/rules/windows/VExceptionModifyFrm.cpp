#include "rules/windows/VExceptionModifyFrm.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "engine/VariableData.h"
#include "foundation/RecordUtils.h"

TVExceptionModifyFrm::TVExceptionModifyFrm(QWidget* parent) : TBaseExceptionModifyFrm(ikVariable, parent) {}

bool TVExceptionModifyFrm::EditExceptionPoint(TVariableChartData& data, int index, int sn, int cid)
{
    TVExceptionModifyFrm dialog;
    dialog.Load(data, index, sn, cid);
    return RunDialog(dialog) == QDialog::Accepted && dialog.StateChanged();
}

void TVExceptionModifyFrm::Load(TVariableChartData& data, int index, int sn, int cid)
{
    FData = &data;
    TBaseExceptionModifyFrm::Load(data, index, sn, cid);
}

void TVExceptionModifyFrm::FillValues(int index)
{
    const TVariableChartData& d = *FData;
    const QString sub = d.ChartType() == ctXBarS ? QStringLiteral("S") : d.ChartType() == ctXRm ? QStringLiteral("Rm") : QStringLiteral("R");
    AddValue(0, 1, QStringLiteral("X："), FormatNumber(d.MainValue(index)));
    AddValue(0, 2, sub + QStringLiteral("："), FormatNumber(d.SubValue(index)));
    AddValue(1, 1, QStringLiteral("UCL(X)："), FormatNumber(d.MainUCL()));
    AddValue(2, 1, QStringLiteral("CL(X)："), FormatNumber(d.MainCL()));
    AddValue(3, 1, QStringLiteral("LCL(X)："), FormatNumber(d.MainLCL(index)));
    AddValue(1, 2, QStringLiteral("UCL(%1)：").arg(sub), FormatNumber(d.SubUCL()));
    AddValue(2, 2, QStringLiteral("CL(%1)：").arg(sub), FormatNumber(d.SubCL()));
    AddValue(3, 2, QStringLiteral("LCL(%1)：").arg(sub), FormatNumber(d.SubLCL(index)));
}

void TVExceptionModifyFrm::AddSampleColumns(TDataSetModel& model)
{
    model.ClearColumns();
    model.AddColumn(QStringLiteral("SSN"), QStringLiteral("序号"), true);
    model.AddColumn(QStringLiteral("VResult"), QStringLiteral("数值"), true);
    model.AddColumn(QStringLiteral("WDate"), QStringLiteral("时间"), true);
}

TSubgroupState TVExceptionModifyFrm::PointState() const
{
    return FData->Data(FIndex).State;
}

void TVExceptionModifyFrm::SetPointState(TSubgroupState state)
{
    FData->SetPointState(FIndex, state);
}
