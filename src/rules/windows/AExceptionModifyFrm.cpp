#include "rules/windows/AExceptionModifyFrm.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "engine/AttributeData.h"
#include "foundation/RecordUtils.h"

TAExceptionModifyFrm::TAExceptionModifyFrm(QWidget* parent) : TBaseExceptionModifyFrm(ikAttribute, parent) {}

bool TAExceptionModifyFrm::EditExceptionPoint(TAttributeChartData& data, int index, int sn, int cid)
{
    TAExceptionModifyFrm dialog;
    dialog.Load(data, index, sn, cid);
    return RunDialog(dialog) == QDialog::Accepted && dialog.StateChanged();
}

void TAExceptionModifyFrm::Load(TAttributeChartData& data, int index, int sn, int cid)
{
    FData = &data;
    TBaseExceptionModifyFrm::Load(data, index, sn, cid);
}

void TAExceptionModifyFrm::FillValues(int index)
{
    const TAttributeChartData& d = *FData;
    QString title;
    switch (d.ChartType()) {
    case ctNP: title = QStringLiteral("nP"); break;
    case ctU: title = QStringLiteral("U"); break;
    case ctC: title = QStringLiteral("C"); break;
    default: title = QStringLiteral("P"); break;
    }
    AddValue(0, 1, title + QStringLiteral("："), FormatNumber(d.ValueAt(index)));
    AddValue(1, 1, QStringLiteral("UCL："), FormatNumber(d.UCLAt(index)));
    AddValue(2, 1, QStringLiteral("CL："), FormatNumber(d.CL()));
    AddValue(3, 1, QStringLiteral("LCL："), FormatNumber(d.LCLAt(index)));
}

void TAExceptionModifyFrm::AddSampleColumns(TDataSetModel& model)
{
    model.ClearColumns();
    model.AddColumn(QStringLiteral("Item"), QStringLiteral("项目"), true);
    model.AddColumn(QStringLiteral("ItemValue"), QStringLiteral("取值"), true);
}

TSubgroupState TAExceptionModifyFrm::PointState() const
{
    return FData->Data(FIndex).State;
}

void TAExceptionModifyFrm::SetPointState(TSubgroupState state)
{
    FData->SetPointState(FIndex, state);
}
