// The item header and the current limits with their history, on a real database file.
#include "TestDatabase.h"

#include "engine/ControlItem.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
void AddVariableItem(int cid, const QVariant& usl, const QVariant& sl, const QVariant& lsl)
{
    ExecuteSQL(QStringLiteral("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, nSigma, USL, SL, LSL) "
                              "values (:CID, :CCode, :CName, 5, 1, 3, :USL, :SL, :LSL)"),
               {{"CID", cid}, {"CCode", QStringLiteral("V%1").arg(cid)}, {"CName", QStringLiteral("内径'%1").arg(cid)},
                {"USL", usl}, {"SL", sl}, {"LSL", lsl}});
}

int CurrentRows(int cid, int type)
{
    return GetSQLValue(QStringLiteral("select count(*) from D_CLL where CID = :CID and ChartType = :T and IsCurrent = 1"),
                       {{"CID", cid}, {"T", type}})
        .toInt();
}

int AllRows(int cid, int type)
{
    return GetSQLValue(QStringLiteral("select count(*) from D_CLL where CID = :CID and ChartType = :T"),
                       {{"CID", cid}, {"T", type}})
        .toInt();
}
} // namespace

TEST(CharacterInfo, LoadsVariableThenAttributeItems)
{
    TTestDatabase db;
    AddVariableItem(10, 74.05, 74.0, 73.95);
    ExecuteSQL(QStringLiteral("insert into L_AControlItem (CID, CCode, CName) values (20, 'A20', '外观')"));

    TCharacterInfo info;
    EXPECT_EQ(info.CID(), NullValue);
    info.SetCID(10);
    EXPECT_EQ(info.Kind, ikVariable);
    EXPECT_EQ(info.CCode, QStringLiteral("V10"));
    EXPECT_EQ(info.CName, QStringLiteral("内径'10"));
    EXPECT_EQ(info.SampleSize, 5);
    EXPECT_EQ(info.Step, 1);
    EXPECT_EQ(info.nSigma, 3);
    EXPECT_DOUBLE_EQ(info.USL, 74.05);
    EXPECT_DOUBLE_EQ(info.SL, 74.0);
    EXPECT_DOUBLE_EQ(info.LSL, 73.95);

    info.SetCID(20);
    EXPECT_EQ(info.Kind, ikAttribute);
    EXPECT_EQ(info.CName, QStringLiteral("外观"));
    for (int v : {info.SampleSize, info.Step, info.nSigma}) EXPECT_EQ(v, NullValue);
    for (double v : {info.USL, info.SL, info.LSL}) EXPECT_EQ(v, NullValue);

    // Unknown item: reset header, kind kept.
    info.SetCID(99);
    EXPECT_EQ(info.Kind, ikAttribute);
    EXPECT_TRUE(info.CCode.isEmpty());
    EXPECT_EQ(info.SampleSize, NullValue);
}

TEST(CharacterInfo, EmptySpecificationColumnsReadAsNoValue)
{
    TTestDatabase db;
    AddVariableItem(11, 10.5, QVariant(), QVariant());
    TCharacterInfo info;
    info.SetCID(11);
    EXPECT_DOUBLE_EQ(info.USL, 10.5);
    EXPECT_EQ(info.SL, NullValue);
    EXPECT_EQ(info.LSL, NullValue);
}

TEST(CharacterInfo, SameIdentifierTouchesNoDatabase)
{
    TTestDatabase db;
    AddVariableItem(10, 1, 0, -1);
    TCharacterInfo info;
    info.SetCID(10);
    ExecuteSQL(QStringLiteral("drop table L_VControlItem"));
    EXPECT_NO_THROW(info.SetCID(10));
    EXPECT_EQ(info.CCode, QStringLiteral("V10"));
    EXPECT_THROW(info.SetCID(12), ESystemError);
}

TEST(LimitInfo, WithoutStoredRowHoldsMinusOne)
{
    TTestDatabase db;
    TLimitInfo limits;
    EXPECT_EQ(limits.ChartType(), ctNone);
    EXPECT_EQ(limits.MCL, 0);
    limits.SetCID(10);
    limits.SetChartType(ctXBarR);
    EXPECT_FALSE(limits.Loaded);
    for (double v : {limits.MCL, limits.MLCL, limits.MUCL, limits.SCL, limits.SLCL, limits.SUCL, limits.CL, limits.UCL,
                     limits.LCL})
        EXPECT_EQ(v, -1.0);
}

