#include "TestDatabase.h"

#include "foundation/CompanyDM.h"
#include "foundation/DbErrors.h"
#include "foundation/Errors.h"
#include "foundation/ParseSQL.h"
#include "foundation/RecordUtils.h"
#include "foundation/ZCDb.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
QStringList Names(const TParseTable& t)
{
    QStringList names;
    for (const auto& c : t.Columns) names << c.Name;
    return names;
}

TEST(ParseSQL, NextTokenSplitsAtBlanksLineBreaksAndCommas)
{
    const QString text = QStringLiteral("Select a.CID,b.X ,\r\n  Count(TaskID) as N,");
    QStringList tokens;
    int pos = 1;
    for (QString t = NextToken(pos, text); !t.isEmpty(); t = NextToken(pos, text)) tokens << t;
    EXPECT_EQ(tokens, QStringList({"Select", "a.CID", ",", "b.X", ",", "Count(TaskID)", "as", "N", ","}));
    EXPECT_EQ(pos, text.size() + 1);
    pos = 1;
    EXPECT_EQ(NextToken(pos, QStringLiteral("   ")), QString());
    pos = 1;
    EXPECT_EQ(NextToken(pos, QStringLiteral("a\tb")), QStringLiteral("a"));  // a tab separates as well
}

TEST(ParseSQL, TheCauseQueryOfThePointWindow)
{
    const QString select = QStringLiteral(
        "Select a.CID, a.SN, a.CaseID, b.CaseCode, b.CaseName, b.Describe,\r\n"
        "  a.WDate\r\n"
        "from D_Case as a, L_Case as b\r\n"
        "where a.CaseID = b.CaseID and\r\n"
        "      a.CID = :CID and a.SN = :SN");
    const TParseTable t = ParseSelect(select);
    EXPECT_EQ(t.TableName, QStringLiteral("D_Case"));
    EXPECT_EQ(Names(t), QStringList({"CID", "SN", "CaseID", "CaseCode", "CaseName", "Describe", "WDate"}));
    EXPECT_EQ(t.Columns[0].Prefix, QStringLiteral("a."));
    const QStringList exclude{"CaseCode", "CaseName", "Describe"};
    const QStringList keys{"CID", "SN", "CaseID"};
    EXPECT_EQ(BuildInsert(t, exclude), QStringLiteral("Insert into D_Case(CID, SN, CaseID, WDate) Values(:CID, :SN, :CaseID, :WDate)"));
    EXPECT_EQ(BuildUpdate(t, exclude, keys),
              QStringLiteral("Update D_Case Set CID = :CID, SN = :SN, CaseID = :CaseID, WDate = :WDate Where CID = :OLD_CID\r\n"
                             " and SN = :OLD_SN\r\n and CaseID = :OLD_CaseID\r\n"));
    EXPECT_EQ(BuildDelete(t, keys),
              QStringLiteral("Delete From D_Case Where CID = :OLD_CID\r\n and SN = :OLD_SN\r\n and CaseID = :OLD_CaseID\r\n"));
}

TEST(ParseSQL, ColumnListsOfEveryShape)
{
    const struct {
        const char* select;
        QStringList columns;
        const char* table;
    } cases[] = {
        {"select CaseID from L_Case", {"CaseID"}, "L_Case"},
        {"select Count(x) as N, a.ID, a.Name from T a", {"ID", "Name"}, "T"},
        {"select a.ID, Count(x), a.Name from T a", {"ID", "Name"}, "T"},
        {"select a.ID, a.Name, Max(a.V) as M from T a", {"ID", "Name"}, "T"},
        {"select a.ID, Coalesce(a.X, 0) as X, a.Name from T a", {"ID", "Name"}, "T"},
        {"select a.ID as Ident, b.N Nm from T a, U b", {"ID", "N"}, "T"},
        {"SELECT\nID\n,\nName\nFROM\nT\nORDER BY ID", {"ID", "Name"}, "T"},
        // A sub-select column is a function call as far as the list goes.
        {"select b.TagCode, b.TagName, \n  (Select c.TagValue from L_TagValue as c \n   where  a.TagID = c.TagID)\n"
         "  as TagValue\nfrom D_Tag as a, L_Tag as b",
         {"TagCode", "TagName"}, "D_Tag"},
        {"select ID", {"ID"}, ""},
    };
    for (const auto& c : cases) {
        const TParseTable t = ParseSelect(QString::fromUtf8(c.select));
        EXPECT_EQ(Names(t), c.columns) << c.select;
        EXPECT_EQ(t.ColumnCount(), c.columns.size()) << c.select;
        EXPECT_EQ(t.TableName, QString::fromUtf8(c.table)) << c.select;
    }
    const TParseTable aliased = ParseSelect(QStringLiteral("select a.ID as Ident from T a"));
    EXPECT_EQ(aliased.Columns[0].Alias, QStringLiteral("Ident"));
}

