// The sample provider: which subgroups a task selects (time window and tags), what the load puts
// into the data lists compared with the stored rows, and a cancelled load changing nothing.
#include "AnalysisTestSupport.h"

#include "analysis/SampleProvider.h"
#include "engine/AttributeData.h"
#include "engine/VariableData.h"
#include "foundation/CompanyDM.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <random>

using namespace analysis_test;

namespace {
struct TProviderFixture : ::testing::Test {
    TTestDatabase db;
    TSampleProvider provider;
};

struct TDayFixture : TProviderFixture {
    void SetUp() override { FillDay(); }
};

QList<int> SNs(const TVariableDataList& list)
{
    QList<int> sns;
    for (int i = 0; i < list.Count(); ++i) sns << list.Item(i).SN;
    return sns;
}

QList<int> SNs(const TAttributeDataList& list)
{
    QList<int> sns;
    for (int i = 0; i < list.Count(); ++i) sns << list.Item(i).SN;
    return sns;
}

TSampleLoadResult Load(TSampleProvider& provider, const TBaseCondition& c, TVariableDataList& list,
                       const TSampleLoadOptions& base = {})
{
    TSampleLoadOptions options = base;
    options.CID = c.SelectedCID();
    return provider.LoadVariableSamples(c.TaskID(), c.MandatoryTags, list, c.OptionalTags, options);
}
} // namespace

TEST_F(TDayFixture, TheSelectionFollowsTheWindowAndTheTags)
{
    struct TCase {
        const char* Reason;
        const char* From;
        const char* To;
        QList<TTagPick> Tags;
        QList<int> Expected;
    };
    const TCase cases[] = {
        {"no tags: the whole day, from the subgroup at midnight to the one at 23:59:59, not the next midnight",
         "2026-03-01 00:00:00", "2026-03-01 23:59:59", {}, {1, 2, 3, 4, 7}},
        {"a start one second after midnight leaves the midnight subgroup out", "2026-03-01 00:00:01",
         "2026-03-01 23:59:59", {}, {2, 3, 4, 7}},
        {"an end equal to a subgroup's time to the second takes it", "2026-02-28 23:59:59", "2026-03-01 08:00:00", {},
         {1, 2, 6}},
        {"one mandatory tag with two values: either value", "2026-03-01 00:00:00", "2026-03-01 23:59:59",
         {{"班次", {"早班", "中班"}, true}}, {1, 2, 3}},
        {"two mandatory tags: both must match", "2026-03-01 00:00:00", "2026-03-01 23:59:59",
         {{"班次", {"早班"}, true}, {"机台", {"1号机"}, true}}, {1}},
        {"an optional tag alone", "2026-03-01 00:00:00", "2026-03-01 23:59:59", {{"机台", {"2号机"}, false}}, {2, 4}},
        {"a mandatory and an optional tag: the union", "2026-03-01 00:00:00", "2026-03-01 23:59:59",
         {{"班次", {"早班"}, true}, {"机台", {"2号机"}, false}}, {1, 2, 4}},
        {"tags outside the window select nothing outside it", "2026-03-01 00:00:00", "2026-03-01 07:59:59",
         {{"班次", {"早班"}, false}}, {1}},
        {"no subgroup in the window", "2026-04-01 00:00:00", "2026-04-30 23:59:59", {}, {}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Reason);
        TBaseCondition c(ikVariable, false, GetNewTaskID());
        c.ChooseCharacteristic(PistonRing);
        ChooseTags(c, t.Tags);
        SetDay(c, t.From, t.To);
        ASSERT_TRUE(c.SaveCondition());
        EXPECT_EQ(provider.FillVariableTask(c.TaskID(), c.MandatoryTags, c.OptionalTags), t.Expected.size())
            << "each subgroup is listed once";
        EXPECT_EQ(ListedSNs(c.TaskID()), t.Expected);

        TVariableDataList list;
        const TSampleLoadResult result = Load(provider, c, list);
        EXPECT_EQ(result, t.Expected.isEmpty() ? TSampleLoadResult::NoData : TSampleLoadResult::Loaded);
        EXPECT_EQ(SNs(list), t.Expected);
        EXPECT_EQ(list.CID(), PistonRing);
    }
}

