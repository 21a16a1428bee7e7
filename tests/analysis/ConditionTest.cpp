// Query conditions and their task tables: what OK writes (and what it checks first), what is
// written only at OK, the tag choice and its text, and the task's rows going with the condition.
#include "AnalysisTestSupport.h"

#include "analysis/SampleProvider.h"
#include "foundation/CompanyDM.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace analysis_test;

namespace {
struct TConditionFixture : ::testing::Test {
    TTestDatabase db;
    void SetUp() override { FillDay(); }
    QStringList Messages() const { return db.Messages.Texts(); }
};

QStringList Column(const TDataSet& ds, const char* field)
{
    QStringList texts;
    const int f = ds.FieldByName(QLatin1String(field))->Index();
    for (int r = 0; r < ds.RecordCount(); ++r) texts << VariantToString(ds.RowValue(r, f));
    return texts;
}
} // namespace

TEST_F(TConditionFixture, OkWritesTheTaskRowsInOneGoAndNothingBefore)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    EXPECT_EQ(c.StartTime, QTime(0, 0, 0)) << "the default window starts at midnight";
    EXPECT_EQ(c.EndTime, QTime(23, 59, 59));
    EXPECT_EQ(c.StartDate, QDate::currentDate());

    ASSERT_TRUE(c.ChooseCharacteristic(PistonRing));
    ChooseTags(c, {{"班次", {"早班", "中班"}, true}});
    // Choosing (and even reading the tag offer) writes nothing: a cancelled dialog leaves no trace.
    EXPECT_EQ(TaskRows("m_C", c.TaskID()), 0);
    EXPECT_EQ(TaskRows("m_Tag", c.TaskID()), 0);
    EXPECT_EQ(TaskRows("m_Date", c.TaskID()), 0);

    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    EXPECT_EQ(GetSQLValue("select CID from m_C where TaskID = :T", {{"T", c.TaskID()}}).toInt(), PistonRing);
    EXPECT_EQ(VariantToDateTime(GetSQLValue("select StartDate from m_Date where TaskID = :T and SN = 1", {{"T", c.TaskID()}})),
              At("2026-03-01 00:00:00"));
    EXPECT_EQ(VariantToDateTime(GetSQLValue("select EndDate from m_Date where TaskID = :T and SN = 1", {{"T", c.TaskID()}})),
              At("2026-03-01 23:59:59"));
    EXPECT_EQ(GetSQLValue("select count(*) from m_Tag where TaskID = :T and TagID = 501 and Mandatory = 1", {{"T", c.TaskID()}}).toInt(), 2);
    EXPECT_EQ(c.MandatoryTags, QStringList{"501"});
    EXPECT_TRUE(c.OptionalTags.isEmpty());
    EXPECT_EQ(c.SelectedCID(), PistonRing);
    EXPECT_EQ(c.SelectedCName(), QStringLiteral("活塞环直径"));

    // A second OK rewrites the rows in place: one date row, one item.
    SetDay(c, "2026-03-02 00:00:00", "2026-03-02 23:59:59");
    ASSERT_TRUE(c.ChooseCharacteristic(MainJournal));
    ASSERT_TRUE(c.SaveCondition());
    EXPECT_EQ(TaskRows("m_Date", c.TaskID()), 1);
    EXPECT_EQ(TaskRows("m_C", c.TaskID()), 1);
    EXPECT_EQ(GetSQLValue("select CID from m_C where TaskID = :T", {{"T", c.TaskID()}}).toInt(), MainJournal);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_F(TConditionFixture, OkRefusesWithTheReasonAndWritesNothing)
{
    struct TCase {
        const char* Reason;
        bool Analysis;
        int CID;
        const char* From;
        const char* To;
        QString ChartType;
        QString Message;
    };
    const TCase cases[] = {
        {"the window ends before it starts", false, PistonRing, "2026-03-02 00:00:00", "2026-03-01 23:59:59", {},
         "日期范围错误，请重新选择"},
        {"no control item", false, NullValue, "2026-03-01 00:00:00", "2026-03-01 23:59:59", {}, "请选择质量特性"},
        {"an analysis condition without chart type", true, PistonRing, "2026-03-01 00:00:00", "2026-03-01 23:59:59", {},
         "请选择控制图类型！"},
        {"a chart type the item does not offer (subgroups of one value have no XBar-R)", true, SingleValue,
         "2026-03-01 00:00:00", "2026-03-01 23:59:59", ChartTypeName(ctXBarR), "请选择控制图类型！"},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Reason);
        db.Messages.Messages.clear();
        TBaseCondition c(ikVariable, t.Analysis, GetNewTaskID());
        if (t.CID != NullValue) ASSERT_TRUE(c.ChooseCharacteristic(t.CID));
        SetDay(c, t.From, t.To);
        c.ChartTypeText = t.ChartType;
        EXPECT_FALSE(c.SaveCondition());
        EXPECT_EQ(db.Messages.LastText(), t.Message);
        EXPECT_EQ(TaskRows("m_Date", c.TaskID()) + TaskRows("m_C", c.TaskID()), 0);
    }
    // The start may equal the end.
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 08:00:00", "2026-03-01 08:00:00");
    EXPECT_TRUE(c.SaveCondition());
}

