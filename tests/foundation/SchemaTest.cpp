#include "TestDatabase.h"

#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"
#include "foundation/Schema.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Schema, DeliveredDatabaseIsVersionOneWithTheAdministrator)
{
    TTestDatabase db(TTestDatabase::TContent::Delivered);
    EXPECT_EQ(GetSQLString(QStringLiteral("select Ver from S_System")), QStringLiteral("1"));
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from S_Module")).toInt(), 19);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from S_ModuleType")).toInt(), 4);
    EXPECT_EQ(GetSQLString(QStringLiteral("select Name from SP_User where ID = 1")), QStringLiteral("超级用户"));
    EXPECT_EQ(GetSQLString(QStringLiteral("select Password from SP_User where ID = 1")), QString());
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from SP_Duty where ID = 1")).toInt(), 1);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from S_Key where KeyName = 'UserPower'")).toInt(), 0);
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("List")), 1);
    // Refuses to overwrite.
    if (db.IsServer()) {
        EXPECT_THROW(InitServerDatabase(db.Path(), false), ESystemError);
    } else {
        EXPECT_THROW(InitDatabaseFile(db.Path(), false), ESystemError);
        EXPECT_TRUE(QFileInfo(db.Path()).size() > 0);
    }
}

TEST(Schema, DemoFactoryHasEverythingTheWindowsShow)
{
    TTestDatabase db(TTestDatabase::TContent::Demo);
    auto count = [](const char* sql) { return GetSQLValue(QString::fromUtf8(sql)).toInt(); };
    EXPECT_GE(count("select count(*) from L_VControlItem"), 6);
    EXPECT_EQ(count("select count(*) from L_AControlItem"), 3);
    for (int n : {1, 4, 5, 8, 30})
        EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from L_VControlItem where SampleSize = :N"), {{"N", n}}).toInt() > 0, true) << n;
    // Every pattern code 1..10 is covered by a rule.
    for (int code = 1; code <= 10; ++code)
        EXPECT_GT(GetSQLValue(QStringLiteral("select count(*) from L_JudgeRule where ExceptionType_Trend = :C or ExceptionType_Run = :C"),
                              {{"C", code}}).toInt(), 0) << code;
    EXPECT_EQ(count("select count(*) from L_JudgeRuleTemplate"), 2);
    EXPECT_GE(count("select count(*) from L_TagTemplate"), 1);
    EXPECT_GT(count("select count(*) from L_Case"), 0);
    EXPECT_GT(count("select count(*) from L_Action"), 0);
    // Values match each item's subgroup size; every subgroup has its tags.
    EXPECT_EQ(count("select count(*) from D_VDM a, L_VControlItem c where a.CID = c.CID and "
                    "(select count(*) from D_VDD d where d.CID = a.CID and d.SN = a.SN) <> c.SampleSize"), 0);
    EXPECT_GE(count("select min(cnt) from (select CID, count(*) as cnt from D_VDM group by CID) as g"), 150);
    EXPECT_EQ(count("select count(*) from D_VDM a where not exists (select 1 from D_Tag t where t.CID = a.CID and t.SN = a.SN)"), 0);
    EXPECT_GT(count("select count(*) from D_ADD"), 0);
    // Subgroup numbers come from the per-item counters.
    EXPECT_EQ(count("select count(*) from L_VControlItem c where (select max(SN) from D_VDM a where a.CID = c.CID) <> "
                    "(select KeyValue from S_MKey k where k.MID = c.CID)"), 0);
    // Master identifiers are unique across tables (all drawn from "List").
    EXPECT_EQ(count("select count(*) from (select CID as ID from L_VControlItem union all select CID from L_AControlItem "
                    "union all select ProID from L_Process union all select TagID from L_Tag union all "
                    "select JRID from L_JudgeRule) as ids"),
              count("select count(distinct ID) from (select CID as ID from L_VControlItem union all select CID from L_AControlItem "
                    "union all select ProID from L_Process union all select TagID from L_Tag union all "
                    "select JRID from L_JudgeRule) as ids"));
}
