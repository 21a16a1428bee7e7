#include "rules/windows/JudgeRuleMSelectFrm.h"

TJudgeRuleMSelectFrm::TJudgeRuleMSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseMulSelectFrm(dm ? &dm->qryMJudgeRule() : nullptr, QStringLiteral("检测规则选择"), QStringLiteral("JRID"), parent)
{
    SetFilterField(edtCode, QStringLiteral("JRCode"));
    SetFilterField(edtName, QStringLiteral("JRName"));
    AddColumn(QStringLiteral("JRCode"), QStringLiteral("检测规则编码"));
    AddColumn(QStringLiteral("JRName"), QStringLiteral("检测规则名称"));
    AddColumn(QStringLiteral("Describe"), QStringLiteral("检测规则描述"));
    resize(640, 420);
}

bool MSelectJudgeRule(const TDataSet* selected, const QString& keyFieldName, const TMultiSelectCallback& callback,
                      QWidget* parent)
{
    TJudgeRuleMSelectFrm dialog(TKQCommonDM::Current(), parent);
    return dialog.Execute(selected, keyFieldName, callback);
}
