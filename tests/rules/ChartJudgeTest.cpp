// The chart judge over plotted series: which points each rule gathers into violations, in which
// order the violations are numbered, the point states, and loading and checking the rules.
#include "RulesTestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace {
const TLimits kUnit{0, 3, -3};  // sigma 1 around 0

struct TSeriesCase {
    const char* name;
    std::vector<double> values;  // plotted means, SN 1, 2, …
    TLimits limits;
    const char* rules;
    std::vector<TViolation> expected;
};

QString E(const char* s)
{
    return QString::fromUtf8(s);
}
} // namespace

TEST(ChartJudge, MainChartSeries)
{
    const TSeriesCase cases[] = {
        {"N = M = 1 beyond the limits: one violation per point", {0, 3.5, -1, -3.5, 3, -3}, kUnit, "MR8,1,1",
         {{E("MR8,1,1"), {2}}, {E("MR8,1,1"), {4}}}},
        {"fourteen rising points under N = 7", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, {7, 20, -6}, "MT1,7",
         {{E("MT1,7"), Range(1, 7)}, {E("MT1,7"), Range(8, 14)}}},
        {"a fall restarts the rise", {1, 2, 3, 2, 3, 4, 5, 6, 7}, {4, 10, -2}, "MT1,6", {{E("MT1,6"), Range(4, 9)}}},
        {"code 5: the centre line is in no zone, the one-sigma lines are", {0, 0.5, -0.5, 1, -1, 1.01, -1.01}, kUnit,
         "MR5,1,1", {{E("MR5,1,1"), {2}}, {E("MR5,1,1"), {3}}, {E("MR5,1,1"), {4}}, {E("MR5,1,1"), {5}}}},
        {"code 4: a point on the centre line only starts a sequence", {1, 0, 1, 2, -1, -2}, kUnit, "MT4,2",
         {{E("MT4,2"), {3, 4}}, {E("MT4,2"), {5, 6}}}},
        {"code 10: a second rise in a row re-seeds with the last two points", {1, 3, 2, 4, 5, 3, 6, 2, 7}, {4, 10, -2},
         "MT10,6", {{E("MT10,6"), Range(4, 9)}}},
        {"code 10: an equal step restarts", {1, 3, 3, 1, 3, 1}, {2, 10, -6}, "MT10,4", {{E("MT10,4"), {3, 4, 5, 6}}}},
        {"two rules firing at the same point, numbered in rule order", {0, 1, 4}, kUnit, "MR8,1,1;MT1,3",
         {{E("MR8,1,1"), {3}}, {E("MT1,3"), {1, 2, 3}}}},
        {"M of N: a hit leaves with its point when the window slides", {2.5, 0, 0, 2.5, 0, 2.5}, kUnit, "MR7,3,2",
         {{E("MR7,3,2"), {4, 6}}}},
        {"codes 2 and 3: equal and falling", {5, 5, 5, 4, 3, 2}, {4, 10, -2}, "MT2,3;MT3,3",
         {{E("MT2,3"), {1, 2, 3}}, {E("MT3,3"), {3, 4, 5}}}},
        {"negative values around a centre line below zero: zones not clamped at 0",
         {-1.5, -2.5, -3, -3.5, -4, -4.5, -5, -5.5}, {-2, 1, -5}, "MR5,1,1;MR6,1,1;MR7,1,1;MR8,1,1",
         {{E("MR5,1,1"), {1}}, {E("MR5,1,1"), {2}}, {E("MR5,1,1"), {3}}, {E("MR6,1,1"), {4}}, {E("MR6,1,1"), {5}},
          {E("MR7,1,1"), {6}}, {E("MR7,1,1"), {7}}, {E("MR8,1,1"), {8}}}},
        {"zones above a centre line: each boundary belongs to the inner zone", {1, 1.5, 2, 2.5, 3, 3.5}, kUnit,
         "MR6,1,1;MR7,1,1", {{E("MR6,1,1"), {2}}, {E("MR6,1,1"), {3}}, {E("MR7,1,1"), {4}}, {E("MR7,1,1"), {5}}}},
        {"points without a mean neither count nor break a sequence", {1, NullValue, 2, NullValue, 3}, {2, 6, -2},
         "MT1,3", {{E("MT1,3"), {1, 3, 5}}}},
        {"a run rule of code 10 matches nothing", {1, 3, 2, 4}, kUnit, "MR10,1,1", {}},
        {"no violation leaves no rows", {0, 1, 0, 1}, kUnit, "MT1,3;MR8,2,1", {}},
    };
    for (const TSeriesCase& c : cases) {
        TVariableChart chart(ctXBarR, Singles(c.values), c.limits);
        TJudgeRun run;
        run.Judge.SetVariableData(&chart.Data);
        EXPECT_EQ(run.Run(E(c.rules)), c.expected) << c.name;
        // Serial numbers follow the firing order from the base on.
        EXPECT_EQ(run.JudgeSNs, Range(1, static_cast<int>(c.expected.size()))) << c.name;
        EXPECT_EQ(run.Judge.JudgeSN, static_cast<int>(c.expected.size())) << c.name;
    }
}

