// The master-detail maintenance windows (defect categories, attribute control items, tags, tag
// templates), driven as a person drives them: keys and clicks on the real widgets, the edit
// windows and the phenomenon choice through the scripted dialog runner, a real demo database.
#include "FormWindowFixture.h"
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "component/FormFactory.h"
#include "foundation/CommandCentre.h"
#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/ListDM.h"
#include "masterdata/windows/DataEditDialog.h"
#include "masterdata/windows/DefectPhenomenonMSelectFrm.h"
#include "masterdata/windows/LAControlItemEditFrm.h"
#include "masterdata/windows/LAControlItemListFrm.h"
#include "masterdata/windows/LDefectItemEditFrm.h"
#include "masterdata/windows/LDefectItemListFrm.h"
#include "masterdata/windows/LDefectPhenomenonListFrm.h"
#include "masterdata/windows/LTagDetailEditFrm.h"
#include "masterdata/windows/LTagListFrm.h"
#include "masterdata/windows/LTagMasterEditFrm.h"
#include "masterdata/windows/LTagTemplateDetailEditFrm.h"
#include "masterdata/windows/LTagTemplateListFrm.h"
#include "masterdata/windows/LTagTemplateMasterEditFrm.h"
#include "masterdata/windows/MasterDataWindows.h"
#include "power/UserPowerCommon.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// A demo database (categories D01 with DP01 to DP05 and D02 with DP06 to DP08; tags BC 班次,
// JT 机台, CZY 检验员 with three values each; templates SC01 with the three tags and SC02 with
// the shift), the administrator's rights, both data modules, the window factory and a scripted
// dialog runner.
struct TFixture : TFormWindowFixture {
    TFixture() : TFormWindowFixture(RegisterMasterDataWindowClasses) {}
    TCommandCenter commands;
};

template <class T>
T* EditWindowOf(QDialog& dialog)
{
    auto* host = qobject_cast<TDataEditDialog*>(&dialog);
    return host ? qobject_cast<T*>(host->EditWindow()) : nullptr;
}

// --- Playing the user -------------------------------------------------------------------------

// Character by character, as a keyboard (or an input method) delivers them.
void Type(QLineEdit* w, const QString& text)
{
    w->setFocus();
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void Retype(QLineEdit* w, const QString& text)
{
    w->setFocus();
    w->selectAll();
    QTest::keyClick(w, Qt::Key_Delete);
    Type(w, text);
}

// Arrowing through the list (each step is a choice, as with the keyboard).
void Choose(QComboBox* list, const QString& text)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != text; ++i) QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentText(), text);
}

QStringList Items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

void Click(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

// The grid row whose first column shows the text.
int RowOf(QTableView* grid, const QString& text)
{
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 0).data().toString() == text) return r;
    return -1;
}

void ClickRow(QTableView* grid, const QString& text)
{
    const int row = RowOf(grid, text);
    ASSERT_GE(row, 0) << text.toStdString();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
}

void DoubleClickRow(QTableView* grid, const QString& text)
{
    const int row = RowOf(grid, text);
    ASSERT_GE(row, 0) << text.toStdString();
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

QStringList Column(QTableView* grid, int column = 0)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r) texts << grid->model()->index(r, column).data().toString();
    return texts;
}

// The phenomenon choice: column 0 ticks, column 1 the code.
int ChoiceRow(const TBaseSelectFrm& d, const QString& code)
{
    for (int r = 0; r < d.Grid->model()->rowCount(); ++r)
        if (d.Grid->model()->index(r, 1).data().toString() == code) return r;
    return -1;
}

void ClickTickBox(TBaseSelectFrm& d, const QString& code)
{
    const int row = ChoiceRow(d, code);
    ASSERT_GE(row, 0) << code.toStdString();
    QStyleOptionViewItem option;
    option.initFrom(d.Grid);
    option.rect = d.Grid->visualRect(d.Grid->model()->index(row, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = d.Grid->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, d.Grid);
    QTest::mouseClick(d.Grid->viewport(), Qt::LeftButton, {}, box.center());
}

QStringList Ticked(const TBaseSelectFrm& d)
{
    QStringList codes;
    const QAbstractItemModel* m = d.Grid->model();
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked) codes << m->index(r, 1).data().toString();
    return codes;
}

// A script for the phenomenon choice: toggles the codes, then OK.
TScriptedDialogRunner::TScript TogglePhenomena(const QStringList& codes, QStringList* tickedAtStart = nullptr)
{
    return [codes, tickedAtStart](QDialog& d) {
        auto* s = dynamic_cast<TDefectPhenomenonMSelectFrm*>(&d);
        ASSERT_TRUE(s) << "the phenomenon choice";
        if (tickedAtStart) *tickedAtStart = Ticked(*s);
        for (const QString& code : codes) ClickTickBox(*s, code);
        Click(s->btnOK);
    };
}

