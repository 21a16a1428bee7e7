#include "masterdata/windows/VControlItemSSelectFrm.h"

TVControlItemSSelectFrm::TVControlItemSSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TControlItemSSelectFrm(dm ? &dm->qryVControlItem() : nullptr, QStringLiteral("计量型质量特性选择"), parent)
{
}
