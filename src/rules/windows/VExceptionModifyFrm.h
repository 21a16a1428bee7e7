#pragma once
// The point window of a variable subgroup: its mean and secondary value with the limits of both charts, its values.
#include "rules/windows/BaseExceptionModifyFrm.h"

class TVariableChartData;

class TVExceptionModifyFrm : public TBaseExceptionModifyFrm {
    Q_OBJECT
public:
    explicit TVExceptionModifyFrm(QWidget* parent = nullptr);

    // Shows the window modally for point index of the chart data (subgroup cid, sn); true when
    // OK changed the point's state, so that the caller redraws the chart.
    static bool EditExceptionPoint(TVariableChartData& data, int index, int sn, int cid);
    void Load(TVariableChartData& data, int index, int sn, int cid);

protected:
    void FillValues(int index) override;
    void AddSampleColumns(TDataSetModel& model) override;
    TSubgroupState PointState() const override;
    void SetPointState(TSubgroupState state) override;

private:
    TVariableChartData* FData = nullptr;
};
