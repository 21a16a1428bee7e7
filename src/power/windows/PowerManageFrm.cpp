#include "power/windows/PowerManageFrm.h"

#include "component/DialogRunner.h"
#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/Types.h"
#include "power/PowerGridModel.h"
#include "power/windows/DutyPropertyFrm.h"
#include "power/windows/NewDutyFrm.h"
#include "power/windows/NewUserFrm.h"
#include "power/windows/RenameFrm.h"
#include "power/windows/NewPasswordFrm.h"
#include "power/windows/UserPropertyFrm.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// What a node of the duty/user tree carries.
enum { IDRole = Qt::UserRole, KindRole, AdminRole };
enum { RootNode = 0, DutyNode = 1, UserNode = 2 };

int NodeKindOf(TPowerEntryKind kind)
{
    return kind == TPowerEntryKind::Duty ? DutyNode : UserNode;
}

int NodeKind(const QTreeWidgetItem* item)
{
    return item ? item->data(0, KindRole).toInt() : RootNode;
}

bool IsTarget(const QTreeWidgetItem* item)
{
    return NodeKind(item) != RootNode;
}

TUserPowerDM* OwnDMWhenNone(std::unique_ptr<TUserPowerDM>& own)
{
    if (TUserPowerDM* dm = TUserPowerDM::Current()) return dm;
    TCompanyDM* db = TCompanyDM::Current();
    if (!db) throw ESystemError(QStringLiteral("数据库没有连接！"));
    own = std::make_unique<TUserPowerDM>(*db);
    return own.get();
}

void OpenFresh(TZCQuery& q)
{
    if (q.Active()) q.Refresh();
    else q.Open();
}

const QString kUnsaved = QStringLiteral("数据没有保存，保存数据？");
} // namespace

