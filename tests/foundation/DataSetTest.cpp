#include "TestDatabase.h"

#include "foundation/DbErrors.h"
#include "foundation/Errors.h"
#include "foundation/ParseSQL.h"
#include "foundation/RecordUtils.h"
#include "foundation/ZCDb.h"

#include <gtest/gtest.h>

namespace {
// Causes 1..3 and, for subgroup (10, 1), the causes 1 and 2.
void AddCauses()
{
    for (int id = 1; id <= 3; ++id)
        ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode, CaseName, Describe) values (:ID, :C, :N, :D)"),
                   {{"ID", id}, {"C", QStringLiteral("C%1").arg(id)}, {"N", QStringLiteral("原因%1").arg(id)},
                    {"D", QStringLiteral("描述%1").arg(id)}});
    ExecuteSQL(QStringLiteral("insert into D_Case (CID, SN, CaseID, WDate) values (10, 1, 1, '2026-01-02 08:00:00')"));
    ExecuteSQL(QStringLiteral("insert into D_Case (CID, SN, CaseID) values (10, 1, 2)"));
}

const QStringList kCauseSelect{
    "Select a.CID, a.SN, a.CaseID, b.CaseCode, b.CaseName, b.Describe,",
    "  a.WDate",
    "from D_Case as a, L_Case as b",
    "where a.CaseID = b.CaseID and",
    "      a.CID = :CID and a.SN = :SN",
    "order by a.CaseID",
};

// The cause query of the point window, opened on subgroup (10, 1) with its write statements.
void OpenCauses(TZCQuery& q)
{
    q.setObjectName(QStringLiteral("qryCase"));
    q.SetSQL(kCauseSelect);
    q.SetParamValue(QStringLiteral("CID"), 10);
    q.SetParamValue(QStringLiteral("SN"), 1);
    q.Open();
    SetupUpdateSQL(q, {"CaseCode", "CaseName", "Describe"}, {"CID", "SN", "CaseID"});
}

QList<int> StoredCauses(int cid = 10, int sn = 1)
{
    QList<int> ids;
    QSqlQuery q = TCompanyDM::Current()->Exec(
        QStringLiteral("select CaseID from D_Case where CID = :CID and SN = :SN order by CaseID"), {{"CID", cid}, {"SN", sn}});
    while (q.next()) ids << q.value(0).toInt();
    return ids;
}

QList<int> Column(TDataSet& ds, const QString& field)
{
    QList<int> values;
    for (int row = 0; row < ds.RecordCount(); ++row)
        values << VariantToInt(ds.RowValue(row, ds.FieldByName(field)->Index()));
    return values;
}

// The working rows of a collection window: CID, SGNo, No, Data.
void DefineValueRows(TMemTable& t)
{
    t.AddFieldDef(QStringLiteral("CID"), TFieldType::Integer);
    t.AddFieldDef(QStringLiteral("SGNo"), TFieldType::Integer);
    t.AddFieldDef(QStringLiteral("No"), TFieldType::Integer);
    t.AddFieldDef(QStringLiteral("Data"), TFieldType::Float);
    t.AddFieldDef(QStringLiteral("Name"), TFieldType::String, 5);
    t.CreateDataSet();
}

struct TEventLog {
    QStringList Events;
    void Hook(TDataSet& ds)
    {
        for (int i = 0; i < DataSetEventCount; ++i) {
            const auto e = static_cast<TDataSetEvent>(i);
            ds.SetEvent(e, TDataSetNotifyEvent::FromCallable([this, e](TDataSet*) { Events << DataSetEventName(e); }));
        }
    }
};
} // namespace

