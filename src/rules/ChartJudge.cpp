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
// variables and inner loops that make no calls. They read the values of the points that have one
// (`at` gives their points; null when every point has a value), taken out once per judging. A
// trend sequence is always made of the last values looked at (a restart keeps the current one, a
// re-seed the previous and the current one), so only its length is kept. A run rule's window is
// the last N values since the last violation, their zones decided in a loop of their own.

namespace {
inline int PointAt(const int* at, int k)
{
    return at ? at[k] : k;
}
} // namespace

void TJudgeRule::Walk(const double* values, const double* ucl, const double* lcl, const int* at, int count,
                      std::vector<unsigned char>& zones)
{
    if (IsTrend) {
        switch (PatternCode) {
        case 1: WalkTrend<1>(values, at, count); break;
        case 2: WalkTrend<2>(values, at, count); break;
        case 3: WalkTrend<3>(values, at, count); break;
        case 4: WalkTrend<4>(values, at, count); break;
        default: WalkTrend<10>(values, at, count); break;
        }
        return;
    }
    switch (PatternCode) {
    case 5: WalkRun<5>(values, ucl, lcl, at, count, zones); break;
    case 6: WalkRun<6>(values, ucl, lcl, at, count, zones); break;
    case 7: WalkRun<7>(values, ucl, lcl, at, count, zones); break;
    case 8: WalkRun<8>(values, ucl, lcl, at, count, zones); break;
    case 9: WalkRun<9>(values, ucl, lcl, at, count, zones); break;
    default: break;  // code 10 has no zone: nothing to walk
    }
}

template <int Code>
void TJudgeRule::WalkTrend(const double* values, const int* at, int count)
{
    const int n = Area;
    const double c = count > 0 ? CL(0) : NullValue;  // the same for every point
    // TrendKeep told that two or more values are held gives every outcome: 2 goes on, 1 re-seeds,
    // 0 restarts; a single value held goes on unless it restarts. The outcome does not depend on
    // the length, so it is worked out alongside it.
    int len = 0;
    double previous = NullValue, before = NullValue;
    for (int k = 0; k < count; ++k) {
        const double current = values[k];
        const int keep = TrendKeep<Code>(2, before, previous, current, c, c);
        len = len == 0 ? 1 : keep == 2 ? len + 1 : keep + 1;
        before = previous;
        previous = current;
        if (len >= n) {
            Hits.Clear();
            for (int j = k - len + 1; j <= k; ++j) Hits.Add(PointAt(at, j));
            WriteViolation();
            len = 0;
        }
    }
    Window.Clear();
    Hits.Clear();
    for (int j = count - len; j < count; ++j) {
        Window.Add(PointAt(at, j));
        Hits.Add(PointAt(at, j));
    }
}