TEST(ParseSQL, OneColumnEmptyKeysAndCaseSensitiveExcludes)
{
    const TParseTable one = ParseSelect(QStringLiteral("select CaseID from L_Case"));
    EXPECT_EQ(BuildInsert(one, {}), QStringLiteral("Insert into L_Case(CaseID) Values(:CaseID)"));
    EXPECT_EQ(BuildUpdate(one, {}, {}), QStringLiteral("Update L_Case Set CaseID = :CaseID"));
    EXPECT_EQ(BuildDelete(one, {}), QStringLiteral("Delete From L_Case"));
    EXPECT_EQ(BuildWhere({}), QString());
    const TParseTable two = ParseSelect(QStringLiteral("select CaseID, CaseCode from L_Case"));
    EXPECT_EQ(BuildInsert(two, {"casecode"}), QStringLiteral("Insert into L_Case(CaseID, CaseCode) Values(:CaseID, :CaseCode)"));
    EXPECT_EQ(BuildInsert(two, {"CaseCode"}), QStringLiteral("Insert into L_Case(CaseID) Values(:CaseID)"));
}

TEST(ParseSQL, SelectStarTakesTheFieldsOfTheOpenedQuery)
{
    TTestDatabase db;
    TZCQuery q;
    q.SetSQL(QStringList{"select * from L_Action", "order by ActionCode"});
    q.Open();
    SetupUpdateSQL(q, {}, {"ActionID"});
    TUpdateSQL* u = q.InternalUpdateSQL();
    EXPECT_EQ(u->InsertSQL(), QStringLiteral("Insert into L_Action(ActionID, ActionCode, ActionName, Describe) "
                                             "Values(:ActionID, :ActionCode, :ActionName, :Describe)"));
    EXPECT_EQ(u->ModifySQL(), QStringLiteral("Update L_Action Set ActionID = :ActionID, ActionCode = :ActionCode, "
                                             "ActionName = :ActionName, Describe = :Describe Where ActionID = :OLD_ActionID\r\n"));
    EXPECT_EQ(u->DeleteSQL(), QStringLiteral("Delete From L_Action Where ActionID = :OLD_ActionID\r\n"));
    // The statements work: a new action is written and found again.
    q.AppendRecord({5, "A5", "措施5", "描述"});
    q.ApplyUpdates();
    EXPECT_EQ(GetSQLString("select ActionName from L_Action where ActionID = 5"), QStringLiteral("措施5"));

    // A select with "*" on a query that was never opened has no fields to write.
    TZCQuery never;
    never.setObjectName(QStringLiteral("qryNever"));
    never.SetSQL(QStringLiteral("select * from L_Action"));
    try {
        SetupUpdateSQL(never, {}, {"ActionID"});
        FAIL();
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Query(qryNever)的字段未定义，请先打开"));
    }
}

TEST(ParseSQL, OneRowInsertsBecomeStatementsOfManyRows)
{
    struct TCase {
        const char* SQL;
        const char* TwoRows;  // nullptr: not turned into many rows
        const char* Why;
    };
    const TCase cases[] = {
        {"Insert into L_Action(ActionID, ActionCode) Values(:ActionID, :ActionCode)",
         "Insert into L_Action(ActionID, ActionCode) Values (:r0_0, :r0_1),(:r1_0, :r1_1)", "as derived from a select"},
        {"insert into D_VDD\n(CID, SN)\nvalues\n(:CID, 'a:b', :SN::integer)",
         "insert into D_VDD\n(CID, SN)\nvalues (:r0_0, 'a:b', :r0_1::integer),(:r1_0, 'a:b', :r1_1::integer)",
         "line breaks, a quoted colon and a cast"},
        {"insert into T (A) values (coalesce(:A, 0))", "insert into T (A) values (coalesce(:r0_0, 0)),(coalesce(:r1_0, 0))",
         "a call inside the row"},
        {"insert into T (A) select :A", nullptr, "no values row"},
        {"insert into T (A) values (:A) on conflict do nothing", nullptr, "text after the row"},
        {"insert into T (A) values (:A); delete from T", nullptr, "a second statement"},
        {"insert into T (A) select x from U where y = :Y union values (:A)", nullptr, "a parameter before the row"},
        {"update T set A = :A", nullptr, "not an insert"},
        {"insert into T (A) values (1)", "insert into T (A) values (1),(1)", "no parameters (the save writes it row by row)"},
    };
    for (const TCase& c : cases) {
        const TInsertRows rows = ParseInsertRows(QString::fromUtf8(c.SQL));
        EXPECT_EQ(rows.Valid(), c.TwoRows != nullptr) << c.Why;
        if (c.TwoRows && rows.Valid()) EXPECT_EQ(rows.SQL(2), QString::fromUtf8(c.TwoRows)) << c.Why;
    }
}

