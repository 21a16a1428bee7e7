#include "engine/windows/ChartPanel.h"

#include "engine/SPCChart.h"
#include "foundation/MessageService.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

TChartPanel::TChartPanel(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    FMenu = new QMenu(this);
    FMenu->setObjectName(QStringLiteral("PointMenu"));
    QAction* del = FMenu->addAction(QStringLiteral("删除"));
    del->setObjectName(QStringLiteral("DeleteAction"));
    FEditAction = FMenu->addAction(QStringLiteral("编辑"));
    FEditAction->setObjectName(QStringLiteral("EditAction"));
    connect(del, &QAction::triggered, this, [this] {
        try {
            if (FChart) FChart->MenuDelete();
        } catch (const std::exception& e) {
            ShowException(e);
        }
        update();
    });
    connect(FEditAction, &QAction::triggered, this, [this] {
        try {
            if (FChart) FChart->MenuEdit();
        } catch (const std::exception& e) {
            ShowException(e);
        }
        update();
    });
}

TChartPanel::~TChartPanel()
{
    if (FChart) FChart->OnRepaint = nullptr;
}

void TChartPanel::SetChart(TSPCChart* chart)
{
    if (FChart) FChart->OnRepaint = nullptr;
    FChart = chart;
    if (FChart) {
        FChart->OnRepaint = [this](TCSChart&) { update(); };
        FChart->SetBounds(0, 0, width(), height());
    }
    update();
}

void TChartPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!FChart) return;
    FChart->PaintAll(p);
}

void TChartPanel::resizeEvent(QResizeEvent*)
{
    if (FChart) FChart->SetBounds(0, 0, width(), height());
}

TCSChart* TChartPanel::SurfaceAt(const QPoint& pos, QPointF& local) const
{
    if (!FChart) return nullptr;
    for (int i = 0; i < FChart->SurfaceCount(); ++i) {
        TCSChart* s = FChart->GetChart(i);
        const QRect r(s->Left - FChart->Left(), s->Top - FChart->Top(), s->Width, s->Height);
        if (r.contains(pos)) {
            local = QPointF(pos - r.topLeft());
            return s;
        }
    }
    return nullptr;
}

QString TChartPanel::HintAt(const QPoint& pos) const
{
    QPointF local;
    TCSChart* s = SurfaceAt(pos, local);
    if (!s) return {};
    for (int i = 0; i < s->Exts().Count(); ++i) {
        const QString text = s->Exts().Item(i)->HintAt(local);
        if (!text.isEmpty()) return text;
    }
    return {};
}

int TChartPanel::PointAt(const QPoint& pos) const
{
    QPointF local;
    TCSChart* s = SurfaceAt(pos, local);
    if (!s) return -1;
    for (int i = 0; i < s->Exts().Count(); ++i) {
        TCSSeriesExt* ext = s->Exts().Item(i);
        if (!ext->ShowHint) continue;  // the point series carry the hints and the clicks
        const int index = ext->Series->Clicked(local, 4);
        if (index >= 0) return index;
    }
    return -1;
}

bool TChartPanel::ClickAt(const QPoint& pos, Qt::MouseButton button, bool doubleClick)
{
    QToolTip::hideText();
    const int index = PointAt(pos);
    if (index < 0 || !FChart) return false;
    FChart->PointClicked(index);
    if (!FChart->HasPointMenu()) return true;
    if (button == Qt::RightButton && !doubleClick) {
        FEditAction->setVisible(static_cast<bool>(EditExceptionPointHook()));
        FMenu->popup(mapToGlobal(pos));
    } else if (button == Qt::LeftButton && doubleClick) {
        try {
            FChart->MenuEdit();
        } catch (const std::exception& e) {
            ShowException(e);
        }
    }
    return true;
}

void TChartPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QString hint = HintAt(event->position().toPoint());
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint() + QPoint(0, 20), QString(hint).replace(QLatin1String("\n\r"), QLatin1String("\n")), this);
}

void TChartPanel::mousePressEvent(QMouseEvent* event)
{
    ClickAt(event->position().toPoint(), event->button());
}

void TChartPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    ClickAt(event->position().toPoint(), event->button(), true);
}

class TStringGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    const TStringGrid* Grid = nullptr;
    void SetGrid(const TStringGrid* grid)
    {
        beginResetModel();
        Grid = grid;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() || !Grid ? 0 : Grid->RowCount(); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() || !Grid ? 0 : Grid->ColCount(); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!Grid || !index.isValid()) return {};
        if (role == Qt::DisplayRole) return Grid->Cell(index.column(), index.row());
        if (role == Qt::BackgroundRole && (index.row() < Grid->FixedRows || index.column() < Grid->FixedCols))
            return QBrush(QColor(0xe8, 0xec, 0xf2));
        return {};
    }
};

TStringGridView::TStringGridView(QWidget* parent) : QTableView(parent), FModel(new TStringGridModel(this))
{
    setModel(FModel);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setStyleSheet(QStringLiteral("QTableView { background: white; gridline-color: #c8c8c8; }"));
}

void TStringGridView::Load(const TStringGrid* grid)
{
    horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
    FModel->SetGrid(grid);
    // Narrow grids are fitted to their texts; wide ones keep the default width (fitting reads every cell).
    if (grid && grid->ColCount() <= 32) resizeColumnsToContents();
}

QString TStringGridView::Text(int col, int row) const
{
    return FModel->Grid ? FModel->Grid->Cell(col, row) : QString();
}
