#include "analysis/windows/VConditionSSelectFrm.h"

TVConditionSSelectFrm::TVConditionSSelectFrm(int taskID, QWidget* parent) : TVConditionSSelectFrm(false, taskID, parent)
{
}

TVConditionSSelectFrm::TVConditionSSelectFrm(bool analysis, int taskID, QWidget* parent)
    : TConditionSSelectFrm(ikVariable, analysis, taskID, parent)
{
}
