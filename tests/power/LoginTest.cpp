#include "TestDatabase.h"

#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"
#include "foundation/Settings.h"
#include "power/LoginCheck.h"
#include "power/PasswordHash.h"
#include "power/UserPowerCommon.h"

#include <gtest/gtest.h>

namespace {
QString LoginMessage(const QString& name, const QString& password, TWBUserPower& power)
{
    try {
        CheckLogin(name, password, power);
    } catch (const ESystemError& e) {
        return e.Message();
    }
    return QString();
}
} // namespace

TEST(Login, OutcomesAndMessages)
{
    TTestDatabase db;
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (2, 'u2', :Name, :Pw, 0, 0)",
               {{"Name", "O'Neil"}, {"Pw", HashPassword("s3cret")}});
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (3, 'u3', '检验员', :Pw, 1, 0)",
               {{"Pw", HashPassword("")}});
    const struct { const char* name; const char* password; const char* message; } cases[] = {
        {"   ", "x", "请输入用户名！"},
        {"超级用户", "", ""},                         // delivered admin, empty password
        {"超级用户", "x", "密码错误，请重试！"},
        {"O'Neil", "s3cret", ""},                     // a quote in the name is just a character
        {"O'Neil", "S3cret", "密码错误，请重试！"},   // case-sensitive
        {"O'Neil ", "s3cret", "密码错误，请重试！"},  // looked up with the trailing space
        {"' or '1'='1", "", "用户名不存在！"},
        {"nobody", "", "用户名不存在！"},
        {"nobody", "pw", "密码错误，请重试！"},
        {"检验员", "", ""},                           // stopped users still log in
    };
    for (const auto& c : cases) {
        TWBUserPower power;
        EXPECT_EQ(LoginMessage(QString::fromUtf8(c.name), QString::fromUtf8(c.password), power), QString::fromUtf8(c.message))
            << c.name << " / " << c.password;
    }
    TWBUserPower power;
    CheckLogin(QStringLiteral("O'Neil"), QStringLiteral("s3cret"), power);
    EXPECT_EQ(power.UserID(), 2);
    EXPECT_FALSE(power.IsAdmin());
    SetPowerReadOnly(false);
}

TEST(Login, PlainTextPasswordIsReplacedByItsHashAtFirstUse)
{
    TTestDatabase db;
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (2, 'u2', '班长', 'abc', 0, 1)");
    TWBUserPower power;
    EXPECT_EQ(LoginMessage(QStringLiteral("班长"), QStringLiteral("abd"), power), QStringLiteral("密码错误，请重试！"));
    EXPECT_EQ(GetSQLString("select Password from SP_User where ID = 2"), QStringLiteral("abc"));
    EXPECT_EQ(LoginMessage(QStringLiteral("班长"), QStringLiteral("abc"), power), QString());
    const QString stored = GetSQLString("select Password from SP_User where ID = 2");
    EXPECT_TRUE(IsPasswordHash(stored));
    EXPECT_FALSE(stored.contains(QStringLiteral("abc")));
    EXPECT_EQ(LoginMessage(QStringLiteral("班长"), QStringLiteral("abc"), power), QString());
    EXPECT_EQ(LoginMessage(QStringLiteral("班长"), stored, power), QStringLiteral("密码错误，请重试！"));
    // The delivered administrator's empty password becomes a hash of the empty text.
    EXPECT_EQ(LoginMessage(QStringLiteral("超级用户"), QString(), power), QString());
    EXPECT_TRUE(IsPasswordHash(GetSQLString("select Password from SP_User where ID = 1")));
    EXPECT_EQ(LoginMessage(QStringLiteral("超级用户"), QString(), power), QString());
}

TEST(Login, HashesAreSaltedAndFollowTheStandard)
{
    EXPECT_NE(HashPassword("pw"), HashPassword("pw"));
    EXPECT_TRUE(VerifyPassword("pw", HashPassword("pw")));
    EXPECT_FALSE(VerifyPassword("pw ", HashPassword("pw")));
    // RFC 7914 test vector for PBKDF2-HMAC-SHA256.
    EXPECT_EQ(Pbkdf2Sha256("passwd", "salt", 1, 64).toHex(),
              QByteArray("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
                         "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"));
}

TEST(Login, RemembersTheLastName)
{
    TTestDatabase db;
    TAppSettings settings;
    EXPECT_EQ(LoginInitialName(settings), QStringLiteral("超级用户"));
    EXPECT_TRUE(settings.Contains(QStringLiteral("LastUserName")));
    EXPECT_EQ(LoginInitialName(settings), QString());
    RememberLoginName(settings, QStringLiteral("检验员 "));
    TAppSettings again;
    EXPECT_EQ(LoginInitialName(again), QStringLiteral("检验员 "));
}
