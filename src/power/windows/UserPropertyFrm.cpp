#include "power/windows/UserPropertyFrm.h"

#include "component/DialogRunner.h"
#include "power/windows/DutySelectFrm.h"

TUserPropertyFrm::TUserPropertyFrm(TUserPowerDM& dm, int userID, QWidget* parent)
    : TPowerPropertyFrm(dm, TPowerEntryKind::User, userID, parent)
{
}

void TUserPropertyFrm::RunSelection()
{
    TDutySelectFrm dialog(FDM, FID, this);
    RunDialog(dialog);
}
