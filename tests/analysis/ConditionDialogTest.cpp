// The condition dialogs driven as a person drives them: mouse and keys on the real widgets, the real
// item chooser behind "SelectVControlItem", the tag-value chooser and the progress bar of a load.
#include "AnalysisTestSupport.h"

#include "analysis/SampleProvider.h"
#include "analysis/windows/SampleLoadProgress.h"
#include "analysis/windows/AAnalysisConditionSelectFrm.h"
#include "analysis/windows/TagValueMSelectFrm.h"
#include "analysis/windows/VAnalysisConditionSelectFrm.h"
#include "analysis/windows/VConditionSSelectFrm.h"
#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "engine/VariableData.h"
#include "foundation/CommandCentre.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/windows/BaseSingleSelectFrm.h"
#include "masterdata/windows/SelectionCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <functional>
#include <gtest/gtest.h>

using namespace analysis_test;

namespace {
struct TDialogFixture : ::testing::Test {
    explicit TDialogFixture(TTestDatabase::TContent content = TTestDatabase::TContent::Upgraded) : db(content)
    {
        TKQCommonDM::SetCurrent(&lookups);
        RegisterSelectionCommands(center);
    }
    ~TDialogFixture() override { TKQCommonDM::SetCurrent(nullptr); }

    TTestDatabase db;
    TKQCommonDM lookups{db.DM()};
    TCommandCenter center;
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
};

struct TDayDialogFixture : TDialogFixture {
    void SetUp() override { FillDay(); }
};

struct TDemoDialogFixture : TDialogFixture {
    TDemoDialogFixture() : TDialogFixture(TTestDatabase::TContent::Demo) {}
};

template <class T>
TScriptedDialogRunner::TScript As(std::function<void(T&)> script)
{
    return [script](QDialog& d) { script(dynamic_cast<T&>(d)); };
}

void Click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

QPoint CellCentre(QTableView* grid, const QModelIndex& index)
{
    return grid->visualRect(index).center();
}

// The grid row whose column shows the text (-1 when none).
int RowShowing(QTableView* grid, int column, const QString& text)
{
    const QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, column).data().toString() == text) return r;
    return -1;
}

QStringList ColumnTexts(QTableView* grid, int column, int role = Qt::DisplayRole)
{
    QStringList texts;
    const QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r) texts << m->index(r, column).data(role).toString();
    return texts;
}

void ClickTickBox(QTableView* grid, const QModelIndex& index)
{
    QStyleOptionViewItem option;
    option.initFrom(grid);
    option.rect = grid->visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = grid->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, grid);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, box.center());
}

void DoubleClick(QTableView* grid, const QPoint& at)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// The item chooser: a click on the row of the code, then OK.
TScriptedDialogRunner::TScript ChooseItem(const QString& code)
{
    return As<TBaseSingleSelectFrm>([code](TBaseSingleSelectFrm& d) {
        const int row = RowShowing(d.Grid, 0, code);
        ASSERT_GE(row, 0) << code.toStdString();
        QTest::mouseClick(d.Grid->viewport(), Qt::LeftButton, {}, CellCentre(d.Grid, d.Grid->model()->index(row, 0)));
        Click(d.btnOK);
    });
}

// The tag-value chooser: the tag chosen with the arrow keys, values ticked with the mouse, the
// flag set to the wish, then OK.
void PickTag(TTagValueMSelectFrm& d, const QString& tag, const QStringList& values, bool mandatory)
{
    const int target = d.cmbTag->findText(tag);
    ASSERT_GE(target, 0) << tag.toStdString();
    d.cmbTag->setFocus();
    while (d.cmbTag->currentIndex() < target) QTest::keyClick(d.cmbTag, Qt::Key_Down);
    while (d.cmbTag->currentIndex() > target) QTest::keyClick(d.cmbTag, Qt::Key_Up);
    for (const QString& v : values) {
        const int row = RowShowing(d.Grid, 1, v);
        ASSERT_GE(row, 0) << v.toStdString();
        ClickTickBox(d.Grid, d.Grid->model()->index(row, 0));
    }
    if (d.chkMandatory->isChecked() != mandatory) Click(d.chkMandatory);
}

