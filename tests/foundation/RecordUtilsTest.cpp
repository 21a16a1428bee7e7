#include "TestDatabase.h"

#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <gtest/gtest.h>

namespace {
int Count(const QString& table, int cid)
{
    return GetSQLValue(QStringLiteral("select count(*) from %1 where CID = :CID").arg(table), {{"CID", cid}}).toInt();
}

// One variable subgroup (CID, SN) with a value, a tag, an exception, a cause and an action.
void AddVSubgroup(int cid, int sn)
{
    const TSqlParams p{{"CID", cid}, {"SN", sn}};
    ExecuteSQL(QStringLiteral("insert into D_VDM (CID, SN, State) values (:CID, :SN, 1)"), p);
    ExecuteSQL(QStringLiteral("insert into D_VDD (CID, SN, SSN, VResult) values (:CID, :SN, 1, 1.5)"), p);
    ExecuteSQL(QStringLiteral("insert into D_Tag (CID, SN, TagID, TagValueID) values (:CID, :SN, 1, 1)"), p);
    ExecuteSQL(QStringLiteral("insert into D_Exception (CID, SN, JudgeSN, CType) values (:CID, :SN, 1, 1)"), p);
    ExecuteSQL(QStringLiteral("insert into D_Case (CID, SN, CaseID) values (:CID, :SN, 1)"), p);
    ExecuteSQL(QStringLiteral("insert into D_Action (CID, SN, ActionID) values (:CID, :SN, 1)"), p);
}

const QStringList kVTables{"D_Tag", "D_Exception", "D_Case", "D_Action", "D_VDD", "D_VDM"};
} // namespace

TEST(RecordUtils, GetSQLValueNeedsExactlyOneColumn)
{
    TTestDatabase db;
    EXPECT_EQ(GetSQLValue(QStringLiteral("select Ver from S_System")).toString(), QStringLiteral("2"));
    EXPECT_TRUE(GetSQLValue(QStringLiteral("select Ver, Ver from S_System")).isNull());
    EXPECT_TRUE(GetSQLValue(QStringLiteral("select Ver from S_System where 1=0")).isNull());
    EXPECT_EQ(GetSQLString(QStringLiteral("select Name, ID from SP_User where ID = 1")), QStringLiteral("超级用户"));
    EXPECT_EQ(GetSQLString(QStringLiteral("select Name from SP_User where 1=0")), QString());
    EXPECT_THROW(ExecuteSQL(QStringLiteral("update NoSuchTable set X = 1")), EDatabaseError);
    // The scratch query is usable again after a failure.
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from SP_User")).toInt(), 1);
}

