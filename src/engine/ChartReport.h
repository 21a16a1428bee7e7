#pragma once
// The chart report: an HTML template with placeholders ([ChartTitle], [Tags], [FieldTitle n],
// [Field n]), a page named "ChartPage", and the picture objects "MChart" and "SChart". The data
// grid is printed in blocks of columns as wide as the template's data row, each block repeating
// the caption column.
#include "engine/SPCTypes.h"
#include "engine/StringGrid.h"

#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class QTextDocument;
class QPagedPaintDevice;
class TSPCChart;

class TChartReport {
public:
    // Loads a template file; false when it cannot be read.
    bool LoadFromFile(const QString& path);
    void LoadFromText(const QString& html);
    void Clear();
    const QString& Template() const { return FTemplate; }
    QString FileName() const { return FFileName; }

    bool HasPage(const QString& name) const;
    // Cells of the template's data row ([Field0] .. [Field m-1]); 0 when there is none.
    int DataRowWidth() const;

    // What the report shows: the pictures and the variables (ChartTitle, Tags), and the grid walked.
    QImage MChart;
    QImage SChart;
    // MChart := the chart's main (or only) surface, SChart := its secondary surface, if any.
    void SetChartPictures(TSPCChart& chart);
    std::function<QString(const QString& name)> Variable;
    const TStringGrid* Grid = nullptr;
    // False when the page was missing at preparation: the column blocks are left out.
    bool ColumnBlocks = true;

    // The value of a variable name as the data walk asks for it in a row; no value: empty.
    QString VariableValue(const QString& name, int row) const;
    // The grid columns printed in block b: the caption column first, then the next data columns.
    QList<int> BlockColumns(int block) const;
    int BlockCount() const;

    // The template with the blocks expanded and every placeholder replaced.
    QString RenderHtml() const;
    std::unique_ptr<QTextDocument> RenderDocument() const;
    void Print(QPagedPaintDevice& device) const;
    bool SavePdf(const QString& fileName) const;

private:
    QString FTemplate;
    QString FFileName;
};

// What print preview, the PDF and the chart windows' export fill the report with, for the windows
// and the command line alike: the data grid (filled), the title and the tags as the variables
// ChartTitle and Tags, and the chart's pictures, drawn in black and white unless color. False when
// the template has no page "ChartPage": the column blocks are then left out.
bool FillChartReport(TChartReport& report, TSPCChart& chart, const TStringGrid& grid, const QString& title,
                     const QString& tags, bool color);
// The title of a chart window and its report: the item's name and the chart type.
QString ChartTitle(const QString& itemName, TChartType type);
// The pictures the spreadsheet export puts beside the grid: each surface of the chart.
QList<QImage> ChartWorkbookPictures(TSPCChart& chart);

// The spreadsheet export: title, tags, the data grid and the chart pictures in one worksheet.
// Returns the file written; throws ESystemError when it cannot be written.
QString ExportChartWorkbook(const QString& fileName, const QString& title, const QString& tags,
                            const TStringGrid& grid, const QList<QImage>& pictures);
