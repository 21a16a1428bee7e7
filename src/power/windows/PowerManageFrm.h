#pragma once
// 权限管理: users and duties in a tree and in lists, created, renamed, deleted and given passwords,
// members and descriptions there; the seven kinds granted per module to a duty or a user in the
// power grid. Works on the program's permission data module (TUserPowerDM::Current(), or one of
// its own on the current connection) and knows the logged-in user from TWBUserPower::Current().
#include "component/BaseFrm.h"
#include "power/PowerGrid.h"
#include "power/UserPowerDM.h"

#include <QMap>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TPowerGridModel;

class TPowerManageFrm : public TBaseDialog, public TUserPowerView {
    Q_OBJECT
public:
    explicit TPowerManageFrm(QWidget* parent = nullptr);
    ~TPowerManageFrm() override;

    TUserPowerDM& DM() const { return *FDM; }
    TPowerGrid& Grid() { return FGrid; }

    // The duty/user tree: roots 职务 and 用户; the module-type tree: root 全部模块.
    QTreeWidget* EntryTree;
    QTreeWidget* TypeTree;
    QTreeWidget* DutyList;
    QTreeWidget* UserList;
    QTableView* PowerGridView;
    QStackedWidget* Pages;
    QWidget* AdminPage;
    QLabel* AdminLabel;
    QToolBar* GrantBar;
    QToolBar* SelectBar;
    QMap<TPowerKind, QToolButton*> GrantButtons;
    QToolButton* btnSelectAll;
    QToolButton* btnSelectNone;
    QToolButton* btnSelectInvert;
    QToolButton* btnOperate;
    QToolButton* btnView;
    QPushButton* btnSave;
    QPushButton* btnClose;
    QMenu* OperateMenu;
    QMenu* DutyMenu;
    QMenu* UserMenu;
    QAction* actNewUser;
    QAction* actNewDuty;
    QAction* actShowEntries;
    QAction* actShowTypes;
    QAction* actDutyNew;
    QAction* actDutyDelete;
    QAction* actDutyRename;
    QAction* actDutyProperty;
    QAction* actUserPassword;
    QAction* actUserNew;
    QAction* actUserDelete;
    QAction* actUserRename;
    QAction* actUserProperty;

    // The tree's nodes of the roots and of one duty or user (nullptr when none).
    QTreeWidgetItem* DutyRoot() const;
    QTreeWidgetItem* UserRoot() const;
    QTreeWidgetItem* EntryNode(TPowerEntryKind kind, int id) const;
    // The menu a tree node, the duty list or the user list offers at a point of its own.
    QMenu* ContextMenuOf(QWidget* source, const QPoint& pos);

    // Saves the grid of the current target; a refused write shows its message, keeps the changes
    // and answers false.
    bool btnSaveClick();
    // Saves pending changes, then closes.
    void btnCloseClick();
    // The close box and Esc: pending grid changes are asked about first.
    void reject() override;

    // TUserPowerView
    void PowerEntryAdded(TPowerEntryKind kind, int id, const QString& code, const QString& name,
                         const QString& describe) override;
    void PowerEntryRemoved(TPowerEntryKind kind, int id) override;
    void PowerEntryRenamed(TPowerEntryKind kind, int id, const QString& code, const QString& name) override;

private:
    void BuildWindow();
    void BuildEntries();
    void BuildTypes();
    QTreeWidgetItem* AddEntryItems(TPowerEntryKind kind, int id, const QString& code, const QString& name,
                                   const QString& describe, bool isAdmin);
    QTreeWidgetItem* ListItem(TPowerEntryKind kind, int id) const;
    void EntryTreeChange(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void ShowNode(QTreeWidgetItem* node);
    void TypeTreeChange(QTreeWidgetItem* current);
    void GridClick(const QModelIndex& index);
    void GrantClick(TPowerKind kind, bool checked);
    void RefreshGrantButtons();
    void ShowBars(bool visible);
    // The duty or user the menus act on: the current item of the list or tree that opened the
    // menu, else of the one with the focus.
    bool SelectedEntry(TPowerEntryKind kind, int& id) const;
    void NewDuty();
    void NewUser();
    void DeleteEntry(TPowerEntryKind kind);
    void RenameEntry(TPowerEntryKind kind);
    void EntryProperty(TPowerEntryKind kind);
    void SetUserPassword();

    std::unique_ptr<TUserPowerDM> FOwnDM;
    TUserPowerDM* FDM;
    TPowerGrid FGrid;
    TPowerGridModel* FGridModel;
    QWidget* FMenuSource = nullptr;
    bool FRestoring = false;
    bool FWasReadOnly;
};
