#include "TestDatabase.h"
#include "TestHelpers.h"

#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"
#include "power/LoginCheck.h"
#include "power/PasswordHash.h"
#include "power/UserPowerCommon.h"
#include "power/UserPowerDM.h"
#include "power/UserPowerProvider.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
int Count(const QString& sql, const TSqlParams& params = {})
{
    return GetSQLValue(sql, params).toInt();
}

// Records what the permission window is told; Fail, when set, runs after recording.
struct TRecordingView : TUserPowerView {
    QStringList Calls;
    std::function<void()> Fail;

    static QString Kind(TPowerEntryKind kind) { return kind == TPowerEntryKind::Duty ? "duty" : "user"; }
    void Record(const QString& call)
    {
        Calls << call;
        if (Fail) Fail();
    }
    void PowerEntryAdded(TPowerEntryKind kind, int id, const QString& code, const QString& name,
                         const QString& describe) override
    {
        Record(QStringLiteral("add %1 %2 %3|%4|%5").arg(Kind(kind)).arg(id).arg(code, name, describe));
    }
    void PowerEntryRemoved(TPowerEntryKind kind, int id) override
    {
        Record(QStringLiteral("remove %1 %2").arg(Kind(kind)).arg(id));
    }
    void PowerEntryRenamed(TPowerEntryKind kind, int id, const QString& code, const QString& name) override
    {
        Record(QStringLiteral("rename %1 %2 %3|%4").arg(Kind(kind)).arg(id).arg(code, name));
    }
};

QString LoginMessage(const QString& name, const QString& password, int* userID = nullptr)
{
    TWBUserPower power;
    try {
        CheckLogin(name, password, power);
    } catch (const ESystemError& e) {
        return e.Message();
    }
    if (userID) *userID = power.UserID();
    return QString();
}

// A fresh upgraded database with the data module on it; the logins of the tests leave the rights
// read-only, which the next test must not inherit.
class UserPowerDM : public ::testing::Test {
protected:
    ~UserPowerDM() override { SetPowerReadOnly(false); }
    TTestDatabase db;
    TUserPowerDM dm{db.DM()};
    TRecordingView view;
};
} // namespace

TEST_F(UserPowerDM, UserAndDutyTakeConsecutiveIDsFromOneCounter)
{
    dm.SetView(&view);
    ASSERT_TRUE(dm.AddUser("u1", "张三", "pw", "质检"));
    ASSERT_TRUE(dm.AddDuty("d1", "班长", ""));
    ASSERT_TRUE(dm.AddUser("u2", "李四", "", ""));
    // The counter starts at 1 (the administrator's), so the first new one is 2.
    EXPECT_EQ(view.Calls, QStringList({"add user 2 u1|张三|质检", "add duty 3 d1|班长|", "add user 4 u2|李四|"}));
    EXPECT_EQ(Count("select count(*) from SP_User where ID = 2 and Code = 'u1' and Name = '张三' and Stop = 0 "
                    "and Describe = '质检'"), 1);
    EXPECT_EQ(Count("select count(*) from SP_Duty where ID = 3 and Code = 'd1' and Name = '班长' and Describe is null"), 1);
    EXPECT_EQ(Count("select KeyValue from S_Key where KeyName = 'UserPower'"), 4);
    // The queries show the new rows as stored, with nothing left pending.
    EXPECT_EQ(dm.qryUser().RecordCount(), 3);
    EXPECT_EQ(dm.qryDuty().RecordCount(), 2);
    EXPECT_FALSE(dm.qryUser().UpdatesPending() || dm.qryDuty().UpdatesPending());
    EXPECT_TRUE(db.Messages.Messages.isEmpty());
}

