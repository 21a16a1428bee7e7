#include "rules/ChartJudge.h"

#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/MessageService.h"
#include "foundation/ParseSQL.h"
#include "foundation/ZCDb.h"

#include <QRegularExpression>
#include <algorithm>

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

// ---- the decisions of the patterns, shared by the point-by-point and the whole-series forms ----

namespace {
// Of the `held` points of a trend sequence before the current one, how many stay: all when the
// step into the current point goes on with the pattern, the previous one when an alternation is
// broken (it re-seeds a new one with the current point), none on a restart. The first point of a
// sequence (held = 0) always starts one. `c` and `cp` are the centre lines at the current and the
// previous point. Written without branches: the outcome is as unpredictable as the data.
template <int Code>
inline int TrendKeep(int held, double before, double previous, double current, double c, double cp)
{
    bool next = false, reseed = false;
    if constexpr (Code == 1) next = previous < current;
    if constexpr (Code == 2) next = previous == current;
    if constexpr (Code == 3) next = previous > current;
    // Strictly on the same side: a point on the centre line continues nothing, and without a
    // centre line no side can be told.
    if constexpr (Code == 4)
        next = (c != NullValue) & (cp != NullValue) & ((current - c) * (previous - cp) > 0);
    if constexpr (Code == 10) {
        const bool moved = previous != current;
        const bool turns = ((previous < current) & (before > previous)) | ((previous > current) & (before < previous));
        next = moved & ((held == 1) | turns);
        reseed = moved & (held >= 2) & !turns;
    }
    const int goOn = -static_cast<int>(next);  // all ones or zero
    return -static_cast<int>(held != 0) & ((goOn & held) | (~goOn & static_cast<int>(reseed)));
}

// Whether v lies in the zone of a run pattern. Sigma comes from the upper limit alone; the zones
// below the centre line are not clamped at 0, as measurements can be negative. A limit that is
// NullValue bounds nothing: without centre line and upper limit there are no zones, and a side of
// the control or specification limits that is missing is not checked.
template <int Code>
inline bool InZoneOf(double v, double c, double ucl, double lcl, double usl, double lsl)
{
    if constexpr (Code >= 5 && Code <= 7) {
        const double sigma = (ucl - c) / 3;
        const bool known = (c != NullValue) & (ucl != NullValue);
        const bool above = v > c;
        bool zone = false;
        if constexpr (Code == 5) zone = ((c < v) & (v <= c + sigma)) | ((c - sigma <= v) & (v < c));
        if constexpr (Code == 6)
            zone = (above & (c + sigma < v) & (v <= c + 2 * sigma)) | (!above & (c - 2 * sigma <= v) & (v < c - sigma));
        if constexpr (Code == 7)
            zone = (above & (c + 2 * sigma < v) & (v <= ucl)) |
                   (!above & (lcl != NullValue) & (lcl <= v) & (v < c - 2 * sigma));
        return zone & known;
    }
    if constexpr (Code == 8) return ((ucl != NullValue) & (v > ucl)) | ((lcl != NullValue) & (v < lcl));
    if constexpr (Code == 9) return ((usl != NullValue) & (v > usl)) | ((lsl != NullValue) & (v < lsl));
    return false;  // code 10 has no zone
}
} // namespace

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

