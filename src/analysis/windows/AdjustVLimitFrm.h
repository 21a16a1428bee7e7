#pragma once
// "控制限调整" of a variable chart: the upper limit, centre line and lower limit of the main and
// the secondary chart.
#include "analysis/windows/AdjustLimitFrm.h"

class TVariableChartData;

class TAdjustVLimitFrm : public TAdjustLimitFrm {
    Q_OBJECT
public:
    TAdjustVLimitFrm(QWidget* owner, TVariableChartData& data);
};

// Runs the dialog on the chart data's limits; true when the chart must be redrawn (OK, or limits
// stored by "保存").
bool AdjustVariableLimits(TVariableChartData& data, QWidget* parent);
