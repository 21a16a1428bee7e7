#include "power/windows/DutySelectFrm.h"

TDutySelectFrm::TDutySelectFrm(TUserPowerDM& dm, int userID, QWidget* parent)
    : TPowerMemberSelectFrm(dm, TPowerEntryKind::User, userID, parent)
{
    setWindowTitle(QStringLiteral("选择职务"));
}
