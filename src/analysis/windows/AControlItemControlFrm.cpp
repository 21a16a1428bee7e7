#include "analysis/windows/AControlItemControlFrm.h"

TAControlItemControlFrm::TAControlItemControlFrm(QWidget* parent)
    : TAControlItemAnalysisFrm(false, QStringLiteral("计数型特性控制"), parent)
{
}
