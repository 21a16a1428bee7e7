// Attribute subgroups, the P / nP / U / C limits, notifications and the grid.
#include "EngineTestSupport.h"
#include "TestDatabase.h"

#include "engine/AttributeData.h"
#include "engine/DataChange.h"
#include "foundation/RecordUtils.h"

#include <gtest/gtest.h>

namespace {
// Subgroups (inspected, rejected, defects) as a loader puts them in place.
struct TCounts {
    int inspected, rejected, defects;
};

void Load(TAttributeDataList& list, std::initializer_list<TCounts> rows)
{
    list.Updating = true;
    for (const TCounts& r : rows) {
        TAttributeData& d = list.NewData();
        d.SN = list.Count();
        d.SetInspected(r.inspected);
        d.SetRejected(r.rejected);
        if (r.defects) d.AddDefect(1, r.defects);
    }
    list.Updating = false;
}

struct TChart {
    TAttributeChartData data;
    TChart(TAttributeDataList& list, TChartType type)
    {
        data.SetDataList(&list);
        data.SetChartType(type);
        data.CalcLimits();
    }
};
} // namespace

TEST(DefectDetail, EntriesAndErrors)
{
    TAttributeDataList list;
    TAttributeData& d = list.NewData();
    d.AddDefect(7, 3);
    d.AddDefect(8, NullValue);  // a count not keyed yet
    d.AddDefect(9, 2);
    EXPECT_EQ(d.DefectTotal(), 5);
    EXPECT_EQ(MessageOf([&] { d.AddDefect(7, 1); }), QStringLiteral("DefectID'7' already exists"));
    EXPECT_EQ(d.Defects().Count(), 3);
    EXPECT_EQ(MessageOf([&] { d.RemoveDefect(5); }), QStringLiteral("DefectID'5' not Found"));
    EXPECT_EQ(MessageOf([&] { d.SetDefectCount(5, 1); }), QStringLiteral("DefectID'5' not Found"));
    d.SetDefectCount(8, 4);
    d.RemoveDefect(7);
    EXPECT_EQ(d.Defects().IndexOfDefect(9), 1);
    EXPECT_EQ(d.Defects().Entry(0).DPID, 8);
    EXPECT_EQ(d.DefectTotal(), 6);
    EXPECT_EQ(d.Defected, 0);
    EXPECT_EQ(d.RecountDefects(), 6);
    EXPECT_EQ(d.Defected, 6);
}

TEST(AttributeSubgroup, RatiosWithoutInspectionHaveNoValue)
{
    TAttributeDataList list;
    TAttributeData& d = list.NewData();
    d.SetRejected(2);
    d.AddDefect(1, 3);
    EXPECT_EQ(d.FractionRejected(), NullValue);
    EXPECT_EQ(d.DefectsPerUnit(), NullValue);
    d.SetInspected(8);
    EXPECT_EQ(d.FractionRejected(), 0.25);
    EXPECT_EQ(d.DefectsPerUnit(), 0.375);
}

TEST(AttributeLimits, PChartWithVaryingSampleSizesHasSteppedLimits)
{
    TAttributeDataList list;
    Load(list, {{100, 2, 0}, {50, 3, 0}, {0, 0, 0}});
    TChart c(list, ctP);
    const double p = 5.0 / 150;
    EXPECT_DOUBLE_EQ(c.data.PBar, p);
    EXPECT_DOUBLE_EQ(c.data.CL(), p);
    const struct { int i; double n; } points[] = {{0, 100}, {1, 50}};
    for (const auto& pt : points) {
        const double w = 3 * std::sqrt(p * (1 - p) / pt.n);
        EXPECT_DOUBLE_EQ(c.data.UCLAt(pt.i), p + w);
        EXPECT_DOUBLE_EQ(c.data.LCLAt(pt.i), std::max(p - w, 0.0));
    }
    EXPECT_GT(c.data.UCLAt(1), c.data.UCLAt(0));
    EXPECT_DOUBLE_EQ(c.data.ValueAt(1), 0.06);
    // Nothing inspected: no value, limits 0.
    EXPECT_EQ(c.data.ValueAt(2), NullValue);
    EXPECT_EQ(c.data.UCLAt(2), 0);
    EXPECT_EQ(c.data.LCLAt(2), 0);
}

