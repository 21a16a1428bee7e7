// The selection dialogs run through their commands the way the windows run them: parameters set,
// Execute, outputs read; the scripted dialog runner plays the user, typing into the filter boxes
// and clicking rows, tick boxes and buttons.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "foundation/CommandCentre.h"
#include "foundation/DataSet.h"
#include "foundation/RecordUtils.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/windows/BaseMulSelectFrm.h"
#include "masterdata/windows/BaseSingleSelectFrm.h"
#include "masterdata/windows/ControlItemSSelectFrm.h"
#include "masterdata/windows/DefectPhenomenonMSelectFrm.h"
#include "masterdata/windows/SelectionCommands.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {
// A few rows of every list; codes and names chosen so the filters have something to tell apart.
void FillMasterData()
{
    const char* statements[] = {
        "insert into L_Process (ProID, ProCode, ProName) values (101, 'P10', '机加工车间')",
        "insert into L_Process (ProID, ProCode, ProName) values (102, 'P20', '涂装车间')",
        "insert into L_Process (ProID, ProCode, ProName) values (103, 'P30', '总装车间')",
        "insert into L_VControlItem (CID, CCode, CName, ProID) values (201, 'V001', '活塞环直径', 101)",
        "insert into L_VControlItem (CID, CCode, CName, ProID) values (202, 'V002', '主轴颈直径', 101)",
        "insert into L_VControlItem (CID, CCode, CName, ProID) values (203, 'V010', '涂料粘度', 102)",
        "insert into L_VControlItem (CID, CCode, CName, ProID) values (204, 'v011', '涂层厚度', 102)",
        "insert into L_VControlItem (CID, CCode, CName, ProID) values (205, 'V020', '无过程特性', null)",
        "insert into L_AControlItem (CID, CCode, CName, ProID, LotSize) values (301, 'A001', '活塞外观不良', 101, 500)",
        "insert into L_AControlItem (CID, CCode, CName, ProID, LotSize) values (302, 'A002', '焊接缺陷', 103, null)",
        "insert into L_DefectItem (DID, DCode, DName) values (401, 'D01', '外观')",
        "insert into L_DefectItem (DID, DCode, DName) values (402, 'D02', '功能')",
        "insert into L_Tag (TagID, TagCode, TagName) values (501, 'BC', '班次')",
        "insert into L_Tag (TagID, TagCode, TagName) values (502, 'JT', '机台')",
        "insert into L_Tag (TagID, TagCode, TagName) values (503, 'KB', '空标签')",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (501, 1, '早班', 1)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (501, 2, '中班', 1)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (501, 3, '临时加班', 0)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (502, 1, '1号机', 1)",
        "insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName, Describe) "
        "values (601, 'SC01', '生产记录标签', '班次与机台')",
        "insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName, Describe) "
        "values (602, 'SC02', '班次标签', '只记班次')",
        "insert into L_Case (CaseID, CaseCode, CaseName, Describe) values (701, 'C01', '刀具磨损', '')",
        "insert into L_Case (CaseID, CaseCode, CaseName, Describe) values (702, 'C02', '参数漂移', '')",
        "insert into L_Case (CaseID, CaseCode, CaseName, Describe) values (703, 'C03', '量具误差', '')",
        "insert into L_Case (CaseID, CaseCode, CaseName, Describe) values (704, 'C04', '材料不良', '')",
        "insert into L_Action (ActionID, ActionCode, ActionName, Describe) values (801, 'A01', '更换刀具', '')",
        "insert into L_Action (ActionID, ActionCode, ActionName, Describe) values (802, 'A02', '调整参数', '')",
        "insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (901, 'DP01', '划伤')",
        "insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (902, 'DP02', '气泡')",
        "insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (903, 'DP03', '漏焊')",
    };
    for (const char* sql : statements) ExecuteSQL(QString::fromUtf8(sql));
}

struct TSelectFixture {
    explicit TSelectFixture(TTestDatabase::TContent content = TTestDatabase::TContent::Upgraded) : db(content)
    {
        if (content != TTestDatabase::TContent::Demo) FillMasterData();
        TKQCommonDM::SetCurrent(&lookups);
        RegisterSelectionCommands(center);
    }
    ~TSelectFixture() { TKQCommonDM::SetCurrent(nullptr); }

    TCommand& Command(const QString& name) { return *center.CommandByName(name); }

    TTestDatabase db;
    TKQCommonDM lookups{db.DM()};
    TCommandCenter center;
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
};

