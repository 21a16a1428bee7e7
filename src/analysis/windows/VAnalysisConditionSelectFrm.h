#pragma once
// The condition dialog of the analysis windows over variable control items (L_VControlItem), with the chart-type choice.
#include "analysis/windows/VConditionSSelectFrm.h"

class TVAnalysisConditionSelectFrm : public TVConditionSSelectFrm {
    Q_OBJECT
public:
    explicit TVAnalysisConditionSelectFrm(int taskID, QWidget* parent = nullptr);
};