TEST(AttributeLimits, TextbookDataMatchPublishedLimits)
{
    // Orange juice cans (samples 1–30 of 50): p̄ = 0.2313, UCL 0.4102, LCL 0.0524; the same as an
    // np chart: 11.57, 20.51, 2.62. Circuit boards (1–26): c̄ = 19.85, UCL 33.21, LCL 6.48.
    // Computers (20 samples of 5): ū = 1.93, UCL 3.79, LCL 0.07. Published to 2–4 decimals,
    // checked here to 1e-4 (so the printed figures are reproduced digit by digit).
    const struct { const char* file; int last; bool defects; TChartType type; double cl, ucl, lcl; } cases[] = {
        {"orangejuice.csv", 30, false, ctP, 0.2313, 0.4102, 0.0524},
        {"orangejuice.csv", 30, false, ctNP, 11.5667, 20.5120, 2.6214},
        {"circuit.csv", 26, true, ctC, 19.8462, 33.2109, 6.4814},
        {"pcmanufact.csv", 1 << 30, true, ctU, 1.93, 3.7939, 0.0661},
    };
    for (const auto& c : cases) {
        TAttributeDataList list;
        LoadAttribute(list, QString::fromUtf8(c.file), c.defects, c.last);
        TChart chart(list, c.type);
        const int last = list.Count() - 1;
        EXPECT_NEAR(chart.data.CL(), c.cl, 1e-4) << c.file;
        EXPECT_NEAR(chart.data.UCLAt(last), c.ucl, 1e-4) << c.file;
        EXPECT_NEAR(chart.data.LCLAt(0), c.lcl, 1e-4) << c.file;
        EXPECT_EQ(chart.data.UCLAt(0), chart.data.UCLAt(last)) << c.file;  // constant sample size
    }
}

TEST(AttributeLimits, ExactFormulasPerChartType)
{
    // Totals: inspected 60, rejected 6, defects 9 over k = 3 subgroups.
    TAttributeDataList list;
    Load(list, {{10, 1, 2}, {20, 2, 3}, {30, 3, 4}});
    const double p = 0.1, np = 2, u = 0.15, cbar = 3;
    {
        TChart c(list, ctNP);
        const double w = 3 * std::sqrt((1 - p) * np);
        EXPECT_DOUBLE_EQ(c.data.NPBar, np);
        EXPECT_DOUBLE_EQ(c.data.LimitInfo.UCL, np + w);
        EXPECT_DOUBLE_EQ(c.data.UCLAt(0), np + w);
        EXPECT_DOUBLE_EQ(c.data.LCLAt(2), 0);  // 2 − 4.02… clamped
        EXPECT_EQ(c.data.ValueAt(1), 2);
    }
    {
        TChart c(list, ctU);
        EXPECT_DOUBLE_EQ(c.data.UBar, u);
        EXPECT_DOUBLE_EQ(c.data.UCLAt(0), u + 3 * std::sqrt(u / 10));
        EXPECT_DOUBLE_EQ(c.data.UCLAt(2), u + 3 * std::sqrt(u / 30));
        EXPECT_DOUBLE_EQ(c.data.ValueAt(1), 0.15);
        // U and P leave the stored UCL/LCL alone (−1 from the reload).
        EXPECT_EQ(c.data.LimitInfo.UCL, -1);
    }
    {
        TChart c(list, ctC);
        EXPECT_DOUBLE_EQ(c.data.CBar, cbar);
        EXPECT_DOUBLE_EQ(c.data.UCLAt(1), cbar + 3 * std::sqrt(cbar));
        EXPECT_DOUBLE_EQ(c.data.LCLAt(1), 0);
        EXPECT_EQ(c.data.ValueAt(2), 4);
    }
}

