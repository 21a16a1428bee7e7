// The data-form framework and the master-data windows, driven as a person drives them: keys and
// clicks on real widgets, modal edit windows through the scripted dialog runner, a real database.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "component/FormFactory.h"
#include "foundation/CommandCentre.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "foundation/Types.h"
#include "masterdata/DefaultValueManager.h"
#include "masterdata/ListDM.h"
#include "masterdata/MasterDataRules.h"
#include "masterdata/windows/DataEditDialog.h"
#include "masterdata/windows/LCaseListFrm.h"
#include "masterdata/windows/LProcessEditFrm.h"
#include "masterdata/windows/LProcessListFrm.h"
#include "masterdata/windows/LVControlItemEditFrm.h"
#include "masterdata/windows/LVControlItemListFrm.h"
#include "masterdata/windows/MasterDataWindows.h"
#include "power/UserPowerCommon.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// A demo database, the administrator's rights, the list data module, the window factory and a
// scripted dialog runner; everything a browse window needs.
struct TFixture {
    explicit TFixture(TTestDatabase::TContent content = TTestDatabase::TContent::Demo) : db(content)
    {
        power.LoadUser(1);
        TWBUserPower::SetCurrent(&power);
        dm = std::make_unique<TListDM>(db.DM());
        RegisterMasterDataWindowClasses(factory);
        TClassFactory::SetCurrent(&factory);
    }
    ~TFixture()
    {
        // Closed browse windows are freed before the data module they show.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TBaseDataFrm*>(w)) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        TClassFactory::SetCurrent(nullptr);
        TWBUserPower::SetCurrent(nullptr);
        SetPowerReadOnly(false);
    }
    TTestDatabase db;
    TWBUserPower power;
    std::unique_ptr<TListDM> dm;
    TWidgetClassFactory factory;
    TScriptedDialogRunner runner;
    TDialogRunnerScope runnerScope{&runner};
    TCommandCenter commands;
};

template <class T>
T* EditWindowOf(QDialog& dialog)
{
    auto* host = qobject_cast<TDataEditDialog*>(&dialog);
    return host ? qobject_cast<T*>(host->EditWindow()) : nullptr;
}