// --- Playing the user -------------------------------------------------------------------------

// Typed character by character, as a keyboard (or an input method) delivers them.
void Type(QLineEdit* box, const QString& text)
{
    box->setFocus();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void ClearAndType(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    Type(box, text);
}

// The grid index of the data-set row whose field holds the value (invalid when none or hidden).
QModelIndex RowIndex(const TBaseSelectFrm& d, const QString& field, const QVariant& value, int column = 0)
{
    const TDataSet& ds = *d.DataSet();
    const int f = ds.FieldByName(field)->Index();
    for (int r = 0; r < ds.RecordCount(); ++r)
        if (VariantsEqual(ds.RowValue(r, f), value)) return d.GridIndex(r, column);
    return {};
}

void ClickRow(TBaseSelectFrm& d, const QModelIndex& index)
{
    ASSERT_TRUE(index.isValid());
    QTest::mouseClick(d.Grid->viewport(), Qt::LeftButton, {}, d.Grid->visualRect(index).center());
}

// As the mouse delivers it: a click, then the second press arriving as a double click.
void DoubleClickRow(TBaseSelectFrm& d, const QModelIndex& index)
{
    ASSERT_TRUE(index.isValid());
    const QPoint at = d.Grid->visualRect(index).center();
    QTest::mouseClick(d.Grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(d.Grid->viewport(), Qt::LeftButton, {}, at);
}

// A click on the tick box drawn in the cell (where the style draws it).
void ClickTickBox(TBaseSelectFrm& d, const QModelIndex& index)
{
    ASSERT_TRUE(index.isValid());
    QStyleOptionViewItem option;
    option.initFrom(d.Grid);
    option.rect = d.Grid->visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = d.Grid->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, d.Grid);
    QTest::mouseClick(d.Grid->viewport(), Qt::LeftButton, {}, box.center());
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// The texts of one grid column, top to bottom, as shown.
QStringList Shown(const TBaseSelectFrm& d, int column = 0)
{
    QStringList texts;
    const QAbstractItemModel* m = d.Grid->model();
    for (int r = 0; r < m->rowCount(); ++r) texts << m->index(r, column).data().toString();
    return texts;
}

QStringList Headers(const TBaseSelectFrm& d)
{
    QStringList titles;
    const QAbstractItemModel* m = d.Grid->model();
    for (int c = 0; c < m->columnCount(); ++c) titles << m->headerData(c, Qt::Horizontal).toString();
    return titles;
}

// The key shown selected (NullValue when none).
int SelectedKey(const TBaseSelectFrm& d)
{
    const int row = d.CurrentRow();
    return row < 0 ? NullValue : VariantToInt(d.DataSet()->RowValue(row, d.DataSet()->FieldByName(d.KeyFieldName())->Index()));
}

QStringList TickedCodes(const TBaseSelectFrm& d, int codeColumn = 1)
{
    QStringList codes;
    const QAbstractItemModel* m = d.Grid->model();
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked) codes << m->index(r, codeColumn).data().toString();
    return codes;
}

template <class T>
TScriptedDialogRunner::TScript As(std::function<void(T&)> script)
{
    return [script](QDialog& d) { script(dynamic_cast<T&>(d)); };
}
using TSingleScript = std::function<void(TBaseSingleSelectFrm&)>;
using TMultiScript = std::function<void(TBaseMulSelectFrm&)>;

// The caller's rows of current selections, as the exception and master-data windows keep them.
struct TCallerRows {
    explicit TCallerRows(const QString& keyField, const QString& codeField) : Key(keyField), Code(codeField)
    {
        Rows.AddFieldDef(keyField, TFieldType::Integer);
        Rows.AddFieldDef(codeField, TFieldType::String, 15);
        Rows.CreateDataSet();
    }
    void Add(int id, const QString& code) { Rows.AppendRecord({id, code}); }
    QStringList Codes()
    {
        QStringList codes;
        for (int r = 0; r < Rows.RecordCount(); ++r) codes << Rows.RowValue(r, 1).toString();
        return codes;
    }
    // The windows' way with the dialog's answer: every row deleted, the ticked ones appended.
    TMultiSelectCallback ReplaceCallback(const QString& dialogCodeField)
    {
        return TMultiSelectCallback::FromCallable([this, dialogCodeField](TDataSet* ds, const QString& key) {
            ++Calls;
            ReceivedKey = key;
            ReceivedRows = ds->RecordCount();
            while (!Rows.IsEmpty()) {
                Rows.First();
                Rows.Delete();
            }
            for (ds->First(); !ds->Eof(); ds->Next())
                if (ds->FieldByName(QStringLiteral("Selected"))->AsInteger() == 1)
                    Rows.AppendRecord({ds->Value(key), ds->Value(dialogCodeField)});
        });
    }
    QString Key, Code;
    TMemTable Rows;
    int Calls = 0;
    int ReceivedRows = -1;
    QString ReceivedKey;
};
} // namespace

