#pragma once
// The condition dialog of the analysis windows over attribute control items (L_AControlItem), with the chart-type choice.
#include "analysis/windows/AConditionSSelectFrm.h"

class TAAnalysisConditionSelectFrm : public TAConditionSSelectFrm {
    Q_OBJECT
public:
    explicit TAAnalysisConditionSelectFrm(int taskID, QWidget* parent = nullptr);
};