TEST_F(TConditionFixture, ChartTypesFollowTheItem)
{
    TBaseCondition c(ikVariable, true, GetNewTaskID());
    c.PresetChartType(ctXBarR);
    EXPECT_TRUE(c.ChartTypes().isEmpty());
    ASSERT_TRUE(c.ChooseCharacteristic(PistonRing));
    EXPECT_EQ(c.ChartTypes(), (QStringList{ChartTypeName(ctXBarR), ChartTypeName(ctXBarS), ChartTypeName(ctHistogram)}));
    EXPECT_EQ(c.ChosenChartType(), ctXBarR) << "the preset type is kept where the item offers it";
    ASSERT_TRUE(c.ChooseCharacteristic(SingleValue));
    EXPECT_EQ(c.ChartTypes(), (QStringList{ChartTypeName(ctXRm), ChartTypeName(ctHistogram)}));
    EXPECT_EQ(c.ChosenChartType(), ctNone) << "XBar-R is no choice for subgroups of one value";

    TBaseCondition a(ikAttribute, true, GetNewTaskID());
    ASSERT_TRUE(a.ChooseCharacteristic(Appearance));
    EXPECT_EQ(a.ChartTypes().size(), 5);
    EXPECT_FALSE(a.ChooseCharacteristic(PistonRing)) << "a variable item is not an attribute item";
    EXPECT_EQ(a.SelectedCID(), Appearance);
}

TEST_F(TConditionFixture, TheTagsNeedAnItemAndOfferOnlyTheItemsTags)
{
    // Another window's task on item 202, whose subgroups carry 检验员.
    TBaseCondition other(ikVariable, false, GetNewTaskID());
    other.ChooseCharacteristic(MainJournal);
    SetDay(other, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(other.SaveCondition());

    TBaseCondition c(ikVariable, false, GetNewTaskID());
    EXPECT_FALSE(c.CheckCharacteristicChosen());
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请先选择质量特性！"));
    c.ChooseCharacteristic(PistonRing);
    TQuery& offer = c.OpenTagOffer();
    EXPECT_EQ(Column(offer, "TagName"), (QStringList{"班次", "班次", "班次", "机台", "机台"}));
    EXPECT_EQ(Column(offer, "Selected"), (QStringList{"0", "0", "0", "0", "0"}));
    EXPECT_EQ(Column(offer, "Mandatory"), (QStringList{"1", "1", "1", "1", "1"}));

    // The offer shows the choice as it stands.
    ChooseTags(c, {{"机台", {"2号机"}, false}});
    c.OpenTagOffer();
    EXPECT_EQ(Column(offer, "Selected"), (QStringList{"0", "0", "0", "0", "1"}));
    EXPECT_EQ(Column(offer, "Mandatory"), (QStringList{"1", "1", "1", "0", "0"}));

    // A new item is offered its own tags.
    c.ChooseCharacteristic(MainJournal);
    c.OpenTagOffer();
    EXPECT_EQ(Column(offer, "TagName"), (QStringList{"班次", "班次", "班次", "检验员"}));
}

TEST_F(TConditionFixture, TagChoiceGridsListsAndText)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ChooseTags(c, {{"班次", {"早班", "中班"}, true}, {"机台", {"1号机"}, false}});
    EXPECT_EQ(c.TagText(), QStringLiteral("班次:早班,中班;机台:1号机"));
    EXPECT_EQ(Column(c.qryTaskTag(), "TagName"), (QStringList{"班次", "机台"}));
    EXPECT_EQ(Column(c.qryTaskTag(), "Mandatory"), (QStringList{"1", "0"}));
    // The value grid shows the values of the tag under the tag grid's cursor.
    EXPECT_EQ(Column(c.qryTaskTagValue(), "TagValue"), (QStringList{"早班", "中班"}));
    c.qryTaskTag().Last();
    EXPECT_EQ(Column(c.qryTaskTagValue(), "TagValue"), QStringList{"1号机"});
    ASSERT_TRUE(c.SaveCondition());
    EXPECT_EQ(c.MandatoryTags, QStringList{"501"});
    EXPECT_EQ(c.OptionalTags, QStringList{"502"});

    // Clearing every value of a tag takes the tag out of the grid, the lists and the task.
    ChooseTags(c, {{"班次", {}, true}});
    EXPECT_EQ(Column(c.qryTaskTag(), "TagName"), QStringList{"机台"});
    ASSERT_TRUE(c.SaveCondition());
    EXPECT_TRUE(c.MandatoryTags.isEmpty());
    EXPECT_EQ(c.OptionalTags, QStringList{"502"});
    EXPECT_EQ(GetSQLValue("select count(*) from m_Tag where TaskID = :T", {{"T", c.TaskID()}}).toInt(), 1);
    EXPECT_EQ(c.TagText(), QStringLiteral("机台:1号机"));

    // Read back after the owner closed the queries, the task shows the same.
    c.CloseTaskQueries();
    c.OpenTaskQueries();
    EXPECT_EQ(c.TagText(), QStringLiteral("机台:1号机"));
    EXPECT_EQ(c.SelectedCID(), PistonRing);
}