template <int Code>
void TJudgeRule::WalkRun(const double* values, const double* uclAt, const double* lclAt, const int* at, int count,
                         std::vector<unsigned char>& zones)
{
    const int n = Area, m = ExceptionCount;
    const double c = count > 0 ? CL(0) : NullValue;  // the same for every point
    double usl, lsl;
    SpecificationLimits(usl, lsl);
    zones.resize(static_cast<size_t>(count));
    unsigned char* const zone = zones.data();
    if (uclAt) {
        for (int k = 0; k < count; ++k) zone[k] = InZoneOf<Code>(values[k], c, uclAt[k], lclAt[k], usl, lsl);
    } else {
        // The limits of a variable series are the same for every point.
        const double ucl = count > 0 ? UCL(0) : NullValue;
        const double lcl = count > 0 ? LCL(0) : NullValue;
        for (int k = 0; k < count; ++k) zone[k] = InZoneOf<Code>(values[k], c, ucl, lcl, usl, lsl);
    }

    // The window: the values from `first` on, the last n of them.
    int first = 0, hits = 0;
    for (int k = 0; k < count; ++k) {
        hits += zone[k];
        if (k - first >= n) hits -= zone[k - n];  // the oldest leaves, with its hit if it had one
        if (hits >= m) {
            Hits.Clear();
            for (int j = std::max(first, k - n + 1); j <= k; ++j)
                if (zone[j]) Hits.Add(PointAt(at, j));
            WriteViolation();
            first = k + 1;
            hits = 0;
        }
    }
    Window.Clear();
    Hits.Clear();
    for (int j = std::max(first, count - n); j < count; ++j) {
        Window.Add(PointAt(at, j));
        if (zone[j]) Hits.Add(PointAt(at, j));
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

namespace {
// A series as the walks read it: the values of the points that have one, in order, with the
// limits of attribute points when a run rule reads them.
struct TWalkSeries {
    std::vector<double> Values, UCL, LCL;
    std::vector<int> At;  // the point of each value; empty when every point has one
    bool Gaps = false;    // a point without a value was seen

    void Compact()
    {
        if (!Gaps) return;
        const bool limits = !UCL.empty();
        size_t kept = 0;
        for (size_t i = 0; i < Values.size(); ++i) {
            if (Values[i] == NullValue) continue;
            At.push_back(static_cast<int>(i));
            Values[kept] = Values[i];
            if (limits) {
                UCL[kept] = UCL[i];
                LCL[kept] = LCL[i];
            }
            ++kept;
        }
        Values.resize(kept);
        if (limits) {
            UCL.resize(kept);
            LCL.resize(kept);
        }
    }
};
} // namespace

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
    TWalkSeries series[3];
    for (int t = 0; t < 3; ++t)
        if (wanted[t]) series[t].Values.resize(static_cast<size_t>(count));
    if (limitsWanted) {
        series[2].UCL.resize(static_cast<size_t>(count));
        series[2].LCL.resize(static_cast<size_t>(count));
    }
    auto take = [&series](int target, size_t k, double v) {
        series[target].Values[k] = v;
        series[target].Gaps |= v == NullValue;
    };
    FSN.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<size_t>(i);
        if (FVariableData) {
            const TVariableData& d = FVariableData->Data(i);
            if (d.State != ssNormal) FVariableData->SetPointState(i, ssNormal);
            FSN[k] = d.SN;
            if (wanted[0]) take(0, k, FVariableData->MainValue(i));
            if (wanted[1]) take(1, k, FVariableData->SubValue(i));
        } else {
            const TAttributeData& d = FAttributeData->Data(i);
            if (d.State != ssNormal) FAttributeData->SetPointState(i, ssNormal);
            FSN[k] = d.SN;
            take(2, k, FAttributeData->ValueAt(i));
            if (limitsWanted) {
                series[2].UCL[k] = FAttributeData->UCLAt(i);
                series[2].LCL[k] = FAttributeData->LCLAt(i);
            }
        }
    }
    for (TWalkSeries& s : series) s.Compact();

    // A rule's outcome depends on its own points only, so the rules can walk the points one after
    // the other; their violations are numbered afterwards in the order of a walk over the points
    // with all rules at each point.
    {
        FInPass = true;
        struct TPassEnd {
            bool& flag;
            ~TPassEnd() { flag = false; }
        } passEnd{FInPass};
        std::vector<unsigned char> zones;
        for (int r = 0; r < Rules.Count(); ++r) {
            TJudgeRule& rule = Rules.Item(r);
            const TWalkSeries& s = series[rule.Target];
            const bool perPoint = rule.Target == 2 && !rule.IsTrend;
            rule.Window.Clear();
            rule.Hits.Clear();
            rule.Walk(s.Values.data(), perPoint ? s.UCL.data() : nullptr, perPoint ? s.LCL.data() : nullptr,
                      s.At.empty() ? nullptr : s.At.data(), static_cast<int>(s.Values.size()), zones);
        }
    }
    // The passes ran in list order and the sort keeps it among violations of the same point.
    std::stable_sort(FFound.begin(), FFound.end(), [](const TFound& a, const TFound& b) { return a.Point < b.Point; });
    WriteFound();
}

void TChartJudge::AddViolation(const TJudgeRule& rule)
{
    const int first = static_cast<int>(FFoundPoints.size());
    for (int h = 0; h < rule.Hits.Count(); ++h) FFoundPoints.push_back(rule.Hits.Item(h));
    FFound.push_back({FFoundPoints.back(), &rule, first, rule.Hits.Count()});
    if (FInPass) return;
    struct TWritten {
        TChartJudge& judge;
        ~TWritten()
        {
            judge.FFound.clear();
            judge.FFoundPoints.clear();
        }
    } written{*this};
    WriteFound();
}

