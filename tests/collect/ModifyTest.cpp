// 计量型数据编辑 and 计数型数据编辑 as an inspector uses them: the condition dialog (item and day,
// typed and confirmed) fills the window with the stored subgroups, a corrected value rewrites its
// own row, a value another workstation changed meanwhile is reported and not overwritten, a
// deleted subgroup goes with everything attached, and keyed changes are asked about before a load
// replaces them.
#include "CollectTestSupport.h"

#include "analysis/windows/ConditionSSelectFrm.h"
#include "collect/windows/AModifyFrm.h"
#include "collect/windows/CollectGrid.h"
#include "collect/windows/TagInputFrm.h"
#include "collect/windows/VModifyFrm.h"
#include "engine/AttributeData.h"
#include "engine/VariableData.h"
#include "foundation/RecordUtils.h"
#include "masterdata/windows/SelectionCommands.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
const QDate Day(2026, 3, 1);

double Value(int sn, int ssn)
{
    return 74.0 + sn * 0.01 + ssn * 0.001;
}

QString Stamp(const QDate& day, int hour, int second = 0)
{
    return QDateTime(day, QTime(hour, 0, second)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Subgroups 1 to 3 of 活塞环直径 on the day (8, 9 and 10 o'clock), 4 the day after; subgroup 1 and
// 2 with tags, subgroup 2 with an exception.
void StoreVariable()
{
    for (int sn = 1; sn <= 4; ++sn) {
        const QDate day = sn == 4 ? Day.addDays(1) : Day;
        ExecuteSQL(QStringLiteral("insert into D_VDM (CID, SN, VCount, State, TagTemplateID, WDate) "
                                  "values (:CID, :SN, 5, 1, 501, :WDate)"),
                   {{"CID", ids::VDiameter}, {"SN", sn}, {"WDate", Stamp(day, 7 + sn)}});
        for (int ssn = 1; ssn <= 5; ++ssn)
            ExecuteSQL(QStringLiteral("insert into D_VDD (CID, SN, SSN, VResult, WDate) values (:CID, :SN, :SSN, :V, :W)"),
                       {{"CID", ids::VDiameter}, {"SN", sn}, {"SSN", ssn}, {"V", Value(sn, ssn)}, {"W", Stamp(day, 7 + sn, ssn)}});
    }
    const int tags[][4] = {{1, ids::TagShift, 1}, {1, ids::TagMachine, 2}, {2, ids::TagShift, 2}, {2, ids::TagMachine, 1}};
    for (const auto& t : tags)
        ExecuteSQL(QStringLiteral("insert into D_Tag (CID, SN, TagID, TagValueID) values (:CID, :SN, :T, :V)"),
                   {{"CID", ids::VDiameter}, {"SN", t[0]}, {"T", t[1]}, {"V", t[2]}});
    ExecuteSQL(QStringLiteral("insert into D_Exception (CID, SN, JudgeSN) values (101, 2, 1)"));
}

// 焊接缺陷 on the day: subgroup 1 with both phenomena (2 and 4) under a stored total of 9 that no
// longer agrees, subgroup 2 without defect rows, both tagged.
void StoreAttribute()
{
    const int rows[][5] = {{1, 200, 50, 3, 9}, {2, 200, 40, 1, 0}};
    for (const auto& r : rows) {
        ExecuteSQL(QStringLiteral("insert into D_ADM (CID, SN, Batch, Inspected, Rejected, Defected, State, WDate) "
                                  "values (:CID, :SN, :B, :I, :R, :D, 1, :W)"),
                   {{"CID", ids::AWeld}, {"SN", r[0]}, {"B", r[1]}, {"I", r[2]}, {"R", r[3]}, {"D", r[4]}, {"W", Stamp(Day, 8 + r[0])}});
        ExecuteSQL(QStringLiteral("insert into D_Tag (CID, SN, TagID, TagValueID) values (:CID, :SN, 401, 1)"),
                   {{"CID", ids::AWeld}, {"SN", r[0]}});
    }
    ExecuteSQL(QStringLiteral("insert into D_ADD (CID, SN, DPID, Defected) values (202, 1, 301, 2)"));
    ExecuteSQL(QStringLiteral("insert into D_ADD (CID, SN, DPID, Defected) values (202, 1, 302, 4)"));
}

void TypeDay(QDateEdit* edit, const QDate& day)
{
    edit->setFocus();
    edit->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(edit, day.toString(QStringLiteral("yyyy")));
    edit->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(edit, day.toString(QStringLiteral("MM")));
    edit->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(edit, day.toString(QStringLiteral("dd")));
}

// The condition dialog: the item as its chooser hands it over, the days typed, OK.
void Conditions(TScriptedDialogRunner& runner, int cid, const QDate& from, const QDate& to)
{
    runner.Scripts << [cid, from, to](QDialog& d) {
        auto& dialog = dynamic_cast<TConditionSSelectFrm&>(d);
        dialog.Condition().ChooseCharacteristic(cid);
        TypeDay(dialog.dtpStartDate, from);
        TypeDay(dialog.dtpEndDate, to);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    };
}

void Load(TCollectFixture& f, TBaseCollectFrm* frm, int cid, const QDate& from, const QDate& to = Day)
{
    Conditions(f.runner, cid, from, to);
    QTest::mouseClick(frm->btnItem, Qt::LeftButton);
}

QString Stored(int sn, int ssn)
{
    return GetSQLValue(QStringLiteral("select VResult from D_VDD where CID = 101 and SN = :SN and SSN = :SSN"),
                       {{"SN", sn}, {"SSN", ssn}})
        .toString();
}

// Every stored value, as text, in key order.
QStringList AllValues()
{
    QStringList values;
    QSqlQuery q = CurrentCompanyDM().Exec(QStringLiteral("select SN, SSN, VResult from D_VDD order by CID, SN, SSN"));
    while (q.next()) values << QStringLiteral("%1.%2=%3").arg(q.value(0).toInt()).arg(q.value(1).toInt()).arg(q.value(2).toDouble());
    return values;
}

QStringList Column(TBaseCollectFrm* frm, const QString& field)
{
    QStringList texts;
    for (int r = 0; r < frm->Grid->model()->rowCount(); ++r) texts << CellText(frm, r, field);
    return texts;
}

bool ControlsEnabled(TBaseCollectFrm* frm)
{
    return frm->actSave->isEnabled() && frm->actTag->isEnabled() && frm->btnChart->isEnabled() &&
           frm->TagInput->isEnabled() && frm->Grid->isEnabled();
}

bool ControlsDisabled(TBaseCollectFrm* frm)
{
    return !frm->actSave->isEnabled() && !frm->actTag->isEnabled() && !frm->btnChart->isEnabled() &&
           !frm->TagInput->isEnabled() && !frm->Grid->isEnabled();
}
} // namespace

TEST(VModifyFrm, LoadsTheDaysSubgroupsWithTheirValuesAndTags)
{
    TCollectFixture f;
    StoreVariable();
    auto* frm = f.Open<TVModifyFrm>();
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("计量型数据编辑"));
    Load(f, frm, ids::VDiameter, Day);
    ASSERT_EQ(f.runner.Shown, QStringList{"TVConditionSSelectFrm"});
    EXPECT_TRUE(f.db.Messages.Texts().isEmpty()) << f.db.Messages.LastText().toStdString();
    EXPECT_EQ(frm->edtItem->text(), QStringLiteral("活塞环直径"));

    // Three blocks of five, in sample-number order; the day after is not among them.
    ASSERT_EQ(frm->Grid->model()->rowCount(), 15);
    QStringList expected;
    for (int sn = 1; sn <= 3; ++sn)
        for (int ssn = 1; ssn <= 5; ++ssn) expected << QString::number(Value(sn, ssn));
    EXPECT_EQ(Column(frm, "Data"), expected);
    EXPECT_EQ(CellText(frm, 5, "SGNo"), "2");
    EXPECT_EQ(CellText(frm, 6, "SGNo"), "");
    EXPECT_EQ(CellText(frm, 7, "No"), "3");
    EXPECT_FALSE(CellText(frm, 7, "Date").isEmpty());
    EXPECT_TRUE(CellText(frm, 7, "Time").startsWith("09:00")) << CellText(frm, 7, "Time").toStdString();

    const TVariableDataList* list = frm->VCollect().CurrentList();
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Item(1).SN, 2);
    EXPECT_EQ(list->Item(1).ValueCount(), 5);
    EXPECT_NEAR(list->Item(1).GetMean(), Value(2, 3), 1e-9);

    // The tag panel shows the current subgroup's stored tags and follows the grid.
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=2号机"}));
    ClickCell(frm, 6, "Data");
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=中班", "机台=1号机"}));
    ClickCell(frm, 11, "Data");
    EXPECT_TRUE(TagTexts(frm->TagInput).isEmpty());

    // Loading changes nothing: there is nothing to save and closing asks nothing.
    EXPECT_TRUE(ControlsEnabled(frm));
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
    SaveShot(*frm, "vmodify-loaded");

    // Another workstation removed the tags meanwhile: a new load shows none, and writes none back.
    ExecuteSQL(QStringLiteral("delete from D_Tag"));
    Load(f, frm, ids::VDiameter, Day);
    EXPECT_TRUE(TagTexts(frm->TagInput).isEmpty()) << TagTexts(frm->TagInput).join(' ').toStdString();
    ClickCell(frm, 0, "Data");
    KeyIn(frm, "74.6");
    ClickSave(frm);
    EXPECT_TRUE(f.db.Messages.Texts().isEmpty()) << f.db.Messages.LastText().toStdString();
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 0);
    frm->close();
    Settle();
    EXPECT_TRUE(f.db.Messages.Texts().isEmpty()) << f.db.Messages.LastText().toStdString();
}

