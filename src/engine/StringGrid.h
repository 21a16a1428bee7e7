#pragma once
// A plain grid of texts that the grid fillers write and the chart windows show: columns × rows,
// with a number of fixed (caption) columns and rows. Cells are addressed (column, row).
#include <QString>
#include <QStringList>
#include <vector>

class TStringGrid {
public:
    int ColCount() const { return FColCount; }
    int RowCount() const { return FRowCount; }
    // Resizing keeps the texts of the cells that stay inside the grid.
    void SetColCount(int count);
    void SetRowCount(int count);
    void SetSize(int colCount, int rowCount);
    // Empties every cell; the size stays.
    void ClearCells();

    // Reading outside the grid gives empty text; writing outside it is ignored.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    // One row's texts, column by column (for display and tests).
    QStringList Row(int row) const;
    QStringList Col(int col) const;

    int FixedCols = 1;
    int FixedRows = 1;

private:
    int FColCount = 0;
    int FRowCount = 0;
    std::vector<QString> FCells;  // row-major
};
