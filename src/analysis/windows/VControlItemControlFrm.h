#pragma once
// "计量型特性控制": the variable analysis window under its own module code, without "控制限设置".
#include "analysis/windows/VControlItemAnalysisFrm.h"

class TVControlItemControlFrm : public TVControlItemAnalysisFrm {
    Q_OBJECT
public:
    explicit TVControlItemControlFrm(QWidget* parent = nullptr);
};
