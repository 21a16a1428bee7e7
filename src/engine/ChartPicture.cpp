#include "engine/ChartPicture.h"

#include "engine/SPCChart.h"
#include "foundation/Errors.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {
// The chart's geometry while a picture is painted, restored at the end.
class TBoundsScope {
public:
    TBoundsScope(TSPCChart& chart, QSize size)
        : FChart(chart), FLeft(chart.Left()), FTop(chart.Top()), FWidth(chart.Width()), FHeight(chart.Height())
    {
        chart.SetBounds(0, 0, size.width(), size.height());
    }
    ~TBoundsScope() { FChart.SetBounds(FLeft, FTop, FWidth, FHeight); }

private:
    TSPCChart& FChart;
    int FLeft, FTop, FWidth, FHeight;
};

class TSurfaceSizeScope {
public:
    TSurfaceSizeScope(TCSChart& surface, QSize size) : FSurface(surface), FWidth(surface.Width), FHeight(surface.Height)
    {
        surface.Width = size.width();
        surface.Height = size.height();
    }
    ~TSurfaceSizeScope()
    {
        FSurface.Width = FWidth;
        FSurface.Height = FHeight;
    }

private:
    TCSChart& FSurface;
    int FWidth, FHeight;
};

[[noreturn]] void CannotWrite(const QString& what, const QString& fileName)
{
    throw ESystemError(QStringLiteral("无法写入%1文件：%2").arg(what, fileName));
}
} // namespace

void PaintChartPicture(TSPCChart& chart, QPainter& p, QSize size, int surface)
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    if (surface < 0) {
        TBoundsScope bounds(chart, size);
        chart.PaintAll(p);
        return;
    }
    TCSChart* s = chart.GetChart(surface);
    if (!s) return;
    TSurfaceSizeScope scope(*s, size);
    s->Paint(p);
}

QImage ChartImage(TSPCChart& chart, QSize size, int surface)
{
    if (surface >= 0 && !chart.GetChart(surface)) return {};
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    PaintChartPicture(chart, p, size, surface);
    return img;
}

void SaveChartPicture(TSPCChart& chart, const QString& fileName, TPictureFormat format, QSize size, const QString& title)
{
    switch (format) {
    case TPictureFormat::Png:
        if (!ChartImage(chart, size).save(fileName, "PNG")) CannotWrite(QStringLiteral("图片"), fileName);
        return;
    case TPictureFormat::Pdf: {
        QPdfWriter writer(fileName);
        writer.setResolution(72);  // one point a pixel: the page is the picture's size
        writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("启衡SPC"));
        QPainter p;
        if (!p.begin(&writer)) CannotWrite(QStringLiteral("PDF"), fileName);
        PaintChartPicture(chart, p, size);
        p.end();
        return;
    }
    case TPictureFormat::Svg: {
        QSvgGenerator svg;
        svg.setFileName(fileName);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        svg.setDescription(QStringLiteral("启衡SPC"));
        QPainter p;
        if (!p.begin(&svg)) CannotWrite(QStringLiteral("SVG"), fileName);
        PaintChartPicture(chart, p, size);
        if (!p.end()) CannotWrite(QStringLiteral("SVG"), fileName);
        return;
    }
    }
}
