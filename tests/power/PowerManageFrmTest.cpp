#include "TestDatabase.h"
#include "TestHelpers.h"

#include "component/DialogRunner.h"
#include "foundation/RecordUtils.h"
#include "power/LoginCheck.h"
#include "power/PowerGridModel.h"
#include "power/UserPowerCommon.h"
#include "power/UserPowerDM.h"
#include "power/windows/DutyPropertyFrm.h"
#include "power/windows/DutySelectFrm.h"
#include "power/windows/NewDutyFrm.h"
#include "power/windows/NewUserFrm.h"
#include "power/windows/PowerManageFrm.h"
#include "power/windows/RenameFrm.h"
#include "power/windows/NewPasswordFrm.h"
#include "power/windows/UserPropertyFrm.h"
#include "power/windows/UserSelectFrm.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
int Count(const QString& sql)
{
    return GetSQLValue(sql).toInt();
}

void Shot(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Key by key, Chinese characters as the text of their key events.
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void Click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

// A click on a tree node or list item as a person makes it.
void ClickItem(QTreeWidget* tree, QTreeWidgetItem* item)
{
    ASSERT_TRUE(item);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

// Chooses a menu entry the way the keyboard does: the menu opens at the item, the accelerator picks.
void ChooseFromContextMenu(TPowerManageFrm& frm, QTreeWidget* source, QTreeWidgetItem* item, QAction* action)
{
    ClickItem(source, item);
    source->setFocus();
    QMenu* menu = frm.ContextMenuOf(source, source->visualItemRect(item).center());
    ASSERT_TRUE(menu);
    ASSERT_TRUE(menu->actions().contains(action));
    // The menus act on the current item of the widget with the focus.
    action->trigger();
}

// The demo database, its data module as the program's, the logged-in administrator, and scripted
// dialogs and answers.
class PowerManageFrmTest : public ::testing::Test {
protected:
    PowerManageFrmTest()
    {
        TUserPowerDM::SetCurrent(&dm);
        power.LoadUser(1);
        TWBUserPower::SetCurrent(&power);
    }
    ~PowerManageFrmTest() override
    {
        TWBUserPower::SetCurrent(nullptr);
        TUserPowerDM::SetCurrent(nullptr);
        SetPowerReadOnly(false);
    }
    // Window and grid cell of a module and kind.
    QModelIndex Cell(TPowerManageFrm& frm, int modID, int column)
    {
        auto* model = static_cast<TPowerGridModel*>(frm.PowerGridView->model());
        return model->index(model->ModelRow(frm.Grid().RowOfModule(modID)), column);
    }
    void ClickCell(TPowerManageFrm& frm, int modID, TPowerKind kind) { ClickCell(frm, modID, TPowerGrid::ColumnOfKind(kind)); }
    void ClickCell(TPowerManageFrm& frm, int modID, int column)
    {
        const QModelIndex index = Cell(frm, modID, column);
        ASSERT_TRUE(index.isValid());
        frm.PowerGridView->scrollTo(index);
        QTest::mouseClick(frm.PowerGridView->viewport(), Qt::LeftButton, {}, frm.PowerGridView->visualRect(index).center());
    }
    QString CellText(TPowerManageFrm& frm, int modID, TPowerKind kind)
    {
        return Cell(frm, modID, TPowerGrid::ColumnOfKind(kind)).data().toString();
    }
    // A duty 班长 (2) and a user 张三 (3) in it, made through the window's own dialogs.
    void AddDutyAndUser(TPowerManageFrm& frm)
    {
        runner.Scripts << [](QDialog& d) {
            auto& dlg = dynamic_cast<TNewDutyFrm&>(d);
            Type(dlg.CodeEdit, "d1");
            Type(dlg.NameEdit, "班长");
            Click(dlg.btnCreate);
            Click(dlg.btnClose);
        };
        frm.actNewDuty->trigger();
        runner.Scripts << [](QDialog& d) {
            auto& dlg = dynamic_cast<TNewUserFrm&>(d);
            Type(dlg.CodeEdit, "u1");
            Type(dlg.NameEdit, "张三");
            Click(dlg.btnCreate);
            Click(dlg.btnClose);
        };
        frm.actNewUser->trigger();
        ExecuteSQL("insert into SP_UserDuty (UserID, DutyID) values (3, 2)");
    }

    TTestDatabase db{TTestDatabase::TContent::Demo};
    TUserPowerDM dm{db.DM()};
    TWBUserPower power;
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
};
} // namespace

TEST_F(PowerManageFrmTest, OpensOnTheDutiesAndIsMadeByClassName)
{
    SetPowerReadOnly(true);  // as after a login
    auto* made = new TPowerManageFrm();  // as the window factory makes it
    std::unique_ptr<TPowerManageFrm> frm(made);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("权限管理"));
    EXPECT_FALSE(PowerReadOnly());
    EXPECT_EQ(&frm->DM(), &dm);
    EXPECT_EQ(frm->DutyRoot()->text(0), QStringLiteral("职务"));
    EXPECT_EQ(frm->UserRoot()->text(0), QStringLiteral("用户"));
    EXPECT_EQ(frm->DutyRoot()->child(0)->text(0), QStringLiteral("系统管理员"));
    EXPECT_EQ(frm->UserRoot()->child(0)->text(0), QStringLiteral("超级用户"));
    EXPECT_EQ(frm->TypeTree->topLevelItem(0)->text(0), QStringLiteral("全部模块"));
    EXPECT_EQ(frm->Pages->currentWidget(), frm->DutyList);
    frm->show();
    EXPECT_FALSE(frm->GrantBar->isVisible());
    ClickItem(frm->EntryTree, frm->UserRoot());
    EXPECT_EQ(frm->Pages->currentWidget(), frm->UserList);
    EXPECT_EQ(frm->UserList->topLevelItem(0)->text(0), QStringLiteral("admin"));
    // The administrators hold everything: their grid is not shown.
    ClickItem(frm->EntryTree, frm->UserRoot()->child(0));
    EXPECT_EQ(frm->Pages->currentWidget(), frm->AdminPage);
    EXPECT_FALSE(frm->GrantBar->isVisible());
    Shot(*frm, "power-manage-admin");
    // Closing leaves the data module for the login and the password change, its queries closed.
    frm.reset();
    EXPECT_TRUE(PowerReadOnly());
    EXPECT_FALSE(dm.qryUser().Active());
    EXPECT_EQ(dm.View(), nullptr);
    EXPECT_TRUE(dm.SetPassword(1, "neu"));
    TWBUserPower again;
    EXPECT_NO_THROW(CheckLogin("超级用户", "neu", again));
}