TEST(ChartJudge, SpecificationLimits)
{
    const struct {
        const char* name;
        double usl, lsl;
        std::vector<double> values;
        std::vector<TViolation> expected;
    } cases[] = {
        {"both limits", 1, -1, {0, 1, 1.5, -1, -2}, {{E("MR9,1,1"), {3}}, {E("MR9,1,1"), {5}}}},
        {"no upper limit: that side is not checked", NullValue, -1, {100, -2, 0.5}, {{E("MR9,1,1"), {2}}}},
        {"no lower limit", 1, NullValue, {-100, 2}, {{E("MR9,1,1"), {2}}}},
        {"none", NullValue, NullValue, {-100, 100}, {}},
    };
    for (const auto& c : cases) {
        TVariableChart chart(ctXBarR, Singles(c.values), kUnit);
        chart.List.Info.USL = c.usl;
        chart.List.Info.LSL = c.lsl;
        TJudgeRun run;
        run.Judge.SetVariableData(&chart.Data);
        EXPECT_EQ(run.Run(QStringLiteral("MR9,1,1")), c.expected) << c.name;
    }
}

TEST(ChartJudge, SecondaryChartReadsRanges)
{
    // Subgroups {0, r}: ranges 1, 2, 3, 5 and means 0.5, 1, 1.5, 2.5.
    TVariableChart chart(ctXBarR, {{0, 1}, {0, 2}, {0, 3}, {0, 5}}, {1, 3, -1}, {2, 4, 0});
    TJudgeRun run;
    run.Judge.SetVariableData(&chart.Data);
    const std::vector<TViolation> expected{
        {E("ST1,3"), {1, 2, 3}}, {E("SR8,1,1"), {4}}, {E("MT1,4"), {1, 2, 3, 4}}};
    EXPECT_EQ(run.Run(QStringLiteral("SR8,1,1;ST1,3;MT1,4")), expected);
}

TEST(ChartJudge, MovingRangeChartSkipsTheFirstPoint)
{
    // Moving ranges: none, 1, 2, 3, 0. The point without a moving range is not a first point.
    TVariableChart chart(ctXRm, Singles({10, 11, 13, 16, 16}), {13, 20, 6}, {1.5, 5, 0});
    TJudgeRun run;
    run.Judge.SetVariableData(&chart.Data);
    const std::vector<TViolation> expected{{E("ST1,3"), {2, 3, 4}}, {E("MT1,4"), {1, 2, 3, 4}}};
    EXPECT_EQ(run.Run(QStringLiteral("ST1,3;MT1,4;SR8,1,1")), expected);
}

TEST(ChartJudge, AttributeChartWithLimitsPerPoint)
{
    // p = 0.1, 0.1, 0.2, 0.21, 0.2, none, 0.02 with p-bar 0.139: the upper limit is 0.191 for 400
    // inspected and 0.347 for 25, the lower limit 0.035 for 100.
    TAttributeChart chart(ctP, {{100, 10}, {400, 40}, {25, 5}, {400, 84}, {25, 5}, {0, 0}, {100, 2}});
    TJudgeRun run;
    run.Judge.SetAttributeData(&chart.Data);
    const std::vector<TViolation> expected{
        {E("MR8,1,1"), {4}}, {E("MR8,1,1"), {7}}, {E("MT3,3"), {4, 5, 7}}};
    // Secondary-chart rows are dropped for an attribute chart; code 9 never matches there.
    EXPECT_EQ(run.Run(QStringLiteral("MR8,1,1;SR8,1,1;MT3,3;MR9,1,1;ST1,2")), expected);
    EXPECT_EQ(run.Judge.Rules.Count(), 3);
    const TSubgroupState states[] = {ssNormal, ssNormal, ssNormal, ssAbnormal, ssAbnormal, ssNormal, ssAbnormal};
    for (int i = 0; i < chart.Data.Count(); ++i) EXPECT_EQ(chart.Data.Data(i).State, states[i]) << i;
    // Every row carries the attribute kind.
    for (int r = 0; r < run.Exceptions.RecordCount(); ++r)
        EXPECT_EQ(run.Exceptions.RowValue(r, run.Exceptions.FieldByName(QStringLiteral("CType"))->Index()).toInt(), 2);
}

