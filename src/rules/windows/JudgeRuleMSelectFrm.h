#pragma once
// "检测规则选择": the judge rules to tick, for a rule template or for a check of one's own.
#include "masterdata/windows/BaseMulSelectFrm.h"

class TJudgeRuleMSelectFrm : public TBaseMulSelectFrm {
    Q_OBJECT
public:
    explicit TJudgeRuleMSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};

// Opens the dialog over the current look-up module: the rules of selected (matched on
// keyFieldName) start ticked; after OK the callback receives every rule with its Selected and the
// key field name "JRID". True after OK.
bool MSelectJudgeRule(const TDataSet* selected, const QString& keyFieldName, const TMultiSelectCallback& callback,
                      QWidget* parent = nullptr);
