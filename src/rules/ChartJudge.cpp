#include "rules/ChartJudge.h"

#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/MessageService.h"
#include "foundation/ParseSQL.h"
#include "foundation/ZCDb.h"

#include <QRegularExpression>

namespace {
const char* const kDefinitionError = "检测规则定义错误！";

[[noreturn]] void Fail(const char* message)
{
    throw ESPCDataError(QString::fromUtf8(message));
}

// Keeps a data set's views still while rows are appended one by one.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TDataSet* dataSet) : FDataSet(dataSet)
    {
        if (FDataSet) FDataSet->DisableControls();
    }
    ~TControlsDisabled()
    {
        if (FDataSet) FDataSet->EnableControls();
    }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TDataSet* FDataSet;
};
} // namespace

QString PatternText(int code)
{
    static const char* const texts[] = {
        "上升", "不变", "下降", "在中心线同一侧", "在一倍的标准差内", "在一倍和二倍的标准差内",
        "在二倍和三倍的标准差内", "在控制限外", "在规格限外", "相邻点上下交错",
    };
    if (code < 1 || code > 10) return {};
    return QString::fromUtf8(texts[code - 1]);
}

bool JudgeRuleDefinitionValid(bool isTrend, int area, int exceptionCount, int patternCode)
{
    // Negative counts would never fill a window: they are refused like zero.
    if (isTrend) return area >= 1 && ((patternCode >= 1 && patternCode <= 4) || patternCode == 10);
    return area >= 1 && exceptionCount >= 1 && area >= exceptionCount && patternCode >= 5 && patternCode <= 10;
}

// ---- TJudgeRule ----

void TJudgeRule::SetVariableData(TVariableChartData* data)
{
    if (Target == 2) Fail("类型不匹配！");
    FVariableData = data;
    FAttributeData = nullptr;
}

void TJudgeRule::SetAttributeData(TAttributeChartData* data)
{
    if (Target != 2) Fail("类型不匹配！");
    FAttributeData = data;
    FVariableData = nullptr;
}

double TJudgeRule::Value(int j) const
{
    switch (Target) {
    case 0: return FVariableData->MainValue(j);
    case 1: return FVariableData->SubValue(j);
    default: return FAttributeData->ValueAt(j);
    }
}

double TJudgeRule::CL(int) const
{
    switch (Target) {
    case 0: return FVariableData->MainCL();
    case 1: return FVariableData->SubCL();
    default: return FAttributeData->CL();
    }
}

double TJudgeRule::UCL(int j) const
{
    switch (Target) {
    case 0: return FVariableData->MainUCL();
    case 1: return FVariableData->SubUCL();
    default: return FAttributeData->UCLAt(j);
    }
}

double TJudgeRule::LCL(int j) const
{
    switch (Target) {
    case 0: return FVariableData->MainLCL(j);
    case 1: return FVariableData->SubLCL(j);
    default: return FAttributeData->LCLAt(j);
    }
}

void TJudgeRule::CheckPoint(int i)
{
    const double current = Value(i);
    // A point without a value (no moving range yet, nothing inspected) is not looked at: it
    // neither counts nor breaks a sequence.
    if (current == NullValue) return;
    if (Window.Count() >= Area) {
        const int first = Window.Item(0);
        Window.Delete(0);
        if (Hits.Count() > 0 && Hits.Item(0) == first) Hits.Delete(0);
    }
    Window.Add(i);
    if (IsTrend)
        CheckTrend(i, current);
    else if (InZone(i, current))
        AddHit(i);
}

