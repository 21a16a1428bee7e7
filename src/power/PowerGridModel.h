#pragma once
// The power grid as a table for a view: the visible rows of a TPowerGrid, ticks as "√", shaded
// kind cells on light grey. A click goes through Click so the rules of the grid apply.
#include "power/PowerGrid.h"

#include <QAbstractTableModel>
#include <QColor>

class TPowerGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The background of kind cells the current target cannot be given.
    static QColor ShadeColor() { return QColor(0xEE, 0xEE, 0xEF); }

    explicit TPowerGridModel(TPowerGrid& grid, QObject* parent = nullptr);
    TPowerGrid& Grid() const { return FGrid; }

    // The grid row of a model row.
    int GridRow(int row) const { return FRows.value(row, -1); }
    int ModelRow(int gridRow) const { return static_cast<int>(FRows.indexOf(gridRow)); }
    // After a load, a filter or a selection of many rows.
    void Refresh();
    // After rights or selection changed on many rows.
    void RefreshCells();
    // A click on a cell: true when the grid changed.
    bool Click(const QModelIndex& index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TPowerGrid& FGrid;
    QList<int> FRows;
};