TEST(SelectionCommands, EightCommandsRegisteredSixTakenOffAtExit)
{
    TSelectFixture f;
    const QStringList names = {"SelectProcess", "SelectDefectItem", "SelectVControlItem", "SelectAControlItem",
                               "SelectTagValue", "SelectTagTemplate", "MSelectCase", "MSelectAction"};
    ASSERT_EQ(f.center.Count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(f.center.Commands(i)->CommandName(), names[i]);
        EXPECT_TRUE(f.center.Commands(i)->Single());
        EXPECT_EQ(f.center.Commands(i)->parent(), nullptr);
        EXPECT_TRUE(f.center.Commands(i)->OnExcute());
    }
    EXPECT_EQ(MessageOf([&] { RegisterSelectionCommands(f.center); }),
              QStringLiteral("已存在同名的Command: SelectProcess"));
    UnregisterSelectionCommands(f.center);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(f.center.FindCommand(names[i]), nullptr) << names[i].toStdString();
    EXPECT_NE(f.center.FindCommand(QStringLiteral("MSelectCase")), nullptr);
    EXPECT_NE(f.center.FindCommand(QStringLiteral("MSelectAction")), nullptr);
}

TEST(SelectionDialogs, SingleChoiceOutcomes)
{
    TSelectFixture f;
    const auto ok = [](TBaseSingleSelectFrm& d) { Click(d.btnOK); };
    const struct {
        const char* why;
        QVariant id;
        TSingleScript act;
        bool unselected;
        int chosen;
        const char* name;  // "旧名": the parameter was left alone
    } cases[] = {
        {"OK takes the row the dialog opened on", 102, ok, false, 102, "涂装车间"},
        {"a clicked row is the choice",
         102,
         [](TBaseSingleSelectFrm& d) {
             ClickRow(d, RowIndex(d, "ProCode", "P30"));
             Click(d.btnOK);
         },
         false, 103, "总装车间"},
        {"a double click chooses and closes", 101,
         [](TBaseSingleSelectFrm& d) { DoubleClickRow(d, RowIndex(d, "ProCode", "P20", 1)); }, false, 102,
         "涂装车间"},
        {"Enter takes the selected row", 101,
         [](TBaseSingleSelectFrm& d) { QTest::keyClick(d.edtCode, Qt::Key_Return); }, false, 101, "机加工车间"},
        {"不选 asks the caller to clear its field and chooses no identifier", 102,
         [](TBaseSingleSelectFrm& d) { Click(d.btnUnSelect); }, true, NullValue, "旧名"},
        {"Cancel changes nothing", 102, [](TBaseSingleSelectFrm& d) { Click(d.btnCancel); }, false, NullValue,
         "旧名"},
        {"Escape cancels", 102, [](TBaseSingleSelectFrm& d) { QTest::keyClick(d.Grid, Qt::Key_Escape); }, false,
         NullValue, "旧名"},
        {"an identifier that no longer exists opens on the first row", 999, ok, false, 101, "机加工车间"},
        {"no identifier (0) opens on the first row", 0, ok, false, 101, "机加工车间"},
        {"a cancelled identifier (NullValue) opens on the first row", NullValue, ok, false, 101, "机加工车间"},
    };
    TCommand& cmd = f.Command(QStringLiteral("SelectProcess"));
    for (const auto& c : cases) {
        cmd.SetParamValue(QStringLiteral("ID"), c.id);
        cmd.SetParamValue(QStringLiteral("Name"), QStringLiteral("旧名"));
        f.runner.Scripts << As<TBaseSingleSelectFrm>(c.act);
        cmd.Execute();
        EXPECT_EQ(cmd.GetParamValue(QStringLiteral("UnSelected")).toBool(), c.unselected) << c.why;
        EXPECT_EQ(cmd.GetParamValue(QStringLiteral("ID")).toInt(), c.chosen) << c.why;
        EXPECT_EQ(cmd.GetParamValue(QStringLiteral("Name")).toString(), QString::fromUtf8(c.name)) << c.why;
        EXPECT_FALSE(f.lookups.qryProcess().Active()) << c.why << ": the dialog closes its data set";
    }
    EXPECT_EQ(f.runner.Shown.size(), static_cast<qsizetype>(std::size(cases)));
    EXPECT_EQ(f.runner.Shown.first(), QStringLiteral("TProcessSSelectFrm"));
}

