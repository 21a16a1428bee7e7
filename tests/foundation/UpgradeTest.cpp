#include "TestDatabase.h"

#include "foundation/DBUpgrade.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {
// Every row of the tables the upgrade touches, as text, to compare before and after.
QString Snapshot(TCompanyDM& dm)
{
    QString out;
    for (const char* table : {"S_System", "S_ModuleType", "S_Module", "S_Key", "SP_User", "SP_Duty"}) {
        QSqlQuery q = dm.Exec(QStringLiteral("select * from %1 order by 1").arg(QLatin1String(table)));
        out += QLatin1String(table) + QLatin1Char('\n');
        while (q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                out += q.record().fieldName(i) + QLatin1Char('=') + q.value(i).toString() + QLatin1Char(';');
            out += QLatin1Char('\n');
        }
    }
    return out;
}

QString UpgradeMessage()
{
    try {
        UpgradeDatabase();
    } catch (const ESystemError& e) {
        return e.Message();
    }
    return QString();
}
} // namespace

TEST(Upgrade, FromVersionOneRunsEveryStatement)
{
    TTestDatabase db(TTestDatabase::TContent::Delivered);
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("1"));
    EXPECT_EQ(UpgradeStatementsV2().size(), 36);
    UpgradeDatabase();
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("2"));
    EXPECT_EQ(GetSQLString(QStringLiteral("select Code from S_Module where ID = 1001")), QStringLiteral("TLProcessListFrm"));
    EXPECT_EQ(GetSQLString(QStringLiteral("select Code from S_Module where ID = 3004")), QStringLiteral("TAControlItemControlFrm"));
    EXPECT_TRUE(GetSQLValue(QStringLiteral("select Code from S_Module where ID = 9002")).isNull());
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from S_Module")).toInt(), 26);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from S_ModuleType where ID = 4")).toInt(), 0);
    const struct { int id, def; } defs[] = {{1, 15}, {2, 16}, {3, 112}, {9, 16}};
    for (const auto& d : defs)
        EXPECT_EQ(GetSQLValue(QStringLiteral("select PowerDefData from S_ModuleType where ID = :ID"), {{"ID", d.id}}).toInt(), d.def);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select IsAdmin from SP_User where ID = 1")).toInt(), 1);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select IsAdmin from SP_Duty where ID = 1")).toInt(), 1);
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("UserPower")), 2);
}

TEST(Upgrade, FromVersionTwoOrHigherOnlyWritesTheVersion)
{
    TTestDatabase db;  // already upgraded
    const QString before = Snapshot(db.DM());
    UpgradeDatabase();
    EXPECT_EQ(Snapshot(db.DM()), before);
    ExecuteSQL(QStringLiteral("update S_System set Ver = '7'"));
    UpgradeDatabase();
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("2"));
}

TEST(Upgrade, FailureLeavesTheDatabaseAsItWas)
{
    struct TCase {
        const char* name;
        const char* prepare;
    } cases[] = {
        {"version not a number", "update S_System set Ver = 'v1.0'"},
        // Half-upgraded by hand: statement 1 fails because the column exists already.
        {"column already added", "Alter Table S_Module Add Column Code varchar(64)"},
        // Statement 25 collides with an existing group 9 after 24 statements have run.
        {"late statement fails", "insert into S_ModuleType (ID, Name, PowerDefData) values (9, 'x', 0)"},
    };
    for (const auto& c : cases) {
        TTestDatabase db(TTestDatabase::TContent::Delivered);
        ExecuteSQL(QString::fromUtf8(c.prepare));
        const QString before = Snapshot(db.DM());
        EXPECT_EQ(UpgradeMessage(), QStringLiteral("数据库升级失败！")) << c.name;
        EXPECT_EQ(Snapshot(db.DM()), before) << c.name;
        EXPECT_FALSE(db.DM().InTransaction()) << c.name;
        // And it keeps failing the same way.
        EXPECT_EQ(UpgradeMessage(), QStringLiteral("数据库升级失败！")) << c.name;
    }
}