TEST(DataSet, OpensFieldsAndWalksTheCursor)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    OpenCauses(q);
    ASSERT_EQ(q.FieldCount(), 7);
    EXPECT_EQ(q.FieldNames(), QStringList({"CID", "SN", "CaseID", "CaseCode", "CaseName", "Describe", "WDate"}));
    EXPECT_EQ(q.FieldByName(QStringLiteral("caseid")), q.Fields(2));  // names ignore case
    EXPECT_EQ(q.FindField(QStringLiteral("Nope")), nullptr);
    try {
        q.FieldByName(QStringLiteral("Nope"));
        FAIL();
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("数据集qryCase没有字段Nope"));
    }
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_TRUE(q.Bof());
    EXPECT_FALSE(q.Eof());
    EXPECT_EQ(q.RecNo(), 1);
    EXPECT_EQ(q.FieldByName("CaseCode")->AsString(), QStringLiteral("C1"));
    EXPECT_EQ(q.FieldByName("WDate")->AsDateTime(), QDateTime(QDate(2026, 1, 2), QTime(8, 0)));
    q.Next();
    EXPECT_EQ(q.FieldByName("CaseID")->AsInteger(), 2);
    EXPECT_TRUE(q.FieldByName("WDate")->IsNull());
    EXPECT_EQ(q.FieldByName("WDate")->AsInteger(), NullValue);
    q.Next();
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.RecNo(), 2);
    q.Prior();
    q.Prior();
    EXPECT_TRUE(q.Bof());
    EXPECT_EQ(q.RecNo(), 1);
    q.Last();
    EXPECT_EQ(q.RecNo(), 2);
    EXPECT_TRUE(q.Locate(QStringLiteral("CID;CaseID"), QVariantList{10, 1}));
    EXPECT_EQ(q.RecNo(), 1);
    EXPECT_FALSE(q.Locate(QStringLiteral("CaseID"), 3));
    EXPECT_EQ(q.RecNo(), 1);
    EXPECT_TRUE(q.Locate(QStringLiteral("CaseCode"), QStringLiteral("c2"), true));
    EXPECT_EQ(q.Lookup(QStringLiteral("CaseID"), 1, QStringLiteral("CaseName")).toString(), QStringLiteral("原因1"));
    EXPECT_EQ(q.RecNo(), 2);  // Lookup does not move

    // Parameters follow their values; no row gives Bof and Eof together.
    q.Close();
    q.SetParamValue(QStringLiteral("SN"), 2);
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.Bof() && q.Eof());
    EXPECT_EQ(q.RecNo(), -1);
    EXPECT_TRUE(q.FieldByName("CaseID")->IsNull());
}

TEST(DataSet, RoundTripOfInsertModifyDeleteThroughOldParameters)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    OpenCauses(q);
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
    // Cause 1 becomes 3 (its key changes), cause 2 goes, a new cause 1 comes.
    ASSERT_TRUE(q.Locate("CaseID", 1));
    q.Edit();
    q.FieldByName("CaseID")->SetAsInteger(3);
    q.FieldByName("WDate")->SetAsDateTime(when);
    EXPECT_EQ(q.FieldByName("CaseID")->OldValue().toInt(), 1);
    q.Post();
    EXPECT_EQ(q.UpdateStatus(), TUpdateStatus::Modified);
    EXPECT_EQ(q.FieldByName("CaseID")->OldValue().toInt(), 1);
    ASSERT_TRUE(q.Locate("CaseID", 2));
    q.Delete();
    q.Append();
    EXPECT_EQ(q.State(), TDataSetState::Insert);
    q.FieldByName("CID")->SetAsInteger(10);
    q.FieldByName("SN")->SetAsInteger(1);
    q.FieldByName("CaseID")->SetAsInteger(1);
    q.FieldByName("CaseCode")->SetAsString(QStringLiteral("not written"));
    q.Post();
    EXPECT_EQ(q.UpdateStatus(), TUpdateStatus::Inserted);
    EXPECT_EQ(q.ChangeCount(), 3);
    EXPECT_EQ(StoredCauses(), QList<int>({1, 2}));  // nothing written yet

    {
        TTransactionGuard guard(db.DM());
        q.ApplyUpdates();
        EXPECT_TRUE(q.UpdatesPending());  // pending until the commit
        guard.Commit();
    }
    EXPECT_FALSE(q.UpdatesPending());
    EXPECT_EQ(StoredCauses(), QList<int>({1, 3}));
    EXPECT_EQ(GetSQLString("select WDate from D_Case where CID = 10 and SN = 1 and CaseID = 3"),
              QStringLiteral("2026-03-04 05:06:07"));
    EXPECT_EQ(GetSQLValue("select count(*) from D_Case where WDate is null").toInt(), 1);

    // The written rows are the rows as read now: a second round addresses them by their new keys.
    ASSERT_TRUE(q.Locate("CaseID", 3));
    q.Edit();
    q.FieldByName("CaseID")->SetAsInteger(2);
    q.FieldByName("WDate")->SetAsInteger(NullValue);  // no value: written as NULL
    q.Post();
    q.ApplyUpdates();  // outside a transaction: a transaction of its own
    EXPECT_FALSE(q.UpdatesPending());
    EXPECT_EQ(StoredCauses(), QList<int>({1, 2}));
    EXPECT_EQ(GetSQLValue("select count(*) from D_Case where WDate is null").toInt(), 2);
}