void TJudgeRule::CheckTrend(int i, double current)
{
    const int n = Window.Count();
    if (n == 1) {
        AddHit(i);  // the first point of a sequence always counts
        return;
    }
    const int p = Window.Item(n - 2);
    const double previous = Value(p);
    enum { Continue, Restart, Reseed } outcome = Restart;
    switch (PatternCode) {
    case 1: outcome = previous < current ? Continue : Restart; break;
    case 2: outcome = previous == current ? Continue : Restart; break;
    case 3: outcome = previous > current ? Continue : Restart; break;
    case 4: {
        const double c = CL(i), cp = CL(p);
        // Without a centre line no side can be told.
        if (c != NullValue && cp != NullValue && (current - c) * (previous - cp) > 0) outcome = Continue;
        break;
    }
    case 10:
        if (previous == current) {
            outcome = Restart;
        } else if (n == 2) {
            outcome = Continue;
        } else {
            const double before = Value(Window.Item(n - 3));
            const bool alternates = (previous < current && before > previous) || (previous > current && before < previous);
            outcome = alternates ? Continue : Reseed;
        }
        break;
    default: break;
    }
    switch (outcome) {
    case Continue: AddHit(i); break;
    case Restart:
        Window.Clear();
        Hits.Clear();
        Window.Add(i);
        AddHit(i);
        break;
    case Reseed:
        // The previous and the current point start a new alternation.
        Window.Clear();
        Window.Add(p);
        Window.Add(i);
        Hits.Clear();
        Hits.Add(p);
        AddHit(i);
        break;
    }
}

bool TJudgeRule::InZone(int i, double v) const
{
    switch (PatternCode) {
    case 5:
    case 6:
    case 7: {
        const double c = CL(i), ucl = UCL(i);
        if (c == NullValue || ucl == NullValue) return false;  // no limits, no zones
        const double sigma = (ucl - c) / 3;
        // Measurements can be negative: the zones below the centre line are not clamped at 0.
        const double l1 = c - sigma, l2 = c - 2 * sigma;
        if (PatternCode == 5) return (c < v && v <= c + sigma) || (l1 <= v && v < c);
        if (PatternCode == 6) return v > c ? (c + sigma < v && v <= c + 2 * sigma) : (l2 <= v && v < l1);
        if (v > c) return c + 2 * sigma < v && v <= ucl;
        const double lcl = LCL(i);
        return lcl != NullValue && lcl <= v && v < l2;
    }
    case 8: {
        const double ucl = UCL(i), lcl = LCL(i);
        return (ucl != NullValue && v > ucl) || (lcl != NullValue && v < lcl);
    }
    case 9: {
        if (Target == 2) return false;  // attribute items have no specification limits
        const TCharacterInfo* info = FVariableData->GetCharacterInfo();
        if (!info) return false;
        // A side whose limit is missing is not checked.
        return (info->USL != NullValue && v > info->USL) || (info->LSL != NullValue && v < info->LSL);
    }
    default: return false;  // code 10 has no zone
    }
}

void TJudgeRule::AddHit(int i)
{
    Hits.Add(i);
    if (Hits.Count() >= ExceptionCount) {
        WriteViolation();
        // Violations never share points.
        Window.Clear();
        Hits.Clear();
    }
}

void TJudgeRule::WriteViolation()
{
    if (Judge->JudgeSN == NullValue) Fail("检测序号未初始化！");
    ++Judge->JudgeSN;
    Judge->WriteRows(*this);
}

void TJudgeRule::ValidateRule() const
{
    if (!JudgeRuleDefinitionValid(IsTrend, Area, ExceptionCount, PatternCode)) Fail(kDefinitionError);
}

void TJudgeRule::BuildExpression()
{
    Expression = Target == 1 ? QStringLiteral("S") : QStringLiteral("M");
    if (IsTrend)
        Expression += QStringLiteral("T%1,%2").arg(PatternCode).arg(Area);
    else
        Expression += QStringLiteral("R%1,%2,%3").arg(PatternCode).arg(Area).arg(ExceptionCount);
}

void TJudgeRule::BuildDescribe()
{
    const TSPCChartData* data = FVariableData ? static_cast<const TSPCChartData*>(FVariableData) : FAttributeData;
    Describe = data ? ChartTypeName(data->ChartType()) : QString();
    if (Target == 0) Describe += QStringLiteral("中主控制图");
    if (Target == 1) Describe += QStringLiteral("中副控制图");
    if (IsTrend)
        Describe += QStringLiteral("连续%1点").arg(Area);
    else
        Describe += QStringLiteral("%1点中有%2点").arg(Area).arg(ExceptionCount);
    Describe += PatternText(PatternCode);
}

// ---- TJudgeRuleList ----

TJudgeRule& TJudgeRuleList::Item(int i) const
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
    return *FItems[static_cast<size_t>(i)];
}

TJudgeRule& TJudgeRuleList::Add()
{
    FItems.push_back(std::make_unique<TJudgeRule>());
    return *FItems.back();
}

// ---- TChartJudge ----