TEST(ChartJudge, AttributeChartWithoutSpreadFlagsNothingBeyondItsLimits)
{
    // Every unit rejected: p-bar 1 and the limits on the centre line, so no point lies beyond
    // them; the subgroup with nothing inspected has no value to judge.
    TAttributeChart chart(ctP, {{10, 10}, {40, 40}, {0, 0}, {25, 25}});
    TJudgeRun run;
    run.Judge.SetAttributeData(&chart.Data);
    EXPECT_EQ(run.Run(QStringLiteral("MR8,1,1")), std::vector<TViolation>{});
    EXPECT_EQ(chart.Data.Data(3).State, ssNormal);
}

TEST(ChartJudge, PointStatesAndSerialNumbers)
{
    TVariableChart chart(ctXBarR, Singles({0, 4, 0, 1, 2, 3}), kUnit);
    chart.List.Item(0).State = ssHandled;
    TJudgeRun run;
    run.Judge.SetVariableData(&chart.Data);
    const std::vector<TViolation> expected{{E("MR8,1,1"), {2}}, {E("MT1,4"), {3, 4, 5, 6}}};
    EXPECT_EQ(run.Run(QStringLiteral("MR8,1,1;MT1,4"), 41), expected);
    EXPECT_EQ(run.JudgeSNs, (std::vector<int>{42, 43}));
    EXPECT_EQ(run.Judge.JudgeSN, 43);
    EXPECT_FALSE(run.Judge.Saved);
    const TSubgroupState states[] = {ssNormal, ssAbnormal, ssAbnormal, ssAbnormal, ssAbnormal, ssAbnormal};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(chart.List.Item(i).State, states[i]) << i;

    // Judging again without reloading starts from empty windows and numbers on.
    run.Judge.JudgeChart();
    EXPECT_EQ(run.Judge.JudgeSN, 45);
    EXPECT_EQ(run.Exceptions.RecordCount(), 10);

    // Without rules nothing is judged and the states stay.
    chart.List.Item(0).State = ssHandled;
    run.Judge.Rules.Clear();
    run.Judge.JudgeChart();
    EXPECT_EQ(chart.List.Item(0).State, ssHandled);
    EXPECT_EQ(run.Judge.JudgeSN, 45);
}

TEST(ChartJudge, ExpressionAndDescribe)
{
    const struct {
        TChartType type;
        const char* rule;
        const char* expression;
        const char* describe;
    } cases[] = {
        {ctXBarR, "MT4,7", "MT4,7", "XBar-R 控制图中主控制图连续7点在中心线同一侧"},
        {ctXBarS, "SR7,3,2", "SR7,3,2", "XBar-S 控制图中副控制图3点中有2点在二倍和三倍的标准差内"},
        {ctXRm, "MT10,14", "MT10,14", "X-Rm 控制图中主控制图连续14点相邻点上下交错"},
        {ctXBarR, "MR5,15,15", "MR5,15,15", "XBar-R 控制图中主控制图15点中有15点在一倍的标准差内"},
        {ctXBarR, "SR9,1,1", "SR9,1,1", "XBar-R 控制图中副控制图1点中有1点在规格限外"},
        {ctP, "MR7,3,2", "MR7,3,2", "P 控制图3点中有2点在二倍和三倍的标准差内"},
        {ctC, "MT1,6", "MT1,6", "C 控制图连续6点上升"},
        {ctNP, "MR6,5,4", "MR6,5,4", "nP 控制图5点中有4点在一倍和二倍的标准差内"},
        {ctU, "MT3,6", "MT3,6", "U 控制图连续6点下降"},
    };
    for (const auto& c : cases) {
        TVariableChart variable(ctXBarR, Singles({1}), kUnit);
        TAttributeChart attribute(ctP, {{10, 1}});
        TChartJudge judge;
        if (IsVariableChartType(c.type)) {
            variable.Data.SetChartType(c.type);
            judge.SetVariableData(&variable.Data);
        } else {
            attribute.Data.SetChartType(c.type);
            judge.SetAttributeData(&attribute.Data);
        }
        TMemTable rows;
        FillRules(rows, E(c.rule));
        judge.LoadRules(rows);
        ASSERT_EQ(judge.Rules.Count(), 1) << c.rule;
        EXPECT_EQ(judge.Rules.Item(0).Expression, E(c.expression));
        EXPECT_EQ(judge.Rules.Item(0).Describe, E(c.describe));
    }
}