TEST(DataSet, FailedApplyRollsBackAndKeepsEverythingPending)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    OpenCauses(q);
    ASSERT_TRUE(q.Locate("CaseID", 2));
    q.Delete();
    q.AppendRecord({10, 1, 3});
    q.AppendRecord({10, 1, 1});  // the key of a stored row
    ASSERT_EQ(q.ChangeCount(), 3);
    try {
        TTransactionGuard guard(db.DM());
        q.ApplyUpdates();
        guard.Commit();
        FAIL() << "the duplicate key must fail";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("记录重复(编码或主键)，请检查！"));
    }
    EXPECT_FALSE(db.DM().InTransaction());
    EXPECT_EQ(StoredCauses(), QList<int>({1, 2}));  // the deletion and first insert were rolled back
    EXPECT_EQ(q.ChangeCount(), 3);
    EXPECT_EQ(Column(q, "CaseID"), QList<int>({1, 3, 1}));

    // The user corrects the row and saves again.
    q.Last();
    q.Edit();
    q.FieldByName("CaseID")->SetAsInteger(4);
    q.Post();
    ApplyUpdatesInTransaction({&q});
    EXPECT_FALSE(q.UpdatesPending());
    EXPECT_EQ(StoredCauses(), QList<int>({1, 3, 4}));
}

TEST(DataSet, RowChangedUnderneathIsNotFoundAndNothingIsWritten)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    OpenCauses(q);
    q.AppendRecord({10, 1, 3});
    ASSERT_TRUE(q.Locate("CaseID", 2));
    q.Edit();
    q.FieldByName("WDate")->SetAsDateTime(QDateTime(QDate(2026, 5, 5), QTime(1, 2)));
    q.Post();
    // Another workstation deletes the row meanwhile.
    auto other = db.OpenSecondConnection(QStringLiteral("other"));
    other->Exec(QStringLiteral("delete from D_Case where CaseID = 2"));
    try {
        ApplyUpdatesInTransaction({&q});
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Kind(), TDbErrorKind::RecordNotFound);
        EXPECT_EQ(e.Message(), QStringLiteral("记录已被删除或修改！"));
    }
    EXPECT_EQ(StoredCauses(), QList<int>({1}));
    EXPECT_EQ(q.ChangeCount(), 2);
}