TEST(VModifyFrm, ACorrectedValueRewritesExactlyItsRow)
{
    TCollectFixture f;
    StoreVariable();
    auto* frm = f.Open<TVModifyFrm>();
    Load(f, frm, ids::VDiameter, Day);
    QStringList before = AllValues();
    ClickCell(frm, 6, "Data");  // subgroup 2, value 2
    KeyIn(frm, "74.5");
    EXPECT_TRUE(frm->Collect().HasPendingChanges());
    EXPECT_NEAR(frm->VCollect().CurrentList()->Item(1).Value(1), 74.5, 1e-9);
    ClickSave(frm);
    EXPECT_TRUE(f.db.Messages.Texts().isEmpty()) << f.db.Messages.LastText().toStdString();
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
    before.replace(before.indexOf(QStringLiteral("2.2=%1").arg(Value(2, 2))), QStringLiteral("2.2=74.5"));
    EXPECT_EQ(AllValues(), before);
    EXPECT_EQ(f.Count("select count(*) from D_VDM"), 4);
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 4);

    // A second correction of the same value, saved again, starts from what was just written.
    ClickCell(frm, 6, "Data");
    KeyIn(frm, "74.25");
    ClickSave(frm);
    EXPECT_TRUE(f.db.Messages.Texts().isEmpty()) << f.db.Messages.LastText().toStdString();
    EXPECT_EQ(Stored(2, 2).toDouble(), 74.25);
}

