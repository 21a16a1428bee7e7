#pragma once
// 职务属性: the description and the members of a duty.
#include "power/windows/PowerPropertyFrm.h"

class TDutyPropertyFrm : public TPowerPropertyFrm {
    Q_OBJECT
public:
    TDutyPropertyFrm(TUserPowerDM& dm, int dutyID, QWidget* parent = nullptr);

protected:
    void RunSelection() override;
};
