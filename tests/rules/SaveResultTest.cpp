// Storing a judge result in a real database: the judged subgroups lose their earlier exceptions,
// get their new rows and states; a failed save rolls back and can be repeated.
#include "RulesTestSupport.h"
#include "TestDatabase.h"

#include "foundation/CompanyDM.h"
#include "foundation/RecordUtils.h"
#include "foundation/ZCDb.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
constexpr int kCID = 9001;
constexpr int kOtherCID = 9002;
constexpr int kTask = 77;

struct TStoredException {
    int CID, SN, JudgeSN;
    bool operator==(const TStoredException&) const = default;
};

void PrintTo(const TStoredException& e, std::ostream* os)
{
    *os << "(" << e.CID << ", " << e.SN << ", " << e.JudgeSN << ")";
}

class SaveResult : public ::testing::Test {
protected:
    void SetUp() override
    {
        Exec("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, USL, LSL) "
             "values (9001, 'V''01', '外径', 5, 1, 10, -10)");
        Exec("insert into L_AControlItem (CID, CCode, CName) values (9002, 'A01', '外观')");
        // Subgroups 1 to 6 of the variable item; the task names 1 to 5 (6 lies outside its dates).
        for (int sn = 1; sn <= 6; ++sn) {
            Exec("insert into D_VDM (CID, SN, State) values (:CID, :SN, :State)",
                 {{"CID", kCID}, {"SN", sn}, {"State", sn == 6 ? 4 : 4 - sn % 3}});
            if (sn <= 5) Exec("insert into m_CTemp (TaskID, CID, SN) values (:T, :CID, :SN)", {{"T", kTask}, {"CID", kCID}, {"SN", sn}});
        }
        // Earlier results: one of a judged subgroup, one outside the task, one of another item.
        Exec("insert into D_Exception (CID, SN, JudgeSN, CType, Expression) values (9001, 2, 1, 1, 'MT1,6')");
        Exec("insert into D_Exception (CID, SN, JudgeSN, CType, Expression) values (9001, 6, 2, 1, 'MR8,1,1')");
        Exec("insert into D_Exception (CID, SN, JudgeSN, CType, Expression) values (9002, 2, 3, 2, 'MR8,1,1')");

        List.SetCID(kCID);
        List.Updating = true;
        const double means[] = {0, 4, 0, -4, 1};
        for (int sn = 1; sn <= 5; ++sn) {
            TVariableData& d = List.NewData();
            d.SN = sn;
            d.AddValue(means[sn - 1]);
        }
        List.Updating = false;
        Data.SetDataList(&List);
        Data.SetChartType(ctXBarR);
        Data.LimitInfo.MCL = 0;
        Data.LimitInfo.MUCL = 3;
        Data.LimitInfo.MLCL = -3;

        SetupExceptionQuery(Query);
        Judge.SetVariableData(&Data);
    }

    void Exec(const char* sql, const TSqlParams& params = {})
    {
        Db.DM().Exec(QString::fromUtf8(sql), params);
    }

    // The calling order of the analysis windows.
    int JudgeWith(const QString& rules)
    {
        TMemTable rows;
        FillRules(rows, rules);
        Judge.LoadRules(rows);
        const int base = GetLastJudgeSN(Db.DM());
        Judge.JudgeSN = base;
        Judge.SetVariableData(&Data);
        ReopenExceptionQuery(Query);
        Judge.ExceptionData = &Query;
        Judge.JudgeChart();
        return base;
    }

    std::vector<TStoredException> Stored()
    {
        std::vector<TStoredException> rows;
        QSqlQuery q = Db.DM().Exec(QStringLiteral("select CID, SN, JudgeSN from D_Exception order by CID, SN, JudgeSN"));
        while (q.next()) rows.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
        return rows;
    }

    std::vector<int> States(const char* table = "D_VDM", int cid = kCID)
    {
        std::vector<int> states;
        QSqlQuery q = Db.DM().Exec(QStringLiteral("select State from %1 where CID = :CID order by SN").arg(QLatin1String(table)),
                                   {{"CID", cid}});
        while (q.next()) states.push_back(q.value(0).toInt());
        return states;
    }

    TTestDatabase Db;
    TVariableDataList List;
    TVariableChartData Data;
    TZCQuery Query;
    TChartJudge Judge;
};
} // namespace