TEST_F(UserPowerDM, CreatedUserLogsInWithExactlyItsPassword)
{
    ASSERT_TRUE(dm.AddUser("u1", "张三", "Pass word", ""));
    ASSERT_TRUE(dm.AddUser("u2", "李四", "", ""));
    const QString stored = GetSQLString("select Password from SP_User where ID = 2");
    EXPECT_TRUE(IsPasswordHash(stored));
    EXPECT_FALSE(stored.contains("Pass word"));
    EXPECT_TRUE(IsPasswordHash(GetSQLString("select Password from SP_User where ID = 3")));
    const struct { const char* name; const char* password; const char* message; } cases[] = {
        {"张三", "Pass word", ""},
        {"张三", "pass word", "密码错误，请重试！"},
        {"张三", "Pass word ", "密码错误，请重试！"},
        {"张三", "", "密码错误，请重试！"},
        {"李四", "", ""},
        {"李四", " ", "密码错误，请重试！"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoginMessage(QString::fromUtf8(c.name), QString::fromUtf8(c.password)), QString::fromUtf8(c.message))
            << c.name << " / " << c.password;

    // A new password replaces the old one; the user's other fields stay.
    EXPECT_TRUE(dm.SetPassword(2, "新密码"));
    EXPECT_EQ(LoginMessage("张三", "新密码"), QString());
    EXPECT_EQ(LoginMessage("张三", "Pass word"), QStringLiteral("密码错误，请重试！"));
    EXPECT_EQ(Count("select count(*) from SP_User where ID = 2 and Code = 'u1' and Stop = 0"), 1);
    EXPECT_TRUE(db.Messages.Messages.isEmpty());
    // A user that no longer exists has no password to change.
    EXPECT_FALSE(dm.SetPassword(99, "x"));
    EXPECT_EQ(db.Messages.Texts(), QStringList({"密码修改失败！"}));
    EXPECT_FALSE(db.DM().InTransaction());
}

TEST_F(UserPowerDM, DeletingADutyRemovesItsMembershipsAndKeepsItsRights)
{
    ASSERT_TRUE(dm.AddDuty("d1", "班长", ""));   // 2
    ASSERT_TRUE(dm.AddUser("u1", "张三", "", ""));  // 3
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (3, 2)");
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (1, 2)");
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (3, 1)");
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (2, 1001, 15)");
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (2, 2001, 16)");
    dm.SetView(&view);

    // Answered No: nothing happens.
    db.Messages.Answers = {TMsgResult::No};
    EXPECT_FALSE(dm.DeleteDuty(2));
    ASSERT_EQ(db.Messages.Messages.size(), 1);
    EXPECT_EQ(db.Messages.Messages[0].Text, QStringLiteral("是否确定删除职务： 班长 "));
    EXPECT_EQ(db.Messages.Messages[0].Caption, QStringLiteral("询问"));
    EXPECT_EQ(db.Messages.Messages[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 2"), 2);
    EXPECT_FALSE(dm.qryDuty().UpdatesPending());

    // An unknown duty: no question, nothing deleted.
    EXPECT_FALSE(dm.DeleteDuty(77));
    EXPECT_EQ(db.Messages.Messages.size(), 1);

    // The window fails while being told: the duty row and the memberships stay, the cached
    // deletion is discarded.
    view.Fail = [] { throw ESystemError("window gone"); };
    EXPECT_FALSE(dm.DeleteDuty(2));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("删除失败！"));
    EXPECT_EQ(Count("select count(*) from SP_Duty where ID = 2"), 1);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 2"), 2);
    EXPECT_TRUE(dm.qryDuty().Locate("ID", 2));
    EXPECT_FALSE(dm.qryDuty().UpdatesPending());
    EXPECT_FALSE(db.DM().InTransaction());

    view.Fail = nullptr;
    view.Calls.clear();
    EXPECT_TRUE(dm.DeleteDuty(2));
    EXPECT_EQ(view.Calls, QStringList({"remove duty 2"}));
    EXPECT_EQ(Count("select count(*) from SP_Duty where ID = 2"), 0);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 2"), 0);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where UserID = 3 and DutyID = 1"), 1);
    EXPECT_EQ(Count("select count(*) from SP_DutyPower where DutyID = 2"), 2);
    EXPECT_FALSE(dm.qryDuty().Locate("ID", 2));

    // A user goes the same way, with its own question.
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (3, 1001, 1)");
    EXPECT_TRUE(dm.DeleteUser(3));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("是否确定删除用户： 张三 "));
    EXPECT_EQ(Count("select count(*) from SP_User where ID = 3"), 0);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where UserID = 3"), 0);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty"), 1);  // the administrator's own membership
    EXPECT_EQ(Count("select count(*) from SP_UserPower where UserID = 3"), 1);
}

