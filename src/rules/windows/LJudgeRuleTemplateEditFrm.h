#pragma once
// "检测规则模板编辑": the edit window of one rule template (shown as a dialog by its browse window).
// Its rules are chosen with "检测规则选择", which replaces the template's rules by those ticked.
#include "masterdata/windows/BaseListMDEditFrm.h"

#include <QLineEdit>
#include <QPushButton>

class QTableView;
class TDataSetModel;

class TLJudgeRuleTemplateEditFrm : public TBaseListMDEditFrm {
    Q_OBJECT
public:
    explicit TLJudgeRuleTemplateEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtDescribe;
    QPushButton* btnSelect;  // "选择(&D)..."
    QTableView* RuleGrid;
    TDataSetModel* RuleModel;

    // "选择(&D)...": the rule choice with the template's rules ticked; OK replaces them.
    void SelectRules();

protected:
    void BindControls() override;
};
