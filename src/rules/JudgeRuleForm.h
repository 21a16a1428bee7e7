#pragma once
// Judge-rule maintenance without widgets: what the rule editor's lists show and store, the rule's
// own description composed from its columns, the target and type switches, the checks before a
// rule is saved, the set-up of the rule and template windows, and the template's rule choice.
// The windows (rules/windows/) only call into these.
#include "masterdata/DataForm.h"
#include "rules/ChartJudge.h"

#include <QList>
#include <QString>
#include <QVariant>

class TDataSet;

// One entry of a pattern list: the code stored and the text shown.
struct TRulePatternItem {
    int Code;
    QString Text;
};
// The trend list: "上升" 1, "不变" 2, "下降" 3, "中心线同一侧" 4, "相邻点上下交错" 10.
QList<TRulePatternItem> TrendPatternItems();
// The run list: "在一倍的标准差内" 5 to "在规格限外" 9.
QList<TRulePatternItem> RunPatternItems();
// The text the lists show for a code: the judge's pattern text, code 4 without its leading "在".
QString RulePatternListText(int code);
// "副控制图" for TargetType 2, "主控制图" otherwise.
QString RuleTargetCaption(const QVariant& targetType);

// The rule's own description from the current row: the target's caption, then "连续", Area_Trend,
// "点" and the trend pattern for a trend rule (JudgeType 1), or Area_Run, "点中有",
// Exception_Run, "点" and the run pattern otherwise. Empty columns add nothing.
QString ComposeRuleDescribe(const TDataSet& rule);
// Whether the current row holds changes not yet saved (being edited with an assignment, or a
// posted change pending).
bool RuleRowChanged(const TDataSet& rule);
// The description update: with AutoDescribe = 1 and unsaved changes, writes the composed text when
// it differs from Describe. A description the user typed (AutoDescribe 0) is never touched.
// True when Describe was written.
bool UpdateRuleDescribe(TDataSet& rule);

// The switches as the radio buttons make them. Each puts the row in edit state when it changes
// something, then runs the description update.
// TargetType 1 (main chart) or 2 (secondary chart).
void SetRuleTargetType(TDataSet& rule, int targetType);
// JudgeType 1 (trend: the run columns are emptied) or 2 (run: the trend columns are emptied).
void SetRuleJudgeType(TDataSet& rule, int judgeType);
// AutoDescribe 1 or 0. Switched on, the description follows the expression at once, so that a
// rule marked as described automatically never keeps a typed text.
void SetRuleAutoDescribe(TDataSet& rule, bool on);

// The checks of a rule before it is saved, in order: code and name required ("请输入编码",
// "请输入名称"), then for a trend rule "需要检测的点数应大于0" and "检测的项目不能为空", for a run
// rule "需要检测的点数应大于0", "违例点数应大于0", "违例点数应小于或等于需要检测的点数" and
// "检测的项目不能为空" (kind error). Last, what the judge could not load: "检测规则定义错误！".
void ValidateJudgeRule(TDataForm& form, TDataSet& rule);

// The seven columns the judge reads, from the current row (empty columns read as NullValue).
TJudgeRuleRow JudgeRuleRowOf(const TDataSet& rule);
// The expression the judge writes for the rule ("MT1,6", "SR7,3,2"); empty for a rule the judge
// refuses (JudgeRuleDefinitionValid).
QString JudgeRuleExpression(const TJudgeRuleRow& row);

// The rows that refer to a judge rule: deletion is refused while a template lists it.
QList<TRecordReference> JudgeRuleReferences();

// What the rule windows (browse and edit) are set up with: the rule query of the list data
// module, key JRID, the defaults "AutoDescribe:=1;TargetType:=1;JudgeType:=2", the checks above
// and the references.
void SetupJudgeRuleForm(TListDataForm& form);
// The template windows: the template query with its detail query, keys JRTID and (JRTID, JRID),
// the joined rule columns never written, code and name required; deleting a template deletes its
// rows of L_JudgeRuleTemplateDetail with it.
void SetupJudgeRuleTemplateForm(TListMDDataForm& form);

// The template's rules replaced by the ticked rows (Selected = 1) of a rule choice: every row of
// detail is deleted (pending until the save), then for each ticked rule a row with JRTID =
// templateID and the rule's JRID, JRCode, JRName and Describe is appended and posted. keyFieldName
// is the choice's key field (JRID). Returns the number of rows appended.
int ReplaceTemplateRules(TDataSet& detail, const QVariant& templateID, TDataSet& choice, const QString& keyFieldName);