TPowerManageFrm::TPowerManageFrm(QWidget* parent)
    : TBaseDialog(parent), FDM(OwnDMWhenNone(FOwnDM)), FGrid(*FDM), FWasReadOnly(PowerReadOnly())
{
    setWindowTitle(QStringLiteral("权限管理"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    // The grid edits module powers, which the logged-in user's read-only rights would refuse.
    SetPowerReadOnly(false);
    OpenFresh(FDM->qryDuty());
    OpenFresh(FDM->qryUser());
    OpenFresh(FDM->qryModuleType());
    OpenFresh(FDM->qryModule());
    FGrid.LoadModules();
    BuildWindow();
    BuildEntries();
    BuildTypes();
    Pages->setCurrentWidget(DutyList);
    ShowBars(false);
    FDM->SetView(this);
}

TPowerManageFrm::~TPowerManageFrm()
{
    if (FDM->View() == this) FDM->SetView(nullptr);
    // The data module stays for the login and the password change; its queries are closed.
    for (TZCQuery* q : {&FDM->qryDuty(), &FDM->qryUser(), &FDM->qryDutyUser(), &FDM->qryUserDuty(),
                        &FDM->qryDutyPower(), &FDM->qryUserPower(), &FDM->qryModule(), &FDM->qryModuleType()}) {
        try {
            while (q->Active()) q->Close();
        } catch (...) {
        }
    }
    SetPowerReadOnly(FWasReadOnly);
}

void TPowerManageFrm::BuildWindow()
{
    auto* layout = new QVBoxLayout(this);
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);

    OperateMenu = new QMenu(this);
    actNewUser = OperateMenu->addAction(QStringLiteral("新用户(&U)..."), this, &TPowerManageFrm::NewUser);
    actNewDuty = OperateMenu->addAction(QStringLiteral("新职务(&D)..."), this, &TPowerManageFrm::NewDuty);
    btnOperate = new QToolButton(this);
    btnOperate->setText(QStringLiteral("操作(&O)"));
    btnOperate->setMenu(OperateMenu);
    btnOperate->setPopupMode(QToolButton::InstantPopup);
    tools->addWidget(btnOperate);

    auto* viewMenu = new QMenu(this);
    actShowEntries = viewMenu->addAction(QStringLiteral("职务和用户(&D)"));
    actShowTypes = viewMenu->addAction(QStringLiteral("模块类别(&M)"));
    btnView = new QToolButton(this);
    btnView->setText(QStringLiteral("显示(&V)"));
    btnView->setMenu(viewMenu);
    btnView->setPopupMode(QToolButton::InstantPopup);
    tools->addWidget(btnView);
    layout->addWidget(tools);

    auto* bars = new QHBoxLayout;
    GrantBar = new QToolBar(this);
    for (TPowerKind kind : PowerKindColumnOrder()) {
        auto* b = new QToolButton(GrantBar);
        b->setText(PowerKindCaption(kind));
        b->setCheckable(true);
        b->setObjectName(QStringLiteral("Grant") + PowerKindName(kind));
        GrantBar->addWidget(b);
        GrantButtons.insert(kind, b);
        connect(b, &QToolButton::clicked, this, [this, kind](bool checked) { GrantClick(kind, checked); });
    }
    bars->addWidget(GrantBar);
    SelectBar = new QToolBar(this);
    auto selectButton = [this](const QString& text, void (TPowerGrid::*select)()) {
        auto* b = new QToolButton(SelectBar);
        b->setText(text);
        SelectBar->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, select] {
            (FGrid.*select)();
            FGridModel->RefreshCells();
            RefreshGrantButtons();
        });
        return b;
    };
    btnSelectAll = selectButton(QStringLiteral("全选"), &TPowerGrid::SelectAll);
    btnSelectNone = selectButton(QStringLiteral("全清"), &TPowerGrid::SelectNone);
    btnSelectInvert = selectButton(QStringLiteral("反选"), &TPowerGrid::InvertSelection);
    bars->addWidget(SelectBar);
    bars->addStretch(1);
    btnSave = new QPushButton(QStringLiteral("保存(&S)"), this);
    btnClose = new QPushButton(QStringLiteral("关闭(&Q)"), this);
    btnSave->setAutoDefault(false);
    btnClose->setAutoDefault(false);
    bars->addWidget(btnSave);
    bars->addWidget(btnClose);
    layout->addLayout(bars);

    auto* split = new QSplitter(Qt::Horizontal, this);
    auto* left = new QSplitter(Qt::Vertical, split);
    EntryTree = new QTreeWidget(left);
    EntryTree->setHeaderHidden(true);
    EntryTree->setContextMenuPolicy(Qt::CustomContextMenu);
    TypeTree = new QTreeWidget(left);
    TypeTree->setHeaderHidden(true);
    for (QAction* a : {actShowEntries, actShowTypes}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(actShowEntries, &QAction::toggled, EntryTree, &QWidget::setVisible);
    connect(actShowTypes, &QAction::toggled, TypeTree, &QWidget::setVisible);

    Pages = new QStackedWidget(split);
    auto newList = [this](const QString& nameTitle) {
        auto* list = new QTreeWidget(Pages);
        list->setRootIsDecorated(false);
        list->setHeaderLabels({QStringLiteral("编码"), nameTitle, QStringLiteral("描述")});
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->header()->resizeSection(0, 120);
        list->header()->resizeSection(1, 160);
        Pages->addWidget(list);
        return list;
    };
    DutyList = newList(QStringLiteral("名称"));
    UserList = newList(QStringLiteral("姓名"));
    PowerGridView = new QTableView(Pages);
    FGridModel = new TPowerGridModel(FGrid, this);
    PowerGridView->setModel(FGridModel);
    PowerGridView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PowerGridView->setSelectionMode(QAbstractItemView::SingleSelection);
    PowerGridView->verticalHeader()->hide();
    PowerGridView->verticalHeader()->setDefaultSectionSize(24);
    PowerGridView->horizontalHeader()->resizeSection(TPowerGrid::ModNameColumn, 170);
    for (int c = TPowerGrid::SelectedColumn; c < TPowerGrid::ColumnCount; ++c)
        PowerGridView->horizontalHeader()->resizeSection(c, 52);
    Pages->addWidget(PowerGridView);
    AdminPage = new QWidget(Pages);
    auto* adminLayout = new QVBoxLayout(AdminPage);
    auto* adminText = new QLabel(QStringLiteral("超级管理员/超级用户拥有最大的权限，无须授权。"), AdminPage);
    adminText->setAlignment(Qt::AlignCenter);
    adminLayout->addWidget(adminText);
    Pages->addWidget(AdminPage);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 600});
    left->setSizes({320, 160});
    layout->addWidget(split, 1);
    AdminLabel = new QLabel(QStringLiteral("超级管理员/超级用户拥有最大的权限，无须授权。"), this);
    layout->addWidget(AdminLabel);

    DutyMenu = new QMenu(this);
    actDutyNew = DutyMenu->addAction(QStringLiteral("新职务(&D)..."), this, &TPowerManageFrm::NewDuty);
    actDutyDelete = DutyMenu->addAction(QStringLiteral("删除(&D)"), this, [this] { DeleteEntry(TPowerEntryKind::Duty); });
    actDutyRename = DutyMenu->addAction(QStringLiteral("重命名(&R)"), this, [this] { RenameEntry(TPowerEntryKind::Duty); });
    actDutyProperty = DutyMenu->addAction(QStringLiteral("属性(&P)"), this, [this] { EntryProperty(TPowerEntryKind::Duty); });
    UserMenu = new QMenu(this);
    actUserPassword = UserMenu->addAction(QStringLiteral("设置密码(&S)"), this, &TPowerManageFrm::SetUserPassword);
    actUserNew = UserMenu->addAction(QStringLiteral("新用户(&U)..."), this, &TPowerManageFrm::NewUser);
    actUserDelete = UserMenu->addAction(QStringLiteral("删除(&D)"), this, [this] { DeleteEntry(TPowerEntryKind::User); });
    actUserRename = UserMenu->addAction(QStringLiteral("重命名(&M)"), this, [this] { RenameEntry(TPowerEntryKind::User); });
    actUserProperty = UserMenu->addAction(QStringLiteral("属性(&R)"), this, [this] { EntryProperty(TPowerEntryKind::User); });

    for (QWidget* source : {static_cast<QWidget*>(EntryTree), static_cast<QWidget*>(DutyList), static_cast<QWidget*>(UserList)}) {
        connect(static_cast<QTreeWidget*>(source), &QWidget::customContextMenuRequested, this, [this, source](const QPoint& pos) {
            if (QMenu* menu = ContextMenuOf(source, pos)) {
                FMenuSource = source;
                menu->exec(source->mapToGlobal(pos));
                FMenuSource = nullptr;
            }
        });
    }
    connect(EntryTree, &QTreeWidget::currentItemChanged, this, &TPowerManageFrm::EntryTreeChange);
    connect(TypeTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) { TypeTreeChange(current); });
    connect(PowerGridView, &QTableView::clicked, this, &TPowerManageFrm::GridClick);
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
    connect(btnClose, &QPushButton::clicked, this, &TPowerManageFrm::btnCloseClick);
    resize(900, 580);
}

