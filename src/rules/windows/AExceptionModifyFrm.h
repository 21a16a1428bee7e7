#pragma once
// The point window of a attribute subgroup: its plotted value with the limits at the point, its counts and defects.
#include "rules/windows/BaseExceptionModifyFrm.h"

class TAttributeChartData;

class TAExceptionModifyFrm : public TBaseExceptionModifyFrm {
    Q_OBJECT
public:
    explicit TAExceptionModifyFrm(QWidget* parent = nullptr);

    // Shows the window modally for point index of the chart data (subgroup cid, sn); true when
    // OK changed the point's state, so that the caller redraws the chart.
    static bool EditExceptionPoint(TAttributeChartData& data, int index, int sn, int cid);
    void Load(TAttributeChartData& data, int index, int sn, int cid);

protected:
    void FillValues(int index) override;
    void AddSampleColumns(TDataSetModel& model) override;
    TSubgroupState PointState() const override;
    void SetPointState(TSubgroupState state) override;

private:
    TAttributeChartData* FData = nullptr;
};