TEST_F(UserPowerDM, RenameThatViolatesAUniqueIndexFailsAndShowsTheOldValues)
{
    ASSERT_TRUE(dm.AddUser("u1", "张三", "", ""));  // 2
    ASSERT_TRUE(dm.AddUser("u2", "李四", "", ""));  // 3
    ASSERT_TRUE(dm.AddDuty("d1", "班长", ""));      // 4
    ASSERT_TRUE(dm.AddDuty("d2", "组长", ""));      // 5
    dm.SetView(&view);
    const struct { TPowerEntryKind kind; int id; const char* code; const char* name; const char* oldCode; } cases[] = {
        {TPowerEntryKind::User, 2, "u2", "新名", "u1"},        // SP_User.Code
        {TPowerEntryKind::User, 2, "u9", "李四", "u1"},        // SP_User.Name
        {TPowerEntryKind::User, 3, "admin", "超级用户", "u2"},  // both, against the administrator
        {TPowerEntryKind::Duty, 5, "d1", "新职务", "d2"},      // SP_Duty.Code
    };
    for (const auto& c : cases) {
        db.Messages.Messages.clear();
        const bool duty = c.kind == TPowerEntryKind::Duty;
        const bool done = duty ? dm.RenameDuty(c.id, QString::fromUtf8(c.code), QString::fromUtf8(c.name))
                               : dm.RenameUser(c.id, QString::fromUtf8(c.code), QString::fromUtf8(c.name));
        EXPECT_FALSE(done) << c.code;
        EXPECT_EQ(db.Messages.Texts(), QStringList({"改名失败！"})) << c.code;
        TZCQuery& q = duty ? dm.qryDuty() : dm.qryUser();
        ASSERT_TRUE(q.Locate("ID", c.id));
        EXPECT_EQ(q.FieldByName("Code")->AsString(), QString::fromUtf8(c.oldCode));
        EXPECT_FALSE(q.UpdatesPending());
        EXPECT_EQ(GetSQLString(duty ? "select Code from SP_Duty where ID = :ID" : "select Code from SP_User where ID = :ID",
                               {{"ID", c.id}}),
                  QString::fromUtf8(c.oldCode));
    }
    EXPECT_TRUE(view.Calls.isEmpty());
    EXPECT_FALSE(db.DM().InTransaction());

    // Duty names carry no unique index; a rename to a free code goes through and relabels.
    db.Messages.Messages.clear();
    EXPECT_TRUE(dm.RenameDuty(5, "d3", "班长"));
    EXPECT_TRUE(dm.RenameUser(3, "u3", "王五"));
    EXPECT_FALSE(dm.RenameUser(42, "x", "y"));  // no such user: nothing to do
    EXPECT_EQ(view.Calls, QStringList({"rename duty 5 d3|班长", "rename user 3 u3|王五"}));
    EXPECT_EQ(Count("select count(*) from SP_Duty where ID = 5 and Code = 'd3' and Name = '班长'"), 1);
    EXPECT_EQ(Count("select count(*) from SP_User where ID = 3 and Code = 'u3' and Name = '王五'"), 1);
    EXPECT_TRUE(db.Messages.Messages.isEmpty());
    // The password is not part of a rename.
    EXPECT_EQ(LoginMessage("王五", ""), QString());
}

