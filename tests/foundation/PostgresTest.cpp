// The foundation on a PostgreSQL server: schema, delivered content, upgrade, key counters,
// deletions and the error table. Runs when QIHENG_SPC_PG_URL names a server database
// (./test starts a private server for it); skipped otherwise.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "foundation/CompanyDM.h"
#include "foundation/DBUpgrade.h"
#include "foundation/DbErrors.h"
#include "foundation/DemoData.h"
#include "foundation/RecordUtils.h"
#include "foundation/Schema.h"

#include <gtest/gtest.h>


TEST(Postgres, DeliveredDatabaseUpgradesAndWorks)
{
    TPostgresDatabase db;
    SPC_REQUIRE_SERVER(db);
    CreateSchema(db.DM);
    WriteDeliveredContent(db.DM);
    UpgradeDatabase();
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("2"));
    EXPECT_EQ(GetSQLString("select Code from S_Module where ID = 3001"), QStringLiteral("TVControlItemAnalysisFrm"));
    WriteDemoContent(db.DM);
    EXPECT_GT(GetSQLValue("select count(*) from D_VDD").toInt(), 1000);
    // Date-times come back as they were written.
    const QDateTime first = VariantToDateTime(GetSQLValue("select min(WDate) from D_VDM"));
    EXPECT_TRUE(first.isValid());
    EXPECT_EQ(first.time().hour(), 8);

    EXPECT_EQ(GetPrimaryKey(QStringLiteral("O'Brien")), 1);
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("O'Brien")), 2);
    EXPECT_EQ(GetModulePrimaryKey(424242), 1);

    const int cid = GetSQLValue("select min(CID) from L_VControlItem").toInt();
    const int sn = GetSQLValue("select min(SN) from D_VDM where CID = :C", {{"C", cid}}).toInt();
    DeleteVSubgroup(cid, sn);
    EXPECT_EQ(GetSQLValue("select count(*) from D_Tag where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt(), 0);
    ExecuteSQL("insert into m_CTemp (TaskID, CID, SN) values (1, :C, :S)", {{"C", cid}, {"S", sn + 1}});
    DeleteVTaskSubgroups(1);
    EXPECT_EQ(GetSQLValue("select count(*) from D_VDD where CID = :C and SN = :S", {{"C", cid}, {"S", sn + 1}}).toInt(), 0);

    // The error table reads PostgreSQL's SQLSTATEs.
    const QString code = GetSQLString("select min(CaseCode) from L_Case");
    try {
        ExecuteSQL("insert into L_Case (CaseID, CaseCode) values (999999, :Code)", {{"Code", code}});
        ADD_FAILURE() << "duplicate accepted";
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("记录重复(编码或主键)，请检查！"));
    }
    // A failing upgrade leaves everything as it was (the transaction is rolled back).
    ExecuteSQL("update S_System set Ver = '1'");
    EXPECT_EQ(MessageOf([] { UpgradeDatabase(); }), QStringLiteral("数据库升级失败！"));
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("1"));
    EXPECT_FALSE(db.DM.InTransaction());
}