void SaveShot(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

// --- Reading back ------------------------------------------------------------------------------

int Count(const QString& sql, const TSqlParams& p = {})
{
    return GetSQLValue(sql, p).toInt();
}

int ID(const QString& sql, const QString& code)
{
    return GetSQLValue(sql, {{QStringLiteral("Code"), code}}).toInt();
}

QStringList Texts(const QString& sql, const TSqlParams& p = {})
{
    QSqlQuery q = TCompanyDM::Current()->Exec(sql, p);
    QStringList texts;
    while (q.next()) texts << q.value(0).toString();
    return texts;
}

QStringList CategoryPhenomena(const QString& code)
{
    return Texts(QStringLiteral("select p.DPCode from L_DefectItemDP a, L_DefectPhenomenon p, L_DefectItem d "
                                "where a.DPID = p.DPID and a.DID = d.DID and d.DCode = :Code order by p.DPCode"),
                 {{QStringLiteral("Code"), code}});
}

QStringList ItemPhenomena(const QString& code)
{
    return Texts(QStringLiteral("select p.DPCode from L_AControlItemDP a, L_DefectPhenomenon p, L_AControlItem c "
                                "where a.DPID = p.DPID and a.CID = c.CID and c.CCode = :Code order by p.DPCode"),
                 {{QStringLiteral("Code"), code}});
}

// "tag name=value" of a template's rows, in row order.
QStringList TemplateRows(const QString& code)
{
    return Texts(QStringLiteral("select t.TagName || '=' || coalesce(v.TagValue, '') "
                                "from L_TagTemplateDetail a join L_TagTemplate m on m.TagTemplateID = a.TagTemplateID "
                                "join L_Tag t on t.TagID = a.TagID "
                                "left join L_TagValue v on v.TagID = a.TagID and v.TagValueID = a.TagValueID "
                                "where m.TagTemplateCode = :Code order by a.TagTemplateDetailID"),
                 {{QStringLiteral("Code"), code}});
}

// The database refuses every deletion from the table, as a server rule might: the write fails
// in the middle of a save.
void RefuseDeletes(const QString& table)
{
    if (TestEngineIsServer()) {
        ExecuteSQL(QStringLiteral("create function refuse_delete() returns trigger as $$ "
                                  "begin raise exception 'refused'; end $$ language plpgsql"));
        ExecuteSQL(QStringLiteral("create trigger refuse_delete before delete on %1 for each row "
                                  "execute function refuse_delete()").arg(table));
    } else {
        ExecuteSQL(QStringLiteral("create trigger refuse_delete before delete on %1 "
                                  "begin select raise(abort, 'refused'); end").arg(table));
    }
}

void AllowDeletes(const QString& table)
{
    if (TestEngineIsServer()) ExecuteSQL(QStringLiteral("drop trigger refuse_delete on %1").arg(table));
    else ExecuteSQL(QStringLiteral("drop trigger refuse_delete"));
}

const QString InUse = QStringLiteral("该记录已被使用，不能删除！");
const QString Duplicate = QStringLiteral("记录重复(编码或主键)，请检查！");
const QString Unsaved = QStringLiteral("数据没有保存，保存数据？");
const QString DeleteQuestion = QStringLiteral("删除本记录后将不可恢复，是否继续？");
} // namespace

// The windows are registered in the program's order, each made by its name.
TEST(MasterDetailWindows, RegisteredInOrder)
{
    TWidgetClassFactory factory;
    RegisterMasterDataWindowClasses(factory);
    QStringList names;
    for (const TFormClass& c : factory.Classes()) names << c.ClassName;
    EXPECT_EQ(names, (QStringList{
                         "TLVControlItemListFrm", "TLVControlItemEditFrm", "TLAControlItemListFrm",
                         "TLAControlItemEditFrm", "TLActionListFrm", "TLActionEditFrm", "TLCaseListFrm",
                         "TLCaseEditFrm", "TLDefectItemListFrm", "TLDefectItemEditFrm", "TLDefectPhenomenonListFrm",
                         "TLDefectPhenomenonEditFrm", "TLProcessListFrm", "TLProcessEditFrm", "TLTagListFrm",
                         "TLTagMasterEditFrm", "TLTagDetailEditFrm", "TLTagTemplateListFrm",
                         "TLTagTemplateMasterEditFrm", "TLTagTemplateDetailEditFrm"}));
}