void TPowerManageFrm::BuildEntries()
{
    QSignalBlocker block(EntryTree);
    EntryTree->clear();
    DutyList->clear();
    UserList->clear();
    for (const QString& root : {QStringLiteral("职务"), QStringLiteral("用户")}) {
        auto* item = new QTreeWidgetItem(EntryTree, {root});
        item->setData(0, IDRole, 0);
        item->setData(0, KindRole, RootNode);
    }
    for (TPowerEntryKind kind : {TPowerEntryKind::Duty, TPowerEntryKind::User}) {
        TZCQuery& q = kind == TPowerEntryKind::Duty ? FDM->qryDuty() : FDM->qryUser();
        for (q.First(); !q.Eof(); q.Next())
            AddEntryItems(kind, VariantToInt(q.Value(QStringLiteral("ID"))), q.FieldByName(QStringLiteral("Code"))->AsString(),
                          q.FieldByName(QStringLiteral("Name"))->AsString(),
                          q.FieldByName(QStringLiteral("Describe"))->AsString(),
                          VariantToInt(q.Value(QStringLiteral("IsAdmin"))) == 1);
    }
    EntryTree->expandAll();
    EntryTree->setCurrentItem(DutyRoot());
}

void TPowerManageFrm::BuildTypes()
{
    QSignalBlocker block(TypeTree);
    TypeTree->clear();
    auto* all = new QTreeWidgetItem(TypeTree, {QStringLiteral("全部模块")});
    all->setData(0, IDRole, 0);
    TZCQuery& q = FDM->qryModuleType();
    for (q.First(); !q.Eof(); q.Next()) {
        auto* item = new QTreeWidgetItem(all, {q.FieldByName(QStringLiteral("Name"))->AsString()});
        item->setData(0, IDRole, VariantToInt(q.Value(QStringLiteral("ID"))));
    }
    TypeTree->expandAll();
    TypeTree->setCurrentItem(all);
}

QTreeWidgetItem* TPowerManageFrm::DutyRoot() const
{
    return EntryTree->topLevelItem(0);
}

QTreeWidgetItem* TPowerManageFrm::UserRoot() const
{
    return EntryTree->topLevelItem(1);
}

QTreeWidgetItem* TPowerManageFrm::EntryNode(TPowerEntryKind kind, int id) const
{
    QTreeWidgetItem* root = kind == TPowerEntryKind::Duty ? DutyRoot() : UserRoot();
    for (int i = 0; root && i < root->childCount(); ++i)
        if (root->child(i)->data(0, IDRole).toInt() == id) return root->child(i);
    return nullptr;
}