TEST_F(UserPowerDM, FailedAddShowsItsMessageAndLeavesNoRow)
{
    ASSERT_TRUE(dm.AddUser("u1", "张三", "", ""));
    dm.SetView(&view);
    EXPECT_FALSE(dm.AddUser("u1", "李四", "pw", ""));
    EXPECT_FALSE(dm.AddDuty("admin", "管理", ""));  // the delivered duty's code
    EXPECT_EQ(db.Messages.Texts(), QStringList({"数据保存失败！", "数据保存失败！"}));
    EXPECT_EQ(dm.qryUser().RecordCount(), 2);
    EXPECT_EQ(dm.qryDuty().RecordCount(), 1);
    EXPECT_FALSE(dm.qryUser().UpdatesPending() || dm.qryDuty().UpdatesPending());
    EXPECT_EQ(Count("select count(*) from SP_User"), 2);
    EXPECT_TRUE(view.Calls.isEmpty());
    // The next one succeeds; the numbers the failures drew are not reused.
    EXPECT_TRUE(dm.AddUser("u2", "李四", "pw", ""));
    EXPECT_EQ(Count("select ID from SP_User where Code = 'u2'"), 5);
}

TEST_F(UserPowerDM, WindowIsToldTheReverseWhenTheCommitFails)
{
    dm.SetView(&view);
    // The window's own work rolls the open transaction back, so the commit after it fails.
    view.Fail = [this] { TTransactionGuard nested(db.DM()); };
    EXPECT_FALSE(dm.AddDuty("d1", "班长", ""));
    EXPECT_EQ(view.Calls, QStringList({"add duty 2 d1|班长|", "remove duty 2"}));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("数据保存失败！"));
    EXPECT_EQ(Count("select count(*) from SP_Duty where Code = 'd1'"), 0);
    EXPECT_FALSE(db.DM().InTransaction());

    view.Calls.clear();
    EXPECT_FALSE(dm.RenameUser(1, "root", "管理员"));
    EXPECT_EQ(view.Calls, QStringList({"rename user 1 root|管理员", "rename user 1 admin|超级用户"}));
    EXPECT_EQ(GetSQLString("select Code from SP_User where ID = 1"), QStringLiteral("admin"));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("改名失败！"));

    view.Calls.clear();
    EXPECT_FALSE(dm.DeleteDuty(1));
    EXPECT_EQ(view.Calls.size(), 2);
    EXPECT_EQ(view.Calls.value(1), QStringLiteral("add duty 1 %1|%2|%3")
                                       .arg(GetSQLString("select Code from SP_Duty where ID = 1"),
                                            GetSQLString("select Name from SP_Duty where ID = 1"),
                                            GetSQLString("select Describe from SP_Duty where ID = 1")));
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 1"), 1);
}

TEST_F(UserPowerDM, SecondQueryFailingLeavesNeitherApplied)
{
    TZCQuery& duty = dm.qryDutyPower();
    duty.SetParamValue("DutyID", 1);
    duty.Open();
    duty.AppendRecord({1, 1001, 15});
    TZCQuery& user = dm.qryUserPower();
    user.SetParamValue("UserID", 1);
    user.Open();
    user.AppendRecord({1, 2001, 16});
    user.AppendRecord({1, 2001, 16});  // the same key twice
    try {
        dm.ApplyUpdatesInTransaction({&duty, &user});
        FAIL() << "the duplicate key must fail";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("记录重复(编码或主键)，请检查！"));
        EXPECT_EQ(e.Kind(), TDbErrorKind::Duplicate);
    }
    EXPECT_EQ(Count("select count(*) from SP_DutyPower"), 0);
    EXPECT_EQ(Count("select count(*) from SP_UserPower"), 0);
    EXPECT_FALSE(db.DM().InTransaction());
    // Still pending, so the user can correct and save again.
    EXPECT_EQ(duty.ChangeCount(), 1);
    EXPECT_EQ(user.ChangeCount(), 2);
    user.Last();
    user.Edit();
    user.FieldByName("ModID")->SetAsInteger(2002);
    user.Post();
    EXPECT_TRUE(dm.ApplyUpdatesInTransaction({&duty, &user}));
    EXPECT_EQ(Count("select count(*) from SP_DutyPower where DutyID = 1 and ModID = 1001 and PData = 15"), 1);
    EXPECT_EQ(Count("select count(*) from SP_UserPower where UserID = 1"), 2);

    // A row gone underneath is the engine's condition too.
    user.First();
    user.Edit();
    user.FieldByName("PData")->SetAsInteger(17);
    user.Post();
    ExecuteSQL("delete from SP_UserPower where ModID = 2001");
    try {
        dm.ApplyUpdatesInTransaction({&user});
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("记录已被删除或修改！"));
    }
    // Anything else answers false without a message.
    TQuery plain;
    plain.SetSQL("select * from SP_Duty");
    plain.Open();
    plain.Delete();
    EXPECT_FALSE(dm.ApplyUpdatesInTransaction({&duty, &plain}));
    EXPECT_EQ(Count("select count(*) from SP_Duty"), 1);
    EXPECT_TRUE(db.Messages.Messages.isEmpty());
}