TEST(RecordUtils, FormatNumber)
{
    const struct { double value; const char* text; } cases[] = {
        {2.5, "2.5"}, {3.0, "3"}, {0.123456, "0.1235"}, {-0.123456, "-0.1235"}, {0.0, "0"},
        {-0.00001, "0"}, {1234567.0, "1234567"}, {74.00049, "74.0005"}, {-18.25, "-18.25"},
        {0.00005, "0.0001"}, {100.10, "100.1"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value), QString::fromUtf8(c.text)) << c.value;
    EXPECT_EQ(FormatOptionalNumber(NullValue), QString());
    EXPECT_EQ(FormatOptionalNumber(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(FormatOptionalNumber(-999999998.0), QStringLiteral("-999999998"));
}

TEST(RecordUtils, DeleteSubgroupRemovesEverythingThatHangsOnIt)
{
    TTestDatabase db;
    AddVSubgroup(10, 1);
    AddVSubgroup(10, 2);
    DeleteVSubgroup(10, 1);
    for (const QString& t : kVTables) EXPECT_EQ(Count(t, 10), 1) << t.toStdString();
    // A subgroup without dependants deletes just as well; a missing one is no error.
    ExecuteSQL(QStringLiteral("insert into D_ADM (CID, SN) values (20, 1)"));
    DeleteASubgroup(20, 1);
    DeleteASubgroup(20, 99);
    EXPECT_EQ(Count(QStringLiteral("D_ADM"), 20), 0);
}

TEST(RecordUtils, DeletionFailingAtFifthStatementDeletesNothing)
{
    TTestDatabase db;
    AddVSubgroup(10, 1);
    ExecuteSQL(QStringLiteral("drop table D_VDD"));
    try {
        DeleteVSubgroup(10, 1);
        FAIL() << "deletion should fail";
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("值组删除失败！"));
    }
    for (const QString& t : {"D_Tag", "D_Exception", "D_Case", "D_Action", "D_VDM"})
        EXPECT_EQ(Count(t, 10), 1) << t.toStdString();
    EXPECT_FALSE(db.DM().InTransaction());
}

TEST(RecordUtils, DeleteTaskSubgroupsOnlyTouchesTheTasksRows)
{
    TTestDatabase db;
    for (int sn = 1; sn <= 3; ++sn) AddVSubgroup(10, sn);
    AddVSubgroup(11, 1);
    ExecuteSQL(QStringLiteral("insert into m_CTemp (TaskID, CID, SN) values (7, 10, 1)"));
    ExecuteSQL(QStringLiteral("insert into m_CTemp (TaskID, CID, SN) values (7, 10, 3)"));
    ExecuteSQL(QStringLiteral("insert into m_CTemp (TaskID, CID, SN) values (7, 10, 3)"));  // listed twice
    ExecuteSQL(QStringLiteral("insert into m_CTemp (TaskID, CID, SN) values (8, 11, 1)"));  // another task
    DeleteVTaskSubgroups(7);
    for (const QString& t : kVTables) {
        EXPECT_EQ(Count(t, 10), 1) << t.toStdString();
        EXPECT_EQ(Count(t, 11), 1) << t.toStdString();
    }
    EXPECT_EQ(GetSQLValue(QStringLiteral("select SN from D_VDM where CID = 10")).toInt(), 2);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from m_CTemp where TaskID = 7")).toInt(), 3);

    ExecuteSQL(QStringLiteral("insert into D_ADM (CID, SN) values (30, 1)"));
    ExecuteSQL(QStringLiteral("insert into D_ADD (CID, SN, DPID, Defected) values (30, 1, 5, 2)"));
    ExecuteSQL(QStringLiteral("insert into m_CTemp (TaskID, CID, SN) values (9, 30, 1)"));
    DeleteATaskSubgroups(9);
    EXPECT_EQ(Count(QStringLiteral("D_ADM"), 30), 0);
    EXPECT_EQ(Count(QStringLiteral("D_ADD"), 30), 0);
}

TEST(RecordUtils, FoldersAndHelpTopics)
{
    TTestDatabase db;
    SPC_SQLITE_ONLY(db);  // the program folder with its database file
    EXPECT_EQ(GetAppPath(), db.DirPath());
    EXPECT_EQ(GetReportPath(), db.DirPath() + "/Report");
    EXPECT_EQ(GetBackupPath(), db.DirPath() + "/Backup");
    EXPECT_EQ(DefaultDatabasePath(), db.Path());
    EXPECT_EQ(HelpTopicOf(QStringLiteral("VCollectFrm")), QStringLiteral("计量型数据采集.htm"));
    EXPECT_EQ(HelpTopicOf(QStringLiteral("LTagTemplateListFrm")), QStringLiteral("标签模板.htm"));
    EXPECT_EQ(HelpTopicOf(QStringLiteral("NoSuchFrm")), QString());
    EXPECT_TRUE(HelpPagePath(QStringLiteral("NoSuchFrm")).endsWith(QStringLiteral("/index.htm")));
    EXPECT_EQ(NormalizePresetFolder(db.DirPath() + "/missing"), QString());
    EXPECT_EQ(NormalizePresetFolder(db.DirPath()), db.DirPath());
    EXPECT_TRUE(FolderHoldsDatabase(db.DirPath() + "/Data"));
    EXPECT_FALSE(FolderHoldsDatabase(db.DirPath()));
}
