#include "collect/windows/BaseCollectFrm.h"

#include "collect/windows/CollectGrid.h"
#include "collect/windows/TagInputFrm.h"
#include "component/ChildWindowHost.h"
#include "engine/SPCChart.h"
#include "engine/windows/BaseChartFrm.h"
#include "engine/windows/ChartFormManager.h"
#include "engine/windows/ChartPanel.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace {
// Runs an action of the window under the error display.
void Guarded(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

// The frame a window is placed with: its child-window frame in the main window, else itself.
QWidget* FrameOf(QWidget* w)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) return sub;
    return w;
}

const char* const kPointSubgroup = "collectPanel";
} // namespace

TBaseCollectFrm::TBaseCollectFrm(std::unique_ptr<TBaseCollect> collect, const QString& caption, QWidget* parent)
    : TBaseFrm(parent), FCollect(std::move(collect)), FCharts(std::make_unique<TChartFormList>())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](const QString& name, const QString& caption, const QKeySequence& key,
                         std::function<void()> handler) {
        auto* a = new QAction(caption, this);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, [handler] { handler(); });
        addAction(a);
        return a;
    };
    actSave = action(QStringLiteral("actSave"), QStringLiteral("保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S),
                     [this] { Save(); });
    actTag = action(QStringLiteral("actTag"), QStringLiteral("标签(&T)"), QKeySequence(Qt::CTRL | Qt::Key_T),
                    [this] { SelectTemplate(); });
    actClose = action(QStringLiteral("actClose"), QStringLiteral("关闭(&Q)"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                      [this] { close(); });
    actItem = action(QStringLiteral("actItem"), QStringLiteral("质量特性(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C),
                     [this] { SelectItem(); });
    ToolBar->addAction(actSave);
    ToolBar->addAction(actTag);
    ChartMenu = new QMenu(this);
    ChartMenu->setObjectName(QStringLiteral("ChartMenu"));
    btnChart = new QToolButton(ToolBar);
    btnChart->setObjectName(QStringLiteral("btnChart"));
    btnChart->setText(QStringLiteral("图形"));
    btnChart->setMenu(ChartMenu);
    btnChart->setPopupMode(QToolButton::InstantPopup);
    ToolBar->addWidget(btnChart);
    ToolBar->addAction(actClose);
    layout->addWidget(ToolBar);

    auto* itemRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("质量特性(&C)："), this);
    edtItem = new QLineEdit(this);
    edtItem->setObjectName(QStringLiteral("edtItem"));
    edtItem->setReadOnly(true);
    label->setBuddy(edtItem);
    btnItem = new QToolButton(this);
    btnItem->setObjectName(QStringLiteral("btnItem"));
    btnItem->setText(QStringLiteral("…"));
    connect(btnItem, &QToolButton::clicked, this, [this] { SelectItem(); });
    itemRow->addWidget(label);
    itemRow->addWidget(edtItem, 1);
    itemRow->addWidget(btnItem);
    layout->addLayout(itemRow);

    TagInput = new TTagInputFrm(FCollect->Tags, this);
    TagInput->setFixedHeight(118);
    layout->addWidget(TagInput);

    Grid = new TCollectGrid(*FCollect, this);
    Grid->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(Grid, 1);
    GridMenu = new QMenu(this);
    GridMenu->setObjectName(QStringLiteral("GridMenu"));
    actDeleteSubgroup = GridMenu->addAction(QStringLiteral("删除子组"));
    actDeleteSubgroup->setObjectName(QStringLiteral("actDeleteSubgroup"));
    connect(actDeleteSubgroup, &QAction::triggered, this, [this] { DeleteCurrentSubgroup(); });
    connect(Grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { GridMenu->popup(Grid->viewport()->mapToGlobal(pos)); });
    connect(Grid, &TCollectGrid::EnterPressed, this, [this] {
        Guarded([this] { FCollect->EnterPressed(); });
        Grid->FollowDataSet();
    });
    connect(Grid, &TCollectGrid::RowMoved, this, [this](int row) { FCollect->SetCurrentRow(row); });
}

void TBaseCollectFrm::Setup()
{
    AddColumns(*Grid->Model());
    Grid->Model()->SetRowColor([this](int row) { return RowColor(row); });
    for (const TChartType type : FCollect->ChartTypes()) {
        static const QMap<TChartType, QString> captions{{ctXBarR, QStringLiteral("XBar-R")},
                                                        {ctXBarS, QStringLiteral("XBar-S")},
                                                        {ctXRm, QStringLiteral("XRm")},
                                                        {ctHistogram, QStringLiteral("Histogram")},
                                                        {ctP, QStringLiteral("P")},
                                                        {ctNP, QStringLiteral("nP")},
                                                        {ctU, QStringLiteral("U")},
                                                        {ctC, QStringLiteral("C")}};
        QAction* a = ChartMenu->addAction(captions.value(type));
        a->setObjectName(QStringLiteral("actChart") + captions.value(type));
        connect(a, &QAction::triggered, this, [this, type] { OpenChart(type); });
        FChartActions.insert(type, a);
    }
    ItemChanged();
}

TBaseCollectFrm::~TBaseCollectFrm()
{
    CloseCharts();
    // The grids show the collection's rows: they go before it.
    delete Grid;
    delete TagInput;
}

void TBaseCollectFrm::ItemChanged()
{
    edtItem->setText(FCollect->CurName());
    for (auto it = FChartActions.cbegin(); it != FChartActions.cend(); ++it)
        it.value()->setVisible(FCollect->ChartAvailable(it.key()));
    Grid->FollowDataSet();
}

void TBaseCollectFrm::SelectItem()
{
    Guarded([this] {
        Grid->CommitEdit();
        if (FCollect->SelectControlItem()) ItemChanged();
    });
}

void TBaseCollectFrm::SelectTemplate()
{
    Guarded([this] {
        if (FCollect->CurCID() == NullValue) {
            ShowInfo(QStringLiteral("请先选择质量特性！"));
            return;
        }
        FCollect->Tags.SelectTemplate();
    });
}

bool TBaseCollectFrm::Save()
{
    try {
        if (!Grid->CommitEdit()) return false;
        FCollect->Save();
        Grid->FollowDataSet();
        return true;
    } catch (const std::exception& e) {
        // Rolled back: everything stays pending, so the user corrects it and saves again.
        Grid->FollowDataSet();
        ShowException(e);
        return false;
    }
}

void TBaseCollectFrm::DeleteCurrentSubgroup()
{
    DeleteSubgroup(FCollect->CurCID(), FCollect->CurrentSubgroup());
}

void TBaseCollectFrm::DeleteSubgroup(int cid, int sn)
{
    Guarded([this, cid, sn] {
        if (cid == NullValue || sn == NullValue) return;
        if (!Grid->CommitEdit()) return;
        if (FCollect->SubgroupStored(cid, sn) &&
            AskQuestion(QStringLiteral("删除本记录后将不可恢复，是否继续？")) != TMsgResult::Yes)
            return;
        FCollect->DeleteSubgroup(cid, sn);
        ItemChanged();
    });
}

void TBaseCollectFrm::OpenChart(TChartType type)
{
    Guarded([this, type] {
        if (FCollect->CurCID() == NullValue) {
            ShowInfo(QStringLiteral("请先选择质量特性！"));
            return;
        }
        TChildWindowHost* host = TChildWindowHost::Current();
        const int found = FCharts->FindChartForm(FCollect->CurCID(), type);
        if (found >= 0) {
            TBaseChartFrm* frm = FCharts->Item(found);
            if (host) host->ShowChildWindow(frm);
            else {
                frm->show();
                frm->raise();
            }
            return;
        }
        TBaseChartFrm* frm = FCharts->Item(CreateChart(type));
        frm->SetHostMode(1);
        if (!host) frm->show();
        HookPointMenu(frm);
        TileCharts();
        // Limits from the data keyed so far (unless stored ones exist), and the drawing.
        frm->GetChartObject()->Refresh();
    });
}

void TBaseCollectFrm::TileCharts()
{
    QWidget* frame = FrameOf(this);
    QWidget* area = frame->parentWidget();
    const int k = FCharts->Count();
    if (!area || k == 0) return;
    const QSize client = area->size();
    const int h = (client.height() - 6) / k;
    for (int i = 0; i < k; ++i) {
        QWidget* chart = FrameOf(FCharts->Item(i));
        chart->setGeometry(frame->x() + frame->width() + 1, i * h, client.width() - frame->width() - 6, h - 1);
    }
}

int TBaseCollectFrm::PointSubgroup(TBaseChartFrm* frm) const
{
    const TSPCChart* chart = frm->GetChartObject();
    const TSPCChartData* data = frm->GetChartData();
    if (!chart || !data) return NullValue;
    return FCollect->SNOfPoint(data->GetCID(), chart->CurrentPoint);
}

void TBaseCollectFrm::HookPointMenu(TBaseChartFrm* frm)
{
    TChartPanel* panel = frm->ChartPanel();
    if (!panel || !frm->GetChartObject()->HasPointMenu()) return;
    QMenu* menu = panel->PointMenu();
    auto* del = menu->findChild<QAction*>(QStringLiteral("DeleteAction"));
    auto* edit = menu->findChild<QAction*>(QStringLiteral("EditAction"));
    // The point's subgroup is deleted as the grid's "删除子组" deletes it: from the pending rows,
    // and a stored one only after the question, at the next save.
    if (del) {
        disconnect(del, &QAction::triggered, panel, nullptr);
        QPointer<TBaseChartFrm> guard(frm);
        connect(del, &QAction::triggered, this, [this, guard] {
            if (!guard) return;
            const TSPCChartData* data = guard->GetChartData();
            if (data) DeleteSubgroup(data->GetCID(), PointSubgroup(guard));
        });
    }
    // Causes and actions belong to stored subgroups only.
    if (edit) {
        connect(menu, &QMenu::aboutToShow, this, [this, frm, edit] {
            const TSPCChartData* data = frm->GetChartData();
            const int sn = PointSubgroup(frm);
            if (!data || sn == NullValue || !FCollect->SubgroupStored(data->GetCID(), sn)) edit->setVisible(false);
        });
    }
    panel->setProperty(kPointSubgroup, true);
    panel->installEventFilter(this);
}

bool TBaseCollectFrm::eventFilter(QObject* watched, QEvent* event)
{
    // A double click edits a point's causes and actions: not for a subgroup that is not stored.
    if (event->type() == QEvent::MouseButtonDblClick && watched->property(kPointSubgroup).toBool()) {
        for (int i = 0; i < FCharts->Count(); ++i) {
            TBaseChartFrm* frm = FCharts->Item(i);
            if (frm->ChartPanel() != watched) continue;
            const TSPCChartData* data = frm->GetChartData();
            const int sn = PointSubgroup(frm);
            if (!data || sn == NullValue || !FCollect->SubgroupStored(data->GetCID(), sn)) return true;
        }
    }
    return TBaseFrm::eventFilter(watched, event);
}

void TBaseCollectFrm::CloseCharts()
{
    QList<QPointer<QWidget>> frames;
    for (int i = 0; i < FCharts->Count(); ++i)
        if (QWidget* frame = FrameOf(FCharts->Item(i)); frame != FCharts->Item(i)) frames << frame;
    FCharts->Clear();
    for (const QPointer<QWidget>& frame : frames) delete frame.data();
}

void TBaseCollectFrm::showEvent(QShowEvent* event)
{
    TBaseFrm::showEvent(event);
    if (FPlaced) return;
    FPlaced = true;
    QWidget* frame = FrameOf(this);
    if (frame != this && frame->parentWidget())
        frame->setGeometry(0, 0, 336, frame->parentWidget()->height() - 5);
}

void TBaseCollectFrm::closeEvent(QCloseEvent* event)
{
    if (!Grid->CommitEdit()) {
        event->ignore();
        return;
    }
    if (FCollect->HasPendingChanges()) {
        switch (AskQuestion(QStringLiteral("数据没有保存，保存数据？"), TMsgButtons::YesNoCancel)) {
        case TMsgResult::Cancel:
            event->ignore();
            return;
        case TMsgResult::Yes:
            // Closes only once everything is written.
            if (!Save()) {
                event->ignore();
                return;
            }
            break;
        default:
            break;
        }
    }
    CloseCharts();
    event->accept();
    // Closed from its own 关闭: its child-window frame goes with it.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->deleteLater();
}