// New rows are written many to a statement: more rows than one statement takes, every kind of
// value, among changed and deleted rows; read back, they are the rows saved.
TEST(ParseSQL, RowsSavedManyToAStatementReadBackAsSaved)
{
    TTestDatabase db;
    TZCQuery q;
    q.SetSQL(QStringLiteral("select CID, SN, SSN, VResult, WDate from D_VDD where 1=0"));
    q.Open();
    SetupUpdateSQL(q, {}, {"CID", "SN", "SSN"});
    const QDateTime t0(QDate(2026, 3, 1), QTime(23, 59, 58));
    const int count = 1234;  // several statements and a shorter last one
    for (int i = 1; i <= count; ++i)
        q.AppendRecord({7, i, 1, i % 5 == 0 ? QVariant() : QVariant(i / 8.0), i % 7 == 0 ? QVariant() : QVariant(t0.addSecs(i))});
    q.ApplyUpdates();
    q.CommitUpdates();
    QSqlQuery back = CurrentCompanyDM().Exec(QStringLiteral("select SN, VResult, WDate from D_VDD where CID = 7 order by SN"));
    int n = 0;
    while (back.next()) {
        ++n;
        const int sn = back.value(0).toInt();
        ASSERT_EQ(sn, n);
        EXPECT_EQ(back.value(1).isNull(), sn % 5 == 0) << sn;
        if (sn % 5) EXPECT_EQ(back.value(1).toDouble(), sn / 8.0) << sn;
        EXPECT_EQ(VariantToDateTime(back.value(2)), sn % 7 == 0 ? QDateTime() : t0.addSecs(sn)) << sn;
    }
    EXPECT_EQ(n, count);

    // A duplicate key in the middle of a statement: nothing is stored, the rows stay pending.
    TZCQuery again;
    again.SetSQL(QStringLiteral("select CID, SN, SSN, VResult, WDate from D_VDD where 1=0"));
    again.Open();
    SetupUpdateSQL(again, {}, {"CID", "SN", "SSN"});
    for (int i = 1; i <= 50; ++i) again.AppendRecord({8, i, 1, 1.0, QVariant()});
    again.AppendRecord({7, 3, 1, 1.0, QVariant()});
    for (int i = 51; i <= 80; ++i) again.AppendRecord({8, i, 1, 1.0, QVariant()});
    EXPECT_THROW(again.ApplyUpdates(), EDatabaseError);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from D_VDD where CID = 8")).toInt(), 0);
    EXPECT_TRUE(again.UpdatesPending());
}

TEST(ParseSQL, BadSelectTextKeepsThePreviousStatements)
{
    TZCQuery q;
    q.setObjectName(QStringLiteral("qryCase"));
    q.SetSQL(QStringLiteral("select CaseID from L_Case"));
    SetupUpdateSQL(q, {}, {"CaseID"});
    const QString insert = q.InternalUpdateSQL()->InsertSQL();
    q.SetSQL(QStringLiteral("  \r\n "));
    try {
        SetupUpdateSQL(q, {}, {"CaseID"});
        FAIL();
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Query(qryCase)的SQL为空"));
    }
    q.SetSQL(QStringLiteral("update L_Case set CaseID = 1"));
    try {
        SetupUpdateSQL(q, {}, {"CaseID"});
        FAIL();
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("错误的Select雨句！"));
    }
    EXPECT_EQ(q.InternalUpdateSQL()->InsertSQL(), insert);
    EXPECT_EQ(q.InternalUpdateSQL()->objectName(), QStringLiteral("InternalUpdateSQL"));
    EXPECT_EQ(q.UpdateObject(), q.InternalUpdateSQL());
}

TEST(ZCQuery, CountedActivation)
{
    TTestDatabase db;
    ExecuteSQL("insert into L_Case (CaseID, CaseCode) values (1, 'C1')");
    TZCQuery q;
    q.SetSQL(QStringLiteral("select * from L_Case"));
    int opens = 0;
    q.SetEvent(TDataSetEvent::AfterOpen, TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++opens; }));
    q.Open();
    ExecuteSQL("insert into L_Case (CaseID, CaseCode) values (2, 'C2')");
    q.Open();  // already active: the rows are not read again
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(q.OpenCount(), 2);
    EXPECT_EQ(q.RecordCount(), 1);
    q.Close();
    EXPECT_TRUE(q.Active());  // opened twice, closed once: still open with its rows
    EXPECT_EQ(q.RecordCount(), 1);
    q.Close();
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(q.OpenCount(), 0);
    q.Close();  // a third close does nothing
    EXPECT_EQ(q.OpenCount(), 0);
    q.SetActive(true);
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.OpenCount(), 1);
    // Reading again for a refresh keeps the count.
    q.Open();
    q.Refresh();
    EXPECT_EQ(q.OpenCount(), 2);
    EXPECT_EQ(opens, 3);
}
} // namespace