TEST(DataSet, SecondDataSetFailingLeavesTheFirstUnwrittenAndPending)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery causes;
    OpenCauses(causes);
    causes.AppendRecord({10, 1, 3});
    TZCQuery actions;
    actions.SetSQL(QStringLiteral("select * from D_Action where 1=0"));
    actions.Open();
    SetupUpdateSQL(actions, {}, {"CID", "SN", "ActionID"});
    actions.AppendRecord({10, 1, 7});
    actions.AppendRecord({10, 1, 7});
    EXPECT_THROW(ApplyUpdatesInTransaction({&causes, &actions}), EDatabaseError);
    EXPECT_EQ(StoredCauses(), QList<int>({1, 2}));
    EXPECT_EQ(GetSQLValue("select count(*) from D_Action").toInt(), 0);
    EXPECT_TRUE(causes.UpdatesPending());
    EXPECT_EQ(actions.ChangeCount(), 2);
    // Applied twice inside one transaction, a row is written once.
    actions.Last();
    actions.Delete();
    {
        TTransactionGuard guard(db.DM());
        causes.ApplyUpdates();
        causes.ApplyUpdates();
        actions.ApplyUpdates();
        guard.Commit();
    }
    EXPECT_EQ(StoredCauses(), QList<int>({1, 2, 3}));
    EXPECT_FALSE(causes.UpdatesPending() || actions.UpdatesPending());
}

TEST(DataSet, EditPostCancelAndCancelUpdates)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    OpenCauses(q);
    // A post that changes nothing leaves nothing pending.
    q.Edit();
    q.FieldByName("CaseCode")->SetAsString(QStringLiteral("C1"));
    EXPECT_TRUE(q.Modified());
    q.Post();
    EXPECT_FALSE(q.UpdatesPending());
    // Cancel restores the row; a cancelled append leaves no row.
    q.Edit();
    q.FieldByName("CaseCode")->SetAsString(QStringLiteral("X"));
    q.Cancel();
    EXPECT_EQ(q.FieldByName("CaseCode")->AsString(), QStringLiteral("C1"));
    q.Append();
    EXPECT_EQ(q.RecordCount(), 3);
    q.Cancel();
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_FALSE(q.UpdatesPending());
    // Fields are written in edit or insert state only.
    EXPECT_THROW(q.FieldByName("CaseCode")->SetAsString(QStringLiteral("X")), ESystemError);
    // Navigation posts the row being edited.
    q.First();
    q.Edit();
    q.FieldByName("CaseName")->SetAsString(QStringLiteral("改"));
    q.Next();
    EXPECT_EQ(q.State(), TDataSetState::Browse);
    EXPECT_EQ(q.ChangeCount(), 1);

    // CancelUpdates puts every row back as read, deleted rows in their places.
    q.Insert();  // before row 2
    q.FieldByName("CaseID")->SetAsInteger(9);
    q.Post();
    q.Last();
    q.Delete();
    EXPECT_EQ(Column(q, "CaseID"), QList<int>({1, 9}));
    q.CancelUpdates();
    EXPECT_EQ(Column(q, "CaseID"), QList<int>({1, 2}));
    q.First();
    EXPECT_EQ(q.FieldByName("CaseName")->AsString(), QStringLiteral("原因1"));
    EXPECT_FALSE(q.UpdatesPending());
    // Deleting every row from the first, as the windows empty a list.
    q.First();
    while (!q.Eof()) q.Delete();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_EQ(q.ChangeCount(), 2);
    EXPECT_THROW(q.Delete(), ESystemError);
}

TEST(DataSet, UpdateStatementsNeedFieldsForTheirParameters)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    OpenCauses(q);
    q.InternalUpdateSQL()->SetInsertSQL(QStringLiteral("insert into D_Case (CID, SN, CaseID) values (:CID, :SN, :Nope)"));
    q.AppendRecord({10, 1, 5});
    try {
        q.ApplyUpdates();
        FAIL();
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("更新语句的参数Nope没有对应的字段"));
    }
    TQuery plain;
    plain.setObjectName(QStringLiteral("qryPlain"));
    plain.SetSQL(QStringLiteral("select * from L_Case"));
    plain.Open();
    plain.First();
    plain.Delete();
    try {
        plain.ApplyUpdates();
        FAIL();
    } catch (const ESystemError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("数据集qryPlain没有更新语句，不能保存"));
    }
}

