// The attribute collection window driven through its grid: the blocks of kinds 1 to 6, the
// remembered lot size and number inspected, the block check, defect rows and their total, blocks
// without an entered count left out of the save.
#include "CollectTestSupport.h"

#include "collect/windows/ACollectFrm.h"
#include "collect/windows/CollectGrid.h"
#include "collect/windows/TagInputFrm.h"
#include "engine/SPCChart.h"
#include "engine/windows/AChartFrm.h"
#include "engine/windows/ChartFormManager.h"
#include "foundation/RecordUtils.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSqlQuery>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {
QStringList Items(TBaseCollectFrm* frm)
{
    QStringList items;
    for (int r = 0; r < frm->Grid->model()->rowCount(); ++r) items << CellText(frm, r, "ItemName");
    return items;
}

// The stored subgroups of an item: "Batch/Inspected/Rejected", empty counts as "-".
QStringList Stored(int cid)
{
    QStringList rows;
    QSqlQuery q = CurrentCompanyDM().Exec(
        QStringLiteral("select Batch, Inspected, Rejected, Defected, P, U, WDate from D_ADM where CID = :CID order by SN"),
        {{QStringLiteral("CID"), cid}});
    while (q.next()) {
        QStringList parts;
        for (int i = 0; i < 3; ++i) parts << (q.value(i).isNull() ? QStringLiteral("-") : q.value(i).toString());
        // What the window never writes stays empty; the time is always there.
        EXPECT_TRUE(q.value(3).isNull() && q.value(4).isNull() && q.value(5).isNull());
        EXPECT_FALSE(q.value(6).isNull());
        rows << parts.join(QLatin1Char('/'));
    }
    return rows;
}

QStringList Defects()
{
    QStringList rows;
    QSqlQuery q = CurrentCompanyDM().Exec(QStringLiteral("select DPID, Defected from D_ADD order by SN, DPID"));
    while (q.next()) rows << q.value(0).toString() + QLatin1Char(':') + q.value(1).toString();
    return rows;
}
} // namespace

TEST(ACollect, BlocksRememberTheLotSizeUntilAnotherItemIsChosen)
{
    TCollectFixture f;
    auto* frm = f.Open<TACollectFrm>();
    ChooseItem(f, frm, ids::APlain);
    // Without phenomena a block has four rows; keying starts at the lot size.
    EXPECT_EQ(Items(frm), (QStringList{"检验时间", "批量数", "检验数", "不良数"}));
    EXPECT_FALSE(CellText(frm, 0, "Data").isEmpty());  // the time is proposed
    EXPECT_EQ(CurrentRow(frm), 1);
    KeyIn(frm, "500");
    KeyIn(frm, "100");
    // Enter on the empty 不良数 of the last block: the block check stops the next block.
    KeyIn(frm, "");
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("请输入不良数！"));
    EXPECT_EQ(frm->Grid->model()->rowCount(), 4);
    KeyIn(frm, "2");
    ASSERT_EQ(frm->Grid->model()->rowCount(), 8);
    EXPECT_EQ(CurrentRow(frm), 4);
    // The second block starts with the lot size and number inspected entered last.
    EXPECT_EQ(CellText(frm, 5, "Data"), QStringLiteral("500"));
    EXPECT_EQ(CellText(frm, 6, "Data"), QStringLiteral("100"));
    EXPECT_TRUE(CellText(frm, 7, "Data").isEmpty());
    // Nothing entered in it yet: it is not a subgroup, and the save stores the first block only.
    f.db.Messages.Messages.clear();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(Stored(ids::APlain), QStringList{"500/100/2"});
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
    ClickCell(frm, 7, "Data");
    KeyIn(frm, "3");
    ASSERT_EQ(frm->Grid->model()->rowCount(), 12);
    ClickSave(frm);
    EXPECT_EQ(Stored(ids::APlain), (QStringList{"500/100/2", "500/100/3"}));
    EXPECT_EQ(f.AChanges.count(ids::APlain) > 0, true);

    // Choosing another item forgets the remembered counts, also for the way back.
    ChooseItem(f, frm, ids::AWeld);
    ChooseItem(f, frm, ids::APlain);
    EXPECT_EQ(CurrentRow(frm), 11);  // keying goes on at the open 不良数
    KeyIn(frm, "1");
    ASSERT_EQ(frm->Grid->model()->rowCount(), 16);
    EXPECT_TRUE(CellText(frm, 13, "Data").isEmpty());
    EXPECT_TRUE(CellText(frm, 14, "Data").isEmpty());
}

