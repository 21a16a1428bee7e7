#pragma once
// The interactive chart: shows a chart object's surfaces, hints on hover, the point menu on a right
// click and the editing dialog on a double click.
#include <QTableView>
#include <QWidget>

class TSPCChart;
class TCSChart;
class TStringGrid;
class QMenu;

class TChartPanel : public QWidget {
    Q_OBJECT
public:
    explicit TChartPanel(QWidget* parent = nullptr);
    ~TChartPanel() override;
    void SetChart(TSPCChart* chart);
    TSPCChart* Chart() const { return FChart; }

    // The hint at a position, as the hover would show it; empty when no point is within 4 pixels.
    QString HintAt(const QPoint& pos) const;
    // A click on a point as the mouse would make it; true when a point was hit.
    bool ClickAt(const QPoint& pos, Qt::MouseButton button, bool doubleClick = false);
    QMenu* PointMenu() const { return FMenu; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    TCSChart* SurfaceAt(const QPoint& pos, QPointF& local) const;
    int PointAt(const QPoint& pos) const;
    TSPCChart* FChart = nullptr;
    QMenu* FMenu;
    class QAction* FEditAction;
};

// Shows a plain text grid (read in place, so wide grids cost nothing): fixed rows and columns as captions.
class TStringGridView : public QTableView {
    Q_OBJECT
public:
    explicit TStringGridView(QWidget* parent = nullptr);
    void Load(const TStringGrid* grid);
    QString Text(int col, int row) const;
    int DefaultColumnWidth = 37;

private:
    class TStringGridModel* FModel;
};