TEST_F(PowerManageFrmTest, CreatesDutiesAndUsersAndRefusesBadNames)
{
    TPowerManageFrm frm;
    frm.show();
    runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TNewDutyFrm&>(d);
        Shot(dlg, "power-new-duty");
        // Required fields, in order.
        Click(dlg.btnCreate);
        EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请输入编码！"));
        Type(dlg.CodeEdit, "d1");
        QTest::keyClick(dlg.CodeEdit, Qt::Key_Return);  // Enter moves on
        EXPECT_EQ(dlg.focusWidget(), dlg.NameEdit);
        Click(dlg.btnCreate);
        EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请输入名称！"));
        // A name cannot grow beyond its column.
        Type(dlg.NameEdit, QString(31, QChar(0x73ED)));
        EXPECT_EQ(dlg.NameEdit->text().size(), 30);
        Type(dlg.NameEdit, "班长");
        Type(dlg.DescribeEdit, "班组长");
        Click(dlg.btnCreate);
        // Created, and the dialog is ready for the next one.
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.CodeEdit->text().isEmpty());
        Type(dlg.CodeEdit, "d1");  // a duplicate code is refused by the database
        Type(dlg.NameEdit, "组长");
        Click(dlg.btnCreate);
        EXPECT_EQ(db.Messages.LastText(), QStringLiteral("数据保存失败！"));
        EXPECT_EQ(dlg.NameEdit->text(), QStringLiteral("组长"));
        Click(dlg.btnClose);
    };
    frm.actNewDuty->trigger();
    EXPECT_EQ(Count("select count(*) from SP_Duty where Code = 'd1' and Name = '班长' and Describe = '班组长'"), 1);
    ASSERT_TRUE(frm.EntryNode(TPowerEntryKind::Duty, 2));
    EXPECT_EQ(frm.EntryNode(TPowerEntryKind::Duty, 2)->text(0), QStringLiteral("班长"));
    EXPECT_EQ(frm.DutyList->topLevelItemCount(), 2);

    runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TNewUserFrm&>(d);
        Shot(dlg, "power-new-user");
        EXPECT_EQ(dlg.NameEdit->maxLength(), 64);
        EXPECT_EQ(dlg.CodeEdit->maxLength(), 16);
        Type(dlg.CodeEdit, "u1");
        Type(dlg.NameEdit, "张三");
        Type(dlg.PasswordEdit, "abc");
        Type(dlg.ConfigPasswordEdit, "abd");
        Click(dlg.btnCreate);
        EXPECT_EQ(db.Messages.LastText(), QStringLiteral("确认密码和密码不相同！"));
        Type(dlg.ConfigPasswordEdit, "abc");
        Click(dlg.btnCreate);
        EXPECT_TRUE(dlg.PasswordEdit->text().isEmpty());
        Click(dlg.btnClose);
    };
    frm.actNewUser->trigger();
    ASSERT_EQ(frm.UserRoot()->childCount(), 2);  // the refused duty used up an ID
    EXPECT_EQ(frm.UserRoot()->child(1)->text(0), QStringLiteral("张三"));
    TWBUserPower login;
    EXPECT_NO_THROW(CheckLogin("张三", "abc", login));
}