// A new category with its phenomena: a code in use is refused with everything kept (the chosen
// phenomena too), the corrected code saves the category and its rows in one go. Deleting it takes
// its rows along and leaves the other categories' rows.
TEST(MasterDetailWindows, NewDefectCategoryWithPhenomenaAndItsDeletion)
{
    TFixture f;
    auto* list = f.Open<TLDefectItemListFrm>();
    for (QAction* a : {list->actDetailNew, list->actDetailEdit, list->actDetailDelete}) EXPECT_FALSE(a->isVisible());
    QStringList messages, keptRows, tickedAtStart;
    QString keptName;
    bool stayedOpen = false;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLDefectItemEditFrm>(d);
        ASSERT_TRUE(e);
        Type(e->edtCode, QStringLiteral("D01"));
        Type(e->edtName, QStringLiteral("包装缺陷"));
        Click(e->btnSelect);
        Click(e->btnSaveExit);
        messages = f.db.Messages.Texts();
        stayedOpen = d.result() != QDialog::Accepted;
        keptName = e->edtName->text();
        keptRows = Column(e->PhenomenonGrid);
        Retype(e->edtCode, QStringLiteral("D09"));
        Click(e->btnSaveExit);
    };
    f.runner.Scripts << TogglePhenomena({"DP02", "DP07"}, &tickedAtStart);
    QTest::keyClick(list->MasterGrid, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(tickedAtStart.isEmpty()) << "a new category has no phenomena yet";
    EXPECT_EQ(messages, QStringList{Duplicate});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(keptName, QStringLiteral("包装缺陷"));
    EXPECT_EQ(keptRows, (QStringList{"DP02", "DP07"})) << "the refused save keeps the chosen phenomena";
    EXPECT_EQ(CategoryPhenomena(QStringLiteral("D09")), (QStringList{"DP02", "DP07"}));
    EXPECT_EQ(CategoryPhenomena(QStringLiteral("D01")).size(), 5) << "the category whose code was typed first";
    const int did = ID(QStringLiteral("select DID from L_DefectItem where DCode = :Code"), QStringLiteral("D09"));
    EXPECT_GT(did, 0);
    EXPECT_EQ(list->MasterDataSet()->Value(QStringLiteral("DCode")).toString(), QStringLiteral("D09"));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{"DP02", "DP07"}));
    EXPECT_EQ(Column(list->DetailGrid, 1), (QStringList{QStringLiteral("污渍"), QStringLiteral("漏焊")}));

    f.db.Messages.Messages.clear();
    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{DeleteQuestion});
    EXPECT_EQ(Count("select count(*) from L_DefectItem where DID = :ID", {{"ID", did}}), 0);
    EXPECT_EQ(Count("select count(*) from L_DefectItemDP where DID = :ID", {{"ID", did}}), 0);
    EXPECT_EQ(CategoryPhenomena(QStringLiteral("D01")).size(), 5);
    EXPECT_EQ(CategoryPhenomena(QStringLiteral("D02")).size(), 3);
    EXPECT_LT(RowOf(list->MasterGrid, QStringLiteral("D09")), 0);
}

// "选择(&D)..." starts from the category's phenomena and replaces them entirely by those ticked
// (a phenomenon kept is written again without a duplicate). Cancelling asks first and then
// leaves the stored assignments as they were.
TEST(MasterDetailWindows, ChosenPhenomenaReplaceTheCategorysAssignments)
{
    TFixture f;
    auto* list = f.Open<TLDefectItemListFrm>();
    const QStringList stored = {"DP01", "DP02", "DP03", "DP04", "DP05"};
    QStringList tickedAtStart, shownAfterChoice;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLDefectItemEditFrm>(d);
        ASSERT_TRUE(e);
        Click(e->btnSelect);
        shownAfterChoice = Column(e->PhenomenonGrid);
        f.db.Messages.Answers << TMsgResult::No;
        Click(e->btnCancelExit);
    };
    f.runner.Scripts << TogglePhenomena({"DP02", "DP03", "DP06"}, &tickedAtStart);
    DoubleClickRow(list->MasterGrid, QStringLiteral("D01"));
    EXPECT_EQ(tickedAtStart, stored);
    EXPECT_EQ(shownAfterChoice, (QStringList{"DP01", "DP04", "DP05", "DP06"}));
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{Unsaved}) << "chosen phenomena are not dropped without the question";
    EXPECT_EQ(CategoryPhenomena(QStringLiteral("D01")), stored);
    EXPECT_EQ(Column(list->DetailGrid), stored);

    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLDefectItemEditFrm>(d);
        Click(e->btnSelect);
        Click(e->btnSaveExit);
    };
    f.runner.Scripts << TogglePhenomena({"DP02", "DP03", "DP06"});
    DoubleClickRow(list->MasterGrid, QStringLiteral("D01"));
    EXPECT_EQ(CategoryPhenomena(QStringLiteral("D01")), (QStringList{"DP01", "DP04", "DP05", "DP06"}));
    EXPECT_EQ(CategoryPhenomena(QStringLiteral("D02")), (QStringList{"DP06", "DP07", "DP08"}));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{"DP01", "DP04", "DP05", "DP06"}));
}

