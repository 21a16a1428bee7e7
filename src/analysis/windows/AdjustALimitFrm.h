#pragma once
// "控制限调整" of an attribute chart: the centre line, with the upper and lower limit for an nP
// chart only.
#include "analysis/windows/AdjustLimitFrm.h"

class TAttributeChartData;

class TAdjustALimitFrm : public TAdjustLimitFrm {
    Q_OBJECT
public:
    // The fields follow the chart data's chart type (the window's current one).
    TAdjustALimitFrm(QWidget* owner, TAttributeChartData& data);
};

// Runs the dialog on the chart data's limits; true when the chart must be redrawn (OK, or limits
// stored by "保存").
bool AdjustAttributeLimits(TAttributeChartData& data, QWidget* parent);