TEST_F(PowerManageFrmTest, RenamesInTheWidthsOfEachKind)
{
    TPowerManageFrm frm;
    frm.show();
    AddDutyAndUser(frm);
    ClickItem(frm.EntryTree, frm.UserRoot());
    runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TRenameFrm&>(d);
        Shot(dlg, "power-rename");
        EXPECT_EQ(dlg.CodeEdit->text(), QStringLiteral("u1"));
        EXPECT_EQ(dlg.NameEdit->text(), QStringLiteral("张三"));
        // A user's name keeps its 64 characters (a duty's only 30).
        EXPECT_EQ(dlg.NameEdit->maxLength(), 64);
        Type(dlg.NameEdit, "");
        Click(dlg.btnOk);
        EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请输入名称！"));
        EXPECT_TRUE(dlg.isVisible());
        Type(dlg.NameEdit, QString(40, QChar(0x5F20)));
        Click(dlg.btnOk);
    };
    ChooseFromContextMenu(frm, frm.UserList, frm.UserList->topLevelItem(1), frm.actUserRename);
    EXPECT_EQ(GetSQLString("select Name from SP_User where ID = 3"), QString(40, QChar(0x5F20)));
    EXPECT_EQ(frm.UserList->topLevelItem(1)->text(1), QString(40, QChar(0x5F20)));
    EXPECT_EQ(frm.EntryNode(TPowerEntryKind::User, 3)->text(0), QString(40, QChar(0x5F20)));

    runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TRenameFrm&>(d);
        EXPECT_EQ(dlg.NameEdit->maxLength(), 30);
        Type(dlg.CodeEdit, "d9");
        Type(dlg.NameEdit, "组长");
        Click(dlg.btnOk);
    };
    ChooseFromContextMenu(frm, frm.EntryTree, frm.EntryNode(TPowerEntryKind::Duty, 2), frm.actDutyRename);
    EXPECT_EQ(GetSQLString("select Code from SP_Duty where ID = 2"), QStringLiteral("d9"));
    EXPECT_EQ(frm.EntryNode(TPowerEntryKind::Duty, 2)->text(0), QStringLiteral("组长"));
}

TEST_F(PowerManageFrmTest, DeletesButNeverTheLoggedInUserOrTheLastAdministrator)
{
    TPowerManageFrm frm;
    frm.show();
    AddDutyAndUser(frm);
    db.Messages.Messages.clear();
    ChooseFromContextMenu(frm, frm.EntryTree, frm.EntryNode(TPowerEntryKind::User, 1), frm.actUserDelete);
    EXPECT_EQ(db.Messages.Texts(), QStringList({"不能删除当前登录的用户！"}));
    EXPECT_TRUE(frm.EntryNode(TPowerEntryKind::User, 1));
    // The administrator duty could go (the administrator user stays one by its own flag).
    TWBUserPower::SetCurrent(nullptr);
    ChooseFromContextMenu(frm, frm.EntryTree, frm.EntryNode(TPowerEntryKind::User, 1), frm.actUserDelete);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("系统至少要保留一个管理员！"));
    EXPECT_EQ(Count("select count(*) from SP_User where ID = 1"), 1);

    // A duty with its grid in view: answered No, nothing happens; Yes deletes it.
    db.Messages.Answers = {TMsgResult::No};
    ChooseFromContextMenu(frm, frm.EntryTree, frm.EntryNode(TPowerEntryKind::Duty, 2), frm.actDutyDelete);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("是否确定删除职务： 班长 "));
    EXPECT_TRUE(frm.EntryNode(TPowerEntryKind::Duty, 2));
    ClickCell(frm, 1001, TPowerKind::Browse);  // a change of the deleted duty is not asked about
    frm.actDutyDelete->trigger();
    EXPECT_FALSE(frm.EntryNode(TPowerEntryKind::Duty, 2));
    EXPECT_EQ(frm.DutyList->topLevelItemCount(), 1);
    EXPECT_EQ(Count("select count(*) from SP_Duty where ID = 2"), 0);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 2"), 0);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("是否确定删除职务： 班长 "));
    EXPECT_FALSE(frm.Grid().HasTarget());
}