// Attribute control items: a new item with its lot size, process and phenomena; "保存&&新增(&A)"
// carries the process over; an edit of a stored item; deleting a new item takes its phenomena,
// an item with subgroups is refused.
TEST(MasterDetailWindows, AttributeItemsWithProcessAndPhenomena)
{
    TFixture f;
    const int process = ID(QStringLiteral("select ProID from L_Process where ProCode = :Code"), QStringLiteral("P31"));
    f.commands.RegisterCommand(nullptr, "SelectProcess", true, TCommandEvent::FromCallable([&](TCommandParams&, void*) {
                                   TCommand* c = f.commands.FindCommand("SelectProcess");
                                   c->SetParamValue("UnSelected", false);
                                   c->SetParamValue("ID", process);
                                   c->SetParamValue("Name", QStringLiteral("电路板焊接"));
                               }));
    auto* list = f.Open<TLAControlItemListFrm>();
    QString carried;
    QStringList rowsOfSecond;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLAControlItemEditFrm>(d);
        ASSERT_TRUE(e);
        Type(e->edtCode, QStringLiteral("A101"));
        Type(e->edtName, QStringLiteral("连接器外观"));
        Type(e->edtLotSize, QStringLiteral("200"));
        Click(e->btnProcess);
        Click(e->btnSelect);
        Click(e->btnSaveNew);
        carried = e->edtProcess->text();
        rowsOfSecond = Column(e->PhenomenonGrid);
        Type(e->edtCode, QStringLiteral("A102"));
        Type(e->edtName, QStringLiteral("连接器焊接"));
        Click(e->btnSaveExit);
    };
    f.runner.Scripts << TogglePhenomena({"DP06", "DP08"});
    list->actMasterNew->trigger();
    EXPECT_EQ(ItemPhenomena(QStringLiteral("A101")), (QStringList{"DP06", "DP08"}));
    EXPECT_EQ(carried, QStringLiteral("电路板焊接"));
    EXPECT_TRUE(rowsOfSecond.isEmpty()) << "the new item starts without phenomena";
    EXPECT_EQ(Count("select LotSize from L_AControlItem where CCode = 'A101'"), 200);
    EXPECT_EQ(Count("select count(*) from L_AControlItem where CCode in ('A101', 'A102') and ProID = :P", {{"P", process}}), 2);
    EXPECT_TRUE(ItemPhenomena(QStringLiteral("A102")).isEmpty());

    // An edit of a stored item keeps its phenomena.
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLAControlItemEditFrm>(d);
        EXPECT_EQ(Column(e->PhenomenonGrid), (QStringList{"DP01", "DP02", "DP03"}));
        Retype(e->edtName, QStringLiteral("活塞外观"));
        Click(e->btnSaveExit);
    };
    DoubleClickRow(list->MasterGrid, QStringLiteral("A001"));
    EXPECT_EQ(GetSQLString("select CName from L_AControlItem where CCode = 'A001'"), QStringLiteral("活塞外观"));
    EXPECT_EQ(ItemPhenomena(QStringLiteral("A001")), (QStringList{"DP01", "DP02", "DP03"}));

    const int cid = ID(QStringLiteral("select CID from L_AControlItem where CCode = :Code"), QStringLiteral("A101"));
    ClickRow(list->MasterGrid, QStringLiteral("A101"));
    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Count("select count(*) from L_AControlItem where CID = :ID", {{"ID", cid}}), 0);
    EXPECT_EQ(Count("select count(*) from L_AControlItemDP where CID = :ID", {{"ID", cid}}), 0);

    f.db.Messages.Messages.clear();
    ClickRow(list->MasterGrid, QStringLiteral("A002"));
    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(f.db.Messages.LastText(), InUse);
    EXPECT_EQ(ItemPhenomena(QStringLiteral("A002")), (QStringList{"DP06", "DP07", "DP08"}));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{"DP06", "DP07", "DP08"}));
}