TEST(VModifyFrm, AValueChangedMeanwhileIsReportedAndNothingIsWritten)
{
    TCollectFixture f;
    StoreVariable();
    auto* frm = f.Open<TVModifyFrm>();
    Load(f, frm, ids::VDiameter, Day);
    ClickCell(frm, 0, "Data");
    KeyIn(frm, "74.7");
    ClickCell(frm, 6, "Data");
    KeyIn(frm, "74.5");
    // Another workstation corrects the same value first.
    {
        auto other = f.db.OpenSecondConnection(QStringLiteral("other"));
        other->Exec(QStringLiteral("update D_VDD set VResult = 99 where CID = 101 and SN = 2 and SSN = 2"));
    }
    const QStringList stored = AllValues();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"记录已被删除或修改！"});
    // Nothing of the save is written, the other workstation's value stays, the edits stay pending.
    EXPECT_EQ(AllValues(), stored);
    EXPECT_EQ(Stored(2, 2).toDouble(), 99);
    EXPECT_TRUE(frm->Collect().HasPendingChanges());
    EXPECT_EQ(CellText(frm, 6, "Data"), "74.5");
    EXPECT_EQ(CellText(frm, 0, "Data"), "74.7");
}

TEST(VModifyFrm, ADeletedSubgroupGoesWithEverythingAttached)
{
    TCollectFixture f;
    StoreVariable();
    auto* frm = f.Open<TVModifyFrm>();
    Load(f, frm, ids::VDiameter, Day);
    ClickCell(frm, 7, "Data");
    f.db.Messages.Answers << TMsgResult::Yes;
    frm->actDeleteSubgroup->trigger();
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"删除本记录后将不可恢复，是否继续？"});
    EXPECT_EQ(frm->Grid->model()->rowCount(), 10);
    EXPECT_EQ(frm->VCollect().CurrentList()->Count(), 2);
    EXPECT_EQ(f.Count("select count(*) from D_VDD where SN = 2"), 5);  // not before the save
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts().size(), 1) << f.db.Messages.LastText().toStdString();
    for (const char* table : {"D_VDM", "D_VDD", "D_Tag", "D_Exception"})
        EXPECT_EQ(f.Count(QStringLiteral("select count(*) from %1 where CID = 101 and SN = 2").arg(table)), 0) << table;
    EXPECT_EQ(f.Count("select count(*) from D_VDD"), 15);
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 2);
}