TEST_F(PowerManageFrmTest, GrantsAndSavesForADutyAndShadesWhatAUserHasThroughIt)
{
    ExecuteSQL("update S_Module set PowerDefData = 7 where ID = 1003");  // no 删除 there
    TPowerManageFrm frm;
    frm.show();
    AddDutyAndUser(frm);
    ClickItem(frm.EntryTree, frm.EntryNode(TPowerEntryKind::Duty, 2));
    EXPECT_EQ(frm.Pages->currentWidget(), frm.PowerGridView);
    EXPECT_TRUE(frm.GrantBar->isVisible());
    // Cells: 新增 brings 浏览; 浏览 off takes 新增 and 修改 with it.
    ClickCell(frm, 1001, TPowerKind::New);
    ClickCell(frm, 1001, TPowerKind::Edit);
    EXPECT_EQ(CellText(frm, 1001, TPowerKind::Browse), QStringLiteral("√"));
    ClickCell(frm, 1001, TPowerKind::Browse);
    EXPECT_EQ(CellText(frm, 1001, TPowerKind::New), QString());
    EXPECT_EQ(CellText(frm, 1001, TPowerKind::Edit), QString());
    // The 删除 button on three selected modules, one of which does not offer it.
    for (int m : {1001, 1002, 1003}) ClickCell(frm, m, TPowerGrid::SelectedColumn);
    EXPECT_EQ(Cell(frm, 1002, TPowerGrid::SelectedColumn).data().toString(), QStringLiteral("√"));
    Click(frm.GrantButtons.value(TPowerKind::Delete));
    EXPECT_EQ(CellText(frm, 1001, TPowerKind::Delete), QStringLiteral("√"));
    EXPECT_EQ(CellText(frm, 1002, TPowerKind::Delete), QStringLiteral("√"));
    EXPECT_EQ(CellText(frm, 1003, TPowerKind::Delete), QString());
    EXPECT_EQ(Cell(frm, 1003, TPowerGrid::ColumnOfKind(TPowerKind::Delete)).data(Qt::BackgroundRole).value<QColor>(),
              TPowerGridModel::ShadeColor());
    // 浏览 is common to all three now, so its button is down.
    ClickCell(frm, 1003, TPowerKind::Browse);
    EXPECT_TRUE(frm.GrantButtons.value(TPowerKind::Browse)->isChecked());
    Click(frm.btnSave);
    EXPECT_EQ(Count("select count(*) from SP_DutyPower where DutyID = 2"), frm.Grid().RowCount());
    EXPECT_EQ(Count("select PData from SP_DutyPower where DutyID = 2 and ModID = 1001"), 9);
    EXPECT_EQ(Count("select PData from SP_DutyPower where DutyID = 2 and ModID = 1003"), 1);
    Shot(frm, "power-manage-duty");

    // The type tree shows one type only; a new target shows all again.
    ClickItem(frm.TypeTree, frm.TypeTree->topLevelItem(0)->child(2));
    EXPECT_EQ(frm.PowerGridView->model()->rowCount(), 4);

    // The member sees the duty's rights shaded and cannot change them; own grants are saved
    // when the selection moves on.
    ClickItem(frm.EntryTree, frm.EntryNode(TPowerEntryKind::User, 3));
    EXPECT_EQ(frm.PowerGridView->model()->rowCount(), frm.Grid().RowCount());
    EXPECT_EQ(CellText(frm, 1001, TPowerKind::Delete), QStringLiteral("√"));
    const QModelIndex inherited = Cell(frm, 1001, TPowerGrid::ColumnOfKind(TPowerKind::Delete));
    EXPECT_EQ(inherited.data(Qt::BackgroundRole).value<QColor>(), TPowerGridModel::ShadeColor());
    ClickCell(frm, 1001, TPowerKind::Delete);
    EXPECT_EQ(CellText(frm, 1001, TPowerKind::Delete), QStringLiteral("√"));
    EXPECT_FALSE(frm.Grid().Modified());
    ClickCell(frm, 1001, TPowerKind::Edit);
    EXPECT_EQ(CellText(frm, 1001, TPowerKind::Edit), QStringLiteral("√"));
    Shot(frm, "power-manage-user");
    ClickItem(frm.EntryTree, frm.EntryNode(TPowerEntryKind::Duty, 2));
    EXPECT_EQ(Count("select PData from SP_UserPower where UserID = 3 and ModID = 1001"), 5);
    EXPECT_EQ(Count("select count(*) from SP_UserPower where UserID = 3"), frm.Grid().RowCount());
}

