// Pareto ordering, the cut with ties, the remainder item, loading by phenomenon name, the grid.
#include "EngineTestSupport.h"
#include "TestDatabase.h"

#include "engine/ParetoData.h"
#include "foundation/RecordUtils.h"

#include <gtest/gtest.h>

namespace {
struct TShown {
    QString name;
    double total, percent;
};

std::vector<TShown> Shown(TParetoData& data)
{
    data.Compute();
    std::vector<TShown> shown;
    for (int i = 0; i < data.DisplayCount(); ++i) {
        const RParetoItem& item = data.DisplayItem(i);
        shown.push_back({item.Name, item.Total, item.Percent});
    }
    return shown;
}

void ExpectShown(const std::vector<TShown>& got, const std::vector<TShown>& want, const char* what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].name, want[i].name) << what << " " << i;
        EXPECT_EQ(got[i].total, want[i].total) << what << " " << i;
        EXPECT_NEAR(got[i].percent, want[i].percent, 1e-9) << what << " " << i;
    }
}

const QString R = TParetoData::RemainderName();
} // namespace

TEST(Pareto, CutKeepsTiesAndPlacesTheRemainder)
{
    const struct { const char* what; std::vector<std::pair<const char*, double>> totals; int show;
                   std::vector<TShown> want; } cases[] = {
        {"tie with the last shown", {{"D", 3}, {"A", 10}, {"B", 5}, {"C", 5}}, 2,
         {{"A", 10, 1000.0 / 23}, {"B", 5, 1500.0 / 23}, {"C", 5, 2000.0 / 23}, {R, 3, 100}}},
        {"remainder between", {{"A", 10}, {"B", 5}, {"C", 4}, {"D", 3}, {"E", 2}}, 2,
         {{"A", 10, 1000.0 / 24}, {R, 9, 100}, {"B", 5, 1500.0 / 24}}},
        {"all", {{"B", 5}, {"A", 10}, {"C", 4}}, 0, {{"A", 10, 1000.0 / 19}, {"B", 5, 1500.0 / 19}, {"C", 4, 100}}},
        {"more than there are", {{"A", 1}, {"B", 2}}, 5, {{"B", 2, 200.0 / 3}, {"A", 1, 100}}},
        // Equal totals keep their order of first appearance.
        {"stable", {{"X", 2}, {"Y", 2}, {"Z", 2}}, 1, {{"X", 2, 100.0 / 3}, {"Y", 2, 200.0 / 3}, {"Z", 2, 100}}},
        {"cut after first", {{"A", 6}, {"B", 1}, {"C", 1}}, 1, {{"A", 6, 75}, {R, 2, 100}}},
        // No defects at all: shares of nothing are 0.
        {"zero", {{"A", 0}, {"B", 0}}, 0, {{"A", 0, 0}, {"B", 0, 0}}},
        {"empty", {}, 0, {}},
    };
    for (const auto& c : cases) {
        TParetoData data;
        for (const auto& [name, total] : c.totals) data.AddAmount(QString::fromUtf8(name), total);
        data.SetShowCount(c.show);
        ExpectShown(Shown(data), c.want, c.what);
        EXPECT_TRUE(data.Computed());
    }
}

TEST(Pareto, AmountsAddUpByExactName)
{
    TParetoData data;
    data.AddAmount(QStringLiteral("划伤"), 2);
    data.AddAmount(QStringLiteral("气泡"), 1);
    data.AddAmount(QStringLiteral("划伤"), 3);
    data.AddAmount(QStringLiteral("划伤 "), 1);
    EXPECT_EQ(data.Count(), 3);
    EXPECT_EQ(data.IndexOfName(QStringLiteral("划伤")), 0);
    EXPECT_EQ(data.Item(0).Total, 5);
    EXPECT_EQ(data.IndexOfName(QStringLiteral("无")), -1);

    data.SetShowCount(1);
    data.Compute();
    EXPECT_EQ(data.GrandTotal(), 7);
    EXPECT_EQ(data.DisplayCount(), 2);
    // A new show count recomputes; Clear drops everything and returns to "all".
    data.SetShowCount(3);
    EXPECT_FALSE(data.Computed());
    EXPECT_EQ(data.DisplayCount(), 0);
    EXPECT_EQ(Shown(data).size(), 3u);
    data.Clear();
    EXPECT_EQ(data.Count(), 0);
    EXPECT_EQ(data.ShowCount(), 0);
    EXPECT_FALSE(data.Computed());
}

TEST(Pareto, LoadsDefectsByPhenomenonName)
{
    TTestDatabase db;
    const struct { int id; const char* name; } phenomena[] = {{1, "划伤"}, {2, "气泡"}, {3, "划伤"}, {4, "缺料"}};
    for (const auto& p : phenomena)
        ExecuteSQL(QStringLiteral("insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (:ID, :Code, :Name)"),
                   {{"ID", p.id}, {"Code", QStringLiteral("P%1").arg(p.id)}, {"Name", QString::fromUtf8(p.name)}});
    TAttributeDataList list;
    TAttributeData& a = list.NewData();
    a.AddDefect(2, 4);
    a.AddDefect(1, 2);
    a.AddDefect(9, 50);  // phenomenon deleted since: left out
    TAttributeData& b = list.NewData();
    b.AddDefect(3, 3);  // another phenomenon of the same name adds up
    b.AddDefect(4, NullValue);  // no count keyed: left out
    b.AddDefect(2, 1);

    TParetoData data;
    data.SetShowCount(1);
    data.LoadFromList(list);
    EXPECT_EQ(data.ShowCount(), 0);
    EXPECT_EQ(data.GetCID(), list.CID());
    ASSERT_EQ(data.Count(), 2);
    EXPECT_EQ(data.Item(0).Name, QStringLiteral("气泡"));
    EXPECT_EQ(data.Item(1).Name, QStringLiteral("划伤"));
    EXPECT_EQ(data.Item(1).Total, 5);
    // Equal totals keep their order of first appearance.
    ExpectShown(Shown(data), {{"气泡", 5, 50}, {"划伤", 5, 100}}, "loaded");

    TStringGrid grid;
    TParetoDataViewAgent agent(&data, &grid);
    agent.SetActive(true);
    ASSERT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.Col(0), QStringList({"项目", "缺陷数", "百分比"}));
    EXPECT_EQ(grid.Col(1), QStringList({"气泡", "5", "50"}));
    EXPECT_EQ(grid.Col(2), QStringList({"划伤", "5", "100"}));
}

TEST(Pareto, GridShowsTheRemainder)
{
    TParetoData data;
    for (const auto& [name, total] : std::vector<std::pair<const char*, double>>{{"A", 10}, {"B", 5}, {"C", 4}, {"D", 3}})
        data.AddAmount(QString::fromUtf8(name), total);
    data.SetShowCount(1);
    TStringGrid grid;
    TParetoDataViewAgent agent(&data, &grid);
    agent.SetActive(true);
    EXPECT_EQ(grid.Row(0), QStringList({"项目", "<其他>", "A"}));
    EXPECT_EQ(grid.Row(2), QStringList({"百分比", "100", "45.4545"}));
}
