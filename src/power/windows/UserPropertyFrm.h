#pragma once
// 用户属性: the description and the duties of a user.
#include "power/windows/PowerPropertyFrm.h"

class TUserPropertyFrm : public TPowerPropertyFrm {
    Q_OBJECT
public:
    TUserPropertyFrm(TUserPowerDM& dm, int userID, QWidget* parent = nullptr);

protected:
    void RunSelection() override;
};