void TJudgeRule::SpecificationLimits(double& usl, double& lsl) const
{
    usl = lsl = NullValue;  // attribute items have none
    const TCharacterInfo* info = Target == 2 || !FVariableData ? nullptr : FVariableData->GetCharacterInfo();
    if (!info) return;
    usl = info->USL;
    lsl = info->LSL;
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
    const double before = n >= 3 ? Value(Window.Item(n - 3)) : NullValue;
    int keep = 0;
    switch (PatternCode) {
    case 1: keep = TrendKeep<1>(n - 1, before, Value(p), current, CL(i), CL(p)); break;
    case 2: keep = TrendKeep<2>(n - 1, before, Value(p), current, CL(i), CL(p)); break;
    case 3: keep = TrendKeep<3>(n - 1, before, Value(p), current, CL(i), CL(p)); break;
    case 4: keep = TrendKeep<4>(n - 1, before, Value(p), current, CL(i), CL(p)); break;
    default: keep = TrendKeep<10>(n - 1, before, Value(p), current, CL(i), CL(p)); break;
    }
    if (keep == 0) {
        // Restart: the current point becomes the first of a new sequence.
        Window.Clear();
        Hits.Clear();
        Window.Add(i);
    } else if (keep == 1 && n > 2) {
        // Re-seed: the previous and the current point start a new alternation.
        Window.Clear();
        Window.Add(p);
        Window.Add(i);
        Hits.Clear();
        Hits.Add(p);
    }
    AddHit(i);
}

