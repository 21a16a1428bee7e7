#pragma once
// "检测规则浏览": the browse window of the judge rules.
#include "masterdata/windows/BaseListGridFrm.h"

class TLJudgeRuleListFrm : public TBaseListGridFrm {
    Q_OBJECT
public:
    explicit TLJudgeRuleListFrm(QWidget* parent = nullptr);

protected:
    void BindControls() override;
};