TEST(VModifyFrm, LoadingOverUnsavedChangesAsksFirst)
{
    struct TCase {
        TMsgResult Answer;
        bool Loaded;        // the dialog ran and the stored value is shown again
        QString Written;    // the stored value afterwards
    };
    const TCase cases[] = {
        {TMsgResult::Cancel, false, QString::number(Value(1, 1))},
        {TMsgResult::No, true, QString::number(Value(1, 1))},
        {TMsgResult::Yes, true, "74.9"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Answer));
        TCollectFixture f;
        StoreVariable();
        auto* frm = f.Open<TVModifyFrm>();
        Load(f, frm, ids::VDiameter, Day);
        ClickCell(frm, 0, "Data");
        KeyIn(frm, "74.9");
        f.db.Messages.Answers << c.Answer;
        f.runner.Scripts.clear();
        Load(f, frm, ids::VDiameter, Day);
        EXPECT_EQ(f.db.Messages.Texts(), QStringList{"数据没有保存，保存数据？"});
        EXPECT_EQ(f.runner.Shown.size(), c.Loaded ? 2 : 1);
        EXPECT_EQ(QString::number(Stored(1, 1).toDouble()), c.Written);
        EXPECT_EQ(CellText(frm, 0, "Data"), c.Loaded ? c.Written : QStringLiteral("74.9"));
        EXPECT_EQ(frm->Collect().HasPendingChanges(), !c.Loaded);
    }
}

TEST(VModifyFrm, NoDataInTheRangeDisablesTheWindowUntilAnItemIsChosen)
{
    TCollectFixture f;
    StoreVariable();
    auto* frm = f.Open<TVModifyFrm>();
    Load(f, frm, ids::VDiameter, Day.addDays(10), Day.addDays(11));
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"没有符合条件的数据，请选择其他特性或重新设置条件！"});
    EXPECT_EQ(frm->Grid->model()->rowCount(), 0);
    EXPECT_TRUE(ControlsDisabled(frm));

    // A load that finds subgroups opens the window again, one that does not closes it again.
    Load(f, frm, ids::VDiameter, Day);
    EXPECT_TRUE(ControlsEnabled(frm));
    f.db.Messages.Messages.clear();
    Load(f, frm, ids::VJournal, Day);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"没有符合条件的数据，请选择其他特性或重新设置条件！"});
    EXPECT_TRUE(ControlsDisabled(frm));
    EXPECT_EQ(frm->edtItem->text(), QStringLiteral("主轴颈直径"));

    // "质量特性(&C)" still starts keying for another item, and the controls follow it.
    f.Choose(ids::VSingle);
    f.host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.host));
    frm->btnItem->setFocus();
    QTest::keyClick(frm->btnItem, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(frm->edtItem->text(), QStringLiteral("涂料粘度"));
    EXPECT_TRUE(ControlsEnabled(frm));
    EXPECT_EQ(frm->Grid->model()->rowCount(), 1);
}

TEST(AModifyFrm, LoadsTheDaysSubgroupsWithTheirCountsAndTags)
{
    TCollectFixture f;
    StoreAttribute();
    auto* frm = f.Open<TAModifyFrm>();
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("计数型数据编辑"));
    Load(f, frm, ids::AWeld, Day);
    ASSERT_EQ(f.runner.Shown, QStringList{"TAConditionSSelectFrm"});
    EXPECT_TRUE(f.db.Messages.Texts().isEmpty()) << f.db.Messages.LastText().toStdString();
    // The total shows the sum of the defect rows, not the stored 9; a subgroup without defect rows
    // offers none.
    EXPECT_EQ(Column(frm, "ItemName"), (QStringList{"检验时间", "批量数", "检验数", "不良数", "缺点数合计", "划伤", "气泡",
                                                    "检验时间", "批量数", "检验数", "不良数"}));
    EXPECT_EQ(Column(frm, "Data"), (QStringList{"2026-03-01 09:00:00", "200", "50", "3", "6", "2", "4",
                                                "2026-03-01 10:00:00", "200", "40", "1"}));
    const TAttributeDataList* list = frm->ACollect().CurrentList();
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Item(0).Defected, 6);
    EXPECT_EQ(list->Item(1).Inspected(), 40);
    EXPECT_EQ(TagTexts(frm->TagInput), QStringList{"班次=早班"});
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
    SaveShot(*frm, "amodify-loaded");
}

