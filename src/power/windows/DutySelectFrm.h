#pragma once
// 选择职务: the duties of a user.
#include "power/windows/PowerMemberSelectFrm.h"

class TDutySelectFrm : public TPowerMemberSelectFrm {
    Q_OBJECT
public:
    TDutySelectFrm(TUserPowerDM& dm, int userID, QWidget* parent = nullptr);
};