void TChartJudge::SetVariableData(TVariableChartData* data)
{
    if (data == FVariableData && !FAttributeData) return;
    FVariableData = data;
    FAttributeData = nullptr;
    RebindRules();
}

void TChartJudge::SetAttributeData(TAttributeChartData* data)
{
    if (data == FAttributeData && !FVariableData) return;
    FAttributeData = data;
    FVariableData = nullptr;
    RebindRules();
}

void TChartJudge::RebindRules()
{
    // A rule must never keep reading chart data the judge has let go of.
    for (int r = 0; r < Rules.Count(); ++r) {
        TJudgeRule& rule = Rules.Item(r);
        const bool fits = rule.Target == 2 ? FAttributeData != nullptr : FVariableData != nullptr;
        if (!fits) {
            Rules.Clear();
            return;
        }
    }
    for (int r = 0; r < Rules.Count(); ++r) {
        TJudgeRule& rule = Rules.Item(r);
        if (rule.Target == 2)
            rule.SetAttributeData(FAttributeData);
        else
            rule.SetVariableData(FVariableData);
        rule.BuildDescribe();  // the chart type may differ
    }
}

int TChartJudge::PointCount() const
{
    if (FVariableData) return FVariableData->Count();
    if (FAttributeData) return FAttributeData->Count();
    return 0;
}

void TChartJudge::LoadRules(const TDataSet& dataSet)
{
    if (!FVariableData && !FAttributeData) Fail("检测数据未指定");
    Rules.Clear();
    const int targetType = dataSet.FieldByName(QStringLiteral("TargetType"))->Index();
    const int judgeType = dataSet.FieldByName(QStringLiteral("JudgeType"))->Index();
    const int areaTrend = dataSet.FieldByName(QStringLiteral("Area_Trend"))->Index();
    const int typeTrend = dataSet.FieldByName(QStringLiteral("ExceptionType_Trend"))->Index();
    const int areaRun = dataSet.FieldByName(QStringLiteral("Area_Run"))->Index();
    const int countRun = dataSet.FieldByName(QStringLiteral("Exception_Run"))->Index();
    const int typeRun = dataSet.FieldByName(QStringLiteral("ExceptionType_Run"))->Index();
    try {
        for (int row = 0; row < dataSet.RecordCount(); ++row) {
            auto value = [&](int field) { return VariantToInt(dataSet.RowValue(row, field)); };
            const int target = value(targetType);
            // Secondary-chart rules do not apply to attribute charts.
            if (FAttributeData && target != 1) continue;
            TJudgeRule& rule = Rules.Add();
            rule.Judge = this;
            rule.IsTrend = value(judgeType) != 2;
            if (FVariableData) {
                rule.Target = target == 1 ? 0 : 1;
                rule.SetVariableData(FVariableData);
            } else {
                rule.Target = 2;
                rule.SetAttributeData(FAttributeData);
            }
            if (rule.IsTrend) {
                rule.Area = rule.ExceptionCount = value(areaTrend);
                rule.PatternCode = value(typeTrend);
            } else {
                rule.Area = value(areaRun);
                rule.ExceptionCount = value(countRun);
                rule.PatternCode = value(typeRun);
            }
            rule.ValidateRule();
            rule.BuildExpression();
            rule.BuildDescribe();
        }
    } catch (...) {
        // A half-loaded list must not be judged.
        Rules.Clear();
        throw;
    }
}

void TChartJudge::SetPointState(int i, TSubgroupState state)
{
    if (FVariableData)
        FVariableData->SetPointState(i, state);
    else
        FAttributeData->SetPointState(i, state);
}

void TChartJudge::JudgeChart()
{
    Saved = false;
    if (Rules.Count() == 0) return;
    const int count = PointCount();
    for (int i = 0; i < count; ++i) SetPointState(i, ssNormal);
    // Every run starts from empty windows, also when the rules were judged before.
    for (int r = 0; r < Rules.Count(); ++r) {
        Rules.Item(r).Window.Clear();
        Rules.Item(r).Hits.Clear();
    }
    FFieldsResolved = false;
    TControlsDisabled quiet(ExceptionData);
    std::vector<TJudgeRule*> rules;
    rules.reserve(static_cast<size_t>(Rules.Count()));
    for (int r = 0; r < Rules.Count(); ++r) rules.push_back(&Rules.Item(r));
    for (int i = 0; i < count; ++i)
        for (TJudgeRule* rule : rules) rule->CheckPoint(i);
}

