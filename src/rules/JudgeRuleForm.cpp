#include "rules/JudgeRuleForm.h"

#include "foundation/DataSet.h"
#include "foundation/Types.h"
#include "masterdata/ListDM.h"
#include "masterdata/RuleError.h"

namespace {
const QString kTargetType = QStringLiteral("TargetType");
const QString kJudgeType = QStringLiteral("JudgeType");
const QString kAreaTrend = QStringLiteral("Area_Trend");
const QString kTypeTrend = QStringLiteral("ExceptionType_Trend");
const QString kAreaRun = QStringLiteral("Area_Run");
const QString kCountRun = QStringLiteral("Exception_Run");
const QString kTypeRun = QStringLiteral("ExceptionType_Run");
const QString kDescribe = QStringLiteral("Describe");
const QString kAutoDescribe = QStringLiteral("AutoDescribe");

QList<TRulePatternItem> Items(std::initializer_list<int> codes)
{
    QList<TRulePatternItem> items;
    for (int code : codes) items.append({code, RulePatternListText(code)});
    return items;
}

bool IsTrend(const TDataSet& rule)
{
    return rule.FieldByName(kJudgeType)->AsInteger() == 1;
}

void EnsureEditing(TDataSet& rule)
{
    if (rule.State() == TDataSetState::Browse) rule.Edit();
}

// Assigns only a value that differs, so that a click on the radio already checked leaves the
// record as it was.
void Assign(TDataSet& rule, const QString& field, const QVariant& value)
{
    TField* f = rule.FieldByName(field);
    if (VariantsEqual(f->Value(), value) && f->IsNull() == value.isNull()) return;
    EnsureEditing(rule);
    f->SetValue(value);
}

bool Positive(const TField* f)
{
    return !f->IsNull() && f->AsInteger() > 0;
}

[[noreturn]] void Refuse(TDataForm& form, TDataSet& rule, const QString& field, const char* message)
{
    form.FocusField(rule, field);
    throw ERuleError(QString::fromUtf8(message), TRuleErrorKind::Error);
}

TListDM* DM()
{
    return TListDM::Current();
}
} // namespace

QList<TRulePatternItem> TrendPatternItems()
{
    return Items({1, 2, 3, 4, 10});
}

QList<TRulePatternItem> RunPatternItems()
{
    return Items({5, 6, 7, 8, 9});
}

QString RulePatternListText(int code)
{
    const QString text = PatternText(code);
    return code == 4 ? text.mid(1) : text;
}

QString RuleTargetCaption(const QVariant& targetType)
{
    return VariantsEqual(targetType, 2) ? QStringLiteral("副控制图") : QStringLiteral("主控制图");
}

QString ComposeRuleDescribe(const TDataSet& rule)
{
    auto text = [&](const QString& field) { return rule.FieldByName(field)->DisplayText(); };
    auto pattern = [&](const QString& field) {
        const TField* f = rule.FieldByName(field);
        return f->IsNull() ? QString() : RulePatternListText(f->AsInteger());
    };
    QString describe = RuleTargetCaption(rule.Value(kTargetType));
    if (IsTrend(rule))
        describe += QStringLiteral("连续") + text(kAreaTrend) + QStringLiteral("点") + pattern(kTypeTrend);
    else
        describe += text(kAreaRun) + QStringLiteral("点中有") + text(kCountRun) + QStringLiteral("点") + pattern(kTypeRun);
    return describe;
}

bool RuleRowChanged(const TDataSet& rule)
{
    if (rule.RecNo() < 0) return false;
    if ((rule.State() == TDataSetState::Edit || rule.State() == TDataSetState::Insert) && rule.Modified()) return true;
    return rule.UpdateStatus() != TUpdateStatus::Unmodified;
}

bool UpdateRuleDescribe(TDataSet& rule)
{
    if (rule.FieldByName(kAutoDescribe)->AsInteger() != 1 || !RuleRowChanged(rule)) return false;
    const QString describe = ComposeRuleDescribe(rule);
    if (rule.FieldByName(kDescribe)->AsString() == describe) return false;
    EnsureEditing(rule);
    rule.SetValue(kDescribe, describe);
    return true;
}

void SetRuleTargetType(TDataSet& rule, int targetType)
{
    Assign(rule, kTargetType, targetType);
    UpdateRuleDescribe(rule);
}

void SetRuleJudgeType(TDataSet& rule, int judgeType)
{
    Assign(rule, kJudgeType, judgeType);
    const QStringList emptied = judgeType == 1 ? QStringList{kAreaRun, kCountRun, kTypeRun}
                                               : QStringList{kAreaTrend, kTypeTrend};
    for (const QString& field : emptied) Assign(rule, field, QVariant());
    UpdateRuleDescribe(rule);
}

void SetRuleAutoDescribe(TDataSet& rule, bool on)
{
    Assign(rule, kAutoDescribe, on ? 1 : 0);
    UpdateRuleDescribe(rule);
}