// Typed as a person types a date: from the first section, the separators moving on.
void TypeDate(QDateEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClicks(edit, text);
}

void Save(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    ASSERT_TRUE(w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name));
}
} // namespace

TEST_F(TDayDialogFixture, ConditionDialogFromEmptyToConfirmed)
{
    TVAnalysisConditionSelectFrm dialog(GetNewTaskID());
    dialog.PresetChartType(ctXBarS);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("条件选择"));
    EXPECT_EQ(dialog.dtpStartTime->time(), QTime(0, 0, 0));
    EXPECT_EQ(dialog.dtpEndTime->time(), QTime(23, 59, 59));
    EXPECT_EQ(dialog.dtpStartDate->date(), QDate::currentDate());

    // Nothing chosen yet: OK, the tag button and the chart-type list each say what is missing.
    Click(dialog.btnOK);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请选择质量特性"));
    Click(dialog.btnTag);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请先选择质量特性！"));
    db.Messages.Messages.clear();
    Click(dialog.cmbChartType);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请先选择质量特性！"));
    EXPECT_TRUE(runner.Shown.isEmpty());

    // The item through its chooser.
    runner.Scripts << ChooseItem("V001");
    Click(dialog.btnCharacter);
    EXPECT_EQ(runner.Shown.last(), QStringLiteral("TVControlItemSSelectFrm"));
    EXPECT_EQ(ColumnTexts(dialog.grdCharacter, 0), QStringList{"V001"});
    EXPECT_EQ(ColumnTexts(dialog.grdCharacter, 1), QStringList{"活塞环直径"});
    EXPECT_EQ(ColumnTexts(dialog.grdCharacter, 2), QStringList{"机加工车间"});
    EXPECT_EQ(dialog.cmbChartType->count(), 3);
    EXPECT_EQ(dialog.cmbChartType->currentText(), ChartTypeName(ctXBarS)) << "the window's type, offered by the item";

    // The tags: 机台 optional by a double click into the empty tag grid, then 班次 by the button.
    runner.Scripts << As<TTagValueMSelectFrm>([](TTagValueMSelectFrm& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("选择标签值"));
        QStringList tags;
        for (int i = 0; i < d.cmbTag->count(); ++i) tags << d.cmbTag->itemText(i);
        EXPECT_EQ(tags, (QStringList{"班次", "机台"})) << "only the tags the item's subgroups carry";
        EXPECT_TRUE(d.chkMandatory->isChecked());
        PickTag(d, "机台", {"2号机"}, false);
        Click(d.btnOK);
    });
    DoubleClick(dialog.grdTag, QPoint(20, 40));
    runner.Scripts << As<TTagValueMSelectFrm>([](TTagValueMSelectFrm& d) {
        PickTag(d, "班次", {"早班"}, true);
        Click(d.btnOK);
    });
    Click(dialog.btnTag);
    EXPECT_EQ(ColumnTexts(dialog.grdTag, 2), (QStringList{"班次", "机台"}));
    EXPECT_EQ(ColumnTexts(dialog.grdTag, 0, Qt::CheckStateRole),
              (QStringList{QString::number(Qt::Checked), QString::number(Qt::Unchecked)}));
    // The value grid shows the values of the tag clicked in the tag grid.
    QTest::mouseClick(dialog.grdTag->viewport(), Qt::LeftButton, {},
                      CellCentre(dialog.grdTag, dialog.grdTag->model()->index(1, 1)));
    EXPECT_EQ(ColumnTexts(dialog.grdTagValue, 0), QStringList{"2号机"});

    // The day, typed; the chart type by the arrow keys.
    TypeDate(dialog.dtpStartDate, "2026-03-01");
    TypeDate(dialog.dtpEndDate, "2026-03-01");
    EXPECT_EQ(dialog.dtpStartDate->date(), QDate(2026, 3, 1));
    dialog.cmbChartType->setFocus();
    QTest::keyClick(dialog.cmbChartType, Qt::Key_Up);
    EXPECT_EQ(dialog.cmbChartType->currentText(), ChartTypeName(ctXBarR));

    Click(dialog.btnOK);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenChartType(), ctXBarR);
    EXPECT_EQ(dialog.SelectedCID(), PistonRing);
    EXPECT_EQ(dialog.StartDateTime(), At("2026-03-01 00:00:00"));
    EXPECT_EQ(dialog.EndDateTime(), At("2026-03-01 23:59:59"));
    EXPECT_EQ(dialog.TagText(), QStringLiteral("班次:早班;机台:2号机"));
    EXPECT_EQ(dialog.MandatoryTags(), QStringList{"501"});
    EXPECT_EQ(dialog.OptionalTags(), QStringList{"502"});
    EXPECT_EQ(TaskRows("m_Tag", dialog.TaskID()), 2);

    // What the analysis window then loads: 早班 or 2号机 on that day.
    TVariableDataList list;
    TSampleProvider provider;
    TSampleLoadOptions options;
    options.CID = dialog.SelectedCID();
    ASSERT_EQ(provider.LoadVariableSamples(dialog.TaskID(), dialog.MandatoryTags(), list, dialog.OptionalTags(), options),
              TSampleLoadResult::Loaded);
    QList<int> sns;
    for (int i = 0; i < list.Count(); ++i) sns << list.Item(i).SN;
    EXPECT_EQ(sns, (QList<int>{1, 2, 4}));
}