void Type(QWidget* w, const QString& text)
{
    // Chinese arrives as committed text, as an input method hands it over.
    w->setFocus();
    for (const QChar ch : text) {
        if (ch.unicode() < 128) QTest::keyClick(w, ch.toLatin1());
        else QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

void SaveShot(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

// Shows a window as the active one, so that its shortcuts work.
void ShowActive(QWidget* w)
{
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    (void)QTest::qWaitForWindowActive(w);
}

int Count(const QString& sql, const TSqlParams& p = {})
{
    return GetSQLValue(sql, p).toInt();
}
} // namespace

TEST(DefaultValueManager, DefinitionsAndChangeTests)
{
    TMemTable t;
    t.AddFieldDef("A", TFieldType::Integer);
    t.AddFieldDef("B", TFieldType::Integer);
    t.AddFieldDef("nSigma", TFieldType::Integer);
    t.AddFieldDef("WDate", TFieldType::DateTime);
    t.AddFieldDef("Note", TFieldType::String, 20);
    t.CreateDataSet();
    TDefaultValueManager m(&t, " A :=AutoID;B:=AutoID;;nSigma:=3;WDate:=date;");
    // The empty piece between two separators stays, the empty last one goes.
    ASSERT_EQ(m.Items().size(), 5);
    EXPECT_EQ(m.FieldList(), QStringLiteral("A;B;;NSIGMA;WDATE"));
    t.Append();
    m.ApplyDefaults();
    EXPECT_EQ(t.Value("A").toInt(), 1);
    EXPECT_EQ(t.Value("B").toInt(), 2);
    EXPECT_EQ(t.Value("nSigma").toInt(), 3);
    EXPECT_EQ(t.FieldByName("WDate")->AsDateTime().date(), QDate::currentDate());
    EXPECT_FALSE(m.IsChanged());
    EXPECT_FALSE(m.IsModified());
    t.SetValue("A", 7);  // AutoID items never count as changed
    EXPECT_FALSE(m.IsChanged());
    t.SetValue("nSigma", 4);
    EXPECT_TRUE(m.IsChanged());
    t.SetValue("nSigma", 3);
    t.SetValue("Note", "x");  // a field the definition does not name
    EXPECT_TRUE(m.IsModified());
    t.Cancel();
    t.Append();
    m.ApplyDefaults();
    EXPECT_EQ(t.Value("A").toInt(), 3);
    EXPECT_EQ(t.Value("B").toInt(), 4);
}

TEST(DataForm, CompareAndRequiredChecks)
{
    TMemTable t;
    t.AddFieldDef("USL", TFieldType::Float);
    t.AddFieldDef("SL", TFieldType::Float);
    t.AddFieldDef("CCode", TFieldType::String, 15);
    t.CreateDataSet();
    t.Append();
    struct TForm : TListDataForm {
        QString FormClassName() const override { return "TTestFrm"; }
    } form;
    const struct { QVariant left, right; const char* op; bool holds; const char* why; } cases[] = {
        {QVariant(), 10.0, ">", true, "empty left passes"},
        {9.0, QVariant(), "<", true, "empty right passes"},
        {10.0, 10.0, ">=", true, "equal values satisfy >="},
        {10.0, 10.0, "<=", true, "equal values satisfy <="},
        {10.0, 10.0, ">", false, "equal values fail >"},
        {10.0, 10.0, "<", false, "equal values fail <"},
        {9.0, 10.0, ">=", false, "upper limit below the limit"},
    };
    for (const auto& c : cases) {
        t.SetValue("USL", c.left);
        t.SetValue("SL", c.right);
        EXPECT_EQ(form.CheckCompare(t, "USL", "SL", c.op, false, "规格限", "规格上限"), c.holds) << c.why;
    }
    t.SetValue("USL", 9.0);
    t.SetValue("SL", 10.0);
    EXPECT_EQ(MessageOf([&] { form.CheckCompare(t, "USL", "SL", ">=", true, "规格限", "规格上限"); }),
              QStringLiteral("规格上限必须大于或等于规格限"));
    EXPECT_EQ(MessageOf([&] { form.CheckCompare(t, "USL", "SL", "<>", true, "", ""); }), QStringLiteral("不支持的算子<>"));
    EXPECT_EQ(MessageOf([&] { form.CheckRequired(t, "CCode", "编码"); }), QStringLiteral("请输入编码"));
    t.SetValue("CCode", "   ");
    EXPECT_FALSE(form.CheckRequired(t, "CCode", "编码", false)) << "blanks are no code";
    EXPECT_EQ(MessageOf([&] { form.CheckRequired(t, "Nope", "X"); }), QStringLiteral("指定的字段不存在,相关信息:X"));
}

TEST(MasterData, ProcessHierarchyStopsAtAStoredCycle)
{
    TMemTable p;
    p.AddFieldDef("ProID", TFieldType::Integer);
    p.AddFieldDef("ParentID", TFieldType::Integer);
    p.CreateDataSet();
    p.AppendRecord({1, QVariant()});
    p.AppendRecord({2, 1});
    p.AppendRecord({3, 2});
    p.AppendRecord({7, 8});  // 7 and 8 are each other's parent
    p.AppendRecord({8, 7});
    const QString cycle = QStringLiteral("错误，所指定的“所属过程”是本过程的子过程！");
    EXPECT_EQ(MessageOf([&] { CheckProcessHierarchy(p, 1, 3); }), cycle) << "a grandchild as parent";
    EXPECT_EQ(MessageOf([&] { CheckProcessHierarchy(p, 1, 2); }), cycle) << "a child as parent";
    EXPECT_EQ(MessageOf([&] { CheckProcessHierarchy(p, 3, 1); }), QStringLiteral("<no error>"));
    EXPECT_EQ(MessageOf([&] { CheckProcessHierarchy(p, 1, 8); }), QStringLiteral("<no error>")) << "the walk ends";
    EXPECT_EQ(MessageOf([&] { CheckProcessHierarchy(p, 7, 8); }), cycle);
}

TEST(MasterData, SampleSizeFollowUpTable)
{
    const struct { int n; bool step; QVariant chart; } cases[] = {
        {0, false, QVariant()}, {1, true, 3}, {2, false, 1}, {8, false, 1}, {9, false, 2}, {25, false, 2}};
    for (const auto& c : cases) {
        const TSampleSizeFollowUp f = FollowSampleSize(c.n);
        EXPECT_EQ(f.StepEnabled, c.step) << c.n;
        EXPECT_EQ(f.DefChart, c.chart) << c.n;
        EXPECT_EQ(f.Step, c.step ? QVariant(1) : QVariant()) << c.n;
    }
}

TEST(MasterDataWindows, NewProcessSavedAndDuplicateKeepsTheInput)
{
    TFixture f;
    auto* list = new TLProcessListFrm;
    ShowActive(list);
    const int before = Count("select count(*) from L_Process");
    const QString existing = GetSQLString("select ProCode from L_Process order by ProCode");
    // First a duplicate code: refused, the dialog stays with what was typed; then a new code saves.
    bool stayedOpen = false;
    QString kept;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLProcessEditFrm>(d);
        ASSERT_TRUE(e);
        Type(e->edtCode, existing);
        Type(e->edtName, "新过程");
        QTest::mouseClick(e->btnSaveExit, Qt::LeftButton);
        stayedOpen = d.result() != QDialog::Accepted;
        kept = e->edtName->text();
        e->edtCode->selectAll();
        Type(e->edtCode, "P-NEW");
        QTest::mouseClick(e->btnSaveExit, Qt::LeftButton);
    };
    QTest::keyClick(list->DBGrid, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(f.db.Messages.Texts().contains(QStringLiteral("记录重复(编码或主键)，请检查！")));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(kept, QStringLiteral("新过程"));
    EXPECT_EQ(Count("select count(*) from L_Process"), before + 1);
    EXPECT_EQ(GetSQLString("select ProName from L_Process where ProCode = 'P-NEW'"), QStringLiteral("新过程"));
    EXPECT_GT(Count("select ProID from L_Process where ProCode = 'P-NEW'"), 0) << "the key was drawn";
    list->close();
}

TEST(MasterDataWindows, RequiredFieldAndOverlongTextWhileTyping)
{
    TFixture f;
    auto* list = new TLProcessListFrm;
    ShowActive(list);
    int codeLength = 0;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLProcessEditFrm>(d);
        Type(e->edtCode, "ABCDEFGHIJKLMNOPQRST");  // 20 characters into a column of 15
        codeLength = e->edtCode->text().size();
        QTest::mouseClick(e->btnSaveExit, Qt::LeftButton);  // no name
        f.db.Messages.Answers << TMsgResult::No;           // the question when cancelling
        QTest::mouseClick(e->btnCancelExit, Qt::LeftButton);
    };
    const int before = Count("select count(*) from L_Process");
    list->actNew->trigger();
    EXPECT_EQ(codeLength, 15);
    EXPECT_TRUE(f.db.Messages.Texts().contains(QStringLiteral("请输入名称")));
    EXPECT_TRUE(f.db.Messages.Texts().contains(QStringLiteral("数据没有保存，保存数据？")))
        << "typed input is not dropped without the question";
    EXPECT_EQ(Count("select count(*) from L_Process"), before);
    list->close();
}

TEST(MasterDataWindows, ProcessInUseIsNotDeletedAndSaveAndNewCarriesTheParent)
{
    TFixture f;
    // A process with control items.
    const int used = Count("select min(ProID) from L_VControlItem");
    ASSERT_GT(used, 0);
    auto* list = new TLProcessListFrm;
    ShowActive(list);
    ASSERT_TRUE(list->MainDataSet()->Locate("ProID", used));
    f.db.Messages.Answers << TMsgResult::Yes;
    QTest::keyClick(list->DBGrid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("该记录已被使用，不能删除！"));
    EXPECT_EQ(Count("select count(*) from L_Process where ProID = :ID", {{"ID", used}}), 1);

    // Save and new: the parent of the saved record is carried over.
    auto choose = [&](TCommandParams& params, void*) {
        params.FindParam("ID") ? void() : void();
        TCommand* c = f.commands.FindCommand("SelectProcess");
        c->SetParamValue("UnSelected", false);
        c->SetParamValue("ID", used);
        c->SetParamValue("Name", GetSQLString("select ProName from L_Process where ProID = :ID", {{"ID", used}}));
    };
    f.commands.RegisterCommand(nullptr, "SelectProcess", true, TCommandEvent::FromCallable(choose));
    QString carried;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLProcessEditFrm>(d);
        Type(e->edtCode, "P-A");
        Type(e->edtName, "子过程A");
        QTest::mouseClick(e->btnParent, Qt::LeftButton);
        QTest::mouseClick(e->btnSaveNew, Qt::LeftButton);
        carried = e->edtParent->text();
        Type(e->edtCode, "P-B");
        Type(e->edtName, "子过程B");
        QTest::mouseClick(e->btnSaveExit, Qt::LeftButton);
    };
    list->actNew->trigger();
    EXPECT_FALSE(carried.isEmpty());
    EXPECT_EQ(Count("select count(*) from L_Process where ParentID = :ID and ProCode in ('P-A', 'P-B')", {{"ID", used}}), 2);
    list->close();
}

