// Variable subgroups, their statistics, the XBar-R / XBar-S / X-Rm limits, notifications and the grid.
#include "EngineTestSupport.h"
#include "TestDatabase.h"

#include "engine/DataChange.h"
#include "engine/HistogramData.h"
#include "engine/VariableData.h"
#include "foundation/CommandCentre.h"
#include "foundation/RecordUtils.h"

#include <gtest/gtest.h>
#include <memory>
#include <type_traits>

TEST(VariableSubgroup, Statistics)
{
    const struct { std::vector<double> values; double mean, r, s; } cases[] = {
        {{1, 2, 3}, 2, 2, 1},  // S with divisor n − 1
        {{2, 4, 6}, 4, 4, 2},
        {{74.03, 74.002, 74.019, 73.992, 74.008}, 74.0102, 0.038, 0.0147716},
        {{-1.5, -2.5}, -2, 1, std::sqrt(0.5)},
        {{5}, 5, 0, NullValue},  // one value: no standard deviation
        {{}, NullValue, NullValue, NullValue},
    };
    for (const auto& c : cases) {
        TVariableDataList list;
        list.Info.SampleSize = 5;
        TVariableData& d = list.NewData();
        for (double x : c.values) d.AddValue(x);
        EXPECT_NEAR(d.GetMean(), c.mean, 1e-9) << c.values.size();
        EXPECT_NEAR(d.GetR(), c.r, 1e-9);
        EXPECT_NEAR(d.GetS(), c.s, 1e-7);
    }
}

TEST(VariableSubgroup, LoadedStatisticsGiveWayToValues)
{
    TVariableDataList list;
    list.Info.SampleSize = 2;
    TVariableData& loaded = list.NewData();
    loaded.SetMean(10.2);
    loaded.SetR(0.5);
    EXPECT_FALSE(loaded.NeedsCalc());
    EXPECT_EQ(loaded.GetMean(), 10.2);
    EXPECT_EQ(loaded.GetR(), 0.5);
    EXPECT_EQ(loaded.GetS(), NullValue);
    loaded.AddValue(10.2);
    loaded.AddValue(10.3);
    EXPECT_TRUE(loaded.NeedsCalc());
    EXPECT_DOUBLE_EQ(loaded.GetMean(), 10.25);
    // Once values exist, a later SetMean does not outlive the next read.
    loaded.SetMean(99);
    EXPECT_DOUBLE_EQ(loaded.GetMean(), 10.25);
    loaded.SetValue(1, 10.4);
    EXPECT_DOUBLE_EQ(loaded.GetMean(), 10.3);
    loaded.DeleteValue(0);
    EXPECT_DOUBLE_EQ(loaded.GetMean(), 10.4);
    EXPECT_EQ(MessageOf([&] { loaded.DeleteValue(1); }), QStringLiteral("out of bound index:1"));
    EXPECT_EQ(MessageOf([&] { loaded.DeleteValue(-1); }), QStringLiteral("out of bound index:-1"));
}

TEST(VariableSubgroup, MovingRanges)
{
    TVariableDataList list;
    list.Info.SampleSize = 1;
    LoadValues(list, {{5}, {7}, {4}, {4}, {6}});
    const struct { int step; std::vector<double> rm; } cases[] = {
        {1, {NullValue, 2, 3, 0, 2}},
        {2, {NullValue, NullValue, 1, 3, 2}},
    };
    for (const auto& c : cases) {
        list.Info.Step = c.step;
        for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Item(i).GetRm(), c.rm[i]) << c.step << " " << i;
    }
    list.Info.Step = 0;
    EXPECT_EQ(MessageOf([&] { list.Item(3).GetRm(); }), QStringLiteral("移动极差的步长应大于或等于1"));
    list.Info.Step = 1;
    // Deleting the first subgroup shifts the others: the former second loses its moving range.
    list.Delete(0);
    EXPECT_EQ(list.Item(0).Index(), 0);
    EXPECT_EQ(list.Item(0).SN, 2);
    EXPECT_EQ(list.Item(0).GetRm(), NullValue);
    EXPECT_EQ(list.Item(1).GetRm(), 3);
    // A partner without values gives no moving range; neither does a subgroup without values.
    TVariableData& empty = list.NewData();
    TVariableData& after = list.NewData();
    after.AddValue(1);
    EXPECT_EQ(empty.GetRm(), NullValue);
    EXPECT_EQ(after.GetRm(), NullValue);
}

