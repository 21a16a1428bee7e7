// The variable collection window driven through its grid: values keyed with the keyboard, blocks
// per subgroup, the order rule, staging and the save of several items in one transaction, chart
// windows following the keying, deleting subgroups and the closing question.
#include "CollectTestSupport.h"

#include "collect/windows/CollectGrid.h"
#include "collect/windows/TagInputFrm.h"
#include "collect/windows/VCollectFrm.h"
#include "engine/SPCChart.h"
#include "engine/windows/ChartFormManager.h"
#include "engine/windows/ChartPanel.h"
#include "engine/windows/VChartFrm.h"
#include "foundation/RecordUtils.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QToolBar>
#include <QApplication>
#include <gtest/gtest.h>

namespace {
// Keys a whole subgroup; the last Enter appends the next block.
void KeySubgroup(TBaseCollectFrm* frm, const QStringList& values)
{
    for (const QString& v : values) KeyIn(frm, v);
}

QStringList Values(int cid)
{
    QStringList values;
    QSqlQuery q = CurrentCompanyDM().Exec(
        QStringLiteral("select VResult from D_VDD where CID = :CID order by SN, SSN"), {{QStringLiteral("CID"), cid}});
    while (q.next()) values << FormatNumber(q.value(0).toDouble());
    return values;
}

int Subgroups(TCollectFixture& f, int cid)
{
    return f.Count(QStringLiteral("select count(*) from D_VDM where CID = %1").arg(cid));
}
} // namespace

TEST(VCollect, TwoItemsKeyedAndSavedInOneTransaction)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VDiameter);
    EXPECT_EQ(frm->edtItem->text(), QStringLiteral("活塞环直径"));
    ChooseTemplate(f, frm, ids::TemplateProduction);
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=1号机"}));
    ASSERT_EQ(frm->Grid->model()->rowCount(), 5);
    KeySubgroup(frm, {"74.01", "74.02", "73.99", "74.00", "74.03"});
    // The fifth Enter appended the next block and moved to its first row.
    ASSERT_EQ(frm->Grid->model()->rowCount(), 10);
    EXPECT_EQ(CurrentRow(frm), 5);
    EXPECT_EQ(CellText(frm, 0, "SGNo"), CellText(frm, 0, "SGNo"));
    EXPECT_FALSE(CellText(frm, 0, "SGNo").isEmpty());
    EXPECT_TRUE(CellText(frm, 1, "SGNo").isEmpty());  // the number heads its block only
    EXPECT_FALSE(CellText(frm, 0, "Date").isEmpty());  // an empty date becomes today
    EXPECT_EQ(f.VChanges, QList<int>{ids::VDiameter});  // the complete subgroup was announced

    ChooseItem(f, frm, ids::VJournal);
    ASSERT_EQ(frm->Grid->model()->rowCount(), 3);
    KeySubgroup(frm, {"50.1", "49.9", "50"});
    EXPECT_EQ(Subgroups(f, ids::VDiameter), 0);  // nothing is written before the save

    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(Values(ids::VDiameter), (QStringList{"74.01", "74.02", "73.99", "74", "74.03"}));
    EXPECT_EQ(Values(ids::VJournal), (QStringList{"50.1", "49.9", "50"}));
    // The blocks appended last received no value: no subgroup rows for them.
    EXPECT_EQ(Subgroups(f, ids::VDiameter), 1);
    EXPECT_EQ(Subgroups(f, ids::VJournal), 1);
    EXPECT_EQ(f.Count(QStringLiteral("select count(*) from D_VDM where WDate is null")), 0);
    EXPECT_EQ(f.Count(QStringLiteral("select count(*) from D_Tag where CID = 101 and "
                                     "((TagID = 401 and TagValueID = 1) or (TagID = 402 and TagValueID = 1))")),
              2);
    EXPECT_EQ(f.Count(QStringLiteral("select count(*) from D_Tag")), 2);
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
}