// Tags: a new tag, then its values through "新增明细" and "保存&&新增(&A)", each with the tag's next
// value number and UserInput 1; values with another UserInput are neither listed nor lost. An
// untouched new value goes without a question; an edited name is asked about before it is left.
TEST(MasterDetailWindows, TagsAndTheirValues)
{
    TFixture f;
    const int shift = ID(QStringLiteral("select TagID from L_Tag where TagCode = :Code"), QStringLiteral("BC"));
    ExecuteSQL("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (:T, 99, '外部班次', 0)",
               {{"T", shift}});
    auto* list = f.Open<TLTagListFrm>();
    ClickRow(list->MasterGrid, QStringLiteral("BC"));
    EXPECT_EQ(Column(list->DetailGrid),
              (QStringList{QStringLiteral("早班"), QStringLiteral("中班"), QStringLiteral("夜班")}));

    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLTagMasterEditFrm>(d);
        ASSERT_TRUE(e);
        Type(e->edtCode, QStringLiteral("QX"));
        Type(e->edtName, QStringLiteral("缺陷类型"));
        Click(e->btnSaveExit);
    };
    QTest::keyClick(list->MasterGrid, Qt::Key_N, Qt::ControlModifier);
    const int tag = ID(QStringLiteral("select TagID from L_Tag where TagCode = :Code"), QStringLiteral("QX"));
    ASSERT_GT(tag, 0);
    EXPECT_EQ(list->MasterDataSet()->Value(QStringLiteral("TagID")).toInt(), tag);
    EXPECT_EQ(list->DetailGrid->model()->rowCount(), 0);

    QStringList messages;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLTagDetailEditFrm>(d);
        ASSERT_TRUE(e);
        Click(e->btnSaveExit);  // nothing typed
        Type(e->edtValue, QStringLiteral("A类"));
        Click(e->btnSaveNew);
        Type(e->edtValue, QStringLiteral("B类"));
        Click(e->btnSaveNew);
        messages = f.db.Messages.Texts();
        Click(e->btnCancelExit);  // the third value untouched
    };
    list->actDetailNew->trigger();
    EXPECT_EQ(messages, QStringList{QStringLiteral("请输入预设值")});
    EXPECT_EQ(f.db.Messages.Texts(), messages) << "an untouched value goes without the question";
    EXPECT_EQ(Texts("select TagValue || ':' || TagValueID || ':' || UserInput from L_TagValue where TagID = :T "
                    "order by TagValueID", {{"T", tag}}),
              (QStringList{QStringLiteral("A类:1:1"), QStringLiteral("B类:2:1")}));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{QStringLiteral("A类"), QStringLiteral("B类")}));

    // A value edited, then a tag's name edited and left: asked, and No leaves it as stored.
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLTagDetailEditFrm>(d);
        Retype(e->edtValue, QStringLiteral("甲类"));
        Click(e->btnSaveExit);
    };
    DoubleClickRow(list->DetailGrid, QStringLiteral("A类"));
    EXPECT_EQ(GetSQLString("select TagValue from L_TagValue where TagID = :T and TagValueID = 1", {{"T", tag}}),
              QStringLiteral("甲类"));
    f.db.Messages.Messages.clear();
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLTagMasterEditFrm>(d);
        Retype(e->edtName, QStringLiteral("不良类型"));
        f.db.Messages.Answers << TMsgResult::Cancel << TMsgResult::No;
        Click(e->btnCancelExit);  // Cancel: stays
        EXPECT_EQ(e->edtName->text(), QStringLiteral("不良类型"));
        Click(e->btnCancelExit);  // No: dropped
    };
    DoubleClickRow(list->MasterGrid, QStringLiteral("QX"));
    EXPECT_EQ(f.db.Messages.Texts(), (QStringList{Unsaved, Unsaved}));
    EXPECT_EQ(GetSQLString("select TagName from L_Tag where TagID = :T", {{"T", tag}}), QStringLiteral("缺陷类型"));

    // The shift's value with UserInput 0 is still there.
    EXPECT_EQ(Count("select count(*) from L_TagValue where TagID = :T and UserInput = 0", {{"T", shift}}), 1);

    // Once a tag's window closes, its values are read again: a value another workstation added
    // meanwhile is listed.
    f.runner.Scripts << [&](QDialog& d) {
        ExecuteSQL("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (:T, 4, '四班', 1)",
                   {{"T", shift}});
        Click(EditWindowOf<TLTagMasterEditFrm>(d)->btnCancelExit);
    };
    DoubleClickRow(list->MasterGrid, QStringLiteral("BC"));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{QStringLiteral("早班"), QStringLiteral("中班"),
                                                     QStringLiteral("夜班"), QStringLiteral("四班")}));
}

// Deleting a tag deletes all its values, also those not listed here, in the same transaction: a
// database that refuses the values' deletion leaves the tag too, shows why, and the tag with its
// values is still in the window.
TEST(MasterDetailWindows, TagDeletedWithAllItsValuesInOneTransaction)
{
    TFixture f;
    const int tag = GetPrimaryKey(QStringLiteral("List"));
    ExecuteSQL("insert into L_Tag (TagID, TagCode, TagName, TagType) values (:T, 'YS', '颜色', 0)", {{"T", tag}});
    ExecuteSQL("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (:T, 1, '红', 1)", {{"T", tag}});
    ExecuteSQL("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (:T, 2, '外来', 0)", {{"T", tag}});
    ExecuteSQL("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (:T, 3, '绿', 1)", {{"T", tag}});
    const int allValues = Count("select count(*) from L_TagValue");
    auto* list = f.Open<TLTagListFrm>();

    RefuseDeletes(QStringLiteral("L_TagValue"));
    ClickRow(list->MasterGrid, QStringLiteral("YS"));
    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    ClickRow(list->DetailGrid, QStringLiteral("红"));
    list->actDetailDelete->trigger();
    AllowDeletes(QStringLiteral("L_TagValue"));
    const QStringList messages = f.db.Messages.Texts();
    ASSERT_EQ(messages.size(), 4) << "twice the question and why the deletion failed";
    EXPECT_EQ(messages.value(0), DeleteQuestion);
    EXPECT_EQ(messages.value(2), DeleteQuestion);
    EXPECT_EQ(Count("select count(*) from L_Tag where TagID = :T", {{"T", tag}}), 1) << "rolled back with its values";
    EXPECT_EQ(Count("select count(*) from L_TagValue"), allValues);
    EXPECT_GE(RowOf(list->MasterGrid, QStringLiteral("YS")), 0);
    EXPECT_EQ(list->MasterDataSet()->Value(QStringLiteral("TagCode")).toString(), QStringLiteral("YS"))
        << "the refused deletion leaves the user on the record";
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{QStringLiteral("红"), QStringLiteral("绿")}));
    EXPECT_EQ(list->DetailDataSet()->Value(QStringLiteral("TagValue")).toString(), QStringLiteral("红"));

    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Count("select count(*) from L_Tag where TagID = :T", {{"T", tag}}), 0);
    EXPECT_EQ(Count("select count(*) from L_TagValue where TagID = :T", {{"T", tag}}), 0);
    EXPECT_EQ(Count("select count(*) from L_TagValue"), allValues - 3) << "other tags keep their values";
}

