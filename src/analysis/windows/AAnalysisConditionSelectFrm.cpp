#include "analysis/windows/AAnalysisConditionSelectFrm.h"

TAAnalysisConditionSelectFrm::TAAnalysisConditionSelectFrm(int taskID, QWidget* parent)
    : TAConditionSSelectFrm(true, taskID, parent)
{
}