TEST(VCollect, BadInputIsRefusedAndTheCellKeepsItsText)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VDiameter);
    KeyIn(frm, "74.01");
    ASSERT_EQ(CurrentRow(frm), 1);
    // Why each entry is refused, and what the cell shows afterwards.
    struct TCase {
        const char* field;
        const char* typed;
        const char* message;
    } cases[] = {
        {"Data", "7x4", "请输入正确的数值！"},       // not a number
        {"Date", "2024-13-45", "请输入正确的日期！"},  // no such date
        {"Time", "25:61", "请输入正确的时间！"},       // no such time
        {"Data", "1e999", "请输入正确的数值！"},      // not a finite number
    };
    for (const TCase& c : cases) {
        f.db.Messages.Messages.clear();
        ClickCell(frm, 0, c.field);
        const QString before = CellText(frm, 0, c.field);
        KeyIn(frm, c.typed);
        EXPECT_EQ(f.db.Messages.LastText(), QString::fromUtf8(c.message)) << c.typed;
        EXPECT_EQ(CellText(frm, 0, c.field), before) << c.typed;
    }
    EXPECT_EQ(CellText(frm, 0, "Data"), QStringLiteral("74.01"));

    // The order rule: row 3 before row 2 is refused and its value is not kept.
    f.db.Messages.Messages.clear();
    ClickCell(frm, 2, "Data");
    KeyIn(frm, "74.02");
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("请先输入完上面的数据后，再在本行输入数据"));
    EXPECT_TRUE(CellText(frm, 2, "Data").isEmpty());
    // A date and a time typed by hand are kept and stored with the value.
    ClickCell(frm, 1, "Date");
    KeyIn(frm, "2024/3/5");
    ClickCell(frm, 1, "Time");
    KeyIn(frm, "7:05");
    ClickCell(frm, 1, "Data");
    KeyIn(frm, "74.02");
    EXPECT_EQ(CellText(frm, 1, "Date"), QStringLiteral("2024-03-05"));
    EXPECT_EQ(CellText(frm, 1, "Time"), QStringLiteral("07:05:00"));
    for (const char* v : {"74", "73.98", "74.01"}) KeyIn(frm, v);
    ClickSave(frm);
    EXPECT_EQ(VariantToString(GetSQLValue(QStringLiteral("select WDate from D_VDD where SSN = 2"))).left(19),
              QStringLiteral("2024-03-05 07:05:00"));
}

TEST(VCollect, SubgroupSizeDecidesTheChartsAndTheBlocks)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    // XBar-R needs 2..25 values (its factors end there), XBar-S more than one, X-Rm exactly one.
    struct TCase {
        int cid, n;
        bool xbarR, xbarS, xrm;
    } cases[] = {
        {ids::VSingle, 1, false, false, true},
        {ids::V25, 25, true, true, false},
        {ids::V26, 26, false, true, false},
        {ids::VDiameter, 5, true, true, false},
    };
    for (const TCase& c : cases) {
        ChooseItem(f, frm, c.cid);
        EXPECT_EQ(frm->Grid->model()->rowCount(), c.n) << c.n;
        EXPECT_EQ(frm->ChartAction(ctXBarR)->isVisible(), c.xbarR) << c.n;
        EXPECT_EQ(frm->ChartAction(ctXBarS)->isVisible(), c.xbarS) << c.n;
        EXPECT_EQ(frm->ChartAction(ctXRm)->isVisible(), c.xrm) << c.n;
        EXPECT_TRUE(frm->ChartAction(ctHistogram)->isVisible()) << c.n;
    }

    // Size 1: every Enter on a filled row appends the next one-row block, and the X-Rm chart
    // follows each value.
    ChooseItem(f, frm, ids::VSingle);
    frm->ChartAction(ctXRm)->trigger();
    ASSERT_EQ(frm->Charts().Count(), 1);
    auto* chart = qobject_cast<TVChartFrm*>(frm->Charts().Item(0));
    ASSERT_TRUE(chart);
    for (const char* v : {"12.5", "12.7", "12.4"}) KeyIn(frm, v);
    EXPECT_EQ(frm->Grid->model()->rowCount(), 4);
    EXPECT_EQ(chart->Chart()->MainPoints->Count(), 3);
    EXPECT_EQ(f.VChanges, (QList<int>{ids::VSingle, ids::VSingle, ids::VSingle}));
    // Asking again for the same chart brings it to the front instead of a second window.
    frm->ChartAction(ctXRm)->trigger();
    EXPECT_EQ(frm->Charts().Count(), 1);
    ClickSave(frm);
    EXPECT_EQ(f.Count("select count(*) from D_VDM where CID = 103"), 3);

    // Size 26: the XBar-S chart draws once a subgroup is complete.
    ChooseItem(f, frm, ids::V26);
    frm->ChartAction(ctXBarS)->trigger();
    for (int i = 0; i < 26; ++i) KeyIn(frm, QString::number(10 + (i % 7) * 0.1));
    auto* xbars = qobject_cast<TVChartFrm*>(frm->Charts().Item(frm->Charts().FindChartForm(ids::V26, ctXBarS)));
    ASSERT_TRUE(xbars);
    EXPECT_EQ(xbars->Chart()->MainPoints->Count(), 1);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
}