// Tag templates: a new template; its rows from the two drop-downs ("预设值：" offers the values of
// the tag chosen in "标签：", those maintained here only); a tag listed twice is refused with the
// choice kept; moving to another row reads that row's values.
TEST(MasterDetailWindows, TagTemplateRowsFromTwoDropDowns)
{
    TFixture f;
    const int shift = ID(QStringLiteral("select TagID from L_Tag where TagCode = :Code"), QStringLiteral("BC"));
    ExecuteSQL("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (:T, 99, '外部班次', 0)",
               {{"T", shift}});
    auto* list = f.Open<TLTagTemplateListFrm>();
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLTagTemplateMasterEditFrm>(d);
        ASSERT_TRUE(e);
        Type(e->edtCode, QStringLiteral("SC09"));
        Type(e->edtName, QStringLiteral("抽检记录"));
        Click(e->btnSaveExit);
    };
    QTest::keyClick(list->MasterGrid, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(list->MasterDataSet()->Value(QStringLiteral("TagTemplateCode")).toString(), QStringLiteral("SC09"));

    QStringList tags, shiftValues, machineValues, messages;
    QString keptTag, valueAfterTagChange;
    bool stayedOpen = false;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLTagTemplateDetailEditFrm>(d);
        ASSERT_TRUE(e);
        tags = Items(e->cbTag);
        Choose(e->cbTag, QStringLiteral("班次"));
        shiftValues = Items(e->cbValue);
        Choose(e->cbValue, QStringLiteral("中班"));
        Click(e->btnSaveNew);
        Choose(e->cbTag, QStringLiteral("班次"));
        Click(e->btnSaveExit);  // the shift a second time
        messages = f.db.Messages.Texts();
        stayedOpen = d.result() != QDialog::Accepted;
        keptTag = e->cbTag->currentText();
        Choose(e->cbTag, QStringLiteral("机台"));
        machineValues = Items(e->cbValue);
        valueAfterTagChange = e->cbValue->currentText();
        Choose(e->cbValue, QStringLiteral("2号机"));
        Click(e->btnSaveExit);
    };
    list->actDetailNew->trigger();
    EXPECT_EQ(tags, (QStringList{QStringLiteral("班次"), QStringLiteral("检验员"), QStringLiteral("机台")}))
        << "every tag, by code";
    EXPECT_EQ(shiftValues, (QStringList{QStringLiteral("早班"), QStringLiteral("中班"), QStringLiteral("夜班")}));
    EXPECT_EQ(messages, QStringList{QStringLiteral("同一标签在模板中只能出现一次！")});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(keptTag, QStringLiteral("班次"));
    EXPECT_EQ(machineValues, (QStringList{QStringLiteral("1号机"), QStringLiteral("2号机"), QStringLiteral("3号机")}));
    EXPECT_TRUE(valueAfterTagChange.isEmpty()) << "no value of another tag";
    EXPECT_EQ(TemplateRows(QStringLiteral("SC09")),
              (QStringList{QStringLiteral("班次=中班"), QStringLiteral("机台=2号机")}));
    const int id = ID(QStringLiteral("select TagTemplateID from L_TagTemplate where TagTemplateCode = :Code"),
                      QStringLiteral("SC09"));
    EXPECT_EQ(Texts("select TagTemplateDetailID from L_TagTemplateDetail where TagTemplateID = :ID "
                    "order by TagTemplateDetailID", {{"ID", id}}),
              (QStringList{"1", "2"}));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{QStringLiteral("班次"), QStringLiteral("机台")}));
    EXPECT_EQ(Column(list->DetailGrid, 1), (QStringList{QStringLiteral("中班"), QStringLiteral("2号机")}));
    EXPECT_EQ(TemplateRows(QStringLiteral("SC01")).size(), 3) << "the other templates keep their rows";

    // Moving from row to row in the row window reads each row's values.
    QStringList firstValues, nextValues;
    QString nextValue;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLTagTemplateDetailEditFrm>(d);
        firstValues = Items(e->cbValue);
        Click(e->btnNext);
        nextValues = Items(e->cbValue);
        nextValue = e->cbValue->currentText();
        Choose(e->cbValue, QStringLiteral("3号机"));
        Click(e->btnSaveExit);
    };
    DoubleClickRow(list->DetailGrid, QStringLiteral("班次"));
    EXPECT_EQ(firstValues, shiftValues);
    EXPECT_EQ(nextValues, machineValues);
    EXPECT_EQ(nextValue, QStringLiteral("2号机"));
    EXPECT_EQ(TemplateRows(QStringLiteral("SC09")),
              (QStringList{QStringLiteral("班次=中班"), QStringLiteral("机台=3号机")}));
    EXPECT_EQ(Column(list->DetailGrid, 1), (QStringList{QStringLiteral("中班"), QStringLiteral("3号机")}));
}