TEST(ChartJudge, RuleRowsAsStored)
{
    // Rows as the rule table holds them: the columns of the other kind are NULL.
    TVariableChart chart(ctXBarR, Singles({1, 2}), kUnit);
    TChartJudge judge;
    judge.SetVariableData(&chart.Data);
    TMemTable rows;
    DefineJudgeRuleTable(rows);
    rows.AppendRecord({1, 1, 6, 1, QVariant(), QVariant(), QVariant()});
    rows.AppendRecord({2, 2, QVariant(), QVariant(), 3, 2, 7});
    rows.AppendRecord({1, 3, 9, 4, QVariant(), QVariant(), QVariant()});  // any type but 2 is a trend
    rows.First();
    rows.Next();
    judge.LoadRules(rows);
    ASSERT_EQ(judge.Rules.Count(), 3);
    EXPECT_EQ(judge.Rules.Item(0).Expression, QStringLiteral("MT1,6"));
    EXPECT_EQ(judge.Rules.Item(0).ExceptionCount, 6);
    EXPECT_EQ(judge.Rules.Item(1).Expression, QStringLiteral("SR7,3,2"));
    EXPECT_EQ(judge.Rules.Item(1).Target, 1);
    EXPECT_EQ(judge.Rules.Item(2).Expression, QStringLiteral("MT4,9"));
    EXPECT_EQ(judge.Rules.Item(2).Judge, &judge);
    EXPECT_EQ(rows.RecNo(), 2);  // the caller's cursor stays

    // A row that cannot be judged stops loading and leaves no rule behind.
    const struct {
        QVariantList row;
    } bad[] = {
        {{1, 2, QVariant(), QVariant(), 2, 3, 5}},       // M > N
        {{1, 2, QVariant(), QVariant(), 3, 0, 5}},       // M = 0
        {{1, 2, QVariant(), QVariant(), 3, -1, 5}},      // M < 0
        {{1, 2, QVariant(), QVariant(), 3, 2, 4}},       // trend code in a run rule
        {{1, 2, QVariant(), QVariant(), 3, 2, 11}},      // no such code
        {{1, 2, QVariant(), QVariant(), QVariant(), QVariant(), 8}},  // no N
        {{1, 1, 6, 5, QVariant(), QVariant(), QVariant()}},           // run code in a trend rule
        {{1, 1, 0, 1, QVariant(), QVariant(), QVariant()}},           // N = 0
        {{1, 1, -6, 1, QVariant(), QVariant(), QVariant()}},          // N < 0
        {{1, 1, 6, 0, QVariant(), QVariant(), QVariant()}},
        {{1, 1, 6, 300, QVariant(), QVariant(), QVariant()}},
        {{1, 1, QVariant(), 1, QVariant(), QVariant(), QVariant()}},
    };
    for (const auto& b : bad) {
        TMemTable table;
        DefineJudgeRuleTable(table);
        table.AppendRecord({1, 1, 6, 1, QVariant(), QVariant(), QVariant()});
        table.AppendRecord(b.row);
        judge.LoadRules(rows);
        EXPECT_EQ(MessageOf([&] { judge.LoadRules(table); }), QStringLiteral("检测规则定义错误！"))
            << b.row[5].toString().toStdString();
        EXPECT_EQ(judge.Rules.Count(), 0);
    }
}

