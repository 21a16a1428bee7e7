#include "power/windows/DutyPropertyFrm.h"

#include "component/DialogRunner.h"
#include "power/windows/UserSelectFrm.h"

TDutyPropertyFrm::TDutyPropertyFrm(TUserPowerDM& dm, int dutyID, QWidget* parent)
    : TPowerPropertyFrm(dm, TPowerEntryKind::Duty, dutyID, parent)
{
}

void TDutyPropertyFrm::RunSelection()
{
    TUserSelectFrm dialog(FDM, FID, this);
    RunDialog(dialog);
}
