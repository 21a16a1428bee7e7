#include "power/PowerGridModel.h"

TPowerGridModel::TPowerGridModel(TPowerGrid& grid, QObject* parent) : QAbstractTableModel(parent), FGrid(grid)
{
    FRows = FGrid.VisibleRows();
}

void TPowerGridModel::Refresh()
{
    beginResetModel();
    FRows = FGrid.VisibleRows();
    endResetModel();
}

void TPowerGridModel::RefreshCells()
{
    if (FRows.isEmpty()) return;
    emit dataChanged(index(0, 0), index(static_cast<int>(FRows.size()) - 1, TPowerGrid::ColumnCount - 1));
}

bool TPowerGridModel::Click(const QModelIndex& index)
{
    if (!index.isValid()) return false;
    if (!FGrid.ClickCell(GridRow(index.row()), index.column())) return false;
    emit dataChanged(this->index(index.row(), TPowerGrid::SelectedColumn),
                     this->index(index.row(), TPowerGrid::ColumnCount - 1));
    return true;
}

int TPowerGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TPowerGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TPowerGrid::ColumnCount;
}

QVariant TPowerGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    const int row = GridRow(index.row());
    if (row < 0) return {};
    const int column = index.column();
    const TPowerGridRow& r = FGrid.Row(row);
    switch (role) {
    case Qt::DisplayRole:
        if (column == TPowerGrid::ModNameColumn) return r.ModName;
        if (column == TPowerGrid::SelectedColumn) return r.Selected ? QStringLiteral("√") : QString();
        return FGrid.Shown(row, TPowerGrid::KindOfColumn(column)) ? QStringLiteral("√") : QString();
    case Qt::TextAlignmentRole:
        if (column != TPowerGrid::ModNameColumn) return int(Qt::AlignCenter);
        return {};
    case Qt::BackgroundRole:
        if (TPowerGrid::IsKindColumn(column) && FGrid.Shaded(row, TPowerGrid::KindOfColumn(column)))
            return ShadeColor();
        return {};
    default:
        return {};
    }
}

QVariant TPowerGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return TPowerGrid::ColumnTitle(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