TEST(AttributeLimits, EdgeCases)
{
    // nP with no rejects at all: centre line and limits 0.
    TAttributeDataList clean;
    Load(clean, {{50, 0, 0}, {50, 0, 0}});
    TChart np(clean, ctNP);
    EXPECT_EQ(np.data.LimitInfo.CL, 0);
    EXPECT_EQ(np.data.UCLAt(0), 0);
    EXPECT_EQ(np.data.LCLAt(0), 0);

    // C over subgroups that inspected nothing: CL stays −1 (drawn as 0), every limit 0.
    TAttributeDataList none;
    Load(none, {{0, 0, 3}, {0, 0, 2}});
    TChart c(none, ctC);
    EXPECT_EQ(c.data.LimitInfo.CL, -1);
    EXPECT_EQ(c.data.CL(), 0);
    EXPECT_EQ(c.data.UCLAt(0), 0);
    EXPECT_EQ(c.data.LCLAt(1), 0);

    TAttributeChartData unbound;
    EXPECT_EQ(unbound.TotalInspected(), NullValue);
    EXPECT_EQ(unbound.GetCID(), NullValue);
    unbound.CalcLimits();  // nothing bound: nothing happens
    unbound.SetDataList(&none);
    EXPECT_EQ(MessageOf([&] { unbound.CalcLimits(); }), QStringLiteral("控制图类型未指定"));
}

TEST(AttributeLimits, TotalsAndComputedCentreLineFollowTheData)
{
    TAttributeDataList list;
    Load(list, {{100, 2, 0}});
    TChart c(list, ctP);
    EXPECT_DOUBLE_EQ(c.data.CL(), 0.02);
    TAttributeData& d = list.NewData();
    d.SetInspected(100);
    d.SetRejected(6);
    EXPECT_EQ(c.data.TotalInspected(), 200);
    EXPECT_EQ(c.data.TotalRejected(), 8);
    c.data.CalcLimits();
    EXPECT_DOUBLE_EQ(c.data.CL(), 0.04);
    d.AddDefect(3, 5);
    d.AddDefect(4, 1);  // a second change of the defect list counts as well
    EXPECT_EQ(c.data.TotalDefects(), 6);
    list.Delete(0);
    EXPECT_EQ(c.data.TotalInspected(), 100);
}

TEST(AttributeNotifications, FirstDefectChangeAndCountChangesNotify)
{
    QList<QPair<QString, int>> announced;
    TDataChangeHookScope hook([&](const QString& name, int cid) { announced << qMakePair(name, cid); });
    TAttributeDataList list;
    TRecordingChart chart;
    list.Charts.Add(&chart);
    TAttributeData& d = list.NewData();
    d.SetBatch(500);  // nothing inspected yet
    EXPECT_EQ(chart.Refreshes, 0);
    EXPECT_TRUE(d.NotifyEnabled());
    d.SetInspected(50);
    EXPECT_EQ(chart.Refreshes, 1);
    ASSERT_EQ(announced.size(), 1);
    EXPECT_EQ(announced[0].first, QStringLiteral("ADataChange"));
    d.AddDefect(1, 2);
    EXPECT_TRUE(d.DetailChanged());
    EXPECT_EQ(chart.Refreshes, 2);
    d.SetDefectCount(1, 3);  // second change of the defect list: no notification
    d.AddDefect(2, 1);
    EXPECT_EQ(chart.Refreshes, 2);
    d.SetInspected(60);
    EXPECT_EQ(chart.Refreshes, 3);
    d.SetInspected(60);  // unchanged
    EXPECT_EQ(chart.Refreshes, 3);
    list.Updating = true;
    d.SetRejected(4);
    EXPECT_EQ(chart.Refreshes, 3);
    EXPECT_EQ(announced.size(), 3);
}

TEST(AttributeGrid, CountRowsByChartType)
{
    TAttributeDataList list;
    Load(list, {{100, 2, 0}, {50, 3, 0}});
    list.Item(0).SetBatch(1000);
    TStringGrid grid;
    const struct { TChartType type; QStringList captions; QStringList second; } cases[] = {
        {ctP, {"", "批量数", "检验数", "不良数", "不良率"}, {"2", "0", "50", "3", "0.06"}},
        {ctNP, {"", "批量数", "检验数", "不良数"}, {"2", "0", "50", "3"}},
        {ctC, {"", "批量数", "检验数", "缺点数"}, {"2", "0", "50", "0"}},
    };
    for (const auto& c : cases) {
        TAttributeDataViewAgent agent(&list, c.type, &grid);
        agent.SetActive(true);
        EXPECT_EQ(grid.ColCount(), 3);
        EXPECT_EQ(grid.Col(0), c.captions) << int(c.type);
        EXPECT_EQ(grid.Col(2), c.second) << int(c.type);
    }
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("1000"));
    TAttributeDataViewAgent none(&list, ctNone, &grid);
    EXPECT_EQ(MessageOf([&] { none.SetActive(true); }), QStringLiteral("控制图类型未指定！"));
}

