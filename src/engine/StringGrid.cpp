#include "engine/StringGrid.h"

#include <algorithm>

void TStringGrid::SetSize(int colCount, int rowCount)
{
    colCount = std::max(colCount, 0);
    rowCount = std::max(rowCount, 0);
    if (colCount == FColCount && rowCount == FRowCount) return;
    std::vector<QString> cells(static_cast<std::size_t>(colCount) * static_cast<std::size_t>(rowCount));
    const int cols = std::min(colCount, FColCount);
    const int rows = std::min(rowCount, FRowCount);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            cells[static_cast<std::size_t>(r) * colCount + c] = std::move(FCells[static_cast<std::size_t>(r) * FColCount + c]);
    FCells = std::move(cells);
    FColCount = colCount;
    FRowCount = rowCount;
}

void TStringGrid::SetColCount(int count)
{
    SetSize(count, FRowCount);
}

void TStringGrid::SetRowCount(int count)
{
    SetSize(FColCount, count);
}

void TStringGrid::ClearCells()
{
    for (QString& s : FCells) s.clear();
}

QString TStringGrid::Cell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) return {};
    return FCells[static_cast<std::size_t>(row) * FColCount + col];
}

void TStringGrid::SetCell(int col, int row, const QString& text)
{
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) return;
    FCells[static_cast<std::size_t>(row) * FColCount + col] = text;
}

QStringList TStringGrid::Row(int row) const
{
    QStringList list;
    for (int c = 0; c < FColCount; ++c) list << Cell(c, row);
    return list;
}

QStringList TStringGrid::Col(int col) const
{
    QStringList list;
    for (int r = 0; r < FRowCount; ++r) list << Cell(col, r);
    return list;
}