QTreeWidgetItem* TPowerManageFrm::ListItem(TPowerEntryKind kind, int id) const
{
    QTreeWidget* list = kind == TPowerEntryKind::Duty ? DutyList : UserList;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->data(0, IDRole).toInt() == id) return list->topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* TPowerManageFrm::AddEntryItems(TPowerEntryKind kind, int id, const QString& code, const QString& name,
                                                const QString& describe, bool isAdmin)
{
    auto* node = new QTreeWidgetItem(kind == TPowerEntryKind::Duty ? DutyRoot() : UserRoot(), {name});
    node->setData(0, IDRole, id);
    node->setData(0, KindRole, NodeKindOf(kind));
    node->setData(0, AdminRole, isAdmin);
    auto* item = new QTreeWidgetItem(kind == TPowerEntryKind::Duty ? DutyList : UserList, {code, name, describe});
    item->setData(0, IDRole, id);
    return node;
}

QMenu* TPowerManageFrm::ContextMenuOf(QWidget* source, const QPoint& pos)
{
    if (source == DutyList) return DutyMenu;
    if (source == UserList) return UserMenu;
    QTreeWidgetItem* node = EntryTree->itemAt(pos);
    if (!node) node = EntryTree->currentItem();
    else EntryTree->setCurrentItem(node);
    switch (NodeKind(node)) {
    case DutyNode: return DutyMenu;
    case UserNode: return UserMenu;
    default: return OperateMenu;
    }
}

void TPowerManageFrm::EntryTreeChange(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (FRestoring) return;
    if (FGrid.HasTarget() && FGrid.Modified()) {
        // Moving on to another duty or user saves; moving to a root asks, since nothing would
        // be shown to save later.
        bool save = true;
        if (!IsTarget(current)) {
            const TMsgResult answer = AskQuestion(kUnsaved, TMsgButtons::YesNoCancel);
            if (answer == TMsgResult::Cancel) {
                FRestoring = true;
                EntryTree->setCurrentItem(previous);
                FRestoring = false;
                return;
            }
            save = answer == TMsgResult::Yes;
        }
        if (save && !btnSaveClick()) {
            FRestoring = true;
            EntryTree->setCurrentItem(previous);
            FRestoring = false;
            return;
        }
    }
    ShowNode(current);
}

void TPowerManageFrm::ShowNode(QTreeWidgetItem* node)
{
    if (!IsTarget(node)) {
        FGrid.ClearTarget();
        FGridModel->Refresh();
        Pages->setCurrentWidget(node == UserRoot() ? UserList : DutyList);
        AdminLabel->setVisible(true);
        ShowBars(false);
        return;
    }
    const int id = node->data(0, IDRole).toInt();
    if (NodeKind(node) == DutyNode) FGrid.LoadDuty(id);
    else FGrid.LoadUser(id);
    // Every target starts on all modules.
    TypeTree->setCurrentItem(TypeTree->topLevelItem(0));
    FGrid.SetTypeFilter(0);
    FGridModel->Refresh();
    const bool admin = FGrid.TargetIsAdmin();
    Pages->setCurrentWidget(admin ? AdminPage : static_cast<QWidget*>(PowerGridView));
    AdminLabel->setVisible(!admin);  // the page says it already
    // An administrator holds everything: there is nothing to grant.
    ShowBars(!admin);
    RefreshGrantButtons();
}

void TPowerManageFrm::TypeTreeChange(QTreeWidgetItem* current)
{
    FGrid.SetTypeFilter(current ? current->data(0, IDRole).toInt() : 0);
    FGridModel->Refresh();
}

void TPowerManageFrm::GridClick(const QModelIndex& index)
{
    if (FGridModel->Click(index)) RefreshGrantButtons();
}

void TPowerManageFrm::GrantClick(TPowerKind kind, bool checked)
{
    if (!FGrid.Grant(kind, checked)) {
        GrantButtons.value(kind)->setChecked(!checked);
        return;
    }
    FGridModel->RefreshCells();
}

void TPowerManageFrm::RefreshGrantButtons()
{
    for (auto it = GrantButtons.begin(); it != GrantButtons.end(); ++it) it.value()->setChecked(FGrid.GrantDown(it.key()));
}

void TPowerManageFrm::ShowBars(bool visible)
{
    GrantBar->setVisible(visible);
    SelectBar->setVisible(visible);
}

bool TPowerManageFrm::btnSaveClick()
{
    try {
        FGrid.Save();
    } catch (const std::exception& e) {
        ShowException(e);
        return false;
    }
    return true;
}

void TPowerManageFrm::btnCloseClick()
{
    if (btnSaveClick()) accept();
}