bool TJudgeRule::InZone(int i, double v) const
{
    double usl, lsl;
    SpecificationLimits(usl, lsl);
    switch (PatternCode) {
    case 5: return InZoneOf<5>(v, CL(i), UCL(i), LCL(i), usl, lsl);
    case 6: return InZoneOf<6>(v, CL(i), UCL(i), LCL(i), usl, lsl);
    case 7: return InZoneOf<7>(v, CL(i), UCL(i), LCL(i), usl, lsl);
    case 8: return InZoneOf<8>(v, CL(i), UCL(i), LCL(i), usl, lsl);
    case 9: return InZoneOf<9>(v, CL(i), UCL(i), LCL(i), usl, lsl);
    default: return false;
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
    Judge->AddViolation(*this);
}

// ---- the pass of one rule over a whole series ----
//
// These loops decide exactly as CheckPoint does point by point, with their state in local
// variables and inner loops that make no calls, so that it stays in registers. The values and
// limits come from arrays read once per judging. A trend sequence is always made of the last
// points looked at (a restart keeps the current point, a re-seed the previous and the current
// one), so every point goes into a ring of the latest points and only the length is decided. A
// run rule's window is a ring of point indexes with a flag for each hit.

void TJudgeRule::Walk(const double* values, const double* ucl, const double* lcl, int count)
{
    if (IsTrend) {
        switch (PatternCode) {
        case 1: WalkTrend<1>(values, count); break;
        case 2: WalkTrend<2>(values, count); break;
        case 3: WalkTrend<3>(values, count); break;
        case 4: WalkTrend<4>(values, count); break;
        default: WalkTrend<10>(values, count); break;
        }
        return;
    }
    const bool perPoint = ucl != nullptr;
    switch (PatternCode) {
    case 5: perPoint ? WalkRun<5, true>(values, ucl, lcl, count) : WalkRun<5, false>(values, ucl, lcl, count); break;
    case 6: perPoint ? WalkRun<6, true>(values, ucl, lcl, count) : WalkRun<6, false>(values, ucl, lcl, count); break;
    case 7: perPoint ? WalkRun<7, true>(values, ucl, lcl, count) : WalkRun<7, false>(values, ucl, lcl, count); break;
    case 8: perPoint ? WalkRun<8, true>(values, ucl, lcl, count) : WalkRun<8, false>(values, ucl, lcl, count); break;
    case 9: WalkRun<9, false>(values, ucl, lcl, count); break;
    default: break;  // code 10 has no zone: nothing to walk
    }
}

template <int Code>
void TJudgeRule::WalkTrend(const double* values, int count)
{
    const int n = Area;
    int size = 8;
    while (size < std::min(n, count) + 1) size *= 2;
    const int mask = size - 1;
    std::vector<int> ring(static_cast<size_t>(size));
    int* const r = ring.data();
    int tail = 0;  // where the next point goes
    int len = 0;
    double previous = NullValue, before = NullValue;
    const double c = count > 0 ? CL(0) : NullValue;  // the same for every point
    int i = 0;
    while (i < count) {
        bool complete = false;
        for (; i < count && !complete; ++i) {
            const double current = values[i];
            if (current == NullValue) continue;
            len = TrendKeep<Code>(len, before, previous, current, c, c) + 1;
            r[tail] = i;
            tail = (tail + 1) & mask;
            before = previous;
            previous = current;
            complete = len >= n;
        }
        if (complete) {
            Hits.Clear();
            for (int k = len; k > 0; --k) Hits.Add(r[(tail - k) & mask]);
            WriteViolation();
            len = 0;
        }
    }
    Window.Clear();
    Hits.Clear();
    for (int k = len; k > 0; --k) {
        Window.Add(r[(tail - k) & mask]);
        Hits.Add(r[(tail - k) & mask]);
    }
}

template <int Code, bool PerPoint>
void TJudgeRule::WalkRun(const double* values, const double* uclAt, const double* lclAt, int count)
{
    const int n = Area, m = ExceptionCount;
    int size = 8;
    while (size < std::min(n, count)) size *= 2;
    const int mask = size - 1;
    std::vector<int> ring(static_cast<size_t>(size));
    std::vector<unsigned char> hit(static_cast<size_t>(size));
    int* const idx = ring.data();
    unsigned char* const flag = hit.data();
    int head = 0, held = 0, hits = 0;

    // The limits of a variable series are the same for every point.
    const double c = count > 0 ? CL(0) : NullValue;
    double ucl = !PerPoint && count > 0 ? UCL(0) : NullValue;
    double lcl = !PerPoint && count > 0 ? LCL(0) : NullValue;
    double usl, lsl;
    SpecificationLimits(usl, lsl);
    int i = 0;
    while (i < count) {
        bool complete = false;
        for (; i < count && !complete; ++i) {
            const double v = values[i];
            if (v == NullValue) continue;
            if constexpr (PerPoint) {
                ucl = uclAt[i];
                lcl = lclAt[i];
            }
            const bool zone = InZoneOf<Code>(v, c, ucl, lcl, usl, lsl);
            // Slide: the oldest point leaves, with its hit if it had one.
            const bool full = held >= n;
            hits -= full ? flag[head] : 0;
            head = (head + full) & mask;
            held -= full;
            const int pos = (head + held) & mask;
            idx[pos] = i;
            flag[pos] = zone;
            ++held;
            hits += zone;
            complete = hits >= m;
        }
        if (complete) {
            Hits.Clear();
            for (int k = 0; k < held; ++k)
                if (flag[(head + k) & mask]) Hits.Add(idx[(head + k) & mask]);
            WriteViolation();
            held = hits = 0;
        }
    }
    Window.Clear();
    Hits.Clear();
    for (int k = 0; k < held; ++k) {
        const int pos = (head + k) & mask;
        Window.Add(idx[pos]);
        if (flag[pos]) Hits.Add(idx[pos]);
    }
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
        rule.Window.Clear();
        rule.Hits.Clear();
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

    // One sweep over the subgroups: every point becomes normal, and the values of the series the
    // rules read, the limits of attribute points and the SNs are taken out once.
    bool wanted[3] = {false, false, false};
    bool limitsWanted = false;
    for (int r = 0; r < Rules.Count(); ++r) {
        const TJudgeRule& rule = Rules.Item(r);
        wanted[rule.Target] = true;
        limitsWanted |= rule.Target == 2 && !rule.IsTrend;
    }
    // What the walk collects lives until the rows are written, also when something fails.
    struct TRunEnd {
        TChartJudge& judge;
        ~TRunEnd()
        {
            judge.FFound.clear();
            judge.FFoundPoints.clear();
            judge.FSN.clear();
        }
    } runEnd{*this};
    std::vector<double> series[3];
    for (int t = 0; t < 3; ++t)
        if (wanted[t]) series[t].resize(static_cast<size_t>(count));
    std::vector<double> ucl(limitsWanted ? static_cast<size_t>(count) : 0);
    std::vector<double> lcl(limitsWanted ? static_cast<size_t>(count) : 0);
    FSN.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<size_t>(i);
        if (FVariableData) {
            FVariableData->SetPointState(i, ssNormal);
            FSN[k] = FVariableData->Data(i).SN;
            if (wanted[0]) series[0][k] = FVariableData->MainValue(i);
            if (wanted[1]) series[1][k] = FVariableData->SubValue(i);
        } else {
            FAttributeData->SetPointState(i, ssNormal);
            FSN[k] = FAttributeData->Data(i).SN;
            series[2][k] = FAttributeData->ValueAt(i);
            if (limitsWanted) {
                ucl[k] = FAttributeData->UCLAt(i);
                lcl[k] = FAttributeData->LCLAt(i);
            }
        }
    }

    // A rule's outcome depends on its own points only, so the rules can walk the points one after
    // the other; their violations are numbered afterwards in the order of a walk over the points
    // with all rules at each point.
    {
        FInPass = true;
        struct TPassEnd {
            bool& flag;
            ~TPassEnd() { flag = false; }
        } passEnd{FInPass};
        for (int r = 0; r < Rules.Count(); ++r) {
            TJudgeRule& rule = Rules.Item(r);
            const bool perPoint = rule.Target == 2;
            rule.Window.Clear();
            rule.Hits.Clear();
            rule.Walk(series[rule.Target].data(), perPoint ? ucl.data() : nullptr, perPoint ? lcl.data() : nullptr,
                      count);
        }
    }
    // The passes ran in list order and the sort keeps it among violations of the same point.
    std::stable_sort(FFound.begin(), FFound.end(), [](const TFound& a, const TFound& b) { return a.Point < b.Point; });

    FFieldsResolved = false;
    FNowAge.invalidate();
    TControlsDisabled quiet(ExceptionData);
    for (const TFound& found : FFound) {
        ++JudgeSN;
        WriteRows(found);
    }
}

