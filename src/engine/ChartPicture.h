#pragma once
// A chart object as a picture: the one routine that paints a chart (all its surfaces, or one of
// them) at a given size on white, for images, PNG, PDF and SVG files alike. The screen paints
// through PaintAll directly; pictures never disturb the chart's on-screen geometry.
#include <QImage>
#include <QSize>
#include <QString>

class QPainter;
class TSPCChart;

enum class TPictureFormat { Png, Pdf, Svg };

// Paints the whole chart (surface < 0) or one surface at size onto a white background. The
// chart's bounds (or the surface's size) are those of the picture while it paints and are
// restored afterwards.
void PaintChartPicture(TSPCChart& chart, QPainter& p, QSize size, int surface = -1);

// The picture as an image; a null image for a surface the chart does not have.
QImage ChartImage(TSPCChart& chart, QSize size, int surface = -1);

// Writes the whole chart as a PNG, a one-page PDF (size in points) or an SVG (size in pixels,
// with the title as the document's title). Raises ESystemError with the file name when it cannot
// be written.
void SaveChartPicture(TSPCChart& chart, const QString& fileName, TPictureFormat format, QSize size,
                      const QString& title = QString());
