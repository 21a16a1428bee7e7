#pragma once
// The chart surface: axes, series and decorations drawn with one routine into any QPainter (a
// widget, an image, SVG, PDF or a printer). Mouse handling lives in the widget that shows it.
#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class TCSChart;

// Points are kept lean (large charts hold hundreds of thousands); labels and per-point colours
// live beside them and only in series that have them.
struct TCSPoint {
    double X = 0;
    double Y = 0;
};

enum class TCSAxisKind { Left, Bottom, Right, Top };

class TCSAxis {
public:
    bool Visible = true;
    bool Automatic = true;
    double Minimum = 0;
    double Maximum = 0;
    QString Title;
    // Label pattern: "0.####", "#,##0.###", a literal suffix such as "%" is kept; empty: "#,##0.###".
    QString ValueFormat;
    int LabelAngle = 0;          // 0 or 270
    double DesiredIncrement = 0; // 0: chosen from the available space
    bool MinorTicks = true;
    bool Grid = false;
    int LineWidth = 1;
    int LabelsSize = 0;          // label area width (vertical axes); 0: fitted to the widest label
    bool RoundFirstLabel = true;
    // Air added to an automatic range on each side: in axis units and as a share of the range.
    double PadUnits = 0;
    double PadPercent = 0;

    // The range in use after the last layout.
    double Low = 0;
    double High = 1;
};

class TCSSeries {
public:
    virtual ~TCSSeries() = default;

    TCSChart* Chart = nullptr;
    QColor Color = Qt::black;
    bool Visible = true;
    bool ColorEachPoint = false;
    TCSAxisKind VertAxis = TCSAxisKind::Left;
    TCSAxisKind HorizAxis = TCSAxisKind::Bottom;
    std::vector<TCSPoint> Points;
    std::vector<QString> Labels;  // empty, or one per point
    std::vector<QColor> Colors;   // empty, or one per point (invalid: the series colour)
    // Runs after the series is painted (labels at the line's end, ...).
    std::function<void(QPainter&, TCSSeries&)> OnAfterDraw;

    int Count() const { return static_cast<int>(Points.size()); }
    void Clear();
    void Reserve(int n);
    void Add(double x, double y, const QString& label = {}, const QColor& color = {});
    QString Label(int i) const;
    bool HasLabels() const;
    QColor PointColor(int i) const;
    void SetPointColor(int i, const QColor& color);
    double MinX() const;
    double MaxX() const;
    double MinY() const;
    double MaxY() const;

    // Pixel position of point i on the surface.
    QPointF PixelOf(int i) const;
    // The first point whose pixel lies within tolerance of pos in x and in y; -1 when none.
    virtual int Clicked(const QPointF& pos, double tolerance = 4) const;
    virtual void Paint(QPainter& p) const = 0;
};

// A line through the points, optionally with circle markers and in stairs mode.
class TCSChartSeries : public TCSSeries {
public:
    bool Stairs = false;
    bool ShowPointer = false;
    double PointerSize = 3.5;
    QColor PointerOutline = Qt::black;
    QColor LineColor;            // invalid: the series colour
    Qt::PenStyle LineStyle = Qt::SolidLine;
    double LineWidth = 1;
    // With more points than pixel columns, points of these colours are drawn as the per-column span
    // only; points of any other colour (abnormal, handled) keep their markers.
    QList<QColor> QuietPointColors;
    void Paint(QPainter& p) const override;
};

class TCSBarSeries : public TCSSeries {
public:
    int BarWidthPercent = 70;
    bool BarOutline = true;
    bool ShowMarks = false;
    int MarksArrowLength = 8;
    void Paint(QPainter& p) const override;
    int Clicked(const QPointF& pos, double tolerance = 4) const override;
};

// A filled area in stairs mode, each step in its point's colour.
class TCSAreaSeries : public TCSSeries {
public:
    void Paint(QPainter& p) const override;
};

class TCSSeriesExtList;

class TCSChart {
public:
    TCSChart();
    ~TCSChart();
    TCSChart(const TCSChart&) = delete;
    TCSChart& operator=(const TCSChart&) = delete;

    // Geometry inside the container the surface is placed in.
    int Left = 0, Top = 0, Width = 400, Height = 300;
    QColor BackColor = Qt::white;
    QString Title;
    QFont Font;

    TCSAxis LeftAxis, BottomAxis, RightAxis, TopAxis;
    TCSAxis& Axis(TCSAxisKind kind);
    const TCSAxis& Axis(TCSAxisKind kind) const;