TEST_F(TDayDialogFixture, CancelKeepsTheChoiceForTheNextOkAndClosingDeletesTheTask)
{
    int task = 0;
    {
        TVConditionSSelectFrm dialog(GetNewTaskID());
        task = dialog.TaskID();
        EXPECT_FALSE(dialog.cmbChartType->isVisibleTo(&dialog)) << "no chart type outside the analysis dialogs";
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        runner.Scripts << ChooseItem("V002");
        DoubleClick(dialog.grdCharacter, QPoint(20, 10));
        EXPECT_EQ(ColumnTexts(dialog.grdCharacter, 0), QStringList{"V002"});
        Click(dialog.btnCancel);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(TaskRows("m_C", task), 0) << "Cancel writes nothing";

        // Shown again, the earlier choice is there and OK writes it.
        dialog.show();
        EXPECT_EQ(ColumnTexts(dialog.grdCharacter, 0), QStringList{"V002"});
        Click(dialog.btnOK);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(GetSQLValue("select CID from m_C where TaskID = :T", {{"T", task}}).toInt(), MainJournal);
        EXPECT_EQ(TaskRows("m_Date", task), 1);

        // The owner closes the task's queries; the next showing reads them again.
        dialog.CloseTaskQueries();
        EXPECT_EQ(dialog.grdCharacter->model()->rowCount(), 0);
        dialog.show();
        EXPECT_EQ(ColumnTexts(dialog.grdCharacter, 1), QStringList{"主轴颈直径"});
    }
    EXPECT_EQ(TaskRows("m_C", task) + TaskRows("m_Date", task), 0) << "the task goes with its dialog";
}

TEST_F(TDayDialogFixture, TheAttributeDialogChoosesAttributeItems)
{
    TAAnalysisConditionSelectFrm dialog(GetNewTaskID());
    dialog.PresetChartType(ctP);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    runner.Scripts << ChooseItem("A001");
    Click(dialog.btnCharacter);
    EXPECT_EQ(runner.Shown.last(), QStringLiteral("TAControlItemSSelectFrm"));
    EXPECT_EQ(ColumnTexts(dialog.grdCharacter, 1), QStringList{"外观不良"});
    QStringList types;
    for (int i = 0; i < dialog.cmbChartType->count(); ++i) types << dialog.cmbChartType->itemText(i);
    EXPECT_EQ(types, (QStringList{ChartTypeName(ctP), ChartTypeName(ctNP), ChartTypeName(ctU), ChartTypeName(ctC),
                                  ChartTypeName(ctPareto)}));
    Click(dialog.btnOK);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenChartType(), ctP);
    EXPECT_EQ(dialog.SelectedCID(), Appearance);
}