TEST(AttributeGrid, DefectChartsListPhenomenaUpToFifty)
{
    TTestDatabase db;
    for (int id = 1; id <= 51; ++id)
        ExecuteSQL(QStringLiteral("insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (:ID, :Code, :Name)"),
                   {{"ID", id}, {"Code", QStringLiteral("D%1").arg(id)}, {"Name", QStringLiteral("缺陷%1").arg(id)}});
    TAttributeDataList list;
    TAttributeData& a = list.NewData();
    a.SN = 1;
    a.SetInspected(4);
    a.AddDefect(2, 3);
    a.AddDefect(1, NullValue);
    TAttributeData& b = list.NewData();
    b.SN = 2;
    b.SetInspected(5);
    b.AddDefect(1, 4);
    for (int id = 3; id <= 51; ++id) b.AddDefect(id, 1);
    b.AddDefect(99, 1);  // unknown phenomenon beyond the fiftieth: no row

    TStringGrid grid;
    TAttributeDataViewAgent agent(&list, ctU, &grid);
    agent.SetActive(true);
    ASSERT_EQ(grid.RowCount(), 5 + 50);
    EXPECT_EQ(grid.Row(4), QStringList({"单位缺点数", "0.75", "10.8"}));
    EXPECT_EQ(grid.Row(5), QStringList({"缺陷2", "3", ""}));
    EXPECT_EQ(grid.Row(6), QStringList({"缺陷1", "-999999999", "4"}));
    EXPECT_EQ(grid.Row(7), QStringList({"缺陷3", "", "1"}));
    EXPECT_EQ(grid.Cell(0, 54), QStringLiteral("缺陷50"));
    EXPECT_EQ(DefectPhenomenonName(51), QStringLiteral("缺陷51"));
    EXPECT_EQ(DefectPhenomenonName(99), QString());
}