TEST(ACollect, BadCountsAndTimesAreRefused)
{
    TCollectFixture f;
    auto* frm = f.Open<TACollectFrm>();
    ChooseItem(f, frm, ids::APlain);
    KeyIn(frm, "500");
    KeyIn(frm, "100");
    const QString time = CellText(frm, 0, "Data");
    struct TCase {
        int row;
        const char* typed;
        const char* message;
    } cases[] = {
        {2, "12.5", "请输入正确的整数！"},               // a count is whole
        {2, "abc", "请输入正确的整数！"},
        {3, "-3", "数量不能为负数！"},                   // counts are never negative
        {0, "2024-02-30 08:00", "请输入正确的检验时间!"},  // no such day
        {0, "", "请输入正确的检验时间!"},                 // the time is never left empty
    };
    for (const TCase& c : cases) {
        f.db.Messages.Messages.clear();
        ClickCell(frm, c.row, "Data");
        const QString before = CellText(frm, c.row, "Data");
        if (QByteArray(c.typed).isEmpty()) ClearCell(frm);
        else KeyIn(frm, c.typed);
        EXPECT_EQ(f.db.Messages.LastText(), QString::fromUtf8(c.message)) << c.typed;
        EXPECT_EQ(CellText(frm, c.row, "Data"), before) << c.typed;
    }
    EXPECT_EQ(CellText(frm, 0, "Data"), time);
    ClickCell(frm, 0, "Data");
    KeyIn(frm, "2024/3/5 7:30");
    EXPECT_EQ(CellText(frm, 0, "Data"), QStringLiteral("2024-03-05 07:30:00"));
    // More rejected than inspected cannot be saved.
    ClickCell(frm, 3, "Data");
    KeyIn(frm, "101");
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("不良数不能大于检验数！"));
    f.db.Messages.Messages.clear();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), (QStringList{"不良数不能大于检验数！", "保存失败！"}));
    EXPECT_EQ(f.Count("select count(*) from D_ADM"), 0);
    ClickCell(frm, 3, "Data");
    KeyIn(frm, "4");
    ClickSave(frm);
    EXPECT_EQ(Stored(ids::APlain), QStringList{"500/100/4"});
    EXPECT_EQ(VariantToString(GetSQLValue("select WDate from D_ADM")).left(19), QStringLiteral("2024-03-05 07:30:00"));
}

TEST(ACollect, DefectRowsTheirTotalAndTheirChart)
{
    TCollectFixture f;
    auto* frm = f.Open<TACollectFrm>();
    ChooseItem(f, frm, ids::AWeld);
    EXPECT_EQ(Items(frm), (QStringList{"检验时间", "批量数", "检验数", "不良数", "缺点数合计", "划伤", "气泡"}));
    frm->ChartAction(ctU)->trigger();
    auto* chart = qobject_cast<TAChartFrm*>(frm->Charts().Item(0));
    ASSERT_TRUE(chart);
    KeyIn(frm, "200");
    KeyIn(frm, "50");
    KeyIn(frm, "");  // no rejected count: Enter passes over the total to the first phenomenon
    EXPECT_EQ(CurrentRow(frm), 5);
    EXPECT_FALSE(frm->Grid->model()->flags(frm->Grid->model()->index(4, 2)) & Qt::ItemIsEditable);
    KeyIn(frm, "3");
    EXPECT_EQ(CellText(frm, 4, "Data"), QStringLiteral("3"));
    KeyIn(frm, "2");
    EXPECT_EQ(CellText(frm, 4, "Data"), QStringLiteral("5"));
    // 3 then 5 scratches: one row with 5, and the total over both phenomena.
    ClickCell(frm, 5, "Data");
    KeyIn(frm, "5");
    EXPECT_EQ(CellText(frm, 4, "Data"), QStringLiteral("7"));
    ASSERT_EQ(chart->Chart()->Points->Count(), 1);
    EXPECT_DOUBLE_EQ(chart->Chart()->Points->Points[0].Y, 7.0 / 50);
    // Enter on the last row: defect counts alone pass the check.
    KeyIn(frm, "");
    ASSERT_EQ(frm->Grid->model()->rowCount(), 14);
    ClickSave(frm);
    EXPECT_EQ(Stored(ids::AWeld), QStringList{"200/50/-"});
    EXPECT_EQ(Defects(), (QStringList{"301:5", "302:2"}));

    // The next block (its number inspected remembered): neither rejected nor defects.
    ClickCell(frm, 13, "Data");
    f.db.Messages.Messages.clear();
    KeyIn(frm, "");
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("请输入不良数或缺点数！"));
    EXPECT_EQ(frm->Grid->model()->rowCount(), 14);
    // A stored defect count emptied: its row goes at the save and the total follows.
    ClickCell(frm, 6, "Data");
    ClearCell(frm);
    EXPECT_EQ(CellText(frm, 4, "Data"), QStringLiteral("5"));
    ClickSave(frm);
    EXPECT_EQ(Defects(), QStringList{"301:5"});
}