TEST(ChartJudge, Errors)
{
    TMemTable rows;
    FillRules(rows, QStringLiteral("MR8,1,1"));
    TChartJudge judge;
    EXPECT_EQ(MessageOf([&] { judge.LoadRules(rows); }), QStringLiteral("检测数据未指定"));

    TVariableChart chart(ctXBarR, Singles({0, 5}), kUnit);
    judge.SetVariableData(&chart.Data);
    judge.LoadRules(rows);
    TMemTable exceptions;
    DefineExceptionTable(exceptions);
    judge.ExceptionData = &exceptions;
    EXPECT_EQ(judge.JudgeSN, NullValue);
    EXPECT_EQ(MessageOf([&] { judge.JudgeChart(); }), QStringLiteral("检测序号未初始化！"));
    EXPECT_EQ(exceptions.RecordCount(), 0);

    TJudgeRule& rule = judge.Rules.Item(0);
    TAttributeChart attribute(ctC, {{1, 2}});
    EXPECT_EQ(MessageOf([&] { rule.SetAttributeData(&attribute.Data); }), QStringLiteral("类型不匹配！"));
    TJudgeRule attributeRule;
    attributeRule.Target = 2;
    EXPECT_EQ(MessageOf([&] { attributeRule.SetVariableData(&chart.Data); }), QStringLiteral("类型不匹配！"));
}

TEST(ChartJudge, ChangingTheChartData)
{
    TVariableChart first(ctXBarR, Singles({0, 5}), kUnit);
    TVariableChart second(ctXBarS, Singles({5, 0, 5}), kUnit);
    TJudgeRun run;
    run.Judge.SetVariableData(&first.Data);
    run.Run(QStringLiteral("MR8,1,1"));
    // The same data again changes nothing; other variable data carries the rules over.
    run.Judge.SetVariableData(&first.Data);
    ASSERT_EQ(run.Judge.Rules.Count(), 1);
    run.Judge.SetVariableData(&second.Data);
    ASSERT_EQ(run.Judge.Rules.Count(), 1);
    EXPECT_EQ(run.Judge.Rules.Item(0).VariableData(), &second.Data);
    EXPECT_EQ(run.Judge.Rules.Item(0).Describe, QStringLiteral("XBar-S 控制图中主控制图1点中有1点在控制限外"));
    run.Exceptions.EmptyDataSet();
    run.Judge.JudgeSN = 0;
    run.Judge.JudgeChart();
    EXPECT_EQ(ViolationsOf(run.Exceptions), (std::vector<TViolation>{{E("MR8,1,1"), {1}}, {E("MR8,1,1"), {3}}}));
    // Data of the other kind cannot be read by these rules: they go.
    TAttributeChart attribute(ctC, {{1, 2}});
    run.Judge.SetAttributeData(&attribute.Data);
    EXPECT_EQ(run.Judge.Rules.Count(), 0);
    EXPECT_EQ(run.Judge.VariableData(), nullptr);
}

TEST(JudgeExpression, Parse)
{
    const struct {
        const char* text;
        TJudgeRuleRow row;
    } good[] = {
        {"MT1,6", {1, 1, 6, 1, NullValue, NullValue, NullValue}},
        {"SR7,3,2", {2, 2, NullValue, NullValue, 3, 2, 7}},
        {" MR8,1,1 ", {1, 2, NullValue, NullValue, 1, 1, 8}},
        {"ST10,14", {2, 1, 14, 10, NullValue, NullValue, NullValue}},
        {"MR5,2,3", {1, 2, NullValue, NullValue, 2, 3, 5}},  // well formed; the judge refuses it
    };
    for (const auto& g : good) {
        const TJudgeRuleRow r = ParseJudgeExpression(E(g.text));
        EXPECT_EQ(r.TargetType, g.row.TargetType) << g.text;
        EXPECT_EQ(r.JudgeType, g.row.JudgeType) << g.text;
        EXPECT_EQ(r.Area_Trend, g.row.Area_Trend) << g.text;
        EXPECT_EQ(r.ExceptionType_Trend, g.row.ExceptionType_Trend) << g.text;
        EXPECT_EQ(r.Area_Run, g.row.Area_Run) << g.text;
        EXPECT_EQ(r.Exception_Run, g.row.Exception_Run) << g.text;
        EXPECT_EQ(r.ExceptionType_Run, g.row.ExceptionType_Run) << g.text;
    }
    for (const char* bad : {"", "MT1", "XT1,6", "MX1,6", "MT1,6,2", "MR7,3", "mt1,6", "MT-1,6", "MT1, 6",
                            "MT1,6;", "MT99999999999,6", "MT1.5,6"})
        EXPECT_EQ(MessageOf([&] { ParseJudgeExpression(E(bad)); }),
                  QStringLiteral("检测规则表达式“%1”无法识别，应形如MT1,6或SR7,3,2").arg(E(bad).trimmed()))
            << bad;
}