void TChartJudge::WriteRows(const TJudgeRule& rule)
{
    if (!ExceptionData) Fail("检测结果数据集未指定！");
    if (!FFieldsResolved) {
        TDataSet& ds = *ExceptionData;
        FFields.CID = ds.FieldByName(QStringLiteral("CID"));
        FFields.SN = ds.FieldByName(QStringLiteral("SN"));
        FFields.CType = ds.FieldByName(QStringLiteral("CType"));
        FFields.CCode = ds.FieldByName(QStringLiteral("CCode"));
        FFields.CName = ds.FieldByName(QStringLiteral("CName"));
        FFields.JudgeSN = ds.FieldByName(QStringLiteral("JudgeSN"));
        FFields.Expression = ds.FieldByName(QStringLiteral("Expression"));
        FFields.Describe = ds.FieldByName(QStringLiteral("Describe"));
        FFields.JudgeDate = ds.FieldByName(QStringLiteral("JudgeDate"));
        FFieldsResolved = true;
    }
    const TSPCChartData* data = FVariableData ? static_cast<const TSPCChartData*>(FVariableData) : FAttributeData;
    const TCharacterInfo* info = data->GetCharacterInfo();
    const QVariant cid = data->GetCID();
    const QVariant ctype = FVariableData ? 1 : 2;
    const QVariant code = info ? info->CCode : QString();
    const QVariant name = info ? info->CName : QString();
    const QVariant judgeSN = JudgeSN;
    const QVariant expression = rule.Expression;
    const QVariant describe = rule.Describe;
    const QVariant now = QDateTime::currentDateTime();
    for (int h = 0; h < rule.Hits.Count(); ++h) {
        const int i = rule.Hits.Item(h);
        const int sn = FVariableData ? FVariableData->Data(i).SN : FAttributeData->Data(i).SN;
        ExceptionData->Append();
        try {
            FFields.CID->SetValue(cid);
            FFields.SN->SetValue(sn);
            FFields.CType->SetValue(ctype);
            FFields.CCode->SetValue(code);
            FFields.CName->SetValue(name);
            SetPointState(i, ssAbnormal);
            FFields.JudgeSN->SetValue(judgeSN);
            FFields.Expression->SetValue(expression);
            FFields.Describe->SetValue(describe);
            FFields.JudgeDate->SetValue(now);
            ExceptionData->Post();
        } catch (...) {
            ExceptionData->Cancel();
            throw;
        }
    }
}

void TChartJudge::SaveResult(TCompanyDM& database, int taskID, int baseJudgeSN)
{
    if (Saved) {
        ShowInfo(QStringLiteral("已保存过，无需再保存！"));
        return;
    }
    const TSPCChartData* data = FVariableData ? static_cast<const TSPCChartData*>(FVariableData) : FAttributeData;
    if (!data) Fail("检测数据未指定");
    const int cid = data->GetCID();
    const QString table = FVariableData ? QStringLiteral("D_VDM") : QStringLiteral("D_ADM");
    // The judged subgroups: the task's rows of this item.
    const QString judged = QStringLiteral(" and SN in (select SN from m_CTemp where CID = :TaskCID and TaskID = :TaskID)");
    const TSqlParams taskParams{{QStringLiteral("CID"), cid},
                                {QStringLiteral("TaskCID"), cid},
                                {QStringLiteral("TaskID"), taskID}};
    try {
        TTransactionGuard guard(database);
        database.Exec(QStringLiteral("delete from D_Exception where CID = :CID") + judged, taskParams);
        TSqlParams normal = taskParams;
        normal.insert(QStringLiteral("State"), StateToCode(ssNormal));
        database.Exec(QStringLiteral("update %1 set State = :State where CID = :CID").arg(table) + judged, normal);
        if (ExceptionData && ExceptionData->Active() && ExceptionData->UpdatesPending()) {
            if (auto* query = qobject_cast<TZCQuery*>(ExceptionData))
                SetupUpdateSQL(*query, {QStringLiteral("CCode"), QStringLiteral("CName")},
                               {QStringLiteral("CID"), QStringLiteral("SN"), QStringLiteral("JudgeSN")});
            ExceptionData->SetDatabase(&database);
            ExceptionData->ApplyUpdates();
        }
        database.Exec(QStringLiteral("update %1 set State = :State where CID = :CID and SN in ("
                                     "select distinct SN from D_Exception a where a.CID = :ExceptionCID"
                                     " and a.JudgeSN > :BaseJudgeSN)")
                          .arg(table),
                      {{QStringLiteral("State"), StateToCode(ssAbnormal)},
                       {QStringLiteral("CID"), cid},
                       {QStringLiteral("ExceptionCID"), cid},
                       {QStringLiteral("BaseJudgeSN"), baseJudgeSN}});
        guard.Commit();
    } catch (...) {
        // The guard has rolled back; the rows stay pending for another try.
        Fail("规则检测结果保存失败！");
    }
    Saved = true;
}