void ValidateJudgeRule(TDataForm& form, TDataSet& rule)
{
    form.CheckRequired(rule, QStringLiteral("JRCode"), QStringLiteral("编码"));
    form.CheckRequired(rule, QStringLiteral("JRName"), QStringLiteral("名称"));
    if (IsTrend(rule)) {
        if (!Positive(rule.FieldByName(kAreaTrend))) Refuse(form, rule, kAreaTrend, "需要检测的点数应大于0");
        if (rule.FieldByName(kTypeTrend)->IsNull()) Refuse(form, rule, kTypeTrend, "检测的项目不能为空");
    } else {
        const TField* area = rule.FieldByName(kAreaRun);
        const TField* count = rule.FieldByName(kCountRun);
        if (!Positive(area)) Refuse(form, rule, kAreaRun, "需要检测的点数应大于0");
        if (!Positive(count)) Refuse(form, rule, kCountRun, "违例点数应大于0");
        if (area->AsInteger() < count->AsInteger()) Refuse(form, rule, kCountRun, "违例点数应小于或等于需要检测的点数");
        if (rule.FieldByName(kTypeRun)->IsNull()) Refuse(form, rule, kTypeRun, "检测的项目不能为空");
    }
    // Whatever is stored must load into the judge (a pattern code from elsewhere, for instance).
    if (JudgeRuleExpression(JudgeRuleRowOf(rule)).isEmpty())
        throw ERuleError(QStringLiteral("检测规则定义错误！"), TRuleErrorKind::Error);
}

TJudgeRuleRow JudgeRuleRowOf(const TDataSet& rule)
{
    auto value = [&](const QString& field) { return rule.FieldByName(field)->AsInteger(); };
    TJudgeRuleRow row;
    row.TargetType = value(kTargetType);
    row.JudgeType = value(kJudgeType);
    row.Area_Trend = value(kAreaTrend);
    row.ExceptionType_Trend = value(kTypeTrend);
    row.Area_Run = value(kAreaRun);
    row.Exception_Run = value(kCountRun);
    row.ExceptionType_Run = value(kTypeRun);
    return row;
}

QString JudgeRuleExpression(const TJudgeRuleRow& row)
{
    // The judge's own reading of a rule row (as LoadRules reads it) and its own expression.
    TJudgeRule rule;
    rule.Target = row.TargetType == 1 ? 0 : 1;
    rule.IsTrend = row.JudgeType != 2;
    rule.Area = rule.IsTrend ? row.Area_Trend : row.Area_Run;
    rule.ExceptionCount = rule.IsTrend ? row.Area_Trend : row.Exception_Run;
    rule.PatternCode = rule.IsTrend ? row.ExceptionType_Trend : row.ExceptionType_Run;
    if (!JudgeRuleDefinitionValid(rule.IsTrend, rule.Area, rule.ExceptionCount, rule.PatternCode)) return {};
    rule.BuildExpression();
    return rule.Expression;
}

QList<TRecordReference> JudgeRuleReferences()
{
    return {{QStringLiteral("L_JudgeRuleTemplateDetail"), QStringLiteral("JRID")}};
}

void SetupJudgeRuleForm(TListDataForm& form)
{
    form.SetMainDataSet(DM() ? DM()->qryJudgeRule : nullptr);
    form.KeyFieldName = QStringLiteral("JRID");
    form.References = JudgeRuleReferences();
    if (form.MainDataSet()) form.SetDefaultDefinition(QStringLiteral("AutoDescribe:=1;TargetType:=1;JudgeType:=2"));
    form.Rules = [](TListDataForm& f) { ValidateJudgeRule(f, *f.MainDataSet()); };
}

void SetupJudgeRuleTemplateForm(TListMDDataForm& form)
{
    form.SetMasterDataSet(DM() ? DM()->qryJudgeRuleTemplate : nullptr);
    form.SetDetailDataSet(DM() ? DM()->qryJudgeRuleTemplateDetail : nullptr);
    form.MasterKeyFields = {QStringLiteral("JRTID")};
    form.DetailKeyFields = {QStringLiteral("JRTID"), QStringLiteral("JRID")};
    form.DetailReadOnlyFields = {QStringLiteral("JRCode"), QStringLiteral("JRName"), kDescribe};
    // The template's rows go with it, also those the detail query does not list.
    form.DetailTables = {{QStringLiteral("L_JudgeRuleTemplateDetail"), QStringLiteral("JRTID")}};
    form.MasterRules = [](TListMDDataForm& f) {
        f.CheckRequired(*f.MasterDataSet(), QStringLiteral("JRTCode"), QStringLiteral("编码"));
        f.CheckRequired(*f.MasterDataSet(), QStringLiteral("JRTName"), QStringLiteral("名称"));
    };
}

int ReplaceTemplateRules(TDataSet& detail, const QVariant& templateID, TDataSet& choice, const QString& keyFieldName)
{
    choice.Post();
    detail.Cancel();
    while (!detail.IsEmpty()) {
        detail.First();
        detail.Delete();
    }
    const TField* selected = choice.FieldByName(QStringLiteral("Selected"));
    const int key = choice.FieldByName(keyFieldName)->Index();
    const int code = choice.FieldByName(QStringLiteral("JRCode"))->Index();
    const int name = choice.FieldByName(QStringLiteral("JRName"))->Index();
    const int describe = choice.FieldByName(kDescribe)->Index();
    const int selectedIndex = selected->Index();
    int appended = 0;
    for (int row = 0; row < choice.RecordCount(); ++row) {
        if (VariantToInt(choice.RowValue(row, selectedIndex)) != 1) continue;
        detail.Append();
        detail.SetValue(QStringLiteral("JRTID"), templateID);
        detail.SetValue(QStringLiteral("JRID"), choice.RowValue(row, key));
        detail.SetValue(QStringLiteral("JRCode"), choice.RowValue(row, code));
        detail.SetValue(QStringLiteral("JRName"), choice.RowValue(row, name));
        detail.SetValue(kDescribe, choice.RowValue(row, describe));
        detail.Post();
        ++appended;
    }
    if (!detail.IsEmpty()) detail.First();
    return appended;
}