// Deleting a template: its rows go with it in the same transaction; a refused deletion leaves the
// template with its rows, and either way the grids show the data again.
TEST(MasterDetailWindows, TagTemplateDeletion)
{
    TFixture f;
    auto* list = f.Open<TLTagTemplateListFrm>();
    const int sc01 = ID(QStringLiteral("select TagTemplateID from L_TagTemplate where TagTemplateCode = :Code"),
                        QStringLiteral("SC01"));
    RefuseDeletes(QStringLiteral("L_TagTemplateDetail"));
    ClickRow(list->MasterGrid, QStringLiteral("SC01"));
    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    AllowDeletes(QStringLiteral("L_TagTemplateDetail"));
    EXPECT_EQ(f.db.Messages.Texts().size(), 2) << "the question, then why the deletion failed";
    EXPECT_EQ(Count("select count(*) from L_TagTemplate where TagTemplateID = :ID", {{"ID", sc01}}), 1);
    EXPECT_EQ(TemplateRows(QStringLiteral("SC01")).size(), 3);
    EXPECT_TRUE(list->GridsAttached());
    EXPECT_EQ(Column(list->MasterGrid), (QStringList{"SC01", "SC02"}));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{QStringLiteral("班次"), QStringLiteral("机台"), QStringLiteral("检验员")}));

    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Count("select count(*) from L_TagTemplate where TagTemplateID = :ID", {{"ID", sc01}}), 0);
    EXPECT_EQ(Count("select count(*) from L_TagTemplateDetail where TagTemplateID = :ID", {{"ID", sc01}}), 0);
    EXPECT_EQ(TemplateRows(QStringLiteral("SC02")), QStringList{QStringLiteral("班次=早班")});
    EXPECT_TRUE(list->GridsAttached());
    EXPECT_EQ(Column(list->MasterGrid), QStringList{"SC02"});
    EXPECT_EQ(Column(list->DetailGrid), QStringList{QStringLiteral("班次")});
}