    template <class T>
    T* AddSeries()
    {
        auto s = std::make_unique<T>();
        s->Chart = this;
        T* raw = s.get();
        FSeries.push_back(std::move(s));
        return raw;
    }
    int SeriesCount() const { return static_cast<int>(FSeries.size()); }
    TCSSeries* Series(int i) const { return FSeries.at(static_cast<size_t>(i)).get(); }
    bool HasSeries(const TCSSeries* s) const;
    void RemoveSeries(TCSSeries* s);
    void ClearAllPoints();

    TCSSeriesExtList& Exts() { return *FExts; }

    // Runs before the series are painted, with the plot area clipped (zones).
    std::function<void(QPainter&, TCSChart&)> OnBeforeDrawSeries;

    // Lays out the axes for the current size and points, then paints everything at the origin.
    void Paint(QPainter& p);
    // Lays out only (plot rectangle and axis ranges), as Paint does first.
    void Layout(QPainter* measure = nullptr);

    // The plot rectangle of the last layout, in surface pixels.
    QRect ChartRect() const { return FChartRect; }
    // value → pixel as x = A + B·value (y likewise), for drawing many points at once.
    struct TMap {
        double A, B;
        double operator()(double v) const { return A + B * v; }
    };
    TMap XMap(TCSAxisKind axis) const;
    TMap YMap(TCSAxisKind axis) const;
    double CalcXPos(double value, TCSAxisKind axis = TCSAxisKind::Bottom) const;
    double CalcYPos(double value, TCSAxisKind axis = TCSAxisKind::Left) const;
    double XValueOf(double pixel, TCSAxisKind axis = TCSAxisKind::Bottom) const;
    double YValueOf(double pixel, TCSAxisKind axis = TCSAxisKind::Left) const;
    // The widest label of the left axis in the last layout.
    int MaxLeftLabelWidth() const { return FMaxLeftLabelWidth; }

private:
    struct TExtent {
        double MinX, MaxX, MinY, MaxY;
    };
    void ComputeRange(TCSAxisKind kind, const std::vector<TExtent>& extents);
    void DrawAxes(QPainter& p);
    void DrawVerticalAxis(QPainter& p, TCSAxisKind kind);
    void DrawHorizontalAxis(QPainter& p, TCSAxisKind kind);
    const TCSSeries* LabelSeries(TCSAxisKind kind) const;

    std::vector<std::unique_ptr<TCSSeries>> FSeries;
    std::unique_ptr<TCSSeriesExtList> FExts;
    QRect FChartRect;
    int FMaxLeftLabelWidth = 0;
};

// Formats a number with a pattern such as "0.####" or "#,##0.###%".
QString FormatFloatPattern(const QString& pattern, double value);
// Tick values of a range: a readable step (1, 2 or 5 times a power of ten) for about maxTicks ticks.
double NiceTickStep(double range, int maxTicks);

// Decorations of one series: the label at its right end, hover hints and clicks on its points.
class TCSSeriesExt {
public:
    TCSSeries* Series = nullptr;
    bool ShowLabel = false;
    QString LabelText;
    bool ShowHint = false;
    std::function<QString(TCSSeries&, int)> HintProvider;
    std::function<void(int index, Qt::MouseButton button, int x, int y)> OnPointClick;
    std::function<void(int index, Qt::MouseButton button, int x, int y)> OnPointDblClick;

    // Returns whether something changed (the surface is then to be repainted).
    bool SetLabelText(const QString& text);
    bool SetShowLabel(bool show);
    // Draws the label: Arial bold 9 px, sky blue, right-aligned at the plot's right edge, bottom at the last point.
    void DrawLabel(QPainter& p) const;
    // The hint text at a mouse position, empty when no point lies within 4 pixels.
    QString HintAt(const QPointF& pos) const;
};

class TCSSeriesExtList {
public:
    explicit TCSSeriesExtList(TCSChart& chart) : FChart(chart) {}
    // Throws ESPCDataError "指定的Series不存在！" when the series is not on this surface.
    TCSSeriesExt* AddExt(TCSSeries* series, bool showLabel, bool showHint);
    int Count() const { return static_cast<int>(FItems.size()); }
    TCSSeriesExt* Item(int i) const { return FItems.at(static_cast<size_t>(i)).get(); }
    TCSSeriesExt* Find(const TCSSeries* series) const;
    void Remove(const TCSSeries* series);

private:
    TCSChart& FChart;
    std::vector<std::unique_ptr<TCSSeriesExt>> FItems;
};
