#include "masterdata/windows/BaseListMDViewFrm.h"

#include "foundation/DataSet.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TBaseListMDViewFrm::TBaseListMDViewFrm(QWidget* parent) : TBaseListMDDataFrm(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto make = [this](const QString& text, const char* key, const char* name, std::function<void()> step) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        if (key) a->setShortcut(QKeySequence(QString::fromLatin1(key)));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, [step] { Run(step); });
        return a;
    };
    actMasterNew = make(QStringLiteral("新增记录"), "Ctrl+N", "actMasterNew", [this] { MasterNew(); });
    actMasterEdit = make(QStringLiteral("修改记录"), "Ctrl+E", "actMasterEdit", [this] { MasterEdit(); });
    actMasterDelete = make(QStringLiteral("删除记录"), "Ctrl+D", "actMasterDelete", [this] { MasterDelete(); });
    actDetailNew = make(QStringLiteral("新增明细"), nullptr, "actDetailNew", [this] { DetailNew(); });
    actDetailEdit = make(QStringLiteral("修改明细"), nullptr, "actDetailEdit", [this] { DetailEdit(); });
    actDetailDelete = make(QStringLiteral("删除明细"), nullptr, "actDetailDelete", [this] { DetailDelete(); });
    actExit = make(QStringLiteral("退出(&Q)"), "Ctrl+Q", "actExit", [this] { close(); });
    PopupMenu = new QMenu(this);
    MasterPopupMenu = new QMenu(this);
    DetailPopupMenu = new QMenu(this);
    for (QMenu* m : {PopupMenu, MasterPopupMenu}) m->addActions({actMasterNew, actMasterEdit, actMasterDelete});
    PopupMenu->addSeparator();
    for (QMenu* m : {PopupMenu, DetailPopupMenu}) m->addActions({actDetailNew, actDetailEdit, actDetailDelete});
    for (QMenu* m : {PopupMenu, MasterPopupMenu, DetailPopupMenu}) {
        m->addSeparator();
        m->addAction(actRefresh);
        m->addSeparator();
        m->addAction(actExit);
    }
    AddWindowActions({actMasterNew, actMasterEdit, actMasterDelete, actDetailNew, actDetailEdit, actDetailDelete,
                      actRefresh, actExit});
    MainLayout = new QVBoxLayout(this);
    MainLayout->setContentsMargins(4, 4, 4, 4);
    BottomPanel = new QHBoxLayout;
    BottomPanel->addStretch(1);
    btnEdit = new QPushButton(QStringLiteral("编辑(&E)"), this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnEdit->setMenu(PopupMenu);
    BottomPanel->addWidget(btnEdit);
    resize(760, 560);
}

void TBaseListMDViewFrm::HideDetailActions()
{
    for (QAction* a : {actDetailNew, actDetailEdit, actDetailDelete}) {
        a->setVisible(false);
        a->setEnabled(false);
    }
}

void TBaseListMDViewFrm::AfterMasterNew()
{
    TBaseListMDDataFrm::AfterMasterNew();
    OpenMasterEditor();
}

void TBaseListMDViewFrm::AfterMasterEdit()
{
    OpenMasterEditor();
}

void TBaseListMDViewFrm::AfterDetailNew()
{
    TBaseListMDDataFrm::AfterDetailNew();
    OpenDetailEditor();
}

void TBaseListMDViewFrm::AfterDetailEdit()
{
    OpenDetailEditor();
}

void TBaseListMDViewFrm::OpenMasterEditor()
{
    OpenEditor(QStringLiteral("MasterEditFrm"));
}

void TBaseListMDViewFrm::OpenDetailEditor()
{
    OpenEditor(QStringLiteral("DetailEditFrm"));
}

void TBaseListMDViewFrm::OpenEditor(const QString& suffix)
{
    try {
        OpenEditWindow(FormClassName().replace(QStringLiteral("ListFrm"), suffix), this);
    } catch (...) {
        CancelAll();
        throw;
    }
    if (!HasChanges()) SetState(TDataFormState::Browse);
}

void TBaseListMDViewFrm::closeEvent(QCloseEvent* event)
{
    bool leave = true;
    Run([&] { leave = CheckLeave(); });
    if (leave) event->accept();
    else event->ignore();
}