TEST(SelectionDialogs, OpensOnTheGivenRowOrTheFirst)
{
    TSelectFixture f;
    TCommand& cmd = f.Command(QStringLiteral("SelectDefectItem"));
    QList<int> opened;
    for (const int id : {402, 999}) {
        cmd.SetParamValue(QStringLiteral("ID"), id);
        f.runner.Scripts << As<TBaseSingleSelectFrm>([&](TBaseSingleSelectFrm& d) {
            opened << SelectedKey(d);
            EXPECT_EQ(d.Grid->selectionModel()->selectedRows().size(), 1);
            Click(d.btnOK);
        });
        cmd.Execute();
    }
    EXPECT_EQ(opened, (QList<int>{402, 401}));
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("Name")).toString(), QStringLiteral("外观"));
}

TEST(SelectionDialogs, NothingToChooseActsAsCancel)
{
    TSelectFixture f;
    TCommand& cmd = f.Command(QStringLiteral("SelectTagValue"));
    // A tag without values lists nothing: OK stores no identifier, "不选" still clears.
    cmd.SetParamValue(QStringLiteral("TagID"), 503);
    cmd.SetParamValue(QStringLiteral("TagValueID"), 1);
    f.runner.Scripts << As<TBaseSingleSelectFrm>([](TBaseSingleSelectFrm& d) {
        EXPECT_EQ(d.Grid->model()->rowCount(), 0);
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_FALSE(cmd.GetParamValue(QStringLiteral("UnSelected")).toBool());
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("TagValueID")).toInt(), NullValue);

    f.runner.Scripts << As<TBaseSingleSelectFrm>([](TBaseSingleSelectFrm& d) { Click(d.btnUnSelect); });
    cmd.Execute();
    EXPECT_TRUE(cmd.GetParamValue(QStringLiteral("UnSelected")).toBool());
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("TagValueID")).toInt(), NullValue);

    // A filter that hides every row leaves nothing to take either.
    TCommand& process = f.Command(QStringLiteral("SelectProcess"));
    process.SetParamValue(QStringLiteral("ID"), 101);
    f.runner.Scripts << As<TBaseSingleSelectFrm>([](TBaseSingleSelectFrm& d) {
        Type(d.edtCode, QStringLiteral("P9"));
        EXPECT_EQ(d.CurrentRow(), -1);
        Click(d.btnOK);
    });
    process.Execute();
    EXPECT_FALSE(process.GetParamValue(QStringLiteral("UnSelected")).toBool());
    EXPECT_EQ(process.GetParamValue(QStringLiteral("ID")).toInt(), NullValue);

    // So does an empty table.
    ExecuteSQL(QStringLiteral("delete from L_Process"));
    f.runner.Scripts << As<TBaseSingleSelectFrm>([](TBaseSingleSelectFrm& d) { Click(d.btnOK); });
    process.Execute();
    EXPECT_EQ(process.GetParamValue(QStringLiteral("ID")).toInt(), NullValue);
}

TEST(SelectionDialogs, ControlItemFiltersAsTyped)
{
    TSelectFixture f;
    TCommand& cmd = f.Command(QStringLiteral("SelectVControlItem"));
    using TBox = QLineEdit* TControlItemSSelectFrm::*;
    const TBox code = &TControlItemSSelectFrm::edtCode, name = &TControlItemSSelectFrm::edtName,
               proCode = &TControlItemSSelectFrm::edtProCode, proName = &TControlItemSSelectFrm::edtProName;
    const struct {
        const char* why;
        QList<QPair<TBox, QString>> typed;
        QStringList shown;
    } cases[] = {
        {"nothing typed lists every item by code", {}, {"V001", "V002", "V010", "V020", "v011"}},
        {"part of a code", {{code, "V00"}}, {"V001", "V002"}},
        {"codes match case-sensitively", {{code, "v0"}}, {"v011"}},
        {"blanks around the text are ignored", {{code, " V01 "}}, {"V010"}},
        {"part of a name", {{name, "直径"}}, {"V001", "V002"}},
        {"the process name alone", {{proName, "涂装"}}, {"V010", "v011"}},
        {"the boxes combine", {{proCode, "P10"}, {name, "轴"}}, {"V002"}},
        {"an item without a process has no process to match", {{proCode, "P"}}, {"V001", "V002", "V010", "v011"}},
        {"nothing matches", {{code, "X"}}, {}},
    };
    for (const auto& c : cases) {
        cmd.SetParamValue(QStringLiteral("ID"), 201);
        QStringList shown;
        f.runner.Scripts << As<TControlItemSSelectFrm>([&](TControlItemSSelectFrm& d) {
            for (const auto& [box, text] : c.typed) Type(d.*box, text);
            shown = Shown(d);
            Click(d.btnCancel);
        });
        cmd.Execute();
        EXPECT_EQ(shown, c.shown) << c.why;
    }
}

