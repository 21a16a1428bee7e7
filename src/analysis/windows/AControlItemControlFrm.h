#pragma once
// "计数型特性控制": the attribute analysis window under its own module code, without "控制限设置".
#include "analysis/windows/AControlItemAnalysisFrm.h"

class TAControlItemControlFrm : public TAControlItemAnalysisFrm {
    Q_OBJECT
public:
    explicit TAControlItemControlFrm(QWidget* parent = nullptr);
};
