#include "analysis/windows/VControlItemControlFrm.h"

TVControlItemControlFrm::TVControlItemControlFrm(QWidget* parent)
    : TVControlItemAnalysisFrm(false, QStringLiteral("计量型特性控制"), parent)
{
}