TEST(SelectionDialogs, FilteredControlItemReturnsTheRowChosen)
{
    TSelectFixture f;
    TCommand& cmd = f.Command(QStringLiteral("SelectVControlItem"));
    cmd.SetParamValue(QStringLiteral("ID"), 201);
    QList<int> selected;
    f.runner.Scripts << As<TControlItemSSelectFrm>([&](TControlItemSSelectFrm& d) {
        EXPECT_EQ(d.lblCode->text(), QStringLiteral("特性编码："));
        EXPECT_EQ(d.lblProName->text(), QStringLiteral("过程名称："));
        selected << SelectedKey(d);
        Type(d.edtProName, QStringLiteral("涂装"));  // hides the row it opened on
        selected << SelectedKey(d);
        ClickRow(d, RowIndex(d, "CCode", "v011", 2));
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_EQ(selected, (QList<int>{201, 203}));
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("ID")).toInt(), 204);
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("Name")).toString(), QStringLiteral("涂层厚度"));

    // Clearing the filter shows the chosen row again, still selected.
    cmd.SetParamValue(QStringLiteral("ID"), 202);
    f.runner.Scripts << As<TControlItemSSelectFrm>([&](TControlItemSSelectFrm& d) {
        Type(d.edtCode, QStringLiteral("X"));
        ClearAndType(d.edtCode, QString());
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("ID")).toInt(), 202);

    // The attribute items hand back their lot size as text (empty without one).
    TCommand& attr = f.Command(QStringLiteral("SelectAControlItem"));
    for (const auto& [id, lotSize] : {std::pair{301, "500"}, std::pair{302, ""}}) {
        attr.SetParamValue(QStringLiteral("ID"), id);
        f.runner.Scripts << As<TBaseSingleSelectFrm>([](TBaseSingleSelectFrm& d) { Click(d.btnOK); });
        attr.Execute();
        EXPECT_EQ(attr.GetParamValue(QStringLiteral("ID")).toInt(), id);
        EXPECT_EQ(attr.GetParamValue(QStringLiteral("LotSize")).toString(), QString::fromUtf8(lotSize));
    }
}

TEST(SelectionDialogs, TagValuesOfTheGivenTagOnly)
{
    TSelectFixture f;
    TCommand& cmd = f.Command(QStringLiteral("SelectTagValue"));
    cmd.SetParamValue(QStringLiteral("TagID"), 501);
    cmd.SetParamValue(QStringLiteral("TagValueID"), 2);
    QStringList shown, filtered;
    f.runner.Scripts << As<TBaseSingleSelectFrm>([&](TBaseSingleSelectFrm& d) {
        EXPECT_FALSE(d.edtCode->isVisible());
        EXPECT_EQ(d.lblName->text(), QStringLiteral("取值："));
        EXPECT_EQ(Headers(d), QStringList{"取值"});
        shown = Shown(d);
        EXPECT_EQ(SelectedKey(d), 2);
        Type(d.edtName, QStringLiteral("加班"));
        filtered = Shown(d);
        Click(d.btnOK);
    });
    cmd.Execute();
    // Values keyed during collection (UserInput 0) are offered too.
    EXPECT_EQ(shown, (QStringList{"早班", "中班", "临时加班"}));
    EXPECT_EQ(filtered, QStringList{"临时加班"});
    EXPECT_FALSE(cmd.GetParamValue(QStringLiteral("UnSelected")).toBool());
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("TagValueID")).toInt(), 3);
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("TagValue")).toString(), QStringLiteral("临时加班"));

    // The next tag's dialog lists its own values, whatever the last one showed.
    cmd.SetParamValue(QStringLiteral("TagID"), 502);
    f.runner.Scripts << As<TBaseSingleSelectFrm>([&](TBaseSingleSelectFrm& d) {
        shown = Shown(d);
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_EQ(shown, QStringList{"1号机"});
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("TagValueID")).toInt(), 1);
}