TEST(VCollect, EveryItemsLastBlockIsCheckedBeforeTheSave)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VJournal);
    for (const char* v : {"50.1", "50.0"}) KeyIn(frm, v);  // two of three
    ChooseItem(f, frm, ids::VDiameter);
    for (const char* v : {"74.01", "74.02", "73.99", "74.00", "74.03"}) KeyIn(frm, v);
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("样本不完整，不能保存！"));
    EXPECT_EQ(f.Count("select count(*) from D_VDD"), 0);
    // The window shows the incomplete subgroup.
    EXPECT_EQ(frm->Collect().CurCID(), ids::VJournal);
    EXPECT_EQ(frm->Grid->model()->rowCount(), 3);
    ClickCell(frm, 2, "Data");
    KeyIn(frm, "49.9");
    f.db.Messages.Messages.clear();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(f.Count("select count(*) from D_VDD"), 8);
    // The empty blocks appended last of both items were not stored.
    EXPECT_EQ(f.Count("select count(*) from D_VDM"), 2);
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 0);
}

TEST(VCollect, AnEmptiedValueLeavesItsSubgroupAndIsNeverStoredAsZero)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VJournal);
    for (const char* v : {"50.1", "50.0", "49.9"}) KeyIn(frm, v);
    auto& v = static_cast<TVCollectFrm*>(frm)->VCollect();
    ClickCell(frm, 1, "Data");
    ClearCell(frm);
    const TVariableData* data = v.DataList(ids::VJournal)->FindBySN(v.CDSVData.RowValue(0, TVCollect::fSGNo).toInt());
    ASSERT_TRUE(data);
    ASSERT_EQ(data->ValueCount(), 2);
    EXPECT_DOUBLE_EQ(data->Value(1), 49.9);
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("样本不完整，不能保存！"));
    EXPECT_EQ(f.Count("select count(*) from D_VDD"), 0);
    ClickCell(frm, 1, "Data");
    KeyIn(frm, "50.2");
    f.db.Messages.Messages.clear();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(Values(ids::VJournal), (QStringList{"50.1", "50.2", "49.9"}));
    // A stored value emptied: its row would go, so the check stops the save; nothing is written.
    ClickCell(frm, 2, "Data");
    ClearCell(frm);
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("样本不完整，不能保存！"));
    EXPECT_EQ(Values(ids::VJournal), (QStringList{"50.1", "50.2", "49.9"}));
    // A block emptied again before it was saved is no subgroup: nothing pending for it.
    ClickCell(frm, 2, "Data");
    KeyIn(frm, "49.8");
    KeyIn(frm, "50.05");  // first row of the new block
    ClickCell(frm, 3, "Data");
    ClearCell(frm);
    f.db.Messages.Messages.clear();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(Values(ids::VJournal), (QStringList{"50.1", "50.2", "49.8"}));
    EXPECT_EQ(f.Count("select count(*) from D_VDM"), 1);
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
}

namespace {
// A right click on a point of the chart, as the mouse makes it; the point menu opens.
QMenu* RightClickPoint(TVChartFrm* chart, int index)
{
    TChartPanel* panel = chart->ChartPanel();
    const QPoint p = chart->Chart()->MainPoints->PixelOf(index).toPoint();
    QTest::mouseClick(panel, Qt::RightButton, {}, p);
    return panel->PointMenu();
}

QAction* MenuAction(QMenu* menu, const char* name)
{
    return menu->findChild<QAction*>(QString::fromLatin1(name));
}
} // namespace

