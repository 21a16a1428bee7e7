#pragma once
// The condition dialog over variable control items (L_VControlItem); the item is chosen with "SelectVControlItem".
#include "analysis/windows/ConditionSSelectFrm.h"

class TVConditionSSelectFrm : public TConditionSSelectFrm {
    Q_OBJECT
public:
    // taskID: the owner's task (GetNewTaskID).
    explicit TVConditionSSelectFrm(int taskID, QWidget* parent = nullptr);

protected:
    TVConditionSSelectFrm(bool analysis, int taskID, QWidget* parent);
    QString CharacteristicCommand() const override { return QStringLiteral("SelectVControlItem"); }
};