TEST(SelectionDialogs, TagTemplateChoice)
{
    TSelectFixture f;
    TCommand& cmd = f.Command(QStringLiteral("SelectTagTemplate"));
    cmd.SetParamValue(QStringLiteral("ID"), 601);
    f.runner.Scripts << As<TBaseSingleSelectFrm>([](TBaseSingleSelectFrm& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("标签模板选择"));
        EXPECT_EQ(Headers(d), (QStringList{"模板编号", "模板名称", "描述"}));
        Type(d.edtName, QStringLiteral("班次"));
        EXPECT_EQ(Shown(d), (QStringList{"SC02"}));
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("ID")).toInt(), 602);
    EXPECT_EQ(cmd.GetParamValue(QStringLiteral("Name")).toString(), QStringLiteral("班次标签"));
}

TEST(SelectionDialogs, EachDialogShowsTheTablesAsTheyAre)
{
    TSelectFixture f;
    // Another holder keeps the list open: the dialog still reads it again, and leaves it open.
    f.lookups.qryProcess().Open();
    TCommand& cmd = f.Command(QStringLiteral("SelectProcess"));
    QStringList shown;
    const auto look = As<TBaseSingleSelectFrm>([&](TBaseSingleSelectFrm& d) {
        shown = Shown(d);
        Click(d.btnCancel);
    });
    f.runner.Scripts << look;
    cmd.Execute();
    EXPECT_EQ(shown, (QStringList{"P10", "P20", "P30"}));
    ExecuteSQL(QStringLiteral("insert into L_Process (ProID, ProCode, ProName) values (104, 'P05', '来料检验')"));
    f.runner.Scripts << look;
    cmd.Execute();
    EXPECT_EQ(shown, (QStringList{"P05", "P10", "P20", "P30"}));
    EXPECT_TRUE(f.lookups.qryProcess().Active());
    EXPECT_EQ(f.lookups.qryProcess().OpenCount(), 1);
}

TEST(SelectionDialogs, WithoutTheLookupModuleTheDialogSaysSo)
{
    TSelectFixture f;
    TKQCommonDM::SetCurrent(nullptr);
    TCommand& process = f.Command(QStringLiteral("SelectProcess"));
    process.SetParamValue(QStringLiteral("ID"), 101);
    EXPECT_EQ(MessageOf([&] { process.Execute(); }), QStringLiteral("过程选择的数据集未指定或丢失"));
    TMultiSelectData data;
    TCommand& cases = f.Command(QStringLiteral("MSelectCase"));
    cases.SetData(&data);
    EXPECT_EQ(MessageOf([&] { cases.Execute(); }), QStringLiteral("原因选择的数据集未指定或丢失"));
    EXPECT_TRUE(f.runner.Shown.isEmpty());
}