// Records that other rows still use are not deleted: the message says why and the record stays.
TEST(MasterDetailWindows, RecordsInUseAreNotDeleted)
{
    TFixture f;
    const int shift = ID(QStringLiteral("select TagID from L_Tag where TagCode = :Code"), QStringLiteral("BC"));
    const int machine = ID(QStringLiteral("select TagID from L_Tag where TagCode = :Code"), QStringLiteral("JT"));
    // A value stored with subgroups that no template lists, and a phenomenon of one category only.
    ASSERT_EQ(Count("select count(*) from L_TagTemplateDetail a, L_TagValue v where a.TagID = v.TagID and "
                    "a.TagValueID = v.TagValueID and v.TagValue = '2号机'"), 0);
    ASSERT_GT(Count("select count(*) from D_Tag a, L_TagValue v where a.TagID = v.TagID and "
                    "a.TagValueID = v.TagValueID and v.TagValue = '2号机'"), 0);
    const int dp = GetPrimaryKey(QStringLiteral("List"));
    ExecuteSQL("insert into L_DefectPhenomenon (DPID, DPCode, DPName, Ponderance) values (:ID, 'DP09', '锈蚀', 3)",
               {{"ID", dp}});
    ExecuteSQL("insert into L_DefectItemDP (DID, DPID) select DID, :ID from L_DefectItem where DCode = 'D02'", {{"ID", dp}});
    // A fresh tag used only by one template's row.
    const int colour = GetPrimaryKey(QStringLiteral("List"));
    ExecuteSQL("insert into L_Tag (TagID, TagCode, TagName, TagType) values (:T, 'YS', '颜色', 0)", {{"T", colour}});
    ExecuteSQL("insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID) "
               "select TagTemplateID, 9, :T from L_TagTemplate where TagTemplateCode = 'SC02'", {{"T", colour}});
    // A template stored with a subgroup.
    const int sc01 = ID(QStringLiteral("select TagTemplateID from L_TagTemplate where TagTemplateCode = :Code"),
                        QStringLiteral("SC01"));
    ExecuteSQL("update D_VDM set TagTemplateID = :ID where SN = 1", {{"ID", sc01}});

    const struct {
        const char* why;
        const char* window;
        const char* masterCode;  // the master row clicked
        const char* detailText;  // the detail row clicked (empty: the master is deleted)
        QString stillThere;      // counts 1 while the record exists
        TSqlParams params;
    } cases[] = {
        {"a tag value a template lists", "TLTagListFrm", "BC", "早班",
         "select count(*) from L_TagValue where TagID = :T and TagValue = '早班'", {{"T", shift}}},
        {"a tag value stored with subgroups", "TLTagListFrm", "JT", "2号机",
         "select count(*) from L_TagValue where TagID = :T and TagValue = '2号机'", {{"T", machine}}},
        {"a tag stored with subgroups", "TLTagListFrm", "BC", "",
         "select count(*) from L_Tag where TagID = :T", {{"T", shift}}},
        {"a tag a template lists", "TLTagListFrm", "YS", "", "select count(*) from L_Tag where TagID = :T",
         {{"T", colour}}},
        {"a category its phenomena name", "TLDefectItemListFrm", "D01", "",
         "select count(*) from L_DefectItem where DCode = 'D01'", {}},
        {"a phenomenon a category lists", "TLDefectPhenomenonListFrm", "DP09", "",
         "select count(*) from L_DefectPhenomenon where DPID = :ID", {{"ID", dp}}},
        {"a template stored with subgroups", "TLTagTemplateListFrm", "SC01", "",
         "select count(*) from L_TagTemplate where TagTemplateID = :ID", {{"ID", sc01}}},
    };
    for (const auto& c : cases) {
        auto* w = qobject_cast<TBaseDataFrm*>(f.factory.GetFormInstance(QString::fromLatin1(c.window)));
        ASSERT_TRUE(w) << c.window;
        f.Windows << w;
        w->show();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        f.db.Messages.Messages.clear();
        f.db.Messages.Answers = {TMsgResult::Yes};
        if (auto* md = qobject_cast<TBaseListMDGridFrm*>(w)) {
            ClickRow(md->MasterGrid, QString::fromUtf8(c.masterCode));
            if (*c.detailText) {
                ClickRow(md->DetailGrid, QString::fromUtf8(c.detailText));
                md->actDetailDelete->trigger();
            } else {
                QTest::keyClick(md->MasterGrid, Qt::Key_D, Qt::ControlModifier);
            }
        } else {
            auto* grid = w->findChild<QTableView*>(QStringLiteral("DBGrid"));
            ClickRow(grid, QString::fromUtf8(c.masterCode));
            QTest::keyClick(grid, Qt::Key_D, Qt::ControlModifier);
        }
        EXPECT_EQ(f.db.Messages.LastText(), InUse) << c.why;
        EXPECT_EQ(Count(c.stillThere, c.params), 1) << c.why;
        if (auto* md = qobject_cast<TBaseListMDGridFrm*>(w)) {
            EXPECT_TRUE(md->GridsAttached()) << c.why;
            EXPECT_GE(RowOf(md->MasterGrid, QString::fromUtf8(c.masterCode)), 0) << c.why;
        }
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Without the rights, the tag window refuses from the shortcut, the menu and a double click, on
// the tags and on their values.
TEST(MasterDetailWindows, RightsRefused)
{
    TFixture f;
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (5, 'u5', '检验员', '', 0, 0)");
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (5, 1010, 1)");  // browse the tags only
    SetPowerReadOnly(false);
    f.power.LoadUser(5);
    const QString refused = QStringLiteral("您没有本项操作的权限，请与系统管理员联系！");
    auto* list = f.Open<TLTagListFrm>();
    ClickRow(list->MasterGrid, QStringLiteral("BC"));
    const std::function<void()> attempts[] = {
        [&] { QTest::keyClick(list->MasterGrid, Qt::Key_N, Qt::ControlModifier); },
        [&] { DoubleClickRow(list->MasterGrid, QStringLiteral("BC")); },
        [&] { QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier); },
        [&] { list->actDetailNew->trigger(); },
        [&] { DoubleClickRow(list->DetailGrid, QStringLiteral("中班")); },
        [&] { list->actDetailDelete->trigger(); },
    };
    int i = 0;
    for (const auto& attempt : attempts) {
        f.db.Messages.Messages.clear();
        attempt();
        EXPECT_EQ(f.db.Messages.Texts(), QStringList{refused}) << "attempt " << i++;
    }
    EXPECT_TRUE(f.runner.Shown.isEmpty()) << "no edit window opened";
    EXPECT_EQ(Count("select count(*) from L_TagValue where TagID = :T", {{"T", list->MasterDataSet()->Value("TagID")}}), 3);
}

TEST(MasterDetailWindows, Screenshots)
{
    TFixture f;
    const struct {
        const char* list;
        const char* master;  // the master row shown
        QStringList editors;  // opened by editing the master, then the first detail row
    } windows[] = {
        {"TLDefectItemListFrm", "D01", {"LDefectItemEditFrm"}},
        {"TLAControlItemListFrm", "A003", {"LAControlItemEditFrm"}},
        {"TLTagListFrm", "JT", {"LTagMasterEditFrm", "LTagDetailEditFrm"}},
        {"TLTagTemplateListFrm", "SC01", {"LTagTemplateMasterEditFrm", "LTagTemplateDetailEditFrm"}},
    };
    for (const auto& w : windows) {
        auto* frm = qobject_cast<TBaseListMDGridFrm*>(f.factory.GetFormInstance(QString::fromLatin1(w.list)));
        ASSERT_TRUE(frm) << w.list;
        f.Windows << frm;
        frm->resize(900, 520);
        frm->show();
        ClickRow(frm->MasterGrid, QString::fromLatin1(w.master));
        SaveShot(*frm, QString::fromLatin1(w.list).mid(1));
        for (const QString& editor : w.editors) {
            QString shown;
            f.runner.Scripts << [&shown, editor](QDialog& d) {
                shown = QString::fromLatin1(qobject_cast<TDataEditDialog*>(&d)->EditWindow()->metaObject()->className());
                SaveShot(d, editor);
            };
            if (editor.contains(QStringLiteral("Detail"))) DoubleClickRow(frm->DetailGrid, Column(frm->DetailGrid).value(0));
            else DoubleClickRow(frm->MasterGrid, QString::fromLatin1(w.master));
            EXPECT_EQ(shown, QLatin1Char('T') + editor);
        }
        frm->close();
    }
}