TEST(LimitInfo, SaveTwiceLeavesOneCurrentRowAndReloadReadsItsFamily)
{
    TTestDatabase db;
    TLimitInfo limits;
    limits.SetCID(10);
    limits.SetChartType(ctXBarR);
    limits.MUCL = 74.0143085;  // stored with four decimals
    limits.MCL = 74.0012;
    limits.MLCL = 73.9880;
    limits.SUCL = 0.0481;
    limits.SCL = 0.0228;
    limits.SLCL = 0;
    limits.SaveLimits();
    limits.MUCL = 74.02;
    limits.SaveLimits();
    EXPECT_TRUE(db.Messages.Texts().isEmpty()) << db.Messages.LastText().toStdString();
    EXPECT_EQ(CurrentRows(10, 1), 1);
    EXPECT_EQ(AllRows(10, 1), 2);
    EXPECT_FALSE(limits.Loaded);  // a save does not change Loaded

    TLimitInfo read;
    read.SetCID(10);
    read.SetChartType(ctXBarR);
    EXPECT_TRUE(read.Loaded);
    EXPECT_DOUBLE_EQ(read.MUCL, 74.02);
    EXPECT_DOUBLE_EQ(read.MCL, 74.0012);
    EXPECT_DOUBLE_EQ(read.SUCL, 0.0481);
    // The attribute fields of a variable row are not read.
    EXPECT_EQ(read.CL, -1.0);

    // The first save's rounding: four decimals.
    QSqlQuery q = db.DM().Exec(QStringLiteral("select MUCL, CL from D_CLL where CID = 10 and IsCurrent = 0"));
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 74.0143);
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), -1.0);  // all nine written, whatever the family
}

TEST(LimitInfo, AttributeRowAndNoValueLimitsStoredAsNull)
{
    TTestDatabase db;
    TLimitInfo limits;
    limits.SetCID(20);
    limits.SetChartType(ctP);
    limits.CL = 0.2313;
    limits.UCL = NullValue;
    limits.LCL = NullValue;
    limits.SaveLimits();
    EXPECT_TRUE(db.Messages.Texts().isEmpty());
    QSqlQuery q = db.DM().Exec(QStringLiteral("select CL, UCL, LCL, MUCL from D_CLL where CID = 20 and ChartType = 6"));
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 0.2313);
    EXPECT_TRUE(q.value(1).isNull());
    EXPECT_TRUE(q.value(2).isNull());
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), -1.0);

    TLimitInfo read;
    read.SetChartType(ctP);
    read.SetCID(20);
    EXPECT_TRUE(read.Loaded);
    EXPECT_DOUBLE_EQ(read.CL, 0.2313);
    EXPECT_EQ(read.UCL, NullValue);
    EXPECT_EQ(read.MUCL, -1.0);  // variable fields not read for attribute charts
}

TEST(LimitInfo, FailedSaveRollsBackAndShowsMessage)
{
    TTestDatabase db;
    TLimitInfo limits;
    limits.SetCID(10);
    limits.SetChartType(ctXBarS);
    limits.MCL = 5;
    limits.SaveLimits();
    // The retiring update succeeds, the insert fails: the update must be undone.
    if (TestEngineIsServer()) {
        ExecuteSQL(QStringLiteral("create function refuse() returns trigger as $$ begin raise exception 'refused'; end $$ language plpgsql"));
        ExecuteSQL(QStringLiteral("create trigger NoInsert before insert on D_CLL for each row execute function refuse()"));
    } else {
        ExecuteSQL(QStringLiteral("create trigger NoInsert before insert on D_CLL begin select raise(abort, 'refused'); end"));
    }
    limits.MCL = 6;
    EXPECT_NO_THROW(limits.SaveLimits());
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("控制限保存错误"));
    EXPECT_EQ(CurrentRows(10, 2), 1);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select MCL from D_CLL where CID = 10 and IsCurrent = 1")).toDouble(), 5.0);
}

TEST(LimitInfo, SaveWithoutChartTypeRaisesBeforeWriting)
{
    TTestDatabase db;
    TLimitInfo limits;
    limits.SetCID(10);
    try {
        limits.SaveLimits();
        FAIL();
    } catch (const ESPCDataError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("控制图类型未指定"));
    }
    EXPECT_FALSE(db.DM().InTransaction());
    EXPECT_EQ(GetSQLValue(QStringLiteral("select count(*) from D_CLL")).toInt(), 0);
}

TEST(LimitInfo, SameValuesDoNotReload)
{
    TTestDatabase db;
    TLimitInfo limits;
    limits.SetCID(10);
    limits.SetChartType(ctXBarR);
    limits.MCL = 42;
    ExecuteSQL(QStringLiteral("drop table D_CLL"));
    limits.SetCID(10);
    limits.SetChartType(ctXBarR);
    EXPECT_EQ(limits.MCL, 42);
    EXPECT_THROW(limits.SetChartType(ctXBarS), ESystemError);
}