TEST(SelectionDialogs, MultipleChoiceStartsFromTheCallersRows)
{
    TSelectFixture f;
    TCallerRows caller(QStringLiteral("CaseID"), QStringLiteral("CaseCode"));
    caller.Add(702, QStringLiteral("C02"));
    caller.Add(704, QStringLiteral("C04"));
    caller.Rows.SetRecNo(2);
    TMultiSelectData data{&caller.Rows, caller.ReplaceCallback(QStringLiteral("CaseCode"))};
    TCommand& cmd = f.Command(QStringLiteral("MSelectCase"));
    cmd.SetData(&data);
    cmd.SetParamValue(QStringLiteral("SelectedKeyField"), QStringLiteral("CaseID"));

    QStringList ticked, afterClicks, shownFiltered;
    f.runner.Scripts << As<TBaseMulSelectFrm>([&](TBaseMulSelectFrm& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("原因选择"));
        EXPECT_EQ(Headers(d), (QStringList{"选中", "编码", "名称", "描述"}));
        ticked = TickedCodes(d);
        EXPECT_EQ(caller.Rows.RecNo(), 2) << "the caller's position stays";
        ClickTickBox(d, RowIndex(d, "CaseCode", "C04"));  // untick
        Type(d.edtName, QStringLiteral("刀具"));         // only C01 is left to see
        shownFiltered = Shown(d, 1);
        ClickTickBox(d, RowIndex(d, "CaseCode", "C01"));
        afterClicks = TickedCodes(d);
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_EQ(ticked, (QStringList{"C02", "C04"}));
    EXPECT_EQ(shownFiltered, QStringList{"C01"});
    EXPECT_EQ(afterClicks, QStringList{"C01"});
    // The callback saw every case, the hidden ones included, so the caller keeps C02.
    EXPECT_EQ(caller.Calls, 1);
    EXPECT_EQ(caller.ReceivedRows, 4);
    EXPECT_EQ(caller.ReceivedKey, QStringLiteral("CaseID"));
    EXPECT_EQ(caller.Codes(), (QStringList{"C01", "C02"}));
    EXPECT_FALSE(f.lookups.qryMCase().Active());

    // Cancel hands nothing over.
    f.runner.Scripts << As<TBaseMulSelectFrm>([](TBaseMulSelectFrm& d) {
        ClickTickBox(d, RowIndex(d, "CaseCode", "C03"));
        Click(d.btnCancel);
    });
    cmd.Execute();
    EXPECT_EQ(caller.Calls, 1);
    EXPECT_EQ(caller.Codes(), (QStringList{"C01", "C02"}));
}

TEST(SelectionDialogs, MultipleChoiceWithNothingBefore)
{
    TSelectFixture f;
    // The list stays open elsewhere between the dialogs: no tick of an earlier dialog is left.
    f.lookups.qryMAction().Open();
    TCallerRows caller(QStringLiteral("ActionID"), QStringLiteral("ActionCode"));
    TMultiSelectData data{&caller.Rows, caller.ReplaceCallback(QStringLiteral("ActionCode"))};
    TCommand& cmd = f.Command(QStringLiteral("MSelectAction"));
    cmd.SetData(&data);  // no SelectedKeyField: the dialog's own key

    QStringList ticked;
    f.runner.Scripts << As<TBaseMulSelectFrm>([&](TBaseMulSelectFrm& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("措施选择"));
        ticked = TickedCodes(d);
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_TRUE(ticked.isEmpty());
    EXPECT_EQ(caller.ReceivedRows, 2);
    EXPECT_TRUE(caller.Codes().isEmpty());

    f.runner.Scripts << As<TBaseMulSelectFrm>([&](TBaseMulSelectFrm& d) {
        d.Grid->setCurrentIndex(RowIndex(d, "ActionCode", "A02"));
        d.Grid->setFocus();
        QTest::keyClick(d.Grid, Qt::Key_Space);  // the keyboard ticks as well
        Click(d.btnOK);
    });
    cmd.Execute();
    EXPECT_EQ(caller.Codes(), QStringList{"A02"});

    caller.Rows.EmptyDataSet();
    f.runner.Scripts << As<TBaseMulSelectFrm>([&](TBaseMulSelectFrm& d) {
        ticked = TickedCodes(d);
        Click(d.btnCancel);
    });
    cmd.Execute();
    EXPECT_TRUE(ticked.isEmpty());
    EXPECT_TRUE(f.lookups.qryMAction().Active());
    EXPECT_EQ(f.lookups.qryMAction().OpenCount(), 1);
    EXPECT_FALSE(f.lookups.qryMAction().UpdatesPending());
}

TEST(SelectionDialogs, DefectPhenomenaChosenDirectly)
{
    TSelectFixture f;
    // The assignment rows of a defect category: another key column order, matched by DPID.
    TMemTable detail;
    detail.AddFieldDef(QStringLiteral("DID"), TFieldType::Integer);
    detail.AddFieldDef(QStringLiteral("DPID"), TFieldType::Integer);
    detail.AddFieldDef(QStringLiteral("DPCode"), TFieldType::String, 15);
    detail.CreateDataSet();
    detail.AppendRecord({401, 902, QStringLiteral("DP02")});
    QStringList ticked;
    f.runner.Scripts << As<TBaseMulSelectFrm>([&](TBaseMulSelectFrm& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("缺点项目选择"));
        EXPECT_EQ(Headers(d), (QStringList{"选中", "缺点项目编码", "缺点项目名称"}));
        ticked = TickedCodes(d);
        Type(d.edtCode, QStringLiteral("03"));
        ClickTickBox(d, RowIndex(d, "DPCode", "DP03"));
        Click(d.btnOK);
    });
    QList<int> chosen;
    QString key;
    const bool ok = MSelectDefectPhenomenon(&detail, QStringLiteral("DPID"),
                                            TMultiSelectCallback::FromCallable([&](TDataSet* ds, const QString& k) {
                                                key = k;
                                                for (ds->First(); !ds->Eof(); ds->Next())
                                                    if (ds->FieldByName("Selected")->AsInteger() == 1)
                                                        chosen << ds->FieldByName(k)->AsInteger();
                                            }));
    EXPECT_TRUE(ok);
    EXPECT_EQ(ticked, QStringList{"DP02"});
    EXPECT_EQ(key, QStringLiteral("DPID"));
    EXPECT_EQ(chosen, (QList<int>{902, 903}));

    f.runner.Scripts << As<TBaseMulSelectFrm>([](TBaseMulSelectFrm& d) { Click(d.btnCancel); });
    chosen.clear();
    EXPECT_FALSE(MSelectDefectPhenomenon(&detail, QStringLiteral("DPID"), TMultiSelectCallback::FromCallable(
                                                                                [&](TDataSet*, const QString&) {
                                                                                    chosen << -1;
                                                                                })));
    EXPECT_TRUE(chosen.isEmpty());
}

// Every dialog over the demonstration data, as a person sees it.
TEST(SelectionDialogs, Screenshots)
{
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    TSelectFixture f(TTestDatabase::TContent::Demo);
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    const int shiftTag = GetSQLValue(QStringLiteral("select TagID from L_Tag where TagCode = 'BC'")).toInt();
    const int firstCase = GetSQLValue(QStringLiteral("select min(CaseID) from L_Case")).toInt();
    TCallerRows caller(QStringLiteral("CaseID"), QStringLiteral("CaseCode"));
    caller.Add(firstCase, QString());
    TMultiSelectData cases{&caller.Rows, {}};

    const struct {
        const char* command;
        const char* file;
        const char* caption;
        QStringList headers;
        std::function<void(TBaseSelectFrm&)> act;
    } shots[] = {
        {"SelectProcess", "select-process", "过程选择", {"编码", "名称"}, {}},
        {"SelectDefectItem", "select-defect-item", "缺点类别选择", {"编码", "名称"}, {}},
        {"SelectVControlItem", "select-vcontrolitem", "计量型质量特性选择", {"特性编码", "特性名称", "过程编码", "过程名称"}, {}},
        {"SelectVControlItem", "select-vcontrolitem-filtered", "计量型质量特性选择",
         {"特性编码", "特性名称", "过程编码", "过程名称"},
         [](TBaseSelectFrm& d) { Type(dynamic_cast<TControlItemSSelectFrm&>(d).edtProName, QStringLiteral("涂")); }},
        {"SelectAControlItem", "select-acontrolitem", "计数型质量特性选择", {"特性编码", "特性名称", "过程编码", "过程名称"}, {}},
        {"SelectTagValue", "select-tag-value", "标签值选择", {"取值"}, {}},
        {"SelectTagTemplate", "select-tag-template", "标签模板选择", {"模板编号", "模板名称", "描述"}, {}},
        {"MSelectCase", "mselect-case", "原因选择", {"选中", "编码", "名称", "描述"}, {}},
        {"MSelectAction", "mselect-action", "措施选择", {"选中", "编码", "名称", "描述"}, {}},
    };
    for (const auto& s : shots) {
        TCommand& cmd = f.Command(QString::fromLatin1(s.command));
        cmd.SetParamValue(QStringLiteral("ID"), NullValue);
        cmd.SetParamValue(QStringLiteral("TagID"), shiftTag);
        cmd.SetData(cmd.CommandName() == QLatin1String("MSelectCase") ? &cases : nullptr);
        f.runner.Scripts << As<TBaseSelectFrm>([&](TBaseSelectFrm& d) {
            EXPECT_EQ(d.windowTitle(), QString::fromUtf8(s.caption));
            EXPECT_EQ(Headers(d), s.headers) << s.file;
            if (s.act) s.act(d);
            EXPECT_GT(d.Grid->model()->rowCount(), 0) << s.file;
            EXPECT_GE(d.CurrentRow(), 0) << s.file;
            EXPECT_FALSE(d.btnNew->isVisible());
            d.grab().save(QStringLiteral(SCREENSHOT_DIR "/%1.png").arg(QString::fromLatin1(s.file)));
            Click(d.btnCancel);
        });
        cmd.Execute();
    }
    f.runner.Scripts << As<TBaseSelectFrm>([&](TBaseSelectFrm& d) {
        ClickTickBox(d, d.GridIndex(0));
        d.grab().save(QStringLiteral(SCREENSHOT_DIR "/mselect-defect-phenomenon.png"));
        Click(d.btnCancel);
    });
    MSelectDefectPhenomenon(nullptr, QString(), {});
}