TEST(AttributeLimits, ZeroHalfWidthPutsTheLimitsOnTheCentreLine)
{
    // (inspected, rejected, defects) subgroups; the limits of point `at`.
    const struct {
        const char* reason;
        TChartType type;
        std::initializer_list<TCounts> rows;
        int at;
        double ucl, lcl;
    } cases[] = {
        {"every unit rejected: p-bar 1, no spread, limits at 1", ctP, {{10, 10, 0}, {20, 20, 0}}, 1, 1, 1},
        {"no unit rejected: p-bar 0, limits at 0", ctP, {{10, 0, 0}, {20, 0, 0}}, 0, 0, 0},
        {"p-bar 1 but nothing inspected in the subgroup: no limits", ctP, {{10, 10, 0}, {0, 0, 0}}, 1, 0, 0},
        {"no defects at all: u-bar 0, limits at 0", ctU, {{5, 0, 0}, {8, 0, 0}}, 1, 0, 0},
        {"no defects and nothing inspected in the subgroup: no limits", ctU, {{5, 0, 0}, {0, 0, 0}}, 1, 0, 0},
        {"c-bar 0: straight limits at 0", ctC, {{5, 0, 0}, {5, 0, 0}}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TAttributeDataList list;
        Load(list, c.rows);
        TChart chart(list, c.type);
        EXPECT_DOUBLE_EQ(chart.data.UCLAt(c.at), c.ucl) << c.reason;
        EXPECT_DOUBLE_EQ(chart.data.LCLAt(c.at), c.lcl) << c.reason;
    }
    // A stored centre line of 1 (every unit rejected so far) keeps every point on its limits.
    TAttributeDataList list;
    Load(list, {{10, 10, 0}, {40, 40, 0}});
    TChart chart(list, ctP);
    chart.data.LimitInfo.Loaded = true;
    chart.data.LimitInfo.CL = 1;
    for (int i = 0; i < 2; ++i) {
        EXPECT_LE(chart.data.ValueAt(i), chart.data.UCLAt(i)) << i;
        EXPECT_GE(chart.data.ValueAt(i), chart.data.LCLAt(i)) << i;
    }
}

TEST(AttributeRows, OneLoaderForCountsAndPhenomena)
{
    const TAttributeRow kRejected{1, 10, 3}, kDefects{1, 10, 30};
    // The result of a second row after the first, and why.
    const struct {
        const char* reason;
        bool defects;
        TAttributeRow first, second;
        TAttributeRowResult result;
    } cases[] = {
        {"another subgroup", false, kRejected, {2, 10, 4}, TAttributeRowResult::Added},
        {"one row per subgroup of rejected units", false, kRejected, {1, 10, 4}, TAttributeRowResult::DuplicateSN},
        {"one row per subgroup of defects", true, kDefects, {1, 10, 4}, TAttributeRowResult::DuplicateSN},
        {"rejected units cannot exceed the inspected", false, kRejected, {2, 10, 11}, TAttributeRowResult::RejectedAboveInspected},
        {"defects may exceed the inspected", true, kDefects, {2, 10, 11}, TAttributeRowResult::Added},
        {"a second phenomenon of one subgroup", true, {1, 0, 5, 7}, {1, 0, 2, 8}, TAttributeRowResult::Added},
        {"one phenomenon twice in a subgroup", true, {1, 0, 5, 7}, {1, 0, 2, 7}, TAttributeRowResult::DuplicateDefect},
    };
    for (const auto& c : cases) {
        TAttributeDataList list;
        TAttributeRowResult refusal = TAttributeRowResult::Added;
        const int refused = AddAttributeRows(list, {c.first, c.second}, c.defects, &refusal);
        EXPECT_EQ(refused, c.result == TAttributeRowResult::Added ? -1 : 1) << c.reason;
        EXPECT_EQ(refusal, c.result) << c.reason;
        EXPECT_FALSE(list.Updating) << c.reason;
        // A refused row leaves the first subgroup as it was.
        const TAttributeData& d = list.Item(0);
        EXPECT_EQ(d.Inspected(), c.first.Inspected) << c.reason;
        if (c.result != TAttributeRowResult::Added) {
            EXPECT_EQ(d.Defects().Count(), c.defects ? 1 : 0) << c.reason;
            EXPECT_EQ(d.Rejected(), c.defects ? 0 : c.first.Count) << c.reason;
        }
    }
}

TEST(AttributeRows, LoadedAsTheWindowsLoadSubgroups)
{
    TAttributeDataList list;
    TRecordingChart chart;
    list.Charts.Add(&chart);
    // Defects of phenomenon 1 per subgroup, the stored total recounted; rows of phenomena add up
    // in one subgroup, which keeps the inspected count of its first row.
    EXPECT_EQ(AddAttributeRows(list, {{4, 20, 3}, {9, 0, 1}}, true), -1);
    EXPECT_EQ(AddAttributeRows(list, {{5, 50, 2, 7}, {5, 99, 6, 8}, {4, 0, 1, 8}}, true), -1);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(chart.Refreshes, 0);  // loading does not refresh the charts
    const TAttributeData& first = list.Item(0);
    EXPECT_EQ(first.SN, 4);
    EXPECT_EQ(first.Defected, 4);
    EXPECT_EQ(first.Defects().Entry(0).DPID, 1);
    EXPECT_EQ(first.Defects().Entry(1).DPID, 8);
    const TAttributeData& five = list.Item(2);
    EXPECT_EQ(five.Inspected(), 50);
    EXPECT_EQ(five.DefectTotal(), 8);
    EXPECT_EQ(five.Defected, 8);
    // Rejected units; the first refused row ends the load.
    TAttributeDataList p;
    TAttributeRowResult refusal{};
    EXPECT_EQ(AddAttributeRows(p, {{1, 10, 1}, {2, 10, 2}, {1, 10, 3}, {3, 10, 4}}, false, &refusal), 2);
    EXPECT_EQ(refusal, TAttributeRowResult::DuplicateSN);
    EXPECT_EQ(p.Count(), 2);
    EXPECT_EQ(p.Item(1).Rejected(), 2);
    EXPECT_EQ(p.Item(1).Defects().Count(), 0);
}
