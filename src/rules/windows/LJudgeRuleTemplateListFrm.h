#pragma once
// "检测规则模板浏览": the rule templates above, the rules of the current template below. Rules enter
// a template only through its edit window, so the detail actions are hidden.
#include "masterdata/windows/BaseListMDGridFrm.h"

class TLJudgeRuleTemplateListFrm : public TBaseListMDGridFrm {
    Q_OBJECT
public:
    explicit TLJudgeRuleTemplateListFrm(QWidget* parent = nullptr);
    // The template's edit window is TLJudgeRuleTemplateEditFrm ("ListFrm" → "EditFrm").
    void OpenMasterEditor() override;
    void OpenDetailEditor() override {}

protected:
    void BindControls() override;
};