// ---- helpers ----

void SetupExceptionQuery(TZCQuery& query)
{
    query.SetSQL(QStringList{QStringLiteral("select a.*,b.CCode,b.CName "), QStringLiteral("from D_Exception as a, L_VControlItem b"),
                             QStringLiteral("where 1=0")});
}

void DefineExceptionTable(TMemTable& table)
{
    table.Close();
    table.ClearFieldDefs();
    table.AddFieldDef(QStringLiteral("CID"), TFieldType::Integer);
    table.AddFieldDef(QStringLiteral("SN"), TFieldType::Integer);
    table.AddFieldDef(QStringLiteral("JudgeSN"), TFieldType::Integer);
    table.AddFieldDef(QStringLiteral("CType"), TFieldType::Integer);
    table.AddFieldDef(QStringLiteral("Expression"), TFieldType::String);
    table.AddFieldDef(QStringLiteral("Describe"), TFieldType::String);
    table.AddFieldDef(QStringLiteral("JudgeDate"), TFieldType::DateTime);
    table.AddFieldDef(QStringLiteral("CCode"), TFieldType::String);
    table.AddFieldDef(QStringLiteral("CName"), TFieldType::String);
    table.CreateDataSet();
}

void ReopenExceptionQuery(TZCQuery& query)
{
    if (query.Active())
        query.Refresh();
    else
        query.Open();
}

int GetLastJudgeSN(TCompanyDM& database)
{
    QSqlQuery q = database.Exec(QStringLiteral("select max(JudgeSN) from D_Exception"));
    if (!q.next()) return 0;
    const int last = VariantToInt(q.value(0));
    return last == NullValue ? 0 : last;
}

TJudgeRuleRow ParseJudgeExpression(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([MS])([TR])(\\d{1,9}),(\\d{1,9})(?:,(\\d{1,9}))?$"));
    const QString t = text.trimmed();
    const QRegularExpressionMatch m = form.match(t);
    const bool trend = m.hasMatch() && m.captured(2) == QLatin1String("T");
    if (!m.hasMatch() || trend == m.hasCaptured(5))
        throw ESPCDataError(QStringLiteral("检测规则表达式“%1”无法识别，应形如MT1,6或SR7,3,2").arg(t));
    TJudgeRuleRow row;
    row.TargetType = m.captured(1) == QLatin1String("M") ? 1 : 2;
    row.JudgeType = trend ? 1 : 2;
    const int code = m.captured(3).toInt();
    const int area = m.captured(4).toInt();
    if (trend) {
        row.ExceptionType_Trend = code;
        row.Area_Trend = area;
    } else {
        row.ExceptionType_Run = code;
        row.Area_Run = area;
        row.Exception_Run = m.captured(5).toInt();
    }
    return row;
}

void DefineJudgeRuleTable(TMemTable& table)
{
    table.Close();
    table.ClearFieldDefs();
    for (const char* name : {"TargetType", "JudgeType", "Area_Trend", "ExceptionType_Trend", "Area_Run",
                             "Exception_Run", "ExceptionType_Run"})
        table.AddFieldDef(QString::fromLatin1(name), TFieldType::Integer);
    table.CreateDataSet();
}

void AppendJudgeRuleRow(TMemTable& table, const TJudgeRuleRow& row)
{
    table.AppendRecord({row.TargetType, row.JudgeType, row.Area_Trend, row.ExceptionType_Trend, row.Area_Run,
                        row.Exception_Run, row.ExceptionType_Run});
}