void TChartJudge::WriteFound()
{
    if (FFound.empty()) return;
    if (!ExceptionData) Fail("检测结果数据集未指定！");
    const TSPCChartData* data = FVariableData ? static_cast<const TSPCChartData*>(FVariableData) : FAttributeData;
    auto rows = std::make_shared<TExceptionRows>(*ExceptionData, data->GetCID(), FAttributeData != nullptr,
                                                 data->GetCharacterInfo(), QDateTime::currentDateTime());
    rows->Reserve(static_cast<int>(FFound.size()), static_cast<int>(FFoundPoints.size()));
    std::vector<const TJudgeRule*> rules;  // in the order of rows->AddRule
    for (const TFound& found : FFound) {
        auto rule = std::find(rules.begin(), rules.end(), found.Rule);
        if (rule == rules.end()) {
            rows->AddRule(found.Rule->Expression, found.Rule->Describe);
            rule = rules.insert(rule, found.Rule);
        }
        ++JudgeSN;
        rows->AddViolation(JudgeSN, static_cast<int>(rule - rules.begin()));
        for (int h = 0; h < found.Count; ++h) rows->AddRow(SNOf(FFoundPoints[static_cast<size_t>(found.First + h)]));
    }
    ExceptionData->AppendRecords(std::move(rows));
    // In the order of the points, as the subgroups lie in memory.
    for (const TFound& found : FFound)
        for (int h = 0; h < found.Count; ++h)
            SetPointState(FFoundPoints[static_cast<size_t>(found.First + h)], ssAbnormal);
}

int TChartJudge::SNOf(int i) const
{
    if (!FSN.empty()) return FSN[static_cast<size_t>(i)];
    return FVariableData ? FVariableData->Data(i).SN : FAttributeData->Data(i).SN;
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

// ---- TExceptionRows ----

namespace {
// The fields the rows fill, in the order of their names below; 0 is a field they leave NULL.
enum TExceptionColumn : std::uint8_t {
    ecNone, ecCID, ecSN, ecCType, ecCCode, ecCName, ecJudgeSN, ecExpression, ecDescribe, ecJudgeDate
};
const char* const kExceptionColumns[] = {"CID",     "SN",         "CType",    "CCode",    "CName",
                                         "JudgeSN", "Expression", "Describe", "JudgeDate"};
} // namespace

TExceptionRows::TExceptionRows(const TDataSet& target, int cid, bool attribute, const TCharacterInfo* info,
                               const QDateTime& judgeDate)
    : FCID(cid), FCType(attribute ? 2 : 1), FCCode(info ? info->CCode : QString()),
      FCName(info ? info->CName : QString()), FJudgeDate(judgeDate)
{
    FColumns.assign(static_cast<size_t>(target.FieldCount()), ecNone);
    std::uint8_t column = ecNone;
    for (const char* name : kExceptionColumns)
        FColumns[static_cast<size_t>(target.FieldByName(QString::fromLatin1(name))->Index())] = ++column;
}

void TExceptionRows::Reserve(int violations, int rows)
{
    FViolations.reserve(static_cast<size_t>(violations));
    FRows.reserve(static_cast<size_t>(rows));
}

int TExceptionRows::AddRule(const QString& expression, const QString& describe)
{
    FRules.push_back({expression, describe});
    return static_cast<int>(FRules.size()) - 1;
}

void TExceptionRows::AddViolation(int judgeSN, int rule)
{
    FViolations.push_back({judgeSN, rule});
}

void TExceptionRows::AddRow(int sn)
{
    FRows.push_back({sn, static_cast<int>(FViolations.size()) - 1});
}

QVariant TExceptionRows::Value(int row, int fieldIndex) const
{
    const TRow& r = FRows[static_cast<size_t>(row)];
    const TViolation& v = FViolations[static_cast<size_t>(r.Violation)];
    switch (FColumns[static_cast<size_t>(fieldIndex)]) {
    case ecCID: return FCID;
    case ecSN: return r.SN;
    case ecCType: return FCType;
    case ecCCode: return FCCode;
    case ecCName: return FCName;
    case ecJudgeSN: return v.JudgeSN;
    case ecExpression: return FRules[static_cast<size_t>(v.Rule)].Expression;
    case ecDescribe: return FRules[static_cast<size_t>(v.Rule)].Describe;
    case ecJudgeDate: return FJudgeDate;
    default: return {};
    }
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