TEST_F(UserPowerDM, EveryQueryWritesThroughItsUpdateObject)
{
    ASSERT_TRUE(dm.AddUser("u1", "张三", "pw", ""));  // 2
    ASSERT_TRUE(dm.AddDuty("d1", "班长", ""));        // 3
    const QString password = GetSQLString("select Password from SP_User where ID = 2");

    dm.qryModuleType().Open();
    ASSERT_TRUE(dm.qryModuleType().Locate("ID", 9));
    dm.qryModuleType().Edit();
    dm.qryModuleType().FieldByName("PowerDefData")->SetAsInteger(48);
    dm.qryModuleType().Post();
    dm.qryModule().Open();
    ASSERT_TRUE(dm.qryModule().Locate("ID", 9002));
    EXPECT_EQ(dm.qryModule().FieldByName("TypePowerDefData")->AsInteger(), 16);
    dm.qryModule().Edit();
    dm.qryModule().FieldByName("PowerDefData")->SetAsInteger(16);
    dm.qryModule().Post();
    dm.qryUser().Open();
    ASSERT_TRUE(dm.qryUser().Locate("ID", 2));
    dm.qryUser().Edit();
    dm.qryUser().FieldByName("Describe")->SetAsString("检验员");
    dm.qryUser().FieldByName("Stop")->SetAsInteger(1);
    dm.qryUser().FieldByName("Password")->SetAsString("plain");  // not written by a modification
    dm.qryUser().Post();
    dm.qryDutyUser().SetParamValue("DutyID", 3);
    dm.qryDutyUser().Open();
    dm.qryDutyUser().AppendRecord({3, 2});
    dm.qryUserDuty().SetParamValue("UserID", 1);
    dm.qryUserDuty().Open();
    dm.qryUserDuty().AppendRecord({1, 3});
    EXPECT_TRUE(dm.ApplyUpdatesInTransaction(
        {&dm.qryModuleType(), &dm.qryModule(), &dm.qryUser(), &dm.qryDutyUser(), &dm.qryUserDuty()}));
    EXPECT_EQ(Count("select PowerDefData from S_ModuleType where ID = 9"), 48);
    EXPECT_EQ(Count("select PowerDefData from S_Module where ID = 9002"), 16);
    EXPECT_EQ(Count("select count(*) from SP_User where ID = 2 and Describe = '检验员' and Stop = 1"), 1);
    EXPECT_EQ(GetSQLString("select Password from SP_User where ID = 2"), password);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 3"), 2);

    // The detail queries read the rows of their parameter only, with the joined names.
    dm.qryDutyUser().Refresh();
    EXPECT_EQ(dm.qryDutyUser().RecordCount(), 2);
    ASSERT_TRUE(dm.qryDutyUser().Locate("UserID", 2));
    EXPECT_EQ(dm.qryDutyUser().FieldByName("Name")->AsString(), QStringLiteral("张三"));
    dm.qryUserDuty().Refresh();
    EXPECT_EQ(dm.qryUserDuty().RecordCount(), 2);
    ASSERT_TRUE(dm.qryUserDuty().Locate("DutyID", 3));
    EXPECT_EQ(dm.qryUserDuty().FieldByName("Code")->AsString(), QStringLiteral("d1"));
    // A membership is removed by its pair of keys only.
    dm.qryUserDuty().Delete();
    EXPECT_TRUE(dm.ApplyUpdatesInTransaction({&dm.qryUserDuty()}));
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where UserID = 1"), 1);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where UserID = 2 and DutyID = 3"), 1);
}

