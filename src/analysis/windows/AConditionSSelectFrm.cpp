#include "analysis/windows/AConditionSSelectFrm.h"

TAConditionSSelectFrm::TAConditionSSelectFrm(int taskID, QWidget* parent) : TAConditionSSelectFrm(false, taskID, parent)
{
}

TAConditionSSelectFrm::TAConditionSSelectFrm(bool analysis, int taskID, QWidget* parent)
    : TConditionSSelectFrm(ikAttribute, analysis, taskID, parent)
{
}