TEST_F(SaveResult, ReplacesTheJudgedSubgroupsResult)
{
    const int base = JudgeWith(QStringLiteral("MR8,1,1"));
    EXPECT_EQ(base, 3);
    ASSERT_EQ(Query.RecordCount(), 2);
    // The rows carry the item's code and name for the result window.
    EXPECT_EQ(Query.FieldByName(QStringLiteral("CCode"))->AsString(), QStringLiteral("V'01"));
    EXPECT_EQ(Query.FieldByName(QStringLiteral("CName"))->AsString(), QStringLiteral("外径"));

    Judge.SaveResult(Db.DM(), kTask, base);
    EXPECT_TRUE(Judge.Saved);
    EXPECT_FALSE(Query.UpdatesPending());
    EXPECT_EQ(Stored(), (std::vector<TStoredException>{{kCID, 2, 4}, {kCID, 4, 5}, {kCID, 6, 2}, {kOtherCID, 2, 3}}));
    // Judged subgroups: normal (2) or abnormal (3); subgroup 6 keeps its handled state.
    EXPECT_EQ(States(), (std::vector<int>{2, 3, 2, 3, 2, 4}));

    QSqlQuery q = Db.DM().Exec(QStringLiteral("select CType, Expression, Describe, JudgeDate from D_Exception "
                                              "where CID = 9001 and SN = 4"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("MR8,1,1"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("XBar-R 控制图中主控制图1点中有1点在控制限外"));
    const QDateTime when = VariantToDateTime(q.value(3));
    EXPECT_LE(std::abs(when.secsTo(QDateTime::currentDateTime())), 60);

    // A second save of the same result only says so.
    Exec("delete from D_Exception where CID = 9001 and SN = 2");
    Judge.SaveResult(Db.DM(), kTask, base);
    EXPECT_EQ(Db.Messages.LastText(), QStringLiteral("已保存过，无需再保存！"));
    EXPECT_EQ(Stored().size(), 3u);
}

TEST_F(SaveResult, AResultWithoutViolationsStillClearsTheTask)
{
    const int base = JudgeWith(QStringLiteral("MT1,5"));
    EXPECT_EQ(Query.RecordCount(), 0);
    Judge.SaveResult(Db.DM(), kTask, base);
    EXPECT_TRUE(Judge.Saved);
    EXPECT_EQ(Stored(), (std::vector<TStoredException>{{kCID, 6, 2}, {kOtherCID, 2, 3}}));
    EXPECT_EQ(States(), (std::vector<int>{2, 2, 2, 2, 2, 4}));
}

TEST_F(SaveResult, AFailedSaveRollsBackAndCanBeRepeated)
{
    const int base = JudgeWith(QStringLiteral("MR8,1,1;MT3,2"));
    ASSERT_EQ(Query.RecordCount(), 4);
    const auto storedBefore = Stored();
    const auto statesBefore = States();
    // The exception table refuses new rows for a while.
    if (Db.IsServer()) {
        Exec("create function refuse_exceptions() returns trigger language plpgsql as $$ begin raise exception 'refused'; end $$");
        Exec("create trigger refuse_exceptions before insert on D_Exception for each row execute function refuse_exceptions()");
    } else {
        Exec("create trigger refuse_exceptions before insert on D_Exception begin select raise(abort, 'refused'); end");
    }
    EXPECT_EQ(MessageOf([&] { Judge.SaveResult(Db.DM(), kTask, base); }), QStringLiteral("规则检测结果保存失败！"));
    EXPECT_FALSE(Judge.Saved);
    EXPECT_FALSE(Db.DM().InTransaction());
    EXPECT_EQ(Stored(), storedBefore);  // the earlier exceptions were not deleted
    EXPECT_EQ(States(), statesBefore);
    EXPECT_EQ(Query.RecordCount(), 4);
    EXPECT_TRUE(Query.UpdatesPending());

    Exec(Db.IsServer() ? "drop trigger refuse_exceptions on D_Exception" : "drop trigger refuse_exceptions");
    Judge.SaveResult(Db.DM(), kTask, base);
    EXPECT_TRUE(Judge.Saved);
    // MR8 at 2 (JudgeSN 4), MT3,2 at 2 and 3 (5), MR8 at 4 (6); the fall into 4 starts afresh.
    EXPECT_EQ(Stored(), (std::vector<TStoredException>{
                            {kCID, 2, 4}, {kCID, 2, 5}, {kCID, 3, 5}, {kCID, 4, 6}, {kCID, 6, 2}, {kOtherCID, 2, 3}}));
    EXPECT_EQ(States(), (std::vector<int>{2, 3, 3, 3, 2, 4}));
}

TEST_F(SaveResult, AttributeItemStatesGoToTheirOwnTable)
{
    for (int sn = 1; sn <= 3; ++sn) {
        Exec("insert into D_ADM (CID, SN, Inspected, Rejected, State) values (:CID, :SN, 0, 0, 1)",
             {{"CID", kOtherCID}, {"SN", sn}});
        Exec("insert into m_CTemp (TaskID, CID, SN) values (:T, :CID, :SN)", {{"T", kTask}, {"CID", kOtherCID}, {"SN", sn}});
    }
    TAttributeDataList list;
    list.SetCID(kOtherCID);
    list.Updating = true;
    const int defects[] = {5, 30, 4};
    for (int sn = 1; sn <= 3; ++sn) {
        TAttributeData& d = list.NewData();
        d.SN = sn;
        d.SetInspected(1);
        d.AddDefect(1, defects[sn - 1]);
        d.RecountDefects();
    }
    list.Updating = false;
    TAttributeChartData data;
    data.SetDataList(&list);
    data.SetChartType(ctC);
    data.CalcLimits();  // c-bar 13: limits 2.18 and 23.82

    TMemTable rows;
    FillRules(rows, QStringLiteral("MR8,1,1"));
    Judge.SetAttributeData(&data);
    Judge.LoadRules(rows);
    const int base = GetLastJudgeSN(Db.DM());
    Judge.JudgeSN = base;
    ReopenExceptionQuery(Query);
    Judge.ExceptionData = &Query;
    Judge.JudgeChart();
    Judge.SaveResult(Db.DM(), kTask, base);
    EXPECT_EQ(Stored(), (std::vector<TStoredException>{{kCID, 2, 1}, {kCID, 6, 2}, {kOtherCID, 2, 4}}));
    EXPECT_EQ(States("D_ADM", kOtherCID), (std::vector<int>{2, 3, 2}));
    EXPECT_EQ(States(), (std::vector<int>{3, 2, 4, 3, 2, 4}));  // the variable item is untouched
    EXPECT_EQ(GetSQLValue(QStringLiteral("select CType from D_Exception where CID = 9002 and JudgeSN = 4")).toInt(), 2);
}

TEST_F(SaveResult, LastJudgeSNOfAnEmptyTable)
{
    Exec("delete from D_Exception");
    EXPECT_EQ(GetLastJudgeSN(Db.DM()), 0);
}