TEST(VCollect, DeletingSubgroupsFromTheGridAndFromTheChart)
{
    TCollectFixture f;
    // Another window's exception editing is there: the point menu offers 编辑.
    EditExceptionPointHook() = [](TSPCChartData&, int, int, int) { return false; };
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VJournal);
    ChooseTemplate(f, frm, ids::TemplateProduction);
    for (const char* v : {"50.1", "50.0", "49.9", "50.2", "50.1", "50.3"}) KeyIn(frm, v);
    ClickSave(frm);
    ASSERT_EQ(f.Count("select count(*) from D_VDM"), 2);
    const int first = VariantToInt(GetSQLValue("select min(SN) from D_VDM"));
    // What a rule check and the exception window left on the first subgroup.
    ExecuteSQL(QStringLiteral("insert into D_Exception (CID, SN, JudgeSN) values (102, %1, 1)").arg(first));
    ExecuteSQL(QStringLiteral("insert into D_Case (CID, SN, CaseID) values (102, %1, 7)").arg(first));
    ExecuteSQL(QStringLiteral("insert into D_Action (CID, SN, ActionID) values (102, %1, 8)").arg(first));

    // A third subgroup, not saved: deleted from the grid's menu without a question.
    for (const char* v : {"49.8", "49.7", "49.6"}) KeyIn(frm, v);
    ClickCell(frm, 7, "Data");
    f.db.Messages.Messages.clear();
    frm->actDeleteSubgroup->trigger();
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(frm->Grid->model()->rowCount(), 9);  // two stored blocks and the empty one
    EXPECT_EQ(static_cast<TVCollectFrm*>(frm)->VCollect().DataList(ids::VJournal)->Count(), 2);

    // The chart: 编辑 only on a stored point; 删除 asks for a stored subgroup and No keeps it.
    frm->ChartAction(ctXBarR)->trigger();
    auto* chart = qobject_cast<TVChartFrm*>(frm->Charts().Item(0));
    ASSERT_TRUE(chart);
    QApplication::processEvents();
    ASSERT_EQ(chart->Chart()->MainPoints->Count(), 2);
    QMenu* menu = RightClickPoint(chart, 0);
    EXPECT_TRUE(MenuAction(menu, "EditAction")->isVisible());
    menu->hide();
    f.db.Messages.Answers = {TMsgResult::No};
    menu = RightClickPoint(chart, 0);
    MenuAction(menu, "DeleteAction")->trigger();
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("删除本记录后将不可恢复，是否继续？"));
    EXPECT_EQ(chart->Chart()->MainPoints->Count(), 2);
    // Yes: gone from the chart and the grid at once, from the database at the save, with
    // everything that hung on it.
    f.db.Messages.Answers = {TMsgResult::Yes};
    menu = RightClickPoint(chart, 0);
    MenuAction(menu, "DeleteAction")->trigger();
    EXPECT_EQ(chart->Chart()->MainPoints->Count(), 1);
    EXPECT_EQ(frm->Grid->model()->rowCount(), 6);
    EXPECT_EQ(f.Count(QStringLiteral("select count(*) from D_VDD where SN = %1").arg(first)), 3);
    ClickSave(frm);
    for (const char* table : {"D_VDM", "D_VDD", "D_Tag", "D_Exception", "D_Case", "D_Action"})
        EXPECT_EQ(f.Count(QStringLiteral("select count(*) from %1 where SN = %2").arg(QLatin1String(table)).arg(first)), 0)
            << table;
    EXPECT_EQ(f.Count("select count(*) from D_VDM"), 1);

    // A point keyed but not saved: no 编辑, and 删除 goes without a question.
    ClickCell(frm, 3, "Data");
    for (const char* v : {"50.0", "50.1", "50.2"}) KeyIn(frm, v);
    ASSERT_EQ(chart->Chart()->MainPoints->Count(), 2);
    menu = RightClickPoint(chart, 1);
    EXPECT_FALSE(MenuAction(menu, "EditAction")->isVisible());
    f.db.Messages.Messages.clear();
    MenuAction(menu, "DeleteAction")->trigger();
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(chart->Chart()->MainPoints->Count(), 1);
    EditExceptionPointHook() = nullptr;
}