TEST(MasterDataWindows, VariableItemChecksFollowUpAndDefaults)
{
    TFixture f;
    auto* list = new TLVControlItemListFrm;
    ShowActive(list);
    const int before = Count("select count(*) from L_VControlItem");
    // Opening a new record and leaving it untouched: nothing asked, nothing stored.
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLVControlItemEditFrm>(d);
        EXPECT_EQ(e->spnSigma->value(), 3) << "the default";
        QTest::mouseClick(e->btnCancelExit, Qt::LeftButton);
    };
    list->actNew->trigger();
    EXPECT_FALSE(f.db.Messages.Texts().contains(QStringLiteral("数据没有保存，保存数据？")));

    bool stepAfterOne = false, stepAfterTen = true;
    QString chartAfterOne, chartAfterTen;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLVControlItemEditFrm>(d);
        Type(e->edtCode, "V-NEW");
        Type(e->edtName, "新特性");
        Type(e->edtSL, "10");
        Type(e->edtUSL, "9");
        Type(e->spnSampleSize, "1");
        stepAfterOne = e->spnStep->isEnabled();
        chartAfterOne = e->cbDefChart->currentText();
        QTest::keyClick(e->spnSampleSize, Qt::Key_Backspace);
        Type(e->spnSampleSize, "10");
        stepAfterTen = e->spnStep->isEnabled();
        chartAfterTen = e->cbDefChart->currentText();
        QTest::mouseClick(e->btnSaveExit, Qt::LeftButton);  // USL 9 < SL 10
        SaveShot(d, "LVControlItemEditFrm");
        e->edtUSL->selectAll();
        QTest::keyClick(e->edtUSL, Qt::Key_Delete);  // an empty upper limit passes
        QTest::mouseClick(e->btnSaveExit, Qt::LeftButton);
    };
    list->actNew->trigger();
    EXPECT_TRUE(stepAfterOne);
    EXPECT_EQ(chartAfterOne, QStringLiteral("X-Rm"));
    EXPECT_FALSE(stepAfterTen);
    EXPECT_EQ(chartAfterTen, QStringLiteral("XBar-S"));
    EXPECT_TRUE(f.db.Messages.Texts().contains(QStringLiteral("规格上限必须大于或等于规格限")));
    EXPECT_EQ(Count("select count(*) from L_VControlItem"), before + 1);
    EXPECT_EQ(Count("select nSigma from L_VControlItem where CCode = 'V-NEW'"), 3);
    EXPECT_EQ(Count("select DefChart from L_VControlItem where CCode = 'V-NEW'"), 2);
    EXPECT_TRUE(GetSQLValue("select USL from L_VControlItem where CCode = 'V-NEW'").isNull());
    list->close();
}