void TChartJudge::AddViolation(const TJudgeRule& rule)
{
    const int first = static_cast<int>(FFoundPoints.size());
    for (int h = 0; h < rule.Hits.Count(); ++h) FFoundPoints.push_back(rule.Hits.Item(h));
    const TFound found{FFoundPoints.back(), &rule, first, rule.Hits.Count()};
    if (FInPass) {
        FFound.push_back(found);
        return;
    }
    FFieldsResolved = false;
    ++JudgeSN;
    WriteRows(found);
    FFoundPoints.clear();
}

void TChartJudge::WriteRows(const TFound& found)
{
    const TJudgeRule& rule = *found.Rule;
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
    if (!FNowAge.isValid() || FNowAge.elapsed() >= 100) {
        FNow = QDateTime::currentDateTime();
        FNowAge.start();
    }
    // The rows of all hits in one step: a check over a long history writes many thousands.
    const int fCID = FFields.CID->Index(), fSN = FFields.SN->Index(), fCType = FFields.CType->Index(),
              fCCode = FFields.CCode->Index(), fCName = FFields.CName->Index(), fJudgeSN = FFields.JudgeSN->Index(),
              fExpression = FFields.Expression->Index(), fDescribe = FFields.Describe->Index(),
              fJudgeDate = FFields.JudgeDate->Index();
    const QVariant now = FNow;
    ExceptionData->AppendRecords(found.Count, [&](int h, QVariant* values) {
        const int i = FFoundPoints[static_cast<size_t>(found.First + h)];
        const int sn = !FSN.empty() ? FSN[static_cast<size_t>(i)]
                       : FVariableData ? FVariableData->Data(i).SN : FAttributeData->Data(i).SN;
        values[fCID] = cid;
        values[fSN] = sn;
        values[fCType] = ctype;
        values[fCCode] = code;
        values[fCName] = name;
        values[fJudgeSN] = judgeSN;
        values[fExpression] = expression;
        values[fDescribe] = describe;
        values[fJudgeDate] = now;
    });
    for (int h = 0; h < found.Count; ++h) SetPointState(FFoundPoints[static_cast<size_t>(found.First + h)], ssAbnormal);
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