TEST(VCollect, TagsComeFromTheTemplateAndCarryTheLastChosenValue)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VJournal);
    // Without a template a subgroup has no tags.
    EXPECT_EQ(TagTexts(frm->TagInput), QStringList());
    ChooseTemplate(f, frm, ids::TemplateProduction);
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=1号机"}));
    for (const char* v : {"50.1", "50.0", "49.9"}) KeyIn(frm, v);
    // The second subgroup: 2号机 chosen through the value dialog.
    f.Choose(2);
    ClickTagValueButton(frm->TagInput, 1);
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=2号机"}));
    // A cancelled value dialog changes nothing.
    f.CancelDialog();
    ClickTagValueButton(frm->TagInput, 1);
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=2号机"}));
    for (const char* v : {"50.2", "50.1", "50.0"}) KeyIn(frm, v);
    // The third subgroup starts with the value chosen last; the first kept its own.
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=2号机"}));
    ClickCell(frm, 0, "Data");
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=1号机"}));
    // A long value is shown cut to the panel's 50 characters; its identifier is stored.
    f.Choose(3);
    ClickTagValueButton(frm->TagInput, 1);
    EXPECT_EQ(TagTexts(frm->TagInput).value(1), QStringLiteral("机台=") + QStringLiteral("三号机").repeated(20).left(50));

    // A value taken away ("不选") stops the save until one is chosen again.
    ClickCell(frm, 3, "Data");
    f.ChooseNone();
    ClickTagValueButton(frm->TagInput, 0);
    EXPECT_EQ(TagTexts(frm->TagInput).value(0), QStringLiteral("班次="));
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("标签未指定取值，请检查！"));
    EXPECT_EQ(f.Count("select count(*) from D_VDM"), 0);
    f.Choose(2);
    ClickTagValueButton(frm->TagInput, 0);
    f.db.Messages.Messages.clear();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    QSqlQuery q = CurrentCompanyDM().Exec("select TagID, TagValueID from D_Tag order by SN, TagID");
    QStringList stored;
    while (q.next()) stored << q.value(0).toString() + QLatin1Char(':') + q.value(1).toString();
    EXPECT_EQ(stored, (QStringList{"401:1", "402:3", "401:2", "402:2"}));
    // The empty third block's tags were not written.
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 4);

    // A template whose tag has no default: the block cannot be left until a value is chosen.
    ChooseItem(f, frm, ids::VDiameter);
    ChooseTemplate(f, frm, ids::TemplateShiftOnly);
    for (const char* v : {"74.01", "74.02", "73.99", "74.00", "74.03"}) KeyIn(frm, v);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("标签未指定取值，请检查！"));
    EXPECT_EQ(frm->Grid->model()->rowCount(), 5);
    // "不选" in the template dialog: no tags for this subgroup and the later ones.
    f.ChooseNone();
    QTest::mouseClick(frm->ToolBar->widgetForAction(frm->actTag), Qt::LeftButton);
    EXPECT_EQ(TagTexts(frm->TagInput), QStringList());
    KeyIn(frm, "");
    EXPECT_EQ(frm->Grid->model()->rowCount(), 10);
    EXPECT_EQ(TagTexts(frm->TagInput), QStringList());
}

TEST(VCollect, AFailedSaveRollsBackAndKeepsEverythingPending)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VJournal);
    for (const char* v : {"50.1", "50.0", "49.9"}) KeyIn(frm, v);
    ChooseItem(f, frm, ids::VDiameter);
    for (const char* v : {"74.01", "74.02", "73.99", "74.00", "74.03"}) KeyIn(frm, v);
    // Another workstation stored a value under the same key meanwhile.
    const int sn = static_cast<TVCollectFrm*>(frm)->VCollect().CDSVData.RowValue(0, TVCollect::fSGNo).toInt();
    ExecuteSQL(QStringLiteral("insert into D_VDD (CID, SN, SSN, VResult) values (101, %1, 3, 1)").arg(sn));
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("记录重复(编码或主键)，请检查！"));
    // Rolled back: the other item's rows, written first, are not there either.
    EXPECT_EQ(f.Count("select count(*) from D_VDM"), 0);
    EXPECT_EQ(f.Count("select count(*) from D_VDD"), 1);
    EXPECT_TRUE(frm->Collect().HasPendingChanges());
    ExecuteSQL(QStringLiteral("delete from D_VDD"));
    f.db.Messages.Messages.clear();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(Values(ids::VJournal), (QStringList{"50.1", "50", "49.9"}));
    EXPECT_EQ(Values(ids::VDiameter), (QStringList{"74.01", "74.02", "73.99", "74", "74.03"}));

    // A stored value changed by another workstation is reported, not overwritten.
    ExecuteSQL(QStringLiteral("update D_VDD set VResult = 60 where CID = 101 and SSN = 1"));
    ClickCell(frm, 0, "Data");
    KeyIn(frm, "74.05");
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("记录已被删除或修改！"));
    EXPECT_EQ(Values(ids::VDiameter).value(0), QStringLiteral("60"));
}