namespace {
// Every rule of every pattern with a spread of N and M, on the given targets ("M", "S").
QString EveryRule(const QStringList& targets)
{
    QStringList rules;
    for (const QString& t : targets) {
        for (int code : {1, 2, 3, 4, 10})
            for (int n : {1, 2, 3, 5, 7}) rules << QStringLiteral("%1T%2,%3").arg(t).arg(code).arg(n);
        for (int code : {5, 6, 7, 8, 9, 10})
            for (auto [n, m] : {std::pair{1, 1}, {2, 1}, {3, 2}, {5, 4}, {8, 8}, {9, 3}})
                rules << QStringLiteral("%1R%2,%3,%4").arg(t).arg(code).arg(n).arg(m);
    }
    return rules.join(QLatin1Char(';'));
}

// The same rules judged the plain way: every point, and at each point every rule in list order,
// through CheckPoint, each violation written as it fires.
std::vector<TViolation> PointByPoint(TChartJudge& judge, std::vector<int>* judgeSNs)
{
    TMemTable rows;
    DefineExceptionTable(rows);
    judge.ExceptionData = &rows;
    judge.JudgeSN = 0;
    for (int i = 0; i < judge.PointCount(); ++i)
        for (int r = 0; r < judge.Rules.Count(); ++r) judge.Rules.Item(r).CheckPoint(i);
    return ViolationsOf(rows, judgeSNs);
}
} // namespace

TEST(ChartJudge, WholeSeriesWalkAgreesWithPointByPoint)
{
    std::mt19937 gen(20240607);
    std::normal_distribution<double> dist(0.2, 1.6);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int round = 0; round < 4; ++round) {
        // Values on a grid of quarters, so that ties and points on zone boundaries occur; a few
        // subgroups without values.
        std::vector<std::vector<double>> groups;
        for (int i = 0; i < 1500; ++i) {
            if (percent(gen) < 4) {
                groups.push_back({});
                continue;
            }
            groups.push_back({std::round(dist(gen) * 4) / 4, std::round(dist(gen) * 4) / 4});
        }
        const TChartType type = round % 2 ? ctXRm : ctXBarR;
        TVariableChart chart(type, groups, {0.25, 3.25, -2.75}, {1.5, 4.5, 0});
        chart.List.Info.USL = round == 2 ? NullValue : 2.5;
        chart.List.Info.LSL = -2;
        TJudgeRun run;
        run.Judge.SetVariableData(&chart.Data);
        const QString rules = EveryRule({QStringLiteral("M"), QStringLiteral("S")});
        const std::vector<TViolation> walked = run.Run(rules);
        ASSERT_GT(walked.size(), 500u);
        std::vector<int> judgeSNs;
        run.Judge.LoadRules(run.RuleRows);
        EXPECT_EQ(PointByPoint(run.Judge, &judgeSNs), walked) << round;
        EXPECT_EQ(judgeSNs, run.JudgeSNs);
    }

    // Attribute data: limits per point, subgroups with nothing inspected.
    std::uniform_int_distribution<int> size(0, 60);
    std::vector<std::pair<int, int>> groups;
    for (int i = 0; i < 1500; ++i) {
        const int inspected = size(gen) < 3 ? 0 : 20 + size(gen) * 3;
        groups.push_back({inspected, std::uniform_int_distribution<int>(0, inspected / 6)(gen)});
    }
    TAttributeChart chart(ctP, groups);
    TJudgeRun run;
    run.Judge.SetAttributeData(&chart.Data);
    const std::vector<TViolation> walked = run.Run(EveryRule({QStringLiteral("M")}));
    ASSERT_GT(walked.size(), 500u);
    run.Judge.LoadRules(run.RuleRows);
    EXPECT_EQ(PointByPoint(run.Judge, nullptr), walked);
}
