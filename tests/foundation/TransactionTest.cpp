// Transactions on both engines: after a roll-back nothing more is written until the outermost
// level has ended, and database errors carry the system's message wherever they are raised.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "foundation/CompanyDM.h"
#include "foundation/RecordUtils.h"
#include "foundation/Schema.h"
#include "foundation/SqlQuery.h"

#include <gtest/gtest.h>

namespace {
int CaseCount()
{
    return GetSQLValue(QStringLiteral("select count(*) from L_Case")).toInt();
}

void InsertCase(int id, const char* code)
{
    ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (:ID, :Code)"),
               {{"ID", id}, {"Code", QString::fromLatin1(code)}});
}

// Write, end a level with a roll-back (an inner guard that is not committed, or a statement that
// fails), write again, end the outer guard: nothing of it is stored, every later statement and
// the outer commit raise, and the connection works normally afterwards.
void ExpectRolledBackTransactionWritesNothing(TCompanyDM& dm)
{
    const int before = CaseCount();
    {
        TTransactionGuard outer(dm);
        InsertCase(101, "a");
        {
            TTransactionGuard inner(dm);
            InsertCase(102, "b");
        }
        EXPECT_TRUE(dm.RolledBack());
        EXPECT_EQ(MessageOf([] { InsertCase(103, "c"); }), QStringLiteral("事务已回滚，数据没有保存！"));
        EXPECT_THROW(CaseCount(), EDatabaseError);  // reads too: the caller is told at once
        EXPECT_EQ(MessageOf([&] { outer.Commit(); }), QStringLiteral("事务已回滚，数据没有保存！"));
    }
    EXPECT_EQ(CaseCount(), before);
    {
        TTransactionGuard outer(dm);
        InsertCase(104, "d");
        EXPECT_EQ(MessageOf([] { InsertCase(104, "dd"); }), QStringLiteral("记录重复(编码或主键)，请检查！"));
        EXPECT_THROW(InsertCase(105, "e"), EDatabaseError);
        EXPECT_THROW(outer.Commit(), ESystemError);
    }
    EXPECT_EQ(CaseCount(), before);
    EXPECT_FALSE(dm.InTransaction());
    InsertCase(106, "f");
    EXPECT_EQ(CaseCount(), before + 1);
}

// A cached data set written in a transaction that an earlier statement rolled back stores nothing
// and keeps its change pending.
void ExpectCachedWriteAfterRollbackKeepsChange(TCompanyDM& dm)
{
    TQuery q;
    TUpdateSQL update;
    update.SetInsertSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (:CaseID, :CaseCode)"));
    q.SetUpdateObject(&update);
    q.SetSQL(QStringLiteral("select CaseID, CaseCode from L_Case where CaseID = 200"));
    q.Open();
    q.Append();
    q.FieldByName(QStringLiteral("CaseID"))->SetValue(200);
    q.FieldByName(QStringLiteral("CaseCode"))->SetValue(QStringLiteral("x"));
    q.Post();
    InsertCase(300, "y");
    {
        TTransactionGuard outer(dm);
        EXPECT_THROW(InsertCase(300, "z"), EDatabaseError);
        EXPECT_THROW(q.ApplyUpdates(), EDatabaseError);
    }
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from L_Case where CaseID = 200")).toInt(), 0);
    EXPECT_TRUE(q.UpdatesPending());
    ApplyUpdatesInTransaction({&q}, &dm);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from L_Case where CaseID = 200")).toInt(), 1);
}
} // namespace

TEST(Transaction, RolledBackTransactionWritesNothingOnSQLite)
{
    TTestDatabase db;
    ExpectRolledBackTransactionWritesNothing(db.DM());
    ExpectCachedWriteAfterRollbackKeepsChange(db.DM());
}

TEST(Transaction, RolledBackTransactionWritesNothingOnPostgreSQL)
{
    TPostgresDatabase db;
    SPC_REQUIRE_SERVER(db);
    CreateSchema(db.DM);
    WriteDeliveredContent(db.DM);
    ExpectRolledBackTransactionWritesNothing(db.DM);
    ExpectCachedWriteAfterRollbackKeepsChange(db.DM);
}

// The error table speaks where the error is raised; the engine's text and the statement stay as
// details for whoever needs them (runs on both engines).
TEST(Transaction, DatabaseErrorsCarryTheSystemsMessage)
{
    TTestDatabase db;
    const char* engineWord = db.IsServer() ? "duplicate key" : "UNIQUE";
    InsertCase(1, "a");
    const QString sql = QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'b')");
    try {
        ExecuteSQL(sql);
        ADD_FAILURE() << "duplicate key accepted";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("记录重复(编码或主键)，请检查！"));
        EXPECT_EQ(e.Kind(), TDbErrorKind::Duplicate);
        EXPECT_TRUE(e.EngineText().contains(QLatin1String(engineWord))) << e.EngineText().toStdString();
        EXPECT_EQ(e.Statement(), sql);
        EXPECT_FALSE(QString::fromStdString(e.what()).contains(QLatin1String(engineWord)));
    }
}
