#include "analysis/windows/VAnalysisConditionSelectFrm.h"

TVAnalysisConditionSelectFrm::TVAnalysisConditionSelectFrm(int taskID, QWidget* parent)
    : TVConditionSSelectFrm(true, taskID, parent)
{
}
