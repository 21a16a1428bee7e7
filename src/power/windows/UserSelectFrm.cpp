#include "power/windows/UserSelectFrm.h"

TUserSelectFrm::TUserSelectFrm(TUserPowerDM& dm, int dutyID, QWidget* parent)
    : TPowerMemberSelectFrm(dm, TPowerEntryKind::Duty, dutyID, parent)
{
    setWindowTitle(QStringLiteral("用户选择"));
}
