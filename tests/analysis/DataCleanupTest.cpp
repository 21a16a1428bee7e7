// Data clean-up after the condition: the subgroups of the day counted once, asked about, and
// deleted with everything attached, or kept.
#include "AnalysisTestSupport.h"

#include "analysis/DataCleanup.h"
#include "foundation/CompanyDM.h"

#include <gtest/gtest.h>

using namespace analysis_test;

namespace {
struct TCleanupFixture : ::testing::Test {
    void SetUp() override { FillDay(); }
    int Count(const char* table, int cid = PistonRing)
    {
        return GetSQLValue(QStringLiteral("select count(*) from %1 where CID = :C").arg(QLatin1String(table)), {{"C", cid}})
            .toInt();
    }
    TTestDatabase db;
};
} // namespace

TEST_F(TCleanupFixture, TheDaysSubgroupsGoWithEverythingAttachedOnlyOnYes)
{
    // Something hangs on subgroup 2: an exception with its cause and action.
    ExecuteSQL("insert into D_Exception (CID, SN, JudgeSN) values (201, 2, 1)");
    ExecuteSQL("insert into D_Case (CID, SN, CaseID) values (201, 2, 1)");
    ExecuteSQL("insert into D_Action (CID, SN, ActionID) values (201, 2, 1)");
    const int counter = GetSQLValue("select KeyValue from S_MKey where MID = 201").toInt();
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    // Subgroup 2 carries both chosen values: counted and deleted once.
    ChooseTags(c, {{QStringLiteral("班次"), {QStringLiteral("早班")}, false}, {QStringLiteral("机台"), {QStringLiteral("2号机")}, false}});
    ASSERT_TRUE(c.SaveCondition());

    db.Messages.Answers << TMsgResult::No;
    EXPECT_EQ(CleanUpTaskSubgroups(db.DM(), true, c.TaskID(), c.SelectedCName(), c.MandatoryTags, c.OptionalTags), 0);
    ASSERT_EQ(db.Messages.Messages.size(), 1);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("质量特性【活塞环直径】共有3组符合条件的记录\r\n确实要删除这些记录吗？"));
    EXPECT_EQ(db.Messages.Messages.last().Caption, QStringLiteral("询问"));
    EXPECT_EQ(Count("D_VDM"), 7);

    db.Messages.Answers << TMsgResult::Yes;
    EXPECT_EQ(CleanUpTaskSubgroups(db.DM(), true, c.TaskID(), c.SelectedCName(), c.MandatoryTags, c.OptionalTags), 3);
    EXPECT_EQ(Count("D_VDM"), 4);
    for (const char* attached : {"D_Exception", "D_Case", "D_Action"}) EXPECT_EQ(Count(attached), 0) << attached;
    EXPECT_EQ(GetSQLValue("select count(*) from D_VDD where CID = 201 and SN in (1, 2, 4)").toInt(), 0);
    EXPECT_EQ(GetSQLValue("select count(*) from D_Tag where CID = 201 and SN in (1, 2, 4)").toInt(), 0);
    EXPECT_EQ(Count("D_VDM", MainJournal), 2);  // another item's subgroups at the same moments stay
    // New subgroups never reuse the deleted numbers.
    EXPECT_EQ(GetSQLValue("select KeyValue from S_MKey where MID = 201").toInt(), counter);
}

TEST_F(TCleanupFixture, AnEmptyWindowSaysSoAndDeletesNothing)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2025-01-01 00:00:00", "2025-01-31 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    EXPECT_EQ(CleanUpTaskSubgroups(db.DM(), true, c.TaskID(), c.SelectedCName(), c.MandatoryTags, c.OptionalTags), 0);
    ASSERT_EQ(db.Messages.Messages.size(), 1);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("没有符合条件的记录！"));
    EXPECT_EQ(db.Messages.Messages.last().Caption, QStringLiteral("提示"));
    EXPECT_EQ(Count("D_VDM"), 7);
}