TEST(VCollect, TheClosingQuestionsThreeAnswers)
{
    TCollectFixture f;
    auto key = [&](TVCollectFrm* frm) {
        ChooseItem(f, frm, ids::VJournal);
        for (const char* v : {"50.1", "50.0", "49.9"}) KeyIn(frm, v);
    };
    // Cancel: the window and its values stay.
    QPointer<TVCollectFrm> frm = f.Open<TVCollectFrm>();
    key(frm);
    f.db.Messages.Answers = {TMsgResult::Cancel};
    QTest::mouseClick(frm->ToolBar->widgetForAction(frm->actClose), Qt::LeftButton);
    Settle();
    ASSERT_TRUE(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("数据没有保存，保存数据？"));
    EXPECT_EQ(CellText(frm, 2, "Data"), QStringLiteral("49.9"));
    // Yes with a save that fails: still open, nothing lost.
    ExecuteSQL(QStringLiteral("insert into D_VDM (CID, SN) values (102, %1)")
                   .arg(frm->VCollect().CDSVData.RowValue(0, TVCollect::fSGNo).toInt()));
    f.db.Messages.Answers = {TMsgResult::Yes};
    frm->close();
    Settle();
    ASSERT_TRUE(frm);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("记录重复(编码或主键)，请检查！"));
    // Yes: saved and closed.
    ExecuteSQL(QStringLiteral("delete from D_VDM"));
    f.db.Messages.Answers = {TMsgResult::Yes};
    frm->close();
    Settle();
    EXPECT_FALSE(frm);
    EXPECT_EQ(Values(ids::VJournal), (QStringList{"50.1", "50", "49.9"}));
    // No: closed, nothing written. A window with nothing keyed closes without the question.
    QPointer<TVCollectFrm> other = f.Open<TVCollectFrm>();
    key(other);
    f.db.Messages.Answers = {TMsgResult::No};
    other->close();
    Settle();
    EXPECT_FALSE(other);
    EXPECT_EQ(f.Count("select count(*) from D_VDM"), 1);
    QPointer<TVCollectFrm> empty = f.Open<TVCollectFrm>();
    ChooseItem(f, empty, ids::VJournal);
    f.db.Messages.Messages.clear();
    empty->close();
    Settle();
    EXPECT_FALSE(empty);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
}

TEST(VCollect, ChartsAreTiledBesideTheWindow)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VDiameter);
    ChooseTemplate(f, frm, ids::TemplateProduction);
    const double values[][5] = {{74.01, 74.02, 73.99, 74.00, 74.03}, {74.00, 73.98, 74.01, 74.02, 74.00},
                                {74.03, 74.01, 74.02, 74.04, 74.00}, {73.99, 74.00, 73.97, 74.01, 73.98},
                                {74.02, 74.03, 74.00, 74.01, 74.02}, {74.00, 74.01, 73.99, 74.02, 74.01}};
    for (const auto& sg : values)
        for (double v : sg) KeyIn(frm, QString::number(v, 'f', 2));
    frm->ChartAction(ctXBarR)->trigger();
    frm->ChartAction(ctHistogram)->trigger();
    QApplication::processEvents();
    ASSERT_EQ(frm->Charts().Count(), 2);
    // The window at the left edge, 336 wide; the charts share the rest, one above the other.
    auto* frame = qobject_cast<QMdiSubWindow*>(frm->parentWidget());
    ASSERT_TRUE(frame);
    const QSize client = f.host.Area->viewport()->size();
    EXPECT_EQ(frame->geometry(), QRect(0, 0, 336, client.height() - 5));
    const int h = (client.height() - 6) / 2;
    for (int i = 0; i < 2; ++i) {
        QWidget* chart = frm->Charts().Item(i)->parentWidget();
        EXPECT_EQ(chart->geometry(), QRect(337, i * h, client.width() - 336 - 6, h - 1)) << i;
    }
    SaveShot(f.host, QStringLiteral("collect_variable"));
    // Closing the window takes its chart windows with it.
    ClickSave(frm);
    frm->close();
    Settle();
    EXPECT_EQ(f.host.Area->subWindowList().size(), 0);
}