TEST(VariableList, FindingAndDeleting)
{
    TVariableDataList list;
    list.Info.SampleSize = 2;
    LoadValues(list, {{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(list.IndexOfSN(2), 1);
    EXPECT_EQ(list.IndexOfSN(7), -1);
    EXPECT_EQ(list.FindBySN(7), nullptr);
    list.AddValueBySN(3, 7);
    EXPECT_EQ(list.Item(2).ValueCount(), 3);
    EXPECT_THROW(list.AddValueBySN(7, 1), ESPCDataError);
    EXPECT_THROW(list.Delete(3), ESPCDataError);
    list.Delete(1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1).Index(), 1);
    EXPECT_EQ(list.Item(1).SN, 3);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

namespace {
struct TLimits {
    double mucl, mcl, mlcl, sucl, scl, slcl;
};

TLimits Compute(TVariableDataList& list, TChartType type)
{
    TVariableChartData data;
    data.SetDataList(&list);
    data.SetChartType(type);
    data.CalcLimits();
    const TLimitInfo& l = data.LimitInfo;
    return {l.MUCL, l.MCL, l.MLCL, l.SUCL, l.SCL, l.SLCL};
}

void ExpectLimits(const TLimits& got, const TLimits& want, double tol, const char* what)
{
    EXPECT_NEAR(got.mucl, want.mucl, tol) << what << " MUCL";
    EXPECT_NEAR(got.mcl, want.mcl, tol) << what << " MCL";
    EXPECT_NEAR(got.mlcl, want.mlcl, tol) << what << " MLCL";
    EXPECT_NEAR(got.sucl, want.sucl, tol) << what << " SUCL";
    EXPECT_NEAR(got.scl, want.scl, tol) << what << " SCL";
    EXPECT_NEAR(got.slcl, want.slcl, tol) << what << " SLCL";
}
} // namespace

TEST(VariableLimits, WorkedExamples)
{
    // {1,2,3}, {2,4,6}, {3,3,3}: X̄̄ = 3, R̄ = 2, S̄ = 1 (n = 3).
    // 5, 7, 4, 4, 6 as individuals: X̄ = 5.2, R̄m = 1.75 (step 1) or 2 (step 2).
    // The same data below zero: the lower limit of the means is not clamped.
    const struct { const char* what; std::initializer_list<std::initializer_list<double>> groups; int n, step;
                   TChartType type; TLimits want; } cases[] = {
        {"XBar-R", {{1, 2, 3}, {2, 4, 6}, {3, 3, 3}}, 3, 1, ctXBarR, {5.046, 3, 0.954, 5.148, 2, 0}},
        {"XBar-S", {{1, 2, 3}, {2, 4, 6}, {3, 3, 3}}, 3, 1, ctXBarS, {4.954, 3, 1.046, 2.568, 1, 0}},
        {"X-Rm", {{5}, {7}, {4}, {4}, {6}}, 1, 1, ctXRm, {9.855, 5.2, 0.545, 5.71725, 1.75, 0}},
        {"X-Rm step 2", {{5}, {7}, {4}, {4}, {6}}, 1, 2, ctXRm, {8.744, 5.2, 1.656, 5.148, 2, 0}},
        {"XBar-R below 0", {{-1, -2, -3}, {-2, -4, -6}, {-3, -3, -3}}, 3, 1, ctXBarR, {-0.954, -3, -5.046, 5.148, 2, 0}},
        {"XBar-R near 0", {{-0.1, 0.1, 0}, {0.2, -0.2, 0}}, 3, 1, ctXBarR, {0.3069, 0, -0.3069, 0.7722, 0.3, 0}},
        {"X-Rm below 0", {{-5}, {-7}, {-4}, {-4}, {-6}}, 1, 1, ctXRm, {-0.545, -5.2, -9.855, 5.71725, 1.75, 0}},
        // D3 and B3 above zero from n = 7 and n = 6.
        {"XBar-R n=7", {{1, 2, 3, 4, 5, 6, 7}, {2, 3, 4, 5, 6, 7, 8}}, 7, 1, ctXBarR,
         {4.5 + 0.419 * 6, 4.5, 4.5 - 0.419 * 6, 1.924 * 6, 6, 0.076 * 6}},
    };
    for (const auto& c : cases) {
        TVariableDataList list;
        list.Info.Step = c.step;
        LoadValues(list, c.groups);
        list.Info.SampleSize = c.n;
        ExpectLimits(Compute(list, c.type), c.want, 1e-9, c.what);
    }
}

TEST(VariableLimits, PistonRingsMatchPublishedLimits)
{
    // Trial phase, subgroups 1–25 of 5: X̄ chart 74.001 ± 0.013, R chart UCL 0.049 (R̄ = 0.023);
    // S chart UCL 0.0196 with S̄ = 0.0094.
    TVariableDataList list;
    LoadVariable(list, QStringLiteral("pistonrings.csv"), 5, 25);
    ASSERT_EQ(list.Count(), 25);
    TVariableChartData data;
    data.SetDataList(&list);
    data.SetChartType(ctXBarR);
    data.CalcLimits();
    EXPECT_EQ(data.TotalValues, 125);
    EXPECT_NEAR(data.XBarBar, 74.001176, 1e-9);
    EXPECT_NEAR(data.RBar, 0.02276, 1e-12);
    ExpectLimits(Compute(list, ctXBarR), {74.014, 74.001, 73.988, 0.048, 0.023, 0}, 0.0015, "published R");
    ExpectLimits(Compute(list, ctXBarR),
                 {74.001176 + 0.577 * 0.02276, 74.001176, 74.001176 - 0.577 * 0.02276, 2.114 * 0.02276, 0.02276, 0}, 1e-9,
                 "exact R");
    ExpectLimits(Compute(list, ctXBarS), {74.014, 74.001, 73.988, 0.0196, 0.0094, 0}, 0.0005, "published S");
}

TEST(VariableLimits, EdgeCases)
{
    TVariableDataList list;
    list.Info.Step = 1;
    TVariableChartData data;
    data.SetDataList(&list);
    // No chart type.
    EXPECT_EQ(MessageOf([&] { data.CalcLimits(); }), QStringLiteral("控制图类型未指定"));
    data.SetChartType(ctXBarR);
    data.LimitInfo.MCL = 7;
    // No subgroups: unchanged.
    data.CalcLimits();
    EXPECT_EQ(data.LimitInfo.MCL, 7);

    // Subgroups of 26: XBar-R has no factors and leaves the limits alone, XBar-S computes.
    std::initializer_list<double> big{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26};
    LoadValues(list, {big, big});
    list.Info.SampleSize = 26;
    EXPECT_EQ(MessageOf([&] { data.CalcLimits(); }), QStringLiteral("无对应的系数"));
    EXPECT_EQ(data.LimitInfo.MCL, 7);
    data.SetChartType(ctXBarS);
    data.CalcLimits();
    EXPECT_DOUBLE_EQ(data.LimitInfo.MUCL, 13.5 + CoefA3(26) * data.SBar);
    EXPECT_DOUBLE_EQ(data.LimitInfo.SLCL, CoefB3(26) * data.SBar);

    // X-Rm with a single subgroup: R̄m = 0 and every limit on its centre line.
    TVariableDataList one;
    one.Info.Step = 1;
    one.Info.SampleSize = 1;
    LoadValues(one, {{4.5}});
    ExpectLimits(Compute(one, ctXRm), {4.5, 4.5, 4.5, 0, 0, 0}, 0, "single");
    // A step whose factor is missing (E2 up to 20 only).
    one.Info.Step = 20;
    EXPECT_EQ(MessageOf([&] { Compute(one, ctXRm); }), QStringLiteral("无对应的系数"));
    one.Info.Step = 0;
    EXPECT_EQ(MessageOf([&] { Compute(one, ctXRm); }), QStringLiteral("移动极差的步长应大于或等于1"));
}

TEST(VariableLimits, SubgroupsWithoutValuesAreLeftOut)
{
    // A subgroup being keyed (no values yet) or loaded without values has no mean to add.
    TVariableDataList list;
    list.Info.Step = 1;
    list.Info.SampleSize = 3;
    LoadValues(list, {{1, 2, 3}, {2, 4, 6}, {3, 3, 3}});
    list.NewData();
    ExpectLimits(Compute(list, ctXBarR), {5.046, 3, 0.954, 5.148, 2, 0}, 1e-9, "XBar-R");
    // Only one value each: no S at all, so no S-based limits.
    TVariableDataList singles;
    singles.Info.SampleSize = 2;
    LoadValues(singles, {{1}, {2}});
    const TLimits s = Compute(singles, ctXBarS);
    EXPECT_EQ(s.mcl, 1.5);
    for (double v : {s.mucl, s.mlcl, s.sucl, s.scl, s.slcl}) EXPECT_EQ(v, NullValue);
}

TEST(VariableChartData, PerPointAccessors)
{
    TVariableDataList list;
    list.Info.Step = 1;
    list.Info.SampleSize = 3;
    LoadValues(list, {{1, 2, 3}, {2, 4, 6}});
    TVariableChartData data;
    data.SetDataList(&list);
    EXPECT_EQ(data.MainValue(0), NullValue);  // no chart type yet
    const struct { TChartType type; double main1, sub1, sub0; } cases[] = {
        {ctXBarR, 4, 4, 2}, {ctXBarS, 4, 2, 1}, {ctXRm, 4, 1, NullValue}, {ctHistogram, NullValue, NullValue, NullValue},
    };
    for (const auto& c : cases) {
        data.SetChartType(c.type);
        EXPECT_EQ(data.MainValue(1), c.main1) << int(c.type);
        EXPECT_EQ(data.SubValue(1), c.sub1) << int(c.type);
        EXPECT_EQ(data.SubValue(0), c.sub0) << int(c.type);
    }
    data.SetChartType(ctXBarR);
    data.CalcLimits();
    EXPECT_EQ(data.MainLCL(0), data.LimitInfo.MLCL);
    EXPECT_EQ(data.MainLCL(1), data.MainLCL(0));
    EXPECT_EQ(data.SubUCL(), data.LimitInfo.SUCL);
    EXPECT_EQ(data.GetCID(), NullValue);
    EXPECT_EQ(data.GetCharacterInfo(), &list.Info);
    EXPECT_THROW(data.Data(2), ESPCDataError);

    TRecordingChart chart;
    data.SetChart(&chart);
    EXPECT_EQ(data.PointColor(1), StateColor(ssUnchecked));
    data.SetPointState(1, ssAbnormal);
    data.SetPointState(1, ssAbnormal);
    EXPECT_EQ(list.Item(1).State, ssAbnormal);
    ASSERT_EQ(chart.Recolored.size(), 1);
    EXPECT_EQ(chart.Recolored[0].first, 1);
    EXPECT_EQ(chart.Recolored[0].second, QColor(Qt::black));
    EXPECT_EQ(chart.Refreshes, 0);  // the list is not notified
}

TEST(VariableNotifications, CompleteSubgroupsRefreshChartsAndAnnounce)
{
    QList<QPair<QString, int>> announced;
    TDataChangeHookScope hook([&](const QString& name, int cid) { announced << qMakePair(name, cid); });
    TVariableDataList list;
    list.Info.SampleSize = 5;
    TRecordingChart first, second;
    list.Charts.Add(&first);
    list.Charts.Add(&second);
    list.Charts.Add(&first);  // listed once
    EXPECT_EQ(list.Charts.Count(), 2);

    TVariableData& d = list.NewData();
    for (int i = 0; i < 4; ++i) d.AddValue(i);
    EXPECT_EQ(first.Refreshes, 0);  // four of five values
    EXPECT_TRUE(d.NotifyEnabled());
    d.AddValue(4);
    EXPECT_EQ(first.Refreshes, 1);
    EXPECT_EQ(second.Refreshes, 1);
    ASSERT_EQ(announced.size(), 1);
    EXPECT_EQ(announced[0].first, QStringLiteral("VDataChange"));
    EXPECT_EQ(announced[0].second, list.CID());
    d.SetValue(0, 0);  // equal value: nothing
    EXPECT_EQ(first.Refreshes, 1);
    d.SetValue(0, 9);
    EXPECT_EQ(first.Refreshes, 2);
    d.AddValue(5);  // six of five: no notification
    EXPECT_EQ(first.Refreshes, 2);

    list.Updating = true;
    d.DeleteValue(5);
    EXPECT_EQ(first.Refreshes, 2);
    EXPECT_EQ(announced.size(), 2);
    list.Updating = false;
    d.SetMean(3);  // loaders' setters run the notification test too
    EXPECT_EQ(first.Refreshes, 3);
}

TEST(VariableNotifications, RunTheCommandCentresCommand)
{
    TTestDatabase db;
    ExecuteSQL(QStringLiteral("insert into L_VControlItem (CID, CCode, SampleSize, Step) values (10, 'V10', 2, 1)"));
    TCommandCenter centre;
    QList<int> cids;
    centre.RegisterCommand(nullptr, QStringLiteral("VDataChange"), true,
                           TCommandEvent::FromCallable([&](TCommandParams& params, void*) {
                               cids << params.FindParam(QStringLiteral("CID"))->Value.toInt();
                           }));
    TVariableDataList list;
    list.SetCID(10);
    EXPECT_EQ(list.SampleSize(), 2);
    TVariableData& d = list.NewData();
    d.AddValue(1);
    EXPECT_TRUE(cids.isEmpty());
    d.AddValue(2);
    EXPECT_EQ(cids, QList<int>{10});
    // No "ADataChange" registered: an attribute change announces nothing and fails nothing.
    TAttributeDataList attributes;
    EXPECT_NO_THROW(attributes.NewData().SetInspected(5));
}

TEST(VariableNotifications, ChartsAndListsForgetEachOther)
{
    TRecordingChart kept;
    auto list = std::make_unique<TVariableDataList>();
    list->Info.SampleSize = 1;
    {
        TRecordingChart gone;
        list->Charts.Add(&gone);
        list->Charts.Add(&kept);
    }
    EXPECT_EQ(list->Charts.Count(), 1);
    list->NewData().AddValue(1);
    EXPECT_EQ(kept.Refreshes, 1);
    list.reset();  // the chart outlives the list and must not reach it
    SUCCEED();
}

TEST(VariableGrid, ColumnsPerSubgroup)
{
    TVariableDataList list;
    list.Info.Step = 1;
    list.Info.SampleSize = 3;
    LoadValues(list, {{1, 2, 3}, {2.5, 4, 6}});
    TStringGrid grid;
    TVariableDataViewAgent agent(&list, ctXBarR, &grid);
    agent.SetActive(true);
    ASSERT_EQ(grid.ColCount(), 3);
    ASSERT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.Col(0), QStringList({"", "1", "2", "3", "XBar", "R"}));
    EXPECT_EQ(grid.Col(2), QStringList({"2", "2.5", "4", "6", "4.1667", "3.5"}));

    TVariableDataList singles;
    singles.Info.Step = 1;
    singles.Info.SampleSize = 1;
    LoadValues(singles, {{5}, {7}});
    TVariableDataViewAgent rm(&singles, ctXRm, &grid);
    rm.SetActive(true);
    EXPECT_EQ(grid.Row(3), QStringList({"Rm", "-999999999", "2"}));

    // A subgroup with more values than planned gets the rows it needs.
    list.Item(0).AddValue(9);
    TVariableDataViewAgent s(&list, ctXBarS, &grid);
    s.SetActive(true);
    EXPECT_EQ(grid.Col(1), QStringList({"1", "1", "2", "3", "9", "3.75", "3.594"}));
    EXPECT_EQ(grid.Cell(0, 6), QStringLiteral("S"));

    TVariableDataViewAgent wrong(&list, ctP, &grid);
    EXPECT_EQ(MessageOf([&] { wrong.SetActive(true); }), QStringLiteral("控制图类型错误！"));
}

namespace {
// The binding of chart data to a list, the same for every kind of chart data.
template <class TData, class TList>
void CheckBinding(const char* kind)
{
    TList first, second;
    TRecordingChart chart, other;
    second.Charts.Add(&other);
    {
        TData data;
        data.SetDataList(&first);
        EXPECT_EQ(first.Charts.Count(), 0) << kind;  // no chart yet
        data.SetChart(&chart);
        EXPECT_EQ(first.Charts.IndexOf(&chart), 0) << kind;
        data.SetDataList(&second);
        EXPECT_EQ(first.Charts.Count(), 0) << kind;
        EXPECT_EQ(second.Charts.IndexOf(&chart), 1) << kind;
        data.SetChart(nullptr);
        EXPECT_EQ(second.Charts.Count(), 1) << kind;
        data.SetChart(&chart);
    }
    // The destroyed data took its chart off the list.
    EXPECT_EQ(second.Charts.Count(), 1) << kind;
    EXPECT_EQ(second.Charts.Item(0), &other) << kind;

    // Data outliving its list lets go without touching it.
    auto gone = std::make_unique<TList>();
    auto data = std::make_unique<TData>();
    data->SetDataList(gone.get());
    data->SetChart(&chart);
    gone.reset();
    data.reset();
}
} // namespace

TEST(ChartDataBinding, ListsTheChartWhileBoundAndLetsGo)
{
    TTestDatabase db;  // the histogram's limit record reads the stored limits
    CheckBinding<TVariableChartData, TVariableDataList>("variable");
    CheckBinding<THistogramChartData, TVariableDataList>("histogram");
    CheckBinding<TAttributeChartData, TAttributeDataList>("attribute");
}

TEST(ChartDataBinding, OtherChartsFollowADeletion)
{
    TVariableDataList list;
    LoadValues(list, {{1}, {2}, {3}});
    TVariableChartData data, second;
    TRecordingChart own, other;
    data.SetDataList(&list);
    data.SetChart(&own);
    second.SetDataList(&list);
    second.SetChart(&other);
    data.DeleteData(1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1).SN, 3);
    EXPECT_EQ(other.Refreshes, 1);
    EXPECT_EQ(own.Refreshes, 0);  // the deleting chart redraws itself
    TAttributeDataList counts;
    TAttributeChartData attribute;
    attribute.SetDataList(&counts);
    EXPECT_THROW(attribute.DeleteData(0), ESPCDataError);
}

TEST(CheckedList, ValuesAndPointIndexesShareOneList)
{
    static_assert(std::is_same_v<TVariableDetail, TCheckedList<double>>);
    static_assert(std::is_same_v<TIntList, TCheckedList<int>>);
    TIntList points;
    EXPECT_EQ(points.Add(7), 0);
    EXPECT_EQ(points.Add(9), 1);
    points.SetItem(0, 8);
    points.Delete(1);
    EXPECT_EQ(points.Items(), std::vector<int>{8});
    EXPECT_EQ(MessageOf([&] { points.Item(1); }), QStringLiteral("out of bound index:1"));
    TVariableDataList list;
    TVariableData& d = list.NewData();
    d.AddValue(1.5);
    EXPECT_EQ(MessageOf([&] { d.SetValue(-1, 2); }), QStringLiteral("out of bound index:-1"));
    EXPECT_EQ(d.Values().Items(), std::vector<double>{1.5});
}
