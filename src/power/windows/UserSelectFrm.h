#pragma once
// 用户选择: the users of a duty.
#include "power/windows/PowerMemberSelectFrm.h"

class TUserSelectFrm : public TPowerMemberSelectFrm {
    Q_OBJECT
public:
    TUserSelectFrm(TUserPowerDM& dm, int dutyID, QWidget* parent = nullptr);
};