TEST(DataSet, ModificationFindingSeveralRowsIsRefused)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    q.SetSQL(QStringLiteral("select * from L_Case"));
    q.Open();
    SetupUpdateSQL(q, {}, {});  // no key: the modification would touch every row
    q.Edit();
    q.FieldByName("CaseName")->SetAsString(QStringLiteral("全部"));
    q.Post();
    EXPECT_THROW(q.ApplyUpdates(), EDatabaseError);
    EXPECT_EQ(GetSQLValue("select count(*) from L_Case where CaseName = '全部'").toInt(), 0);
}

TEST(DataSet, EventsInTheirOrder)
{
    TTestDatabase db;
    AddCauses();
    TZCQuery q;
    q.SetSQL(kCauseSelect);
    q.SetParamValue("CID", 10);
    q.SetParamValue("SN", 1);
    TEventLog log;
    log.Hook(q);
    q.Open();
    EXPECT_EQ(log.Events, QStringList({"BeforeOpen", "AfterOpen", "AfterScroll"}));
    const struct {
        std::function<void()> action;
        QStringList events;
    } cases[] = {
        {[&] { q.Next(); }, {"BeforeScroll", "AfterScroll"}},
        {[&] { q.Append(); }, {"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}},
        {[&] { q.Cancel(); }, {"BeforeCancel", "BeforeScroll", "AfterCancel", "AfterScroll"}},
        {[&] { q.Edit(); }, {"BeforeEdit", "AfterEdit"}},
        {[&] { q.First(); }, {"BeforePost", "AfterPost", "BeforeScroll", "AfterScroll"}},
        {[&] { q.Delete(); }, {"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}},
        {[&] { q.Close(); }, {"BeforeClose", "AfterClose"}},
    };
    for (const auto& c : cases) {
        log.Events.clear();
        c.action();
        EXPECT_EQ(log.Events, c.events) << c.events.join(' ').toStdString();
    }
}

TEST(DataSet, NewRecordDefaultsAndAbortedPost)
{
    TMemTable t;
    DefineValueRows(t);
    t.SetEvent(TDataSetEvent::OnNewRecord, TDataSetNotifyEvent::FromCallable([](TDataSet* ds) {
        ds->FieldByName("CID")->SetAsInteger(7);
    }));
    t.SetEvent(TDataSetEvent::BeforePost, TDataSetNotifyEvent::FromCallable([](TDataSet* ds) {
        if (ds->FieldByName("No")->IsNull()) RaiseError(QStringLiteral("序号不能为空"));
    }));
    t.Append();
    EXPECT_EQ(t.FieldByName("CID")->AsInteger(), 7);
    EXPECT_FALSE(t.Modified());  // defaults are not the user's input
    EXPECT_THROW(t.Post(), ESystemError);
    EXPECT_EQ(t.State(), TDataSetState::Insert);  // the row stays in entry
    t.FieldByName("No")->SetAsInteger(1);
    t.Post();
    EXPECT_EQ(t.RecordCount(), 1);
    EXPECT_FALSE(t.UpdatesPending());  // rows of a memory table are final
}

TEST(DataSet, MemoryTableConvertsToItsFieldTypes)
{
    TMemTable t;
    DefineValueRows(t);
    t.Append();
    t.FieldByName("Data")->SetValue(QStringLiteral(" 74.25 "));
    EXPECT_EQ(t.FieldByName("Data")->Value().metaType().id(), QMetaType::Double);
    t.FieldByName("Name")->SetAsString(QStringLiteral("一二三四五六七"));
    EXPECT_EQ(t.FieldByName("Name")->AsString(), QStringLiteral("一二三四五"));  // cut to its size
    t.FieldByName("No")->SetValue(QStringLiteral("3"));
    EXPECT_EQ(t.FieldByName("No")->AsInteger(), 3);
    const struct {
        const char* field;
        QVariant value;
        const char* message;
    } bad[] = {
        {"No", QStringLiteral("abc"), "请输入正确的数值！"},
        {"No", 2.5, "请输入正确的数值！"},
        {"Data", QStringLiteral("1,5x"), "请输入正确的数值！"},
    };
    for (const auto& b : bad) {
        try {
            t.FieldByName(b.field)->SetValue(b.value);
            ADD_FAILURE() << b.field;
        } catch (const ESystemError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(b.message));
        }
    }
    EXPECT_EQ(t.FieldByName("No")->AsInteger(), 3);  // a refused value leaves the field as it was
    t.FieldByName("Data")->SetValue(QString());
    EXPECT_TRUE(t.FieldByName("Data")->IsNull());
    t.FieldByName("No")->SetAsInteger(NullValue);
    EXPECT_TRUE(t.FieldByName("No")->IsNull());
}

TEST(DataSet, FilterShowsOnlyMatchingRows)
{
    TMemTable t;
    DefineValueRows(t);
    for (int cid : {1, 2}) {
        for (int sg = 1; sg <= 2; ++sg)
            for (int no = 1; no <= 3; ++no) t.AppendRecord({cid, sg, no});
    }
    int curCID = 2;
    int curSG = 1;
    t.SetFilter([&](TDataSet& ds) {
        return ds.FieldByName("CID")->AsInteger() == curCID && ds.FieldByName("SGNo")->AsInteger() == curSG;
    });
    t.SetFiltered(true);
    EXPECT_EQ(t.RecordCount(), 3);
    EXPECT_EQ(t.RecNo(), 1);
    EXPECT_EQ(t.FieldByName("CID")->AsInteger(), 2);
    curSG = 2;
    t.Refilter();
    EXPECT_EQ(Column(t, "SGNo"), QList<int>({2, 2, 2}));
    // A row posted outside the filter leaves the view; one inside stays.
    t.AppendRecord({2, 2, 4});
    t.AppendRecord({1, 2, 5});
    EXPECT_EQ(Column(t, "No"), QList<int>({1, 2, 3, 4}));
    EXPECT_EQ(t.RecNo(), 4);
    t.SetFiltered(false);
    EXPECT_EQ(t.RecordCount(), 14);
    // Locate and deletions work on the visible rows.
    t.SetFiltered(true);
    EXPECT_FALSE(t.Locate("No", 5));
    t.First();
    t.Delete();
    EXPECT_EQ(Column(t, "No"), QList<int>({2, 3, 4}));
    t.SetFiltered(false);
    EXPECT_EQ(t.RecordCount(), 13);
}

TEST(DataSet, DetailFollowsItsMaster)
{
    TTestDatabase db;
    for (int tag = 1; tag <= 3; ++tag) {
        ExecuteSQL("insert into L_Tag (TagID, TagCode, TagName) values (:T, :C, :N)",
                   {{"T", tag}, {"C", QStringLiteral("T%1").arg(tag)}, {"N", QStringLiteral("标签%1").arg(tag)}});
        for (int v = 1; v <= tag; ++v)
            ExecuteSQL("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (:T, :V, :X, 1)",
                       {{"T", tag}, {"V", v}, {"X", QStringLiteral("值%1").arg(v)}});
    }
    TZCQuery master;
    master.SetSQL(QStringList{"select * from L_Tag", "order by TagCode"});
    TZCQuery detail;
    detail.SetSQL(QStringList{"select * from L_TagValue ", "where UserInput = 1 and TagID = :TagID"});
    detail.SetMasterSource(&master);
    master.Open();
    detail.Open();
    int opens = 0;
    detail.SetEvent(TDataSetEvent::AfterOpen, TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++opens; }));
    EXPECT_EQ(detail.RecordCount(), 1);
    master.Next();
    EXPECT_EQ(detail.RecordCount(), 2);
    master.Last();
    EXPECT_EQ(Column(detail, "TagID"), QList<int>({3, 3, 3}));
    EXPECT_EQ(opens, 2);
    // Moving the master while its controls are disabled leaves the detail; enabling catches up.
    master.DisableControls();
    master.First();
    master.Next();
    EXPECT_EQ(detail.RecordCount(), 3);
    master.EnableControls();
    EXPECT_EQ(detail.RecordCount(), 2);
    EXPECT_EQ(opens, 3);
    // Detached and attached again on the same row, it does not read again.
    detail.SetMasterSource(nullptr);
    master.Next();
    detail.SetMasterSource(&master);
    EXPECT_EQ(detail.RecordCount(), 3);
    detail.SetMasterSource(nullptr);
    detail.SetMasterSource(&master);
    EXPECT_EQ(opens, 4);
    // A new master row whose key is assigned at once gets an empty detail for that key.
    master.Append();
    EXPECT_TRUE(detail.IsEmpty());
    master.FieldByName("TagID")->SetAsInteger(2);
    EXPECT_EQ(detail.RecordCount(), 2);
    master.Cancel();
    EXPECT_EQ(Column(detail, "TagID"), QList<int>({3, 3, 3}));
    // A master closed: nothing to show.
    master.Close();
    EXPECT_TRUE(detail.IsEmpty());
}

TEST(DataSet, BookmarksAndRecNo)
{
    TMemTable t;
    DefineValueRows(t);
    for (int no = 1; no <= 5; ++no) t.AppendRecord({1, 1, no});
    t.SetRecNo(3);
    const TDataSet::TBookmark mark = t.GetBookmark();
    t.First();
    t.Insert();
    t.FieldByName("No")->SetAsInteger(0);
    t.Post();
    EXPECT_TRUE(t.GotoBookmark(mark));
    EXPECT_EQ(t.FieldByName("No")->AsInteger(), 3);
    EXPECT_EQ(t.RecNo(), 4);
    t.Delete();
    EXPECT_FALSE(t.BookmarkValid(mark));
    EXPECT_FALSE(t.GotoBookmark(mark));
    t.SetRecNo(99);
    EXPECT_EQ(t.RecNo(), 5);
    EXPECT_EQ(t.MoveBy(-10), -4);
    EXPECT_TRUE(t.Bof());
}

TEST(DataSet, RepeatedColumnNamesAndCopiedStructures)
{
    TTestDatabase db;
    AddCauses();
    ExecuteSQL("insert into D_VDD (CID, SN, SSN, VResult) values (1, 1, 1, 74.5)");
    TQuery q;
    q.SetSQL(QStringLiteral("select a.CaseID, a.Describe, b.Describe from L_Case a, L_Case b where a.CaseID = b.CaseID"));
    q.Open();
    EXPECT_EQ(q.FieldNames(), QStringList({"CaseID", "Describe", "Describe_1"}));
    // A cache shaped like a query keeps the values as the query gives them.
    TQuery values;
    values.SetSQL(QStringLiteral("select * from D_VDD where 1=0"));
    values.Open();
    TMemTable cache;
    cache.CopyStructure(values);
    cache.CreateDataSet();
    cache.AppendRecord({1, 1, 1, 74.5});
    EXPECT_EQ(cache.FieldByName("VResult")->Value().metaType().id(), QMetaType::Double);
    EXPECT_EQ(cache.FieldByName("SN")->Value().metaType().id(), QMetaType::Int);
}

namespace {
// New causes of subgroup (10, 2) held as a maker of many rows holds them: causes 1 to 3, the
// second one dated.
class TCauseRows : public TRecordSource {
public:
    explicit TCauseRows(const QDateTime& when) : FWhen(when) {}
    int Count() const override { return 3; }
    QVariant Value(int row, int fieldIndex) const override
    {
        switch (fieldIndex) {
        case 0: return 10;
        case 1: return 2;
        case 2: return row + 1;
        case 6: return row == 1 ? QVariant(FWhen) : QVariant();
        default: return {};
        }
    }

private:
    QDateTime FWhen;
};
} // namespace

TEST(DataSet, RowsFromASourceAreReadEditedAndWrittenLikeRowsAppendedOneByOne)
{
    TTestDatabase db;
    AddCauses();
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
    TZCQuery bulk, single;
    OpenCauses(bulk);
    OpenCauses(single);
    bulk.AppendRecords(std::make_shared<TCauseRows>(when));
    for (int id = 1; id <= 3; ++id)
        single.AppendRecord({10, 2, id, QVariant(), QVariant(), QVariant(), id == 2 ? QVariant(when) : QVariant()});
    ASSERT_EQ(bulk.RecordCount(), 5);
    EXPECT_EQ(bulk.RecNo(), 5);
    EXPECT_EQ(bulk.UpdateStatus(), TUpdateStatus::Inserted);
    EXPECT_EQ(bulk.ChangeCount(), 3);
    auto sameRows = [&](const char* step) {
        for (int row = 0; row < single.RecordCount(); ++row)
            for (int f = 0; f < single.FieldCount(); ++f) {
                EXPECT_EQ(bulk.RowValue(row, f), single.RowValue(row, f)) << step << " row " << row << " field " << f;
                EXPECT_EQ(bulk.RowValue(row, f).metaType(), single.RowValue(row, f).metaType()) << step << row << f;
            }
    };
    sameRows("appended");

    // The cursor, the key searches and the filter read them.
    EXPECT_TRUE(bulk.Locate(QStringLiteral("SN;CaseID"), QVariantList{2, 2}));
    EXPECT_EQ(bulk.FieldByName("WDate")->AsDateTime(), when);
    EXPECT_TRUE(bulk.FieldByName("WDate")->OldValue().isNull());
    EXPECT_EQ(bulk.Lookup(QStringLiteral("SN;CaseID"), QVariantList{2, 3}, QStringLiteral("CID")).toInt(), 10);
    bulk.SetFilter([](TDataSet& ds) {
        return ds.FieldByName("SN")->AsInteger() == 2 && ds.FieldByName("CaseID")->AsInteger() > 1;
    });
    bulk.SetFiltered(true);
    EXPECT_EQ(Column(bulk, "CaseID"), QList<int>({2, 3}));
    bulk.SetFiltered(false);

    // An edit given up leaves the row as it came; a posted one changes that row alone.
    ASSERT_TRUE(bulk.Locate(QStringLiteral("SN;CaseID"), QVariantList{2, 2}));
    bulk.Edit();
    bulk.FieldByName("WDate")->Clear();
    bulk.Cancel();
    sameRows("edit cancelled");
    for (TZCQuery* q : {&bulk, &single}) {
        ASSERT_TRUE(q->Locate(QStringLiteral("SN;CaseID"), QVariantList{2, 3}));
        q->Edit();
        q->FieldByName("WDate")->SetAsDateTime(when.addDays(1));
        q->Post();
    }
    sameRows("edited");
    EXPECT_EQ(bulk.ChangeCount(), 3);

    {
        TTransactionGuard guard(db.DM());
        bulk.ApplyUpdates();
        guard.Commit();
    }
    EXPECT_FALSE(bulk.UpdatesPending());
    EXPECT_EQ(StoredCauses(10, 2), QList<int>({1, 2, 3}));
    // Read back, they are the rows appended one by one.
    TZCQuery stored;
    OpenCauses(stored);
    stored.Close();
    stored.SetParamValue(QStringLiteral("SN"), 2);
    stored.Open();
    ASSERT_EQ(stored.RecordCount(), 3);
    for (int row = 0; row < 3; ++row)
        for (const char* f : {"CID", "SN", "CaseID", "WDate"}) {
            const int i = stored.FieldByName(f)->Index();
            EXPECT_TRUE(VariantsEqual(stored.RowValue(row, i), single.RowValue(row + 2, i))) << row << f;
        }

    // Given up before they are written, rows from a source go like any new row.
    bulk.AppendRecords(std::make_shared<TCauseRows>(when));
    EXPECT_EQ(bulk.RecordCount(), 8);
    bulk.CancelUpdates();
    EXPECT_EQ(bulk.RecordCount(), 5);
    EXPECT_FALSE(bulk.UpdatesPending());
}