TEST_F(UserPowerDM, NamesWithQuotesSpacesAndChineseNeverMatchAnotherRow)
{
    const struct { const char* code; const char* name; const char* password; } users[] = {
        {"q'1", "O'Neil", "p1"},
        {"q'1 ", "O'Neil ", "p2"},
        {"质'检", "检验员", "p3"},
        {"质'检 ", "检验员 ", "p4"},
        {"' or '1'='1", "' or ''='", "p5"},
    };
    QList<int> ids;
    for (const auto& u : users) {
        ASSERT_TRUE(dm.AddUser(QString::fromUtf8(u.code), QString::fromUtf8(u.name), QString::fromUtf8(u.password), ""))
            << u.name;
        ids << Count("select ID from SP_User where Code = :Code", {{"Code", QString::fromUtf8(u.code)}});
    }
    EXPECT_EQ(ids, QList<int>({2, 3, 4, 5, 6}));
    for (int i = 0; i < static_cast<int>(std::size(users)); ++i) {
        int id = 0;
        EXPECT_EQ(LoginMessage(QString::fromUtf8(users[i].name), QString::fromUtf8(users[i].password), &id), QString())
            << users[i].name;
        EXPECT_EQ(id, ids[i]) << users[i].name;
        const int other = (i + 1) % static_cast<int>(std::size(users));
        EXPECT_EQ(LoginMessage(QString::fromUtf8(users[i].name), QString::fromUtf8(users[other].password)),
                  QStringLiteral("密码错误，请重试！"))
            << users[i].name;
    }
    ASSERT_TRUE(dm.AddDuty("d'1", "班'长", ""));   // 7
    ASSERT_TRUE(dm.AddDuty("d'1 ", "班'长", ""));  // 8: same name, code differs by a space
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (2, 7)");
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (2, 8)");

    // Renaming and deleting one touches that row only; the question shows the name as stored.
    EXPECT_TRUE(dm.RenameUser(3, "q'1  ", "O'Neil  "));
    EXPECT_EQ(GetSQLString("select Name from SP_User where ID = 2"), QStringLiteral("O'Neil"));
    EXPECT_EQ(GetSQLString("select Name from SP_User where ID = 3"), QStringLiteral("O'Neil  "));
    EXPECT_TRUE(dm.DeleteUser(4));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("是否确定删除用户： 检验员 "));
    EXPECT_EQ(Count("select count(*) from SP_User where Name = :N", {{"N", QStringLiteral("检验员 ")}}), 1);
    EXPECT_TRUE(dm.DeleteDuty(8));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("是否确定删除职务： 班'长 "));
    EXPECT_EQ(Count("select count(*) from SP_Duty where Code = :C", {{"C", QStringLiteral("d'1")}}), 1);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where UserID = 2"), 1);
    EXPECT_EQ(Count("select count(*) from SP_User"), 5);
    EXPECT_EQ(LoginMessage("O'Neil", "p1"), QString());
    EXPECT_EQ(LoginMessage("O'Neil  ", "p2"), QString());
}