TEST_F(PowerManageFrmTest, UnsavedGridChangesAreAskedAboutBeforeTheyAreDropped)
{
    auto frm = std::make_unique<TPowerManageFrm>();
    frm->show();
    AddDutyAndUser(*frm);
    ClickItem(frm->EntryTree, frm->EntryNode(TPowerEntryKind::Duty, 2));
    ClickCell(*frm, 2001, TPowerKind::Execute);
    db.Messages.Messages.clear();

    // To a root: Cancel stays on the duty with the change.
    db.Messages.Answers = {TMsgResult::Cancel};
    ClickItem(frm->EntryTree, frm->UserRoot());
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("数据没有保存，保存数据？"));
    EXPECT_EQ(db.Messages.Messages.last().Buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(frm->EntryTree->currentItem(), frm->EntryNode(TPowerEntryKind::Duty, 2));
    EXPECT_EQ(CellText(*frm, 2001, TPowerKind::Execute), QStringLiteral("√"));
    // No drops it.
    db.Messages.Answers = {TMsgResult::No};
    ClickItem(frm->EntryTree, frm->UserRoot());
    EXPECT_EQ(frm->Pages->currentWidget(), frm->UserList);
    EXPECT_EQ(Count("select count(*) from SP_DutyPower where DutyID = 2"), 0);
    // Yes saves it.
    ClickItem(frm->EntryTree, frm->EntryNode(TPowerEntryKind::Duty, 2));
    ClickCell(*frm, 2001, TPowerKind::Execute);
    db.Messages.Answers = {TMsgResult::Yes};
    ClickItem(frm->EntryTree, frm->DutyRoot());
    EXPECT_EQ(Count("select PData from SP_DutyPower where DutyID = 2 and ModID = 2001"), 16);

    // The close box asks too; 关闭(&Q) saves without asking.
    ClickItem(frm->EntryTree, frm->EntryNode(TPowerEntryKind::Duty, 2));
    ClickCell(*frm, 2002, TPowerKind::Execute);
    db.Messages.Answers = {TMsgResult::Cancel};
    const int before = db.Messages.Messages.size();
    frm->close();
    EXPECT_EQ(db.Messages.Messages.size(), before + 1);
    EXPECT_TRUE(frm->isVisible());
    Click(frm->btnClose);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(db.Messages.Messages.size(), before + 1);
    EXPECT_EQ(Count("select PData from SP_DutyPower where DutyID = 2 and ModID = 2002"), 16);
}

TEST_F(PowerManageFrmTest, SetsAUsersPassword)
{
    TPowerManageFrm frm;
    frm.show();
    AddDutyAndUser(frm);
    runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TNewPasswordFrm&>(d);
        Shot(dlg, "power-new-password");
        Type(dlg.edtPassword, "geheim");
        QTest::keyClick(dlg.edtPassword, Qt::Key_Return);
        EXPECT_EQ(dlg.focusWidget(), dlg.edtConfirm);
        Type(dlg.edtConfirm, "geheimx");
        Click(dlg.btnOk);
        EXPECT_EQ(db.Messages.LastText(), QStringLiteral("新密码跟确认密码不一致,请重新输入！"));
        Type(dlg.edtConfirm, "geheim");
        Click(dlg.btnOk);
    };
    ChooseFromContextMenu(frm, frm.EntryTree, frm.EntryNode(TPowerEntryKind::User, 3), frm.actUserPassword);
    EXPECT_EQ(runner.Shown, QStringList({"TNewDutyFrm", "TNewUserFrm", "TNewPasswordFrm"}));
    TWBUserPower login;
    EXPECT_NO_THROW(CheckLogin("张三", "geheim", login));
}

