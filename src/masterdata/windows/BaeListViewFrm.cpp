#include "masterdata/windows/BaeListViewFrm.h"

#include "foundation/DataSet.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TBaeListViewFrm::TBaeListViewFrm(QWidget* parent) : TBaseListDataFrm(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    actExit = new QAction(QStringLiteral("退出(&Q)"), this);
    actExit->setObjectName(QStringLiteral("actExit"));
    actExit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    actExit->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(actExit, &QAction::triggered, this, &QWidget::close);
    PopupMenu = new QMenu(this);
    PopupMenu->addAction(actNew);
    PopupMenu->addAction(actEdit);
    PopupMenu->addAction(actDelete);
    PopupMenu->addSeparator();
    PopupMenu->addAction(actRefresh);
    PopupMenu->addSeparator();
    PopupMenu->addAction(actExit);
    AddWindowActions({actNew, actEdit, actDelete, actRefresh, actExit});
    MainLayout = new QVBoxLayout(this);
    MainLayout->setContentsMargins(4, 4, 4, 4);
    BottomPanel = new QHBoxLayout;
    BottomPanel->addStretch(1);
    btnEdit = new QPushButton(QStringLiteral("编辑(&E)"), this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnEdit->setMenu(PopupMenu);
    BottomPanel->addWidget(btnEdit);
    resize(760, 480);
}

QString TBaeListViewFrm::EditFormClassName() const
{
    return FormClassName().replace(QStringLiteral("ListFrm"), QStringLiteral("EditFrm"));
}

void TBaeListViewFrm::AfterNew()
{
    TBaseListDataFrm::AfterNew();
    OpenEditor();
}

void TBaeListViewFrm::AfterEdit()
{
    if (MainDataSet()->RecNo() < 0) RefreshData();
    OpenEditor();
}

void TBaeListViewFrm::OpenEditor()
{
    try {
        OpenEditWindow(EditFormClassName(), this);
    } catch (...) {
        CancelAll();
        throw;
    }
    // The edit window saved or cancelled; whatever it left unsettled is the browse window's now.
    if (!HasChanges()) SetState(TDataFormState::Browse);
}

void TBaeListViewFrm::closeEvent(QCloseEvent* event)
{
    bool leave = true;
    Run([&] { leave = CheckLeave(); });
    if (leave) event->accept();
    else event->ignore();
}
