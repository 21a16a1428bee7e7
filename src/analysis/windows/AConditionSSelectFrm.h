#pragma once
// The condition dialog over attribute control items (L_AControlItem); the item is chosen with "SelectAControlItem".
#include "analysis/windows/ConditionSSelectFrm.h"

class TAConditionSSelectFrm : public TConditionSSelectFrm {
    Q_OBJECT
public:
    // taskID: the owner's task (GetNewTaskID).
    explicit TAConditionSSelectFrm(int taskID, QWidget* parent = nullptr);

protected:
    TAConditionSSelectFrm(bool analysis, int taskID, QWidget* parent);
    QString CharacteristicCommand() const override { return QStringLiteral("SelectAControlItem"); }
};