TEST(ACollect, BlocksWithoutACountAreNotStoredAndStoredOnesAreDeletedWithTheirTags)
{
    TCollectFixture f;
    auto* frm = f.Open<TACollectFrm>();
    ChooseItem(f, frm, ids::APlain);
    ChooseTemplate(f, frm, ids::TemplateProduction);
    for (const char* v : {"500", "100", "2"}) KeyIn(frm, v);  // block 1, then block 2 appended
    ClickCell(frm, 7, "Data");
    for (const char* v : {"3"}) KeyIn(frm, v);                 // block 2, then block 3 appended
    // Block 3 is left untouched (its time, lot size and number inspected are the window's).
    ClickSave(frm);
    EXPECT_EQ(Stored(ids::APlain), (QStringList{"500/100/2", "500/100/3"}));
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 4);
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
    const int first = VariantToInt(GetSQLValue("select min(SN) from D_ADM"));
    ExecuteSQL(QStringLiteral("insert into D_Exception (CID, SN, JudgeSN) values (201, %1, 1)").arg(first));

    // Deleting a stored block asks; No keeps it, Yes removes it with its tags and exceptions.
    ClickCell(frm, 1, "Data");
    f.db.Messages.Answers = {TMsgResult::No};
    frm->actDeleteSubgroup->trigger();
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("删除本记录后将不可恢复，是否继续？"));
    EXPECT_EQ(frm->Grid->model()->rowCount(), 12);
    f.db.Messages.Answers = {TMsgResult::Yes};
    frm->actDeleteSubgroup->trigger();
    EXPECT_EQ(frm->Grid->model()->rowCount(), 8);
    // The untouched block goes without a question.
    ClickCell(frm, 5, "Data");
    f.db.Messages.Messages.clear();
    frm->actDeleteSubgroup->trigger();
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(frm->Grid->model()->rowCount(), 4);
    ClickSave(frm);
    EXPECT_EQ(Stored(ids::APlain), QStringList{"500/100/3"});
    for (const char* table : {"D_ADM", "D_Tag", "D_Exception"})
        EXPECT_EQ(f.Count(QStringLiteral("select count(*) from %1 where SN = %2").arg(QLatin1String(table)).arg(first)), 0)
            << table;
}

TEST(ACollect, ChartsAreTiledBesideTheWindow)
{
    TCollectFixture f;
    auto* frm = f.Open<TACollectFrm>();
    ChooseItem(f, frm, ids::AWeld);
    ChooseTemplate(f, frm, ids::TemplateProduction);
    const int counts[][4] = {{200, 50, 2, 3}, {200, 60, 1, 4}, {200, 50, 4, 2}, {200, 45, 0, 6}, {200, 55, 3, 1}};
    for (const auto& c : counts) {
        KeyIn(frm, QString::number(c[0]));
        KeyIn(frm, QString::number(c[1]));
        KeyIn(frm, QString::number(c[2]));
        KeyIn(frm, QString::number(c[3]));
        KeyIn(frm, "1");
        KeyIn(frm, "");  // the time row of the new block
    }
    frm->ChartAction(ctP)->trigger();
    frm->ChartAction(ctU)->trigger();
    QApplication::processEvents();
    ASSERT_EQ(frm->Charts().Count(), 2);
    auto* p = qobject_cast<TAChartFrm*>(frm->Charts().Item(0));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Chart()->Points->Count(), 5);
    const QSize client = f.host.Area->viewport()->size();
    const int h = (client.height() - 6) / 2;
    EXPECT_EQ(frm->Charts().Item(1)->parentWidget()->geometry(), QRect(337, h, client.width() - 336 - 6, h - 1));
    SaveShot(f.host, QStringLiteral("collect_attribute"));
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
}
