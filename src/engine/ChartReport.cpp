#include "engine/ChartReport.h"

#include "engine/ChartPicture.h"
#include "engine/SPCChart.h"

#include "foundation/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>
#include <xlsxwriter.h>

namespace {
const QRegularExpression kFieldRef(QStringLiteral("\\[(FieldTitle|Field)(\\d+)\\]"), QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kVariableRef(QStringLiteral("\\[([A-Za-z_][A-Za-z0-9_]*)\\]"));

// The <tr>…</tr> that holds the first placeholder of the kind, as [start, end) in text.
bool FindRow(const QString& text, const QString& kind, int& start, int& end)
{
    const QRegularExpression ref(QStringLiteral("\\[") + kind + QStringLiteral("\\d+\\]"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = ref.match(text);
    if (!m.hasMatch()) return false;
    start = int(text.lastIndexOf(QLatin1String("<tr"), m.capturedStart(), Qt::CaseInsensitive));
    end = int(text.indexOf(QLatin1String("</tr>"), m.capturedStart(), Qt::CaseInsensitive));
    if (start < 0 || end < 0) return false;
    end += 5;
    return true;
}

int CountRefs(const QString& row, const QString& kind)
{
    int n = 0;
    auto it = kFieldRef.globalMatch(row);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(1).compare(kind, Qt::CaseInsensitive) == 0) ++n;
    }
    return n;
}
} // namespace

bool TChartReport::LoadFromFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    FTemplate = QString::fromUtf8(f.readAll());
    FFileName = path;
    return true;
}

void TChartReport::LoadFromText(const QString& html)
{
    FTemplate = html;
}

void TChartReport::Clear()
{
    FTemplate.clear();
    FFileName.clear();
    MChart = QImage();
    SChart = QImage();
    ColumnBlocks = true;
}

bool TChartReport::HasPage(const QString& name) const
{
    return FTemplate.contains(QStringLiteral("id=\"%1\"").arg(name)) || FTemplate.contains(QStringLiteral("id='%1'").arg(name));
}

int TChartReport::DataRowWidth() const
{
    int start = 0, end = 0;
    if (!FindRow(FTemplate, QStringLiteral("Field"), start, end)) return 0;
    return CountRefs(FTemplate.mid(start, end - start), QStringLiteral("Field"));
}

QString TChartReport::VariableValue(const QString& name, int row) const
{
    const QString upper = name.toUpper();
    if (upper.contains(QLatin1String("FIELDTITLE"))) return {};
    if (upper.contains(QLatin1String("FIELD"))) {
        bool ok = false;
        const int col = upper.mid(5).toInt(&ok);
        if (!ok || !Grid) return {};
        return Grid->Cell(col, row);
    }
    if (name == QLatin1String("ChartTitle") || name == QLatin1String("Tags")) return Variable ? Variable(name) : QString();
    return {};
}

int TChartReport::BlockCount() const
{
    const int width = DataRowWidth();
    if (!Grid || width < 2 || Grid->ColCount() <= 1) return Grid && Grid->ColCount() > 0 ? 1 : 0;
    const int dataCols = Grid->ColCount() - 1;
    return (dataCols + width - 2) / (width - 1);
}

QList<int> TChartReport::BlockColumns(int block) const
{
    QList<int> cols;
    const int width = DataRowWidth();
    if (!Grid || width < 1) return cols;
    cols << 0;
    for (int j = 1; j < width; ++j) {
        const int c = 1 + block * (width - 1) + (j - 1);
        if (c >= Grid->ColCount()) break;
        cols << c;
    }
    return cols;
}

QString TChartReport::RenderHtml() const
{
    QString html = FTemplate;
    int titleStart = 0, titleEnd = 0, dataStart = 0, dataEnd = 0;
    const bool hasData = FindRow(html, QStringLiteral("Field"), dataStart, dataEnd);
    const bool hasTitle = FindRow(html, QStringLiteral("FieldTitle"), titleStart, titleEnd);
    if (hasData) {
        const int tableStart = int(html.lastIndexOf(QLatin1String("<table"), dataStart, Qt::CaseInsensitive));
        int tableEnd = int(html.indexOf(QLatin1String("</table>"), dataEnd, Qt::CaseInsensitive));
        if (tableStart >= 0 && tableEnd >= 0) {
            tableEnd += 8;
            const QString table = html.mid(tableStart, tableEnd - tableStart);
            const QString dataRow = html.mid(dataStart, dataEnd - dataStart);
            const QString titleRow = hasTitle ? html.mid(titleStart, titleEnd - titleStart) : QString();
            const int openEnd = int(table.indexOf(QLatin1Char('>'))) + 1;
            const QString tableOpen = table.left(openEnd);
            QString blocks;
            if (ColumnBlocks && Grid) {
                for (int b = 0; b < BlockCount(); ++b) {
                    const QList<int> cols = BlockColumns(b);
                    auto fill = [&](const QString& row, int gridRow) {
                        QString out;
                        int last = 0;
                        auto it = kFieldRef.globalMatch(row);
                        while (it.hasNext()) {
                            const auto m = it.next();
                            out += row.mid(last, m.capturedStart() - last);
                            const int j = m.captured(2).toInt();
                            const bool title = m.captured(1).compare(QLatin1String("FieldTitle"), Qt::CaseInsensitive) == 0;
                            // Cells beyond the grid's last column print empty.
                            if (j < cols.size())
                                out += VariableValue((title ? QStringLiteral("FIELDTITLE") : QStringLiteral("FIELD")) +
                                                         QString::number(cols[j]), gridRow).toHtmlEscaped();
                            last = int(m.capturedEnd());
                        }
                        return out + row.mid(last);
                    };
                    blocks += tableOpen;
                    if (hasTitle) blocks += fill(titleRow, 0);
                    for (int r = 0; r < Grid->RowCount(); ++r) blocks += fill(dataRow, r);
                    blocks += QStringLiteral("</table>");
                }
            }
            html.replace(tableStart, tableEnd - tableStart, blocks);
        }
    }
    QString out;
    int last = 0;
    auto it = kVariableRef.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        out += html.mid(last, m.capturedStart() - last);
        out += VariableValue(m.captured(1), 0).toHtmlEscaped();
        last = int(m.capturedEnd());
    }
    return out + html.mid(last);
}