TEST_F(TConditionFixture, AFailedWriteKeepsEveryChangeForTheNextOk)
{
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    ChooseTags(c, {{"班次", {"夜班"}, true}});
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    // The tag table is missing: the date row and the item were written in the same transaction.
    ExecuteSQL("alter table m_Tag rename to m_Tag_away");
    EXPECT_EQ(MessageOf([&] { c.SaveCondition(); }), QStringLiteral("条件保存错，请稍后重试！"));
    EXPECT_FALSE(db.DM().InTransaction());
    EXPECT_EQ(TaskRows("m_Date", c.TaskID()), 0);
    EXPECT_EQ(TaskRows("m_C", c.TaskID()), 0);
    ExecuteSQL("alter table m_Tag_away rename to m_Tag");
    ASSERT_TRUE(c.SaveCondition());
    EXPECT_EQ(TaskRows("m_Date", c.TaskID()), 1);
    EXPECT_EQ(TaskRows("m_C", c.TaskID()), 1);
    EXPECT_EQ(TaskRows("m_Tag", c.TaskID()), 1);
}

TEST_F(TConditionFixture, TheTaskRowsGoWithTheCondition)
{
    TBaseCondition kept(ikVariable, false, GetNewTaskID());
    kept.ChooseCharacteristic(MainJournal);
    SetDay(kept, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(kept.SaveCondition());
    TSampleProvider provider;
    provider.FillVariableTask(kept.TaskID(), kept.MandatoryTags, kept.OptionalTags);

    int task = 0;
    {
        TBaseCondition c(ikVariable, false, GetNewTaskID());
        task = c.TaskID();
        c.ChooseCharacteristic(PistonRing);
        ChooseTags(c, {{"班次", {"早班"}, true}});
        SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
        ASSERT_TRUE(c.SaveCondition());
        provider.FillVariableTask(c.TaskID(), c.MandatoryTags, c.OptionalTags);
        for (const char* table : {"m_Date", "m_C", "m_Tag", "m_CTemp"}) EXPECT_GT(TaskRows(table, task), 0) << table;
    }
    for (const char* table : {"m_Date", "m_C", "m_Tag", "m_CTemp"}) EXPECT_EQ(TaskRows(table, task), 0) << table;
    // Another task's rows stay.
    EXPECT_EQ(TaskRows("m_C", kept.TaskID()), 1);
    EXPECT_EQ(ListedSNs(kept.TaskID()), (QList<int>{1, 2}));
    EXPECT_NE(kept.TaskID(), task);
}
