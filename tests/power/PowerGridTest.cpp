#include "TestDatabase.h"
#include "TestHelpers.h"

#include "foundation/RecordUtils.h"
#include "power/PowerGrid.h"
#include "power/PowerGridModel.h"
#include "power/UserPowerDM.h"

#include <gtest/gtest.h>

namespace {
constexpr int B = 1, N = 2, E = 4, D = 8, X = 16, P = 32, G = 64;

int PData(const char* table, const char* owner, int id, int modID)
{
    return GetSQLValue(QStringLiteral("select PData from %1 where %2 = :ID and ModID = :ModID")
                           .arg(QLatin1String(table), QLatin1String(owner)),
                       {{QStringLiteral("ID"), id}, {QStringLiteral("ModID"), modID}}).toInt();
}

// The upgraded module catalogue with a duty 2 and a user 3 who is its member; the grid edits
// module powers, which needs the read-only flag clear.
class PowerGrid : public ::testing::Test {
protected:
    PowerGrid()
    {
        SetPowerReadOnly(false);
        ExecuteSQL("insert into SP_Duty (ID, Code, Name, IsAdmin) values (2, 'd2', '班长', 0)");
        ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (3, 'u3', '张三', '', 0, 0)");
        ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (3, 2)");
        grid.LoadModules();
    }
    ~PowerGrid() override { SetPowerReadOnly(false); }
    int Row(int modID) const { return grid.RowOfModule(modID); }
    int Col(TPowerKind kind) const { return TPowerGrid::ColumnOfKind(kind); }

    TTestDatabase db;
    TUserPowerDM dm{db.DM()};
    TPowerGrid grid{dm};
};
} // namespace

TEST_F(PowerGrid, RowsTakeTheModuleDefinitionOrElseTheirTypes)
{
    ASSERT_EQ(grid.RowCount(), 26);
    ExecuteSQL("update S_Module set PowerDefData = 3 where ID = 1002");
    grid.LoadModules();
    EXPECT_EQ(grid.Row(Row(1001)).PowerDefData, B | N | E | D);
    EXPECT_EQ(grid.Row(Row(1002)).PowerDefData, B | N);
    EXPECT_EQ(grid.Row(Row(3001)).PowerDefData, X | P | G);
    EXPECT_EQ(grid.Row(Row(9002)).PowerDefData, X);
    EXPECT_EQ(TPowerGrid::ColumnTitle(Col(TPowerKind::Design)), QStringLiteral("定制"));
    EXPECT_EQ(TPowerGrid::ColumnTitle(TPowerGrid::ColumnCount - 1), QStringLiteral("打印"));
    grid.SetTypeFilter(3);
    EXPECT_EQ(grid.VisibleRows().size(), 4);
}

TEST_F(PowerGrid, ClicksFollowTheRulesAndTheDefinitions)
{
    grid.LoadDuty(2);
    EXPECT_FALSE(grid.Modified());
    const int r = Row(1001);
    // New sets Browse; Edit adds to it; Browse off clears all three.
    EXPECT_TRUE(grid.ClickCell(r, Col(TPowerKind::New)));
    EXPECT_EQ(grid.Row(r).PowerData, B | N);
    EXPECT_TRUE(grid.ClickCell(r, Col(TPowerKind::Edit)));
    EXPECT_TRUE(grid.ClickCell(r, Col(TPowerKind::Browse)));
    EXPECT_EQ(grid.Row(r).PowerData, 0);
    // A kind the module does not offer is shaded and does not change.
    EXPECT_TRUE(grid.Shaded(r, TPowerKind::Execute));
    EXPECT_FALSE(grid.ClickCell(r, Col(TPowerKind::Execute)));
    EXPECT_FALSE(grid.ClickCell(r, TPowerGrid::ModNameColumn));
    EXPECT_EQ(grid.Row(r).PowerData, 0);
    EXPECT_TRUE(grid.Modified());
    // Selecting a row is no change of rights.
    grid.LoadDuty(2);
    EXPECT_TRUE(grid.ClickCell(r, TPowerGrid::SelectedColumn));
    EXPECT_FALSE(grid.Modified());
}

TEST_F(PowerGrid, GrantButtonSkipsRowsThatCannotTakeTheKind)
{
    ExecuteSQL("update S_Module set PowerDefData = 3 where ID = 1003");  // no 删除
    grid.LoadModules();
    grid.LoadDuty(2);
    EXPECT_FALSE(grid.Grant(TPowerKind::Delete, true));  // nothing selected: springs back
    for (int m : {1001, 1002, 1003}) grid.ClickCell(Row(m), TPowerGrid::SelectedColumn);
    EXPECT_TRUE(grid.Grant(TPowerKind::Delete, true));
    EXPECT_EQ(grid.Row(Row(1001)).PowerData, B | D);
    EXPECT_EQ(grid.Row(Row(1002)).PowerData, B | D);
    EXPECT_EQ(grid.Row(Row(1003)).PowerData, 0);
    EXPECT_FALSE(grid.GrantDown(TPowerKind::Delete));  // 1003 lacks it
    grid.ClickCell(Row(1003), TPowerGrid::SelectedColumn);
    EXPECT_TRUE(grid.GrantDown(TPowerKind::Delete));
    EXPECT_TRUE(grid.GrantDown(TPowerKind::Browse));
    // Hidden rows keep their selection but are not granted to.
    grid.SetTypeFilter(2);
    EXPECT_FALSE(grid.Grant(TPowerKind::Edit, true));
    grid.SetTypeFilter(0);
    EXPECT_EQ(grid.Row(Row(1001)).PowerData, B | D);
    // 全选 / 反选 / 全清 act on the visible rows.
    grid.SetTypeFilter(3);
    grid.SelectAll();
    EXPECT_EQ(grid.Group().Count(), 6);
    grid.InvertSelection();
    EXPECT_EQ(grid.Group().Count(), 2);
    grid.SetTypeFilter(0);
    grid.SelectNone();
    EXPECT_EQ(grid.Group().Count(), 0);
}