TEST(MasterDataWindows, RightsRefusedFromButtonShortcutAndDoubleClick)
{
    TFixture f;
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (5, 'u5', '检验员', '', 0, 0)");
    // Browse only on the cause list.
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (5, 1006, 1)");
    SetPowerReadOnly(false);
    f.power.LoadUser(5);
    auto* list = new TLCaseListFrm;
    ShowActive(list);
    ASSERT_FALSE(list->MainDataSet()->IsEmpty());
    const QString refused = QStringLiteral("您没有本项操作的权限，请与系统管理员联系！");
    QTest::keyClick(list->DBGrid, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(f.db.Messages.LastText(), refused);
    f.db.Messages.Messages.clear();
    list->actNew->trigger();
    EXPECT_EQ(f.db.Messages.LastText(), refused);
    f.db.Messages.Messages.clear();
    const QRect cell = list->DBGrid->visualRect(list->GridModel->index(0, 0));
    QTest::mouseClick(list->DBGrid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->DBGrid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(f.db.Messages.LastText(), refused);
    EXPECT_TRUE(f.runner.Shown.isEmpty()) << "no edit window opened";
    list->close();
}

TEST(MasterDataWindows, Screenshots)
{
    TFixture f;
    for (const QString& name : {QStringLiteral("TLProcessListFrm"), QStringLiteral("TLVControlItemListFrm"),
                                QStringLiteral("TLCaseListFrm"), QStringLiteral("TLActionListFrm"),
                                QStringLiteral("TLDefectPhenomenonListFrm")}) {
        auto* w = qobject_cast<QWidget*>(f.factory.GetFormInstance(name));
        ASSERT_TRUE(w) << name.toStdString();
        w->resize(900, 420);
        w->show();
        SaveShot(*w, name.mid(1));
        QString editName = name;
        editName.replace("ListFrm", "EditFrm");
        f.runner.Scripts << [&, editName](QDialog& d) {
            d.adjustSize();
            SaveShot(d, editName.mid(1));
        };
        qobject_cast<TBaseDataFrm*>(w)->actEdit->trigger();
        EXPECT_EQ(f.runner.Shown.size(), 1);
        f.runner.Shown.clear();
        w->close();
    }
}