TEST_F(TDayFixture, LoadedSubgroupsCarryTheirValuesStateAndTags)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    TVariableDataList list;
    std::vector<TSubgroupTag> tags;
    TSampleLoadOptions options;
    options.Tags = &tags;
    ASSERT_EQ(Load(provider, c, list, options), TSampleLoadResult::Loaded);
    ASSERT_EQ(SNs(list), (QList<int>{1, 2, 3, 4, 7}));
    EXPECT_EQ(list.Info.SampleSize, 5);
    const TVariableData& first = list.Item(0);
    EXPECT_EQ(first.ValueCount(), 5);
    EXPECT_DOUBLE_EQ(first.GetMean(), 10.18);
    EXPECT_EQ(first.State, ssUnchecked);
    // Without values: the stored statistics and state.
    const TVariableData& stored = list.Item(2);
    EXPECT_EQ(stored.ValueCount(), 0);
    EXPECT_DOUBLE_EQ(stored.GetMean(), 10.2);
    EXPECT_EQ(stored.State, ssAbnormal);
    EXPECT_FALSE(list.Updating) << "the caller's flag is given back";

    // The tags of the loaded subgroups, in subgroup order: two each, none for subgroup 7.
    ASSERT_EQ(tags.size(), 8u);
    EXPECT_EQ(tags[0].SN, 1);
    EXPECT_EQ(tags[0].TagID, ShiftTag);
    EXPECT_EQ(tags[1].TagID, MachineTag);
    EXPECT_EQ(tags[7].SN, 4);
    EXPECT_EQ(tags[7].TagValueID, 2);
}

// The two passes merged in step against a direct query of the stored rows: subgroups stored out of
// order, of every size from none to eight values, with gaps in the sample numbers, next to another
// item's subgroups with the same numbers.
TEST_F(TProviderFixture, TheMergedLoadHoldsExactlyTheStoredRowsInOrder)
{
    FillMasterData();
    std::mt19937 rng(7);
    QList<int> sns;
    for (int sn = 1; sn <= 600; ++sn)
        if (sn % 7 != 3) sns << sn;
    std::shuffle(sns.begin(), sns.end(), rng);
    TTransactionGuard guard(db.DM());
    for (int sn : sns) {
        QList<double> values;
        const int n = int(rng() % 9);
        for (int k = 0; k < n; ++k) values << 50.0 + int(rng() % 1000) / 100.0;
        const QString when = QStringLiteral("2026-03-%1 %2:00:00").arg(1 + sn % 28, 2, 10, QLatin1Char('0')).arg(sn % 24, 2, 10, QLatin1Char('0'));
        AddVariableSubgroup(PistonRing, sn, when.toLatin1().constData(), values, {}, n == 0 ? 42.5 : NullValue, 1 + sn % 4);
        AddVariableSubgroup(MainJournal, sn, when.toLatin1().constData(), {1.0, 2.0});
    }
    guard.Commit();

    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-05 00:00:00", "2026-03-20 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    TVariableDataList list;
    ASSERT_EQ(Load(provider, c, list), TSampleLoadResult::Loaded);

    // Read whole before the next statement: the server's forward-only results cannot interleave.
    struct TStored {
        int SN;
        double Mean;
        int State;
        QList<double> Values;
    };
    QList<TStored> stored;
    QSqlQuery master = db.DM().Exec("select SN, VAvg, State from D_VDM where CID = 201 and WDate >= :F and WDate <= :T order by SN",
                                    {{"F", At("2026-03-05 00:00:00")}, {"T", At("2026-03-20 23:59:59")}});
    while (master.next()) stored.append({master.value(0).toInt(), VariantToFloat(master.value(1)), master.value(2).toInt(), {}});
    master.finish();
    for (TStored& row : stored) {
        QSqlQuery detail = db.DM().Exec("select VResult from D_VDD where CID = 201 and SN = :SN order by SSN", {{"SN", row.SN}});
        while (detail.next()) row.Values << detail.value(0).toDouble();
    }
    int i = 0;
    for (const TStored& row : stored) {
        ASSERT_LT(i, list.Count());
        const TVariableData& data = list.Item(i);
        ASSERT_EQ(data.SN, row.SN);
        EXPECT_EQ(data.State, StateFromCode(row.State));
        const QList<double> loaded(data.Values().Items().begin(), data.Values().Items().end());
        EXPECT_EQ(loaded, row.Values) << "subgroup " << data.SN;
        if (row.Values.isEmpty()) EXPECT_DOUBLE_EQ(data.GetMean(), row.Mean);
        ++i;
    }
    EXPECT_EQ(i, list.Count());
    EXPECT_GT(i, 100);
}