TEST_F(PowerGrid, AUserSeesWhatItsDutiesGrantShadedAndCannotChangeIt)
{
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (2, 1001, 5)");  // 浏览 修改
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (3, 1001, 2)");  // 新增
    grid.LoadUser(3);
    const int r = Row(1001);
    EXPECT_EQ(grid.Row(r).DutyPowerData, B | E);
    EXPECT_TRUE(grid.Shown(r, TPowerKind::Edit));
    EXPECT_TRUE(grid.Shown(r, TPowerKind::New));
    EXPECT_TRUE(grid.Shaded(r, TPowerKind::Edit));
    EXPECT_FALSE(grid.Shaded(r, TPowerKind::New));
    EXPECT_FALSE(grid.ClickCell(r, Col(TPowerKind::Edit)));
    EXPECT_FALSE(grid.Modified());
    TPowerGridModel model(grid);
    const QModelIndex edit = model.index(model.ModelRow(r), Col(TPowerKind::Edit));
    EXPECT_EQ(model.data(edit).toString(), QStringLiteral("√"));
    EXPECT_EQ(model.data(edit, Qt::BackgroundRole).value<QColor>(), TPowerGridModel::ShadeColor());
    EXPECT_FALSE(model.data(model.index(model.ModelRow(r), Col(TPowerKind::New)), Qt::BackgroundRole).isValid());

    // An administrator duty grants its members every kind each module offers.
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (3, 1)");
    grid.LoadUser(3);
    EXPECT_EQ(grid.Row(Row(3001)).DutyPowerData, X | P | G);
    EXPECT_EQ(grid.Row(Row(1001)).DutyPowerData, B | N | E | D);
    EXPECT_FALSE(grid.TargetIsAdmin());
    // The administrator duty itself holds everything and is not edited.
    grid.LoadDuty(1);
    EXPECT_TRUE(grid.TargetIsAdmin());
    EXPECT_EQ(grid.Row(r).PowerData, AdminPowerData);
    grid.ClickCell(r, TPowerGrid::SelectedColumn);
    EXPECT_FALSE(grid.Grant(TPowerKind::Browse, false) && grid.Modified());
    EXPECT_FALSE(grid.Modified());
}

TEST_F(PowerGrid, SavingWritesOneRowPerModuleForTheTarget)
{
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (2, 1001, 1)");
    grid.LoadDuty(2);
    grid.Save();  // no change: nothing written
    EXPECT_EQ(GetSQLValue("select count(*) from SP_DutyPower").toInt(), 1);
    grid.ClickCell(Row(1001), Col(TPowerKind::Delete));
    grid.ClickCell(Row(3001), Col(TPowerKind::Print));
    grid.Save();
    EXPECT_FALSE(grid.Modified());
    EXPECT_EQ(GetSQLValue("select count(*) from SP_DutyPower where DutyID = 2").toInt(), grid.RowCount());
    EXPECT_EQ(PData("SP_DutyPower", "DutyID", 2, 1001), B | D);
    EXPECT_EQ(PData("SP_DutyPower", "DutyID", 2, 3001), P);
    EXPECT_EQ(PData("SP_DutyPower", "DutyID", 2, 2001), 0);
    // A user's rights go to SP_UserPower; the duty's rows stay as they are.
    grid.LoadUser(3);
    grid.ClickCell(Row(2001), Col(TPowerKind::Execute));
    grid.Save();
    EXPECT_EQ(PData("SP_UserPower", "UserID", 3, 2001), X);
    EXPECT_EQ(GetSQLValue("select count(*) from SP_UserPower where UserID = 3").toInt(), grid.RowCount());
    EXPECT_EQ(PData("SP_DutyPower", "DutyID", 2, 2001), 0);
    // No target: nothing to save.
    grid.ClickCell(Row(2002), Col(TPowerKind::Execute));
    grid.ClearTarget();
    EXPECT_FALSE(grid.Modified());
}

TEST_F(PowerGrid, ARefusedSaveKeepsTheChanges)
{
    grid.LoadDuty(2);
    grid.ClickCell(Row(2001), Col(TPowerKind::Execute));
    // A second workstation deletes the row this one read, so the modification finds nothing.
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (2, 1001, 1)");
    grid.LoadDuty(2);
    grid.ClickCell(Row(1001), Col(TPowerKind::New));
    ExecuteSQL("delete from SP_DutyPower where DutyID = 2");
    EXPECT_THROW(grid.Save(), EDatabaseError);
    EXPECT_TRUE(grid.Modified());
    EXPECT_EQ(grid.Row(Row(1001)).PowerData, B | N);
    EXPECT_EQ(GetSQLValue("select count(*) from SP_DutyPower").toInt(), 0);
    EXPECT_FALSE(db.DM().InTransaction());
}