TEST_F(UserPowerDM, ProviderLoadsAndSavesModulePowersRowByRow)
{
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (1, 1002, 1)");
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (1, 1001, 15)");
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (1, 2001, null)");
    ExecuteSQL("insert into SP_DutyPower (DutyID, ModID, PData) values (2, 1001, 3)");
    TZCQuery& q = dm.qryDutyPower();
    q.SetParamValue("DutyID", 1);
    q.Open();
    TWBAppPowerProvider provider(q);
    TWBDutyPower duty(1);
    provider.Load(duty);
    ASSERT_EQ(duty.Count(), 3);
    EXPECT_EQ(duty.Module(0)->GetKey(), 1001);
    EXPECT_EQ(duty.Module(0)->PowerData(), 15);
    EXPECT_EQ(duty.Module(1)->PowerData(), 1);
    EXPECT_EQ(duty.Module(2)->PowerData(), 0);  // no grant stored
    EXPECT_FALSE(q.UpdatesPending());

    duty.ModulePower(1002)->SetPower(TPowerKind::Edit, true);
    provider.Save(duty);
    EXPECT_EQ(q.ChangeCount(), 2);  // 1002 changed, 2001's NULL becomes 0; 1001 untouched
    EXPECT_TRUE(dm.ApplyUpdatesInTransaction({&q}));
    EXPECT_EQ(Count("select PData from SP_DutyPower where DutyID = 1 and ModID = 1002"), 5);
    EXPECT_EQ(Count("select count(*) from SP_DutyPower where DutyID = 1 and ModID = 2001 and PData = 0"), 1);
    EXPECT_EQ(Count("select PData from SP_DutyPower where DutyID = 2"), 3);

    // A row whose module is not the item's is skipped.
    TWBAppPower shifted;
    shifted.AddModule(1002, 64);
    provider.Save(shifted);
    EXPECT_FALSE(q.UpdatesPending());

    // Loading sets module keys, which the read-only rights refuse.
    SetPowerReadOnly(true);
    TWBAppPower more;
    EXPECT_THROW(provider.Load(more), TUserPowerException);
}

TEST_F(UserPowerDM, NamesMustFitTheirColumnsAndAreRequired)
{
    dm.SetView(&view);
    const QString c30(30, QLatin1Char('c')), c31(31, QLatin1Char('c'));
    const QString n64(64, QChar(0x540D)), n65(65, QChar(0x540D));
    struct {
        const char* why;
        TPowerEntryKind kind;
        QString code, name;
        QString message;  // empty: accepted
    } cases[] = {
        {"empty code", TPowerEntryKind::Duty, "", "班长", "请输入编码！"},
        {"blank name", TPowerEntryKind::Duty, "d1", "   ", "请输入名称！"},
        {"duty code at its width", TPowerEntryKind::Duty, c30, "班长", ""},
        {"duty code one too long", TPowerEntryKind::Duty, c31, "班长", "编码不能超过30个字符！"},
        {"duty name one too long", TPowerEntryKind::Duty, "d2", c31, "名称不能超过30个字符！"},
        {"user code one too long", TPowerEntryKind::User, QString(17, QLatin1Char('u')), "张三", "编码不能超过16个字符！"},
        {"user name at its width", TPowerEntryKind::User, "u1", n64, ""},
        {"user name one too long", TPowerEntryKind::User, "u2", n65, "名称不能超过64个字符！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        db.Messages.Messages.clear();
        view.Calls.clear();
        const bool added = c.kind == TPowerEntryKind::Duty ? dm.AddDuty(c.code, c.name, "")
                                                           : dm.AddUser(c.code, c.name, "", "");
        EXPECT_EQ(added, c.message.isEmpty());
        EXPECT_EQ(db.Messages.LastText(), c.message);
        if (!added) EXPECT_TRUE(view.Calls.isEmpty());
    }
    EXPECT_EQ(Count("select count(*) from SP_Duty"), 2);
    EXPECT_EQ(Count("select count(*) from SP_User"), 2);
    // A rename is held to the same widths and keeps the old names.
    EXPECT_FALSE(dm.RenameDuty(1, "admin", c31));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("名称不能超过30个字符！"));
    EXPECT_FALSE(dm.RenameUser(1, "", "超级用户"));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请输入编码！"));
    EXPECT_EQ(GetSQLString("select Name from SP_Duty where ID = 1"), QStringLiteral("系统管理员"));
    EXPECT_EQ(GetSQLString("select Code from SP_User where ID = 1"), QStringLiteral("admin"));
}