TEST_F(TDayFixture, EveryReaderGivesEachRowOnceWhateverTheTaskListsTwice)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    provider.FillVariableTask(c.TaskID(), {}, {});
    // A second listing of every subgroup, as an older selection step wrote for subgroups that
    // passed both kinds of tag.
    ExecuteSQL("insert into m_CTemp (TaskID, CID, SN) select TaskID, CID, SN from m_CTemp where TaskID = :T", {{"T", c.TaskID()}});
    auto count = [&](const QString& sql) {
        QSqlQuery q = db.DM().Exec(sql);
        int n = 0;
        while (q.next()) ++n;
        return n;
    };
    EXPECT_EQ(count(VariableMasterSQL(c.TaskID())), 5);
    EXPECT_EQ(count(VariableDetailSQL(c.TaskID())), 20);
    EXPECT_EQ(count(VariableTagSQL(c.TaskID())), 8);
    EXPECT_EQ(count(AttributeMasterSQL(c.TaskID())), 0);
    EXPECT_EQ(count(AttributeTagSQL(c.TaskID())), 8) << "the tag reader is the same for both kinds";
}

TEST_F(TDayFixture, ACancelledLoadLeavesTheListAndTheTaskAsTheyWere)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 07:59:59");
    ASSERT_TRUE(c.SaveCondition());
    TVariableDataList list;
    ASSERT_EQ(Load(provider, c, list), TSampleLoadResult::Loaded);
    ASSERT_EQ(SNs(list), QList<int>{1});

    struct TCase {
        const char* Reason;
        bool AtEnd;  // cancelled at the first report, or at the last, when everything has been read
    };
    for (const TCase& t : {TCase{"cancelled before reading", false}, TCase{"cancelled after reading everything", true}}) {
        SCOPED_TRACE(t.Reason);
        // Another item and window: the load would replace everything.
        ASSERT_TRUE(c.ChooseCharacteristic(MainJournal));
        SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
        ASSERT_TRUE(c.SaveCondition());
        int calls = 0;
        TSampleLoadOptions options;
        options.Progress = [&](int done, int total) {
            ++calls;
            EXPECT_LE(done, total);
            return t.AtEnd ? done < total : false;
        };
        std::vector<TSubgroupTag> tags{{1, 2, 3, 4}};
        options.Tags = &tags;
        EXPECT_EQ(Load(provider, c, list, options), TSampleLoadResult::Cancelled);
        EXPECT_GE(calls, 1);
        EXPECT_EQ(SNs(list), QList<int>{1});
        EXPECT_EQ(list.CID(), PistonRing) << "still bound to the item of the load that completed";
        EXPECT_EQ(list.Item(0).ValueCount(), 5);
        EXPECT_EQ(ListedSNs(c.TaskID()), QList<int>{1}) << "the task still lists what the list shows";
        EXPECT_EQ(tags.size(), 1u);
        EXPECT_FALSE(db.DM().InTransaction());
    }
    // Not cancelled, the same load replaces the list.
    EXPECT_EQ(Load(provider, c, list), TSampleLoadResult::Loaded);
    EXPECT_EQ(SNs(list), (QList<int>{1, 2}));
    EXPECT_EQ(list.CID(), MainJournal);
}