void TChartReport::SetChartPictures(TSPCChart& chart)
{
    const bool two = chart.SurfaceCount() > 1;
    MChart = ChartImage(chart, QSize(1000, two ? 380 : 520), 0);
    SChart = two ? ChartImage(chart, QSize(1000, 300), 1) : QImage();
}

bool FillChartReport(TChartReport& report, TSPCChart& chart, const TStringGrid& grid, const QString& title,
                     const QString& tags, bool color)
{
    report.Grid = &grid;
    report.Variable = [title, tags](const QString& name) {
        if (name == QLatin1String("ChartTitle")) return title;
        if (name == QLatin1String("Tags")) return tags;
        return QString();
    };
    const bool page = report.HasPage(QStringLiteral("ChartPage"));
    report.ColumnBlocks = page;
    const bool previous = chart.ColorMode();
    // Black-and-white printing switches the chart only while the pictures are made.
    if (!color) chart.SetColorMode(false);
    try {
        report.SetChartPictures(chart);
    } catch (...) {
        chart.SetColorMode(previous);
        throw;
    }
    chart.SetColorMode(previous);
    return page;
}

QString ChartTitle(const QString& itemName, TChartType type)
{
    return itemName + QLatin1Char(' ') + ChartTypeName(type);
}

QList<QImage> ChartWorkbookPictures(TSPCChart& chart)
{
    QList<QImage> pictures;
    for (int i = 0; i < chart.SurfaceCount(); ++i) pictures << ChartImage(chart, QSize(900, 360), i);
    return pictures;
}

std::unique_ptr<QTextDocument> TChartReport::RenderDocument() const
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    if (!MChart.isNull()) doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("MChart")), MChart);
    if (!SChart.isNull()) doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("SChart")), SChart);
    doc->setHtml(RenderHtml());
    return doc;
}

void TChartReport::Print(QPagedPaintDevice& device) const
{
    RenderDocument()->print(&device);
}

bool TChartReport::SavePdf(const QString& fileName) const
{
    QPdfWriter writer(fileName);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    writer.setTitle(Variable ? Variable(QStringLiteral("ChartTitle")) : QString());
    writer.setCreator(QStringLiteral("启衡SPC"));
    Print(writer);
    return QFileInfo(fileName).size() > 0;
}

QString ExportChartWorkbook(const QString& fileName, const QString& title, const QString& tags,
                            const TStringGrid& grid, const QList<QImage>& pictures)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    lxw_workbook* book = workbook_new(fileName.toLocal8Bit().constData());
    if (!book) throw ESystemError(QStringLiteral("无法创建文件：%1").arg(fileName));
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Chart");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    format_set_font_size(bold, 14);
    lxw_format* caption = workbook_add_format(book);
    format_set_bg_color(caption, 0xE8ECF2);
    format_set_border(caption, LXW_BORDER_THIN);
    lxw_format* cell = workbook_add_format(book);
    format_set_border(cell, LXW_BORDER_THIN);
    worksheet_write_string(sheet, 0, 0, title.toUtf8().constData(), bold);
    worksheet_write_string(sheet, 1, 0, tags.toUtf8().constData(), nullptr);
    const int top = 3;
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount() && c < 16384; ++c) {
            const QString text = grid.Cell(c, r);
            lxw_format* fmt = r < grid.FixedRows || c < grid.FixedCols ? caption : cell;
            bool ok = false;
            const double v = text.toDouble(&ok);
            if (ok && c >= grid.FixedCols && r >= grid.FixedRows)
                worksheet_write_number(sheet, lxw_row_t(top + r), lxw_col_t(c), v, fmt);
            else
                worksheet_write_string(sheet, lxw_row_t(top + r), lxw_col_t(c), text.toUtf8().constData(), fmt);
        }
    QTemporaryDir tmp;
    int row = top + grid.RowCount() + 2;
    QList<QByteArray> paths;
    for (int i = 0; i < pictures.size(); ++i) {
        if (pictures[i].isNull()) continue;
        const QString png = tmp.path() + QStringLiteral("/chart%1.png").arg(i);
        pictures[i].save(png);
        paths << png.toLocal8Bit();
        worksheet_insert_image(sheet, lxw_row_t(row), 0, paths.last().constData());
        row += pictures[i].height() / 20 + 2;
    }
    const lxw_error err = workbook_close(book);
    if (err != LXW_NO_ERROR) throw ESystemError(QStringLiteral("无法写入文件：%1").arg(fileName));
    return fileName;
}