TEST_F(PowerManageFrmTest, MembersAreChosenInTheDutyPropertiesAndTheirDutiesInTheUsers)
{
    TPowerManageFrm frm;
    frm.show();
    AddDutyAndUser(frm);
    ExecuteSQL("delete from SP_UserDuty where DutyID = 2");
    runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TDutyPropertyFrm&>(d);
        EXPECT_EQ(dlg.MemberList->count(), 0);
        Type(dlg.DescribeEdit, "早班");
        runner.Scripts.prepend([&](QDialog& s) {
            auto& sel = dynamic_cast<TUserSelectFrm&>(s);
            EXPECT_EQ(sel.windowTitle(), QStringLiteral("用户选择"));
            ASSERT_EQ(sel.CandidateGrid->model()->rowCount(), 2);
            // Double-click the second candidate (张三) over to the members, 添加 the first too,
            // then take that one back with 移去.
            const QModelIndex zhang = sel.CandidateGrid->model()->index(1, 0);
            QTest::mouseClick(sel.CandidateGrid->viewport(), Qt::LeftButton, {}, sel.CandidateGrid->visualRect(zhang).center());
            QTest::mouseDClick(sel.CandidateGrid->viewport(), Qt::LeftButton, {}, sel.CandidateGrid->visualRect(zhang).center());
            EXPECT_EQ(sel.AssignedGrid->model()->rowCount(), 1);
            EXPECT_EQ(sel.CandidateGrid->model()->rowCount(), 1);
            QTest::mouseClick(sel.CandidateGrid->viewport(), Qt::LeftButton, {},
                              sel.CandidateGrid->visualRect(sel.CandidateGrid->model()->index(0, 0)).center());
            Click(sel.btnAdd);
            EXPECT_EQ(sel.AssignedGrid->model()->rowCount(), 2);
            Shot(sel, "power-user-select");
            const QModelIndex admin = sel.AssignedGrid->model()->index(1, 0);
            EXPECT_EQ(admin.data().toString(), QStringLiteral("admin"));
            QTest::mouseClick(sel.AssignedGrid->viewport(), Qt::LeftButton, {}, sel.AssignedGrid->visualRect(admin).center());
            Click(sel.btnRemove);
            EXPECT_EQ(sel.AssignedGrid->model()->rowCount(), 1);
            Click(sel.btnOk);
        });
        Click(dlg.btnEdit);
        EXPECT_EQ(dlg.MemberList->count(), 1);
        EXPECT_EQ(dlg.MemberList->item(0)->text(), QStringLiteral("u1"));
        Shot(dlg, "power-duty-property");
        Click(dlg.btnOk);
    };
    ChooseFromContextMenu(frm, frm.DutyList, frm.DutyList->topLevelItem(1), frm.actDutyProperty);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 2 and UserID = 3"), 1);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where DutyID = 2"), 1);
    EXPECT_EQ(GetSQLString("select Describe from SP_Duty where ID = 2"), QStringLiteral("早班"));
    EXPECT_EQ(frm.DutyList->topLevelItem(1)->text(2), QStringLiteral("早班"));

    // The administrator's last administrator duty cannot be taken from it; Cancel writes nothing.
    ExecuteSQL("update SP_User set IsAdmin = 0 where ID = 1");
    runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TUserPropertyFrm&>(d);
        EXPECT_EQ(dlg.MemberList->item(0)->text(), QStringLiteral("admin"));
        runner.Scripts.prepend([&](QDialog& s) {
            auto& sel = dynamic_cast<TDutySelectFrm&>(s);
            Shot(sel, "power-duty-select");
            const QPoint admin = sel.AssignedGrid->visualRect(sel.AssignedGrid->model()->index(0, 0)).center();
            QTest::mouseClick(sel.AssignedGrid->viewport(), Qt::LeftButton, {}, admin);
            QTest::mouseDClick(sel.AssignedGrid->viewport(), Qt::LeftButton, {}, admin);
            EXPECT_EQ(sel.AssignedGrid->model()->rowCount(), 0);
            Click(sel.btnOk);
            EXPECT_EQ(db.Messages.LastText(), QStringLiteral("系统至少要保留一个管理员！"));
            Click(sel.btnCancel);
        });
        Click(dlg.btnEdit);
        EXPECT_EQ(dlg.MemberList->count(), 1);
        Shot(dlg, "power-user-property");
        Click(dlg.btnCancel);
    };
    ChooseFromContextMenu(frm, frm.EntryTree, frm.EntryNode(TPowerEntryKind::User, 1), frm.actUserProperty);
    EXPECT_EQ(Count("select count(*) from SP_UserDuty where UserID = 1 and DutyID = 1"), 1);
}