void TPowerManageFrm::reject()
{
    if (FGrid.HasTarget() && FGrid.Modified()) {
        const TMsgResult answer = AskQuestion(kUnsaved, TMsgButtons::YesNoCancel);
        if (answer == TMsgResult::Cancel) return;
        if (answer == TMsgResult::Yes && !btnSaveClick()) return;
    }
    TBaseDialog::reject();
}

bool TPowerManageFrm::SelectedEntry(TPowerEntryKind kind, int& id) const
{
    QWidget* source = FMenuSource ? FMenuSource : focusWidget();
    QTreeWidgetItem* item = nullptr;
    if (source == DutyList || source == UserList) {
        if (source != (kind == TPowerEntryKind::Duty ? DutyList : UserList)) return false;
        item = static_cast<QTreeWidget*>(source)->currentItem();
    } else {
        item = EntryTree->currentItem();
        if (NodeKind(item) != NodeKindOf(kind)) return false;
    }
    if (!item) return false;
    id = item->data(0, IDRole).toInt();
    return true;
}

void TPowerManageFrm::NewDuty()
{
    TNewDutyFrm dialog(*FDM, this);
    RunDialog(dialog);
}

void TPowerManageFrm::NewUser()
{
    TNewUserFrm dialog(*FDM, this);
    RunDialog(dialog);
}

void TPowerManageFrm::DeleteEntry(TPowerEntryKind kind)
{
    int id = 0;
    if (!SelectedEntry(kind, id)) return;
    if (kind == TPowerEntryKind::Duty) FDM->DeleteDuty(id);
    else FDM->DeleteUser(id);
}

void TPowerManageFrm::RenameEntry(TPowerEntryKind kind)
{
    int id = 0;
    if (!SelectedEntry(kind, id)) return;
    TZCQuery& q = kind == TPowerEntryKind::Duty ? FDM->qryDuty() : FDM->qryUser();
    TRenameFrm dialog(*FDM, kind, id, q.Lookup(QStringLiteral("ID"), id, QStringLiteral("Code")).toString(),
                      q.Lookup(QStringLiteral("ID"), id, QStringLiteral("Name")).toString(), this);
    RunDialog(dialog);
}

void TPowerManageFrm::EntryProperty(TPowerEntryKind kind)
{
    int id = 0;
    if (!SelectedEntry(kind, id)) return;
    std::unique_ptr<TPowerPropertyFrm> dialog;
    if (kind == TPowerEntryKind::Duty) dialog = std::make_unique<TDutyPropertyFrm>(*FDM, id, this);
    else dialog = std::make_unique<TUserPropertyFrm>(*FDM, id, this);
    RunDialog(*dialog);
    TZCQuery& q = kind == TPowerEntryKind::Duty ? FDM->qryDuty() : FDM->qryUser();
    if (QTreeWidgetItem* item = ListItem(kind, id))
        item->setText(2, q.Lookup(QStringLiteral("ID"), id, QStringLiteral("Describe")).toString());
    // Membership decides what a user has through duties; an unchanged grid shows it at once.
    if (FGrid.HasTarget() && FGrid.TargetIsUser() && !FGrid.Modified()) ShowNode(EntryTree->currentItem());
}

void TPowerManageFrm::SetUserPassword()
{
    int id = 0;
    if (!SelectedEntry(TPowerEntryKind::User, id)) return;
    TNewPasswordFrm dialog(this);
    if (RunDialog(dialog) != QDialog::Accepted) return;
    FDM->SetPassword(id, dialog.NewPassword());
}

void TPowerManageFrm::PowerEntryAdded(TPowerEntryKind kind, int id, const QString& code, const QString& name,
                                      const QString& describe)
{
    QSignalBlocker block(EntryTree);
    AddEntryItems(kind, id, code, name, describe, false);
    (kind == TPowerEntryKind::Duty ? DutyRoot() : UserRoot())->setExpanded(true);
}

void TPowerManageFrm::PowerEntryRemoved(TPowerEntryKind kind, int id)
{
    QTreeWidgetItem* node = EntryNode(kind, id);
    if (node && EntryTree->currentItem() == node) {
        // The grid of a deleted target has nothing left to save.
        FGrid.ClearTarget();
        EntryTree->setCurrentItem(node->parent());
    }
    {
        QSignalBlocker block(EntryTree);
        delete node;
    }
    delete ListItem(kind, id);
}

void TPowerManageFrm::PowerEntryRenamed(TPowerEntryKind kind, int id, const QString& code, const QString& name)
{
    if (QTreeWidgetItem* node = EntryNode(kind, id)) node->setText(0, name);
    if (QTreeWidgetItem* item = ListItem(kind, id)) {
        item->setText(0, code);
        item->setText(1, name);
    }
}