TEST(AModifyFrm, ACorrectedCountRewritesItsRowAndADeletedSubgroupGoesWhole)
{
    TCollectFixture f;
    StoreAttribute();
    auto* frm = f.Open<TAModifyFrm>();
    Load(f, frm, ids::AWeld, Day);
    ClickCell(frm, 5, "Data");  // 划伤 of subgroup 1
    KeyIn(frm, "5");
    EXPECT_EQ(CellText(frm, 4, "Data"), "9");
    ClickSave(frm);
    EXPECT_TRUE(f.db.Messages.Texts().isEmpty()) << f.db.Messages.LastText().toStdString();
    EXPECT_EQ(f.Count("select Defected from D_ADD where CID = 202 and SN = 1 and DPID = 301"), 5);
    EXPECT_EQ(f.Count("select Defected from D_ADD where CID = 202 and SN = 1 and DPID = 302"), 4);
    EXPECT_EQ(f.Count("select count(*) from D_ADD"), 2);
    EXPECT_EQ(f.Count("select Inspected from D_ADM where CID = 202 and SN = 2"), 40);

    ClickCell(frm, 2, "Data");
    f.db.Messages.Answers << TMsgResult::Yes;
    frm->actDeleteSubgroup->trigger();
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"删除本记录后将不可恢复，是否继续？"});
    for (const char* table : {"D_ADM", "D_ADD", "D_Tag"})
        EXPECT_EQ(f.Count(QStringLiteral("select count(*) from %1 where CID = 202 and SN = 1").arg(table)), 0) << table;
    EXPECT_EQ(f.Count("select count(*) from D_ADM"), 1);
    EXPECT_EQ(f.Count("select count(*) from D_Tag"), 1);
}

TEST(AModifyFrm, ACountChangedMeanwhileIsReportedAndNothingIsWritten)
{
    TCollectFixture f;
    StoreAttribute();
    auto* frm = f.Open<TAModifyFrm>();
    Load(f, frm, ids::AWeld, Day);
    ClickCell(frm, 6, "Data");  // 气泡 of subgroup 1
    KeyIn(frm, "7");
    EXPECT_EQ(CellText(frm, 4, "Data"), "9");
    {
        auto other = f.db.OpenSecondConnection(QStringLiteral("other"));
        other->Exec(QStringLiteral("update D_ADD set Defected = 1 where CID = 202 and SN = 1 and DPID = 302"));
    }
    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"记录已被删除或修改！"});
    EXPECT_EQ(f.Count("select Defected from D_ADD where CID = 202 and SN = 1 and DPID = 302"), 1);
    EXPECT_EQ(f.Count("select Defected from D_ADD where CID = 202 and SN = 1 and DPID = 301"), 2);
    EXPECT_TRUE(frm->Collect().HasPendingChanges());
    EXPECT_EQ(CellText(frm, 6, "Data"), "7");
}

// Both windows on the demo database, for a look at them.
TEST(ModifyFrm, ScreenshotsWithDemoData)
{
    TTestDatabase db{TTestDatabase::TContent::Demo};
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    TKQCommonDM lookups{db.DM()};
    TKQCommonDM::SetCurrent(&lookups);
    TCommandCenter center;
    RegisterSelectionCommands(center);
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
    const QDate today = QDate::currentDate();
    const int vcid = VariantToInt(GetSQLValue(QStringLiteral("select min(CID) from D_VDM")));
    const int acid = VariantToInt(GetSQLValue(QStringLiteral("select min(CID) from D_ADD")));
    {
        TVModifyFrm v;
        v.resize(336, 760);
        v.show();
        Conditions(runner, vcid, today.addDays(-120), today.addDays(-110));
        QTest::mouseClick(v.btnItem, Qt::LeftButton);
        EXPECT_GT(v.VCollect().CurrentList()->Count(), 0);
        SaveShot(v, "vmodify-demo");
        TAModifyFrm a;
        a.resize(336, 760);
        a.show();
        Conditions(runner, acid, today.addDays(-120), today.addDays(-110));
        QTest::mouseClick(a.btnItem, Qt::LeftButton);
        EXPECT_GT(a.ACollect().CurrentList()->Count(), 0);
        SaveShot(a, "amodify-demo");
        EXPECT_TRUE(db.Messages.Texts().isEmpty()) << db.Messages.LastText().toStdString();
    }
    TKQCommonDM::SetCurrent(nullptr);
}