TEST_F(TDayDialogFixture, TheProgressBarOfALongLoadCancelsIt)
{
    // A load that outlasts the delay shows the bar; its cancel button ends the load, and the list
    // keeps what it showed.
    TBaseCondition c(ikVariable, false, GetNewTaskID());
    c.ChooseCharacteristic(PistonRing);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 07:59:59");
    ASSERT_TRUE(c.SaveCondition());
    TSampleProvider provider;
    TVariableDataList list;
    ASSERT_EQ(provider.LoadVariableSamples(c.TaskID(), {}, list, {}), TSampleLoadResult::Loaded);
    SetDay(c, "2026-03-01 00:00:00", "2026-03-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());

    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    TSampleLoadProgress bar(&owner, 0);
    const TLoadProgress shown = bar.Callback();
    bool clicked = false;
    TSampleLoadOptions options;
    options.Progress = [&](int done, int total) {
        const bool go = shown(done, total);
        if (bar.Dialog() && !clicked) {
            EXPECT_TRUE(bar.Dialog()->isVisible());
            EXPECT_EQ(bar.Dialog()->labelText(), QStringLiteral("正在读取数据..."));
            QPushButton* cancel = bar.Dialog()->findChild<QPushButton*>();
            EXPECT_EQ(cancel ? cancel->text() : QString(), QStringLiteral("取消"));
            if (cancel) Click(cancel);
            clicked = true;
        }
        return go;
    };
    EXPECT_EQ(provider.LoadVariableSamples(c.TaskID(), {}, list, {}, options), TSampleLoadResult::Cancelled);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(list.Count(), 1);

    // A load done within the delay shows no bar.
    TSampleLoadProgress quick(&owner);
    const TLoadProgress callback = quick.Callback();
    for (int i = 0; i <= 10; ++i) EXPECT_TRUE(callback(i, 10));
    EXPECT_EQ(quick.Dialog(), nullptr);

    // Nothing in the window: the window says so.
    SetDay(c, "2027-01-01 00:00:00", "2027-01-01 23:59:59");
    ASSERT_TRUE(c.SaveCondition());
    EXPECT_EQ(RunSampleLoad(&owner, [&](const TLoadProgress& progress) {
                  TSampleLoadOptions o;
                  o.Progress = progress;
                  return provider.LoadVariableSamples(c.TaskID(), {}, list, {}, o);
              }),
              TSampleLoadResult::NoData);
    EXPECT_EQ(db.Messages.LastText(), NoSamplesText());
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(TDemoDialogFixture, ConditionDialogOnTheDemoFactory)
{
    TVAnalysisConditionSelectFrm dialog(GetNewTaskID());
    dialog.PresetChartType(ctXBarR);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QString code = GetSQLString("select min(CCode) from L_VControlItem where SampleSize > 1");
    runner.Scripts << ChooseItem(code);
    Click(dialog.btnCharacter);
    ASSERT_EQ(ColumnTexts(dialog.grdCharacter, 0), QStringList{code});
    runner.Scripts << As<TTagValueMSelectFrm>([](TTagValueMSelectFrm& d) {
        PickTag(d, "班次", {"早班", "中班"}, true);
        Save(d, "analysis_tag_values.png");
        Click(d.btnOK);
    });
    Click(dialog.btnTag);
    runner.Scripts << As<TTagValueMSelectFrm>([](TTagValueMSelectFrm& d) {
        PickTag(d, "机台", {"1号机"}, false);
        Click(d.btnOK);
    });
    Click(dialog.btnTag);
    TypeDate(dialog.dtpStartDate, QDate::currentDate().addDays(-30).toString("yyyy-MM-dd"));
    QTest::mouseClick(dialog.grdTag->viewport(), Qt::LeftButton, {},
                      CellCentre(dialog.grdTag, dialog.grdTag->model()->index(0, 1)));
    EXPECT_EQ(ColumnTexts(dialog.grdTag, 1).size(), 2);
    EXPECT_EQ(ColumnTexts(dialog.grdTagValue, 0), (QStringList{"早班", "中班"}));
    EXPECT_EQ(dialog.cmbChartType->currentText(), ChartTypeName(ctXBarR));
    Save(dialog, "analysis_condition.png");

    Click(dialog.btnOK);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    TVariableDataList list;
    TSampleProvider provider;
    TSampleLoadOptions options;
    options.CID = dialog.SelectedCID();
    ASSERT_EQ(provider.LoadVariableSamples(dialog.TaskID(), dialog.MandatoryTags(), list, dialog.OptionalTags(), options),
              TSampleLoadResult::Loaded);
    EXPECT_GT(list.Count(), 5);
}