TEST_F(UserPowerDM, TheLoggedInUserAndTheLastAdministratorAreNotDeleted)
{
    // The delivered administrator (1) is also a member of the administrator duty (1).
    ASSERT_TRUE(dm.AddUser("u1", "张三", "", ""));  // 2
    ASSERT_TRUE(dm.AddDuty("d1", "班长", ""));      // 3
    TWBUserPower loggedIn;
    loggedIn.LoadUser(2);
    TWBUserPower::SetCurrent(&loggedIn);
    struct TCurrentAgain {
        ~TCurrentAgain() { TWBUserPower::SetCurrent(nullptr); }
    } again;
    db.Messages.Messages.clear();

    EXPECT_FALSE(dm.DeleteUser(2));
    EXPECT_EQ(db.Messages.Texts(), QStringList({"不能删除当前登录的用户！"}));  // refused without asking
    EXPECT_EQ(dm.AdministratorCount(), 1);
    EXPECT_FALSE(dm.DeleteUser(1));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("系统至少要保留一个管理员！"));
    // The administrator duty is the last one only once no administrator user is left.
    EXPECT_TRUE(dm.DeleteDuty(1));
    EXPECT_EQ(Count("select count(*) from SP_User where ID = 1"), 1);

    // Membership in an administrator duty makes an administrator too.
    ExecuteSQL("update SP_User set IsAdmin = 0 where ID = 1");
    ExecuteSQL("update SP_Duty set IsAdmin = 1 where ID = 3");
    ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (1, 3)");
    EXPECT_EQ(dm.AdministratorCount(), 1);
    db.Messages.Messages.clear();
    EXPECT_FALSE(dm.DeleteDuty(3));
    EXPECT_FALSE(dm.DeleteUser(1));
    EXPECT_EQ(db.Messages.Texts(), QStringList({"系统至少要保留一个管理员！", "系统至少要保留一个管理员！"}));
    // A second administrator frees the first.
    ExecuteSQL("update SP_User set IsAdmin = 1 where ID = 2");
    TWBUserPower::SetCurrent(nullptr);
    EXPECT_TRUE(dm.DeleteUser(1));
    EXPECT_EQ(Count("select count(*) from SP_User"), 1);
}

TEST_F(UserPowerDM, MembershipsThatLeaveNoAdministratorAreRefusedAndStayPending)
{
    TZCQuery& q = dm.qryDutyUser();
    TUserPowerDM::OpenWith(q, "DutyID", 1);
    ASSERT_EQ(q.RecordCount(), 1);
    ExecuteSQL("update SP_User set IsAdmin = 0 where ID = 1");
    q.Delete();
    EXPECT_EQ(MessageOf([&] { dm.ApplyMemberships(q); }), QStringLiteral("系统至少要保留一个管理员！"));
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 1"), 1);
    EXPECT_TRUE(q.UpdatesPending());
    EXPECT_FALSE(db.DM().InTransaction());
    // With another administrator the same change is written.
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (5, 'u5', '王五', '', 0, 1)");
    dm.ApplyMemberships(q);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 1"), 0);
    EXPECT_FALSE(q.UpdatesPending());
}

TEST_F(UserPowerDM, DescriptionIsWrittenOnlyWhenChangedAndWithinItsWidth)
{
    dm.ChangeDescribe(TPowerEntryKind::Duty, 1, "全部权限'含引号'");
    EXPECT_EQ(GetSQLString("select Describe from SP_Duty where ID = 1"), QStringLiteral("全部权限'含引号'"));
    EXPECT_EQ(MessageOf([&] { dm.ChangeDescribe(TPowerEntryKind::User, 1, QString(101, QLatin1Char('x'))); }),
              QStringLiteral("描述不能超过100个字符！"));
    EXPECT_EQ(GetSQLString("select Describe from SP_User where ID = 1"), QStringLiteral("系统管理员"));
    // A refused write leaves the data module showing the stored description.
    dm.qryUser().Open();
    ExecuteSQL("delete from SP_User where ID = 1");
    EXPECT_THROW(dm.ChangeDescribe(TPowerEntryKind::User, 1, "新描述"), EDatabaseError);
    EXPECT_FALSE(dm.qryUser().UpdatesPending());
}
