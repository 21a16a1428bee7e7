#include "TestDatabase.h"

#include "foundation/CompanyDM.h"
#include "foundation/DbErrors.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"
#include "foundation/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Connection, MissingOrForeignFileFailsAndCreatesNothing)
{
    QTemporaryDir dir;
    const QString missing = dir.path() + "/Data/MainData.mdb";
    TCompanyDM dm(QStringLiteral("probe"));
    dm.Params.DBQ = missing;
    EXPECT_THROW(dm.ConnectWithFallback(), ESystemError);
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(dm.Connected());

    const QString garbage = dir.path() + "/garbage.mdb";
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    dm.Params.DBQ = garbage;
    EXPECT_THROW(dm.ConnectWithFallback(), ESystemError);
    EXPECT_FALSE(dm.Connected());
}

TEST(Connection, FallbackWithoutCredentialsOpensTheSameDatabase)
{
    TTestDatabase db;
    TCompanyDM dm(QStringLiteral("fallback"));
    dm.Params.DBQ = db.Path();
    dm.ConnectWithFallback();
    EXPECT_TRUE(dm.Connected());
    TCompanyDM::SetCurrent(&dm);
    EXPECT_EQ(GetSQLString(QStringLiteral("select Ver from S_System")), QStringLiteral("2"));
    TCompanyDM::SetCurrent(&db.DM());
}

TEST(Connection, NestedTransactionsFoldIntoTheOutermost)
{
    TTestDatabase db;
    auto count = [] { return GetSQLValue(QStringLiteral("select count(*) from L_Case")).toInt(); };
    {
        TTransactionGuard outer(db.DM());
        {
            TTransactionGuard inner(db.DM());
            ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'a')"));
            inner.Commit();
        }
        EXPECT_TRUE(db.DM().InTransaction());
        // Not committed: the outer guard rolls the inner work back too.
    }
    EXPECT_EQ(count(), 0);
    {
        TTransactionGuard outer(db.DM());
        {
            TTransactionGuard inner(db.DM());
            ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'a')"));
        }  // the inner failure rolls back the whole transaction
        EXPECT_THROW(outer.Commit(), ESystemError);
    }
    EXPECT_EQ(count(), 0);
    EXPECT_FALSE(db.DM().InTransaction());
    {
        TTransactionGuard outer(db.DM());
        ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'a')"));
        outer.Commit();
    }
    EXPECT_EQ(count(), 1);
}

TEST(Connection, DuplicateCodesAreRefusedWithTheSystemsMessage)
{
    TTestDatabase db;
    ExecuteSQL(QStringLiteral("insert into L_Process (ProID, ProCode) values (1, :Code)"), {{"Code", "P'1"}});
    const struct { const char* sql; const char* message; } cases[] = {
        {"insert into L_Process (ProID, ProCode) values (2, 'P''1')", "记录重复(编码或主键)，请检查！"},
        {"insert into L_Process (ProID, ProCode) values (1, 'other')", "记录重复(编码或主键)，请检查！"},
        {"insert into SP_User (ID, Code, Name) values (5, 'x', '超级用户')", "记录重复(编码或主键)，请检查！"},
        {"insert into D_VDD (CID, SN, SSN) values (NULL, 1, 1)", "字段不能为空！"},
    };
    for (const auto& c : cases) {
        try {
            ExecuteSQL(QString::fromUtf8(c.sql));
            ADD_FAILURE() << c.sql;
        } catch (const ESystemError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.message)) << c.sql;
        }
    }
    // A different code with the same name in another list is fine.
    ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'P''1')"));
}

TEST(Settings, RunModeStoreValidatesThenWrites)
{
    QTemporaryDir dir;
    qputenv("QIHENG_SPC_HOME", dir.path().toLocal8Bit());
    TAppSettings s(dir.path() + "/settings.ini");
    // A fresh store gets its defaults written when read.
    EXPECT_EQ(s.RunMode(), 1);
    EXPECT_FALSE(s.RunModeNoDisplay());
    EXPECT_TRUE(s.HasRunModeNoDisplay());
    EXPECT_EQ(s.DBFileNetPath(), QString());
    EXPECT_TRUE(RunModeDialogWanted(s, false));

    auto message = [&](bool network, const QString& folder) {
        try {
            StoreRunMode(s, network, folder, true);
        } catch (const ESystemError& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_EQ(message(true, QStringLiteral("   ")), QStringLiteral("请指定数据库在网络中的存放位置！"));
    EXPECT_EQ(message(true, dir.path()), QStringLiteral("所选择的目录下没有数据库文件！请重新选择正确的目录。"));
    EXPECT_EQ(s.DBQ(), QString());
    EXPECT_EQ(s.RunMode(), 1);

    // Stand-alone writes the program's own path even though no file is there.
    EXPECT_EQ(message(false, QString()), QString());
    EXPECT_EQ(s.DBQ(), dir.path() + "/Data/MainData.mdb");
    EXPECT_TRUE(s.RunModeNoDisplay());
    EXPECT_FALSE(RunModeDialogWanted(s, false));
    EXPECT_TRUE(RunModeDialogWanted(s, true));

    // A network folder typed with trailing spaces is stored as typed.
    const QString share = dir.path() + "/share ";
    QDir().mkpath(share);
    QFile(share + "/MainData.mdb").open(QIODevice::WriteOnly);
    EXPECT_EQ(message(true, share), QString());
    EXPECT_EQ(s.DBQ(), share + "/MainData.mdb");
    EXPECT_EQ(s.DBFileNetPath(), share);
    EXPECT_EQ(s.RunMode(), 2);

    s.SetLastUserName(QStringLiteral("检验员'甲"));
    TAppSettings reread(dir.path() + "/settings.ini");
    EXPECT_EQ(reread.LastUserName(), QStringLiteral("检验员'甲"));
    EXPECT_EQ(reread.DBQ(), share + "/MainData.mdb");
}