TEST_F(TDayFixture, NoDataEmptiesTheListAndSaysSo)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    TVariableDataList list;
    ASSERT_EQ(Load(provider, c, list), TSampleLoadResult::Loaded);
    SetDay(c, "2027-01-01 00:00:00", "2027-01-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    int calls = 0;
    TSampleLoadOptions options;
    options.Progress = [&](int, int) { return ++calls, true; };
    EXPECT_EQ(Load(provider, c, list, options), TSampleLoadResult::NoData);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(TaskRows("m_CTemp", c.TaskID()), 0);
    EXPECT_EQ(calls, 0) << "nothing to read, nothing to report";
    EXPECT_EQ(NoSamplesText(), QStringLiteral("没有符合条件的数据，请选择其他特性或重新设置条件！"));
}

TEST_F(TProviderFixture, AttributeSubgroupsWithTheirDefects)
{
    FillMasterData();
    const char* rows[] = {
        "insert into D_ADM (CID, SN, Batch, Inspected, Rejected, Defected, State, WDate) values (301, 2, 500, 100, 3, 9, 2, '2026-03-01 09:00:00')",
        "insert into D_ADM (CID, SN, Batch, Inspected, Rejected, Defected, State, WDate) values (301, 1, 500, 80, 1, 1, 1, '2026-03-01 08:00:00')",
        "insert into D_ADM (CID, SN, Batch, Inspected, Rejected, Defected, State, WDate) values (301, 3, 500, 90, 0, 0, 1, '2026-03-01 10:00:00')",
        "insert into D_ADM (CID, SN, Batch, Inspected, Rejected, Defected, State, WDate) values (301, 4, 500, 90, 0, 0, 1, '2026-03-02 10:00:00')",
        "insert into D_ADD (CID, SN, DPID, Defected) values (301, 2, 902, 4)",
        "insert into D_ADD (CID, SN, DPID, Defected) values (301, 2, 901, 5)",
        "insert into D_ADD (CID, SN, DPID, Defected) values (301, 1, 903, 1)",
        "insert into D_ADD (CID, SN, DPID, Defected) values (301, 4, 901, 7)",
        "insert into D_Tag (CID, SN, TagID, TagValueID) values (301, 2, 501, 2)",
    };
    for (const char* sql : rows) ExecuteSQL(sql);
    TBaseCondition c(ikAttribute, true, GetNewTaskID());
    c.ChooseCharacteristic(Appearance);
    c.PresetChartType(ctU);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());

    TAttributeDataList list;
    std::vector<TSubgroupTag> tags;
    TSampleLoadOptions options;
    options.CID = c.SelectedCID();
    options.Tags = &tags;
    ASSERT_EQ(provider.LoadAttributeSamples(c.TaskID(), c.MandatoryTags, list, c.OptionalTags, options),
              TSampleLoadResult::Loaded);
    ASSERT_EQ(SNs(list), (QList<int>{1, 2, 3}));
    EXPECT_EQ(list.Info.Kind, ikAttribute);
    const TAttributeData& second = list.Item(1);
    EXPECT_EQ(second.Batch(), 500);
    EXPECT_EQ(second.Inspected(), 100);
    EXPECT_EQ(second.Rejected(), 3);
    EXPECT_EQ(second.Defected, 9) << "the stored total, whatever the defect rows add up to";
    EXPECT_EQ(second.State, ssNormal);
    ASSERT_EQ(second.Defects().Count(), 2);
    EXPECT_EQ(second.Defects().Entry(0).DPID, 901);
    EXPECT_EQ(second.Defects().Entry(1).Count, 4);
    EXPECT_EQ(second.DefectTotal(), 9);
    EXPECT_EQ(list.Item(2).Defects().Count(), 0);
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].SN, 2);
}
