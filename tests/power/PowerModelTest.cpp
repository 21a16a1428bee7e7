#include "TestDatabase.h"

#include "foundation/RecordUtils.h"
#include "power/UserPowerCommon.h"

#include <gtest/gtest.h>

namespace {
constexpr int B = 1, N = 2, E = 4, D = 8, X = 16;

struct ReadWrite {
    ReadWrite() { SetPowerReadOnly(false); }
    ~ReadWrite() { SetPowerReadOnly(false); }
};
} // namespace

TEST(PowerModel, RulesBetweenKinds)
{
    ReadWrite rw;
    const struct { int before; TPowerKind kind; bool value; int after; } cases[] = {
        {B | N | E, TPowerKind::Browse, false, 0},
        {0, TPowerKind::Delete, true, B | D},
        {0, TPowerKind::New, true, B | N},
        {B | X, TPowerKind::Browse, false, X},
        {B | N, TPowerKind::New, false, B},
        {0, TPowerKind::Execute, true, X},
        {X, TPowerKind::Design, true, X | 64},
    };
    for (const auto& c : cases) {
        TWBPower p;
        p.PowerData = c.before;
        p.SetPower(c.kind, c.value);
        EXPECT_EQ(p.PowerData, c.after) << c.before << " kind " << int(c.kind);
    }
    TWBPower p;
    p.PowerData = 0x7f;
    EXPECT_FALSE(p.HasPowerIndex(7));
    EXPECT_FALSE(p.HasPowerIndex(-1));
    EXPECT_TRUE(p.HasPowerIndex(6));
    EXPECT_THROW(PowerKindFromIndex(7), TUserPowerException);
    EXPECT_THROW(PowerKindFromName(QStringLiteral("Fly")), TUserPowerException);
    EXPECT_EQ(PowerKindFromName(QStringLiteral("Print")), TPowerKind::Print);
}

TEST(PowerModel, GroupOfThreeModulesEditedAsOne)
{
    ReadWrite rw;
    TWBSubAppPower group;
    group.AddModule(1001, 15);
    group.AddModule(1002, 1);
    group.AddModule(1003, 3);
    EXPECT_EQ(group.GetCommonPower().PowerData, 1);
    group.CommonPower.SetPower(TPowerKind::Edit, true);
    EXPECT_EQ(group.FindModule(1001)->PowerData(), 15);
    EXPECT_EQ(group.FindModule(1002)->PowerData(), 5);
    EXPECT_EQ(group.FindModule(1003)->PowerData(), 7);
    EXPECT_EQ(group.CommonPower.PowerData, 5);
    TWBSubAppPower empty;
    EXPECT_EQ(empty.GetCommonPower().PowerData, 0);
}

TEST(PowerModel, KeyedListsFindByIntegerKeyOnly)
{
    TWBDutyPowerList duties;
    auto duty = std::make_unique<TWBDutyPower>(7);
    duty->AddModule(2001, X);
    duties.Add(std::move(duty));
    EXPECT_EQ(duties.IndexOfInt(7), 0);
    EXPECT_EQ(duties.IndexOfInt(8), -1);
    EXPECT_THROW(duties.IndexOf(TWBIteratorKey()), ESystemError);
    EXPECT_EQ(duties.ModulePower(2001).PowerData, X);
    EXPECT_EQ(duties.ModulePower(2002).PowerData, 0);
    TWBModuleIDCodeMap map;
    map.Add(1001, QStringLiteral("TLProcessListFrm"));
    EXPECT_EQ(map.IDOfCode(QStringLiteral("TLProcessListFrm")), 1001);
    EXPECT_EQ(map.IDOfCode(QStringLiteral("tlprocesslistfrm")), -1);
}

TEST(PowerModel, LoadUserUnitesDirectAndDutyRightsAndIsReadOnly)
{
    TTestDatabase db;
    ReadWrite rw;
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (2, 'u2', '检验员', '', 0, 0)");
    ExecuteSQL("insert into SP_Duty (ID, Code, Name, IsAdmin) values (3, 'd3', '质检', 0)");
    ExecuteSQL("insert into SP_Duty (ID, Code, Name, IsAdmin) values (4, 'd4', '管理', 0)");
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (2, 3)");
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (2, 4)");
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (2, 1001, 2)");
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (3, 1001, 1)");
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (4, 2001, 16)");
    TWBUserPower power;
    power.LoadUser(2);
    EXPECT_FALSE(power.IsAdmin());
    EXPECT_EQ(power.ModulePower(1001).PowerData, B | N);
    EXPECT_EQ(power.ModulePower(2001).PowerData, X);
    EXPECT_EQ(power.ModulePower(3001).PowerData, 0);
    EXPECT_TRUE(power.HasByCode(QStringLiteral("TLProcessListFrm"), TPowerKind::Browse));
    EXPECT_FALSE(power.HasByCode(QStringLiteral("TLProcessListFrm"), TPowerKind::Execute));
    EXPECT_TRUE(power.HasByCode(QStringLiteral("TVCollectFrm"), TPowerKind::Execute));
    EXPECT_EQ(power.ModulePowerByCode(QStringLiteral("NoSuchFrm")).PowerData, 0);
    EXPECT_TRUE(PowerReadOnly());
    try {
        power.UserPowers.Module(0)->Power.SetPower(TPowerKind::Edit, true);
        FAIL();
    } catch (const TUserPowerException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("错误，对象在只读状态下！"));
    }
    EXPECT_THROW(power.UserPowers.Module(0)->SetKey(9), TUserPowerException);

    // The administrator passes every test without any rows.
    TWBUserPower admin;
    admin.LoadUser(1);
    EXPECT_TRUE(admin.IsAdmin());
    EXPECT_EQ(admin.ModulePower(9002).PowerData, 65535);
    EXPECT_TRUE(admin.HasByCode(QStringLiteral("NoSuchFrm"), TPowerKind::Design));

    // So does a member of an administrator duty, whatever rows the duty stores: the permission
    // window shows such a member every right as granted.
    ExecuteSQL("update SP_Duty set IsAdmin = 1 where ID = 4");
    power.LoadUser(2);
    EXPECT_TRUE(power.IsAdmin());
    EXPECT_TRUE(power.Has(3001, TPowerKind::Print));
    EXPECT_TRUE(power.Has(9002, TPowerKind::Execute));
}
