// The tag panel's logic without a window: the pending D_Tag rows that follow the panel, and
// stored tags loaded back with their names.
#include "CollectTestSupport.h"

#include "collect/TagInput.h"
#include "foundation/RecordUtils.h"

#include <gtest/gtest.h>

namespace {
QStringList Rows(const TTagInput& input, int cid, int sn)
{
    QStringList rows;
    for (const TTagRow& r : input.Tags(cid, sn))
        rows << r.TagName + QLatin1Char('=') + (r.TagValueID == NullValue ? QString() : r.TagValue);
    return rows;
}
} // namespace

TEST(TagInput, TemplatesStagingAndStoredTags)
{
    TCollectFixture f;
    TTagInput input;
    bool staged = false;
    input.SubgroupStaged = [&](int, int) { return staged; };
    EXPECT_EQ(MessageOf([&] { input.ApplyTemplate(); }), QStringLiteral("CurCID未赋值"));
    input.SetCurCID(ids::VDiameter);
    input.SetCurSGNo(1);
    input.ApplyTemplate();  // no template: no tags, and nothing missing
    EXPECT_EQ(Rows(input, ids::VDiameter, 1), QStringList());
    EXPECT_TRUE(input.CheckTagsComplete());

    input.SetTemplate(ids::TemplateProduction);
    input.ApplyTemplate();
    EXPECT_EQ(input.CDSDataTag.RecordCount(), 2);
    // Staged once the subgroup is: one pending row per tag, following later value changes.
    input.StageSubgroupTags(ids::VDiameter, 1);
    input.SetTagValue(1, 2, QStringLiteral("2号机"));
    input.SetCurSGNo(2);
    input.ApplyTemplate();
    EXPECT_EQ(Rows(input, ids::VDiameter, 2), (QStringList{"班次=早班", "机台=2号机"}));
    {
        TTransactionGuard guard(f.db.DM());
        input.ApplyTagUpdates();
        guard.Commit();
    }
    EXPECT_EQ(f.Count("select count(*) from D_Tag where CID = 101 and SN = 1 and TagID = 402 and TagValueID = 2"), 1);
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 2);  // subgroup 2 was never staged

    // Re-selecting the template resets the current subgroup to the template's (latest) values;
    // "不选" takes the tags away, stored ones included.
    input.SetCurSGNo(1);
    staged = true;
    input.SetTagValue(0, 2, QStringLiteral("中班"));
    input.SetTagValue(1, NullValue, QString());  // a value taken away is not carried
    f.Choose(ids::TemplateProduction);
    input.SelectTemplate();
    EXPECT_EQ(Rows(input, ids::VDiameter, 1), (QStringList{"班次=中班", "机台=2号机"}));
    f.ChooseNone();
    input.SelectTemplate();
    EXPECT_EQ(Rows(input, ids::VDiameter, 1), QStringList());
    {
        TTransactionGuard guard(f.db.DM());
        input.ApplyTagUpdates();
        guard.Commit();
    }
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 0);
    EXPECT_FALSE(input.UpdatesPending());

    // Stored tags come back with their names (an editing window reopens the pending rows).
    ExecuteSQL(QStringLiteral("insert into D_Tag (CID, SN, TagID, TagValueID) values (101, 7, 401, 2)"));
    ExecuteSQL(QStringLiteral("insert into D_Tag (CID, SN, TagID, TagValueID) values (101, 7, 402, 3)"));
    input.qryDataTag.SetSQL(QStringLiteral("select * from D_Tag where CID = 101 order by TagID"));
    input.qryDataTag.Open();
    input.LoadStoredTags();
    EXPECT_EQ(Rows(input, ids::VDiameter, 7),
              (QStringList{"班次=中班", QStringLiteral("机台=") + QStringLiteral("三号机").repeated(20).left(50)}));
    input.SetCurSGNo(7);
    input.ClearSubgroupTags();
    {
        TTransactionGuard guard(f.db.DM());
        input.ApplyTagUpdates();
        guard.Commit();
    }
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 0);
}
