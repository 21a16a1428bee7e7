#include "engine/CSChart.h"

#include "engine/SPCTypes.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

// ---------------------------------------------------------------- number formats and ticks

QString FormatFloatPattern(const QString& pattern, double value)
{
    QString pat = pattern.isEmpty() ? QStringLiteral("#,##0.###") : pattern;
    // Literal suffix (such as "%"): everything after the last digit placeholder.
    int last = -1;
    for (int i = 0; i < pat.size(); ++i)
        if (pat[i] == QLatin1Char('#') || pat[i] == QLatin1Char('0') || pat[i] == QLatin1Char('.') || pat[i] == QLatin1Char(','))
            last = i;
    const QString suffix = pat.mid(last + 1);
    pat = pat.left(last + 1);
    const bool thousands = pat.contains(QLatin1Char(','));
    const int dot = pat.indexOf(QLatin1Char('.'));
    const QString decimals = dot < 0 ? QString() : pat.mid(dot + 1);
    const int maxDec = int(decimals.size());
    const int minDec = int(decimals.count(QLatin1Char('0')));
    QString s = QString::number(value, 'f', maxDec);
    if (maxDec > minDec && s.contains(QLatin1Char('.'))) {
        int keep = int(s.size());
        const int dotPos = int(s.indexOf(QLatin1Char('.')));
        while (keep > dotPos + 1 + minDec && s[keep - 1] == QLatin1Char('0')) --keep;
        if (keep == dotPos + 1) --keep;
        s.truncate(keep);
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    if (thousands) {
        const bool neg = s.startsWith(QLatin1Char('-'));
        QString digits = neg ? s.mid(1) : s;
        const int p = digits.contains(QLatin1Char('.')) ? int(digits.indexOf(QLatin1Char('.'))) : int(digits.size());
        for (int i = p - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
        s = neg ? QLatin1Char('-') + digits : digits;
    }
    return s + suffix;
}

double NiceTickStep(double range, int maxTicks)
{
    if (!(range > 0) || maxTicks < 1) return 1;
    const double raw = range / maxTicks;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * mag >= raw) return f * mag;
    return 10 * mag;
}

// ---------------------------------------------------------------- series

void TCSSeries::Clear()
{
    Points.clear();
    Labels.clear();
    Colors.clear();
}

void TCSSeries::Reserve(int n)
{
    Points.reserve(static_cast<size_t>(n));
}

void TCSSeries::Add(double x, double y, const QString& label, const QColor& color)
{
    Points.push_back({x, y});
    if (!label.isEmpty() || !Labels.empty()) {
        Labels.resize(Points.size() - 1);
        Labels.push_back(label);
    }
    if (color.isValid() || !Colors.empty()) {
        Colors.resize(Points.size() - 1);
        Colors.push_back(color);
    }
}

QString TCSSeries::Label(int i) const
{
    return static_cast<size_t>(i) < Labels.size() ? Labels[static_cast<size_t>(i)] : QString();
}

bool TCSSeries::HasLabels() const
{
    return std::any_of(Labels.begin(), Labels.end(), [](const QString& l) { return !l.isEmpty(); });
}

QColor TCSSeries::PointColor(int i) const
{
    if (static_cast<size_t>(i) < Colors.size() && Colors[static_cast<size_t>(i)].isValid()) return Colors[static_cast<size_t>(i)];
    return Color;
}

void TCSSeries::SetPointColor(int i, const QColor& color)
{
    if (i < 0 || i >= Count()) return;
    if (Colors.size() < Points.size()) Colors.resize(Points.size());
    Colors[static_cast<size_t>(i)] = color;
}

double TCSSeries::MinX() const
{
    double m = std::numeric_limits<double>::infinity();
    for (const auto& pt : Points) m = std::min(m, pt.X);
    return m;
}

double TCSSeries::MaxX() const
{
    double m = -std::numeric_limits<double>::infinity();
    for (const auto& pt : Points) m = std::max(m, pt.X);
    return m;
}

double TCSSeries::MinY() const
{
    double m = std::numeric_limits<double>::infinity();
    for (const auto& pt : Points) m = std::min(m, pt.Y);
    return m;
}

double TCSSeries::MaxY() const
{
    double m = -std::numeric_limits<double>::infinity();
    for (const auto& pt : Points) m = std::max(m, pt.Y);
    return m;
}

QPointF TCSSeries::PixelOf(int i) const
{
    const TCSPoint& pt = Points[static_cast<size_t>(i)];
    return {Chart->CalcXPos(pt.X, HorizAxis), Chart->CalcYPos(pt.Y, VertAxis)};
}

int TCSSeries::Clicked(const QPointF& pos, double tolerance) const
{
    if (!Visible) return -1;
    for (int i = 0; i < Count(); ++i) {
        const QPointF px = PixelOf(i);
        if (std::abs(px.x() - pos.x()) <= tolerance && std::abs(px.y() - pos.y()) <= tolerance) return i;
    }
    return -1;
}

void TCSChartSeries::Paint(QPainter& p) const
{
    if (!Visible || Points.empty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRect plot = Chart->ChartRect();
    const int n = Count();
    QPen linePen(LineColor.isValid() ? LineColor : Color, LineWidth, LineStyle);
    p.setPen(linePen);
    p.setBrush(Qt::NoBrush);
    const bool dense = n > 2 * std::max(1, plot.width());
    const TCSChart::TMap mx = Chart->XMap(HorizAxis), my = Chart->YMap(VertAxis);
    auto pixel = [&](int i) {
        const TCSPoint& pt = Points[static_cast<size_t>(i)];
        return QPointF(mx(pt.X), my(pt.Y));
    };
    if (dense && !Stairs) {
        // One vertical span per pixel column, joined column to column: every extreme stays visible.
        p.setRenderHint(QPainter::Antialiasing, false);
        int column = std::numeric_limits<int>::min();
        double lo = 0, hi = 0, first = 0, lastY = 0;
        QPainterPath path;
        bool started = false;
        auto flush = [&]() {
            if (column == std::numeric_limits<int>::min()) return;
            if (!started) {
                path.moveTo(column, first);
                started = true;
            } else {
                path.lineTo(column, first);
            }
            path.moveTo(column, lo);
            path.lineTo(column, hi);
            path.moveTo(column, lastY);
        };
        for (int i = 0; i < n; ++i) {
            const QPointF px = pixel(i);
            const int c = int(std::floor(px.x()));
            if (c != column) {
                flush();
                column = c;
                lo = hi = first = lastY = px.y();
            } else {
                lo = std::min(lo, px.y());
                hi = std::max(hi, px.y());
                lastY = px.y();
            }
        }
        flush();
        p.drawPath(path);
    } else {
        QPainterPath path;
        for (int i = 0; i < n; ++i) {
            const QPointF px = pixel(i);
            if (i == 0) {
                path.moveTo(px);
            } else if (Stairs) {
                path.lineTo(px.x(), path.currentPosition().y());
                path.lineTo(px);
            } else {
                path.lineTo(px);
            }
        }
        p.drawPath(path);
    }
    if (ShowPointer) {
        p.setPen(QPen(PointerOutline, 1));
        for (int i = 0; i < n; ++i) {
            const QColor c = PointColor(i);
            if (dense && (QuietPointColors.isEmpty() || QuietPointColors.contains(c))) continue;
            p.setBrush(c);
            p.drawEllipse(pixel(i), PointerSize, PointerSize);
        }
    }
    p.restore();
}

void TCSBarSeries::Paint(QPainter& p) const
{
    if (!Visible || Points.empty()) return;
    p.save();
    const QRect plot = Chart->ChartRect();
    const TCSAxis& axis = Chart->Axis(HorizAxis);
    // A slot is the plot width divided by the number of x units shown (at least one per bar).
    const double units = std::max(1.0, axis.High - axis.Low + (Count() > 1 ? 0 : 1));
    const double slot = std::min<double>(plot.width() / std::max(1.0, units), plot.width() / double(std::max(1, Count())));
    const double w = std::max(1.0, slot * BarWidthPercent / 100.0);
    const double y0 = Chart->CalcYPos(std::max(Chart->Axis(VertAxis).Low, 0.0), VertAxis);
    QFontMetrics fm(p.font());
    for (int i = 0; i < Count(); ++i) {
        const QPointF px = PixelOf(i);
        QRectF bar(px.x() - w / 2, std::min(px.y(), y0), w, std::abs(y0 - px.y()));
        p.setPen(BarOutline ? QPen(Qt::black, 1) : QPen(Qt::NoPen));
        p.setBrush(PointColor(i));
        p.drawRect(bar);
        if (ShowMarks) {
            const QString label = Label(i);
            const QString text = label.isEmpty() ? FormatFloatPattern(QString(), Points[static_cast<size_t>(i)].Y) : label;
            const double top = bar.top() - MarksArrowLength;
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(QPointF(px.x(), bar.top()), QPointF(px.x(), top));
            QRectF box(px.x() - fm.horizontalAdvance(text) / 2.0 - 3, top - fm.height() - 2,
                       fm.horizontalAdvance(text) + 6, fm.height() + 2);
            p.setBrush(QColor(0xff, 0xff, 0xe1));
            p.drawRect(box);
            p.drawText(box, Qt::AlignCenter, text);
        }
    }
    p.restore();
}

int TCSBarSeries::Clicked(const QPointF& pos, double tolerance) const
{
    return TCSSeries::Clicked(pos, tolerance);
}

void TCSAreaSeries::Paint(QPainter& p) const
{
    if (!Visible || Points.size() < 2) return;
    p.save();
    p.setPen(Qt::NoPen);
    const double y0 = Chart->CalcYPos(std::max(Chart->Axis(VertAxis).Low, 0.0), VertAxis);
    for (int i = 0; i + 1 < Count(); ++i) {
        const QPointF a = PixelOf(i);
        const QPointF b = PixelOf(i + 1);
        if (b.x() <= a.x()) continue;
        p.setBrush(PointColor(i));
        p.drawRect(QRectF(QPointF(a.x(), std::min(a.y(), y0)), QPointF(b.x(), std::max(a.y(), y0))));
    }
    p.restore();
}

// ---------------------------------------------------------------- surface

TCSChart::TCSChart() : FExts(std::make_unique<TCSSeriesExtList>(*this))
{
    Font = QFont(QStringLiteral("Noto Sans CJK SC"));
    Font.setPixelSize(11);
    RightAxis.Visible = false;
    TopAxis.Visible = false;
}

TCSChart::~TCSChart() = default;

TCSAxis& TCSChart::Axis(TCSAxisKind kind)
{
    switch (kind) {
    case TCSAxisKind::Left: return LeftAxis;
    case TCSAxisKind::Bottom: return BottomAxis;
    case TCSAxisKind::Right: return RightAxis;
    case TCSAxisKind::Top: return TopAxis;
    }
    return LeftAxis;
}

const TCSAxis& TCSChart::Axis(TCSAxisKind kind) const
{
    return const_cast<TCSChart*>(this)->Axis(kind);
}

bool TCSChart::HasSeries(const TCSSeries* s) const
{
    return std::any_of(FSeries.begin(), FSeries.end(), [s](const auto& p) { return p.get() == s; });
}

void TCSChart::RemoveSeries(TCSSeries* s)
{
    FExts->Remove(s);
    FSeries.erase(std::remove_if(FSeries.begin(), FSeries.end(), [s](const auto& p) { return p.get() == s; }),
                  FSeries.end());
}

void TCSChart::ClearAllPoints()
{
    for (auto& s : FSeries) s->Clear();
}

void TCSChart::ComputeRange(TCSAxisKind kind, const std::vector<TExtent>& extents)
{
    TCSAxis& axis = Axis(kind);
    const bool vertical = kind == TCSAxisKind::Left || kind == TCSAxisKind::Right;
    if (!axis.Automatic) {
        axis.Low = axis.Minimum;
        axis.High = axis.Maximum;
        return;
    }
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (size_t i = 0; i < FSeries.size(); ++i) {
        const TCSSeries& s = *FSeries[i];
        if (!s.Visible || s.Points.empty()) continue;
        if ((vertical ? s.VertAxis : s.HorizAxis) != kind) continue;
        const TExtent& e = extents[i];
        if (vertical) {
            lo = std::min(lo, e.MinY);
            hi = std::max(hi, e.MaxY);
        } else {
            lo = std::min(lo, e.MinX);
            hi = std::max(hi, e.MaxX);
        }
        if (!vertical && dynamic_cast<const TCSBarSeries*>(&s) && s.Count() == 1) {
            lo = std::min(lo, e.MinX - 0.5);
            hi = std::max(hi, e.MaxX + 0.5);
        }
    }
    if (!std::isfinite(lo)) {
        lo = 0;
        hi = 1;
    }
    if (hi == lo) {
        const double pad = lo == 0 ? 1 : std::abs(lo) * 0.1;
        lo -= pad;
        hi += pad;
    } else if (vertical) {
        // A little air above and below so markers at the extremes are whole.
        const double pad = (hi - lo) * 0.05;
        lo -= pad;
        hi += pad;
    }
    const double pad = axis.PadUnits + (hi - lo) * axis.PadPercent / 100;
    axis.Low = lo - pad;
    axis.High = hi + pad;
}

const TCSSeries* TCSChart::LabelSeries(TCSAxisKind kind) const
{
    for (const auto& s : FSeries) {
        if (!s->Visible && !dynamic_cast<const TCSChartSeries*>(s.get())) continue;
        if (s->HorizAxis != kind) continue;
        if (s->HasLabels()) return s.get();
    }
    return nullptr;
}

TCSChart::TMap TCSChart::XMap(TCSAxisKind axis) const
{
    const TCSAxis& a = Axis(axis);
    const double span = a.High - a.Low;
    if (span == 0) return {double(FChartRect.left()), 0};
    const double b = FChartRect.width() / span;
    return {FChartRect.left() - a.Low * b, b};
}

TCSChart::TMap TCSChart::YMap(TCSAxisKind axis) const
{
    const TCSAxis& a = Axis(axis);
    const double span = a.High - a.Low;
    if (span == 0) return {double(FChartRect.bottom()), 0};
    const double b = -FChartRect.height() / span;
    return {FChartRect.top() + FChartRect.height() - a.Low * b, b};
}

double TCSChart::CalcXPos(double value, TCSAxisKind axis) const
{
    const TCSAxis& a = Axis(axis);
    const double span = a.High - a.Low;
    if (span == 0) return FChartRect.left();
    return FChartRect.left() + (value - a.Low) / span * FChartRect.width();
}

double TCSChart::CalcYPos(double value, TCSAxisKind axis) const
{
    const TCSAxis& a = Axis(axis);
    const double span = a.High - a.Low;
    if (span == 0) return FChartRect.bottom();
    return FChartRect.top() + FChartRect.height() - (value - a.Low) / span * FChartRect.height();
}

double TCSChart::XValueOf(double pixel, TCSAxisKind axis) const
{
    const TCSAxis& a = Axis(axis);
    if (FChartRect.width() == 0) return a.Low;
    return a.Low + (pixel - FChartRect.left()) / FChartRect.width() * (a.High - a.Low);
}

double TCSChart::YValueOf(double pixel, TCSAxisKind axis) const
{
    const TCSAxis& a = Axis(axis);
    if (FChartRect.height() == 0) return a.Low;
    return a.Low + (FChartRect.top() + FChartRect.height() - pixel) / FChartRect.height() * (a.High - a.Low);
}

namespace {
QList<double> Ticks(const TCSAxis& axis, int pixels, int spacing)
{
    QList<double> ticks;
    const double range = axis.High - axis.Low;
    if (!(range > 0) || pixels <= 0) return ticks;
    const int maxTicks = std::max(2, pixels / std::max(spacing, 1));
    double step = axis.DesiredIncrement > 0 ? axis.DesiredIncrement : NiceTickStep(range, maxTicks);
    // A desired increment that would crowd the labels is widened.
    while (range / step > maxTicks * 2) step *= 2;
    const double start = std::ceil(axis.Low / step - 1e-9) * step;
    for (double v = start; v <= axis.High + step * 1e-9; v += step) {
        ticks << (std::abs(v) < step * 1e-9 ? 0.0 : v);
        if (ticks.size() > 1000) break;
    }
    return ticks;
}
} // namespace

void TCSChart::Layout(QPainter* measure)
{
    // One pass over each series' points for all four extents.
    std::vector<TExtent> extents(FSeries.size());
    for (size_t i = 0; i < FSeries.size(); ++i) {
        TExtent e{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                  std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
        for (const TCSPoint& pt : FSeries[i]->Points) {
            e.MinX = std::min(e.MinX, pt.X);
            e.MaxX = std::max(e.MaxX, pt.X);
            e.MinY = std::min(e.MinY, pt.Y);
            e.MaxY = std::max(e.MaxY, pt.Y);
        }
        extents[i] = e;
    }
    for (TCSAxisKind k : {TCSAxisKind::Left, TCSAxisKind::Right, TCSAxisKind::Bottom, TCSAxisKind::Top})
        ComputeRange(k, extents);
    QFontMetrics fm(measure ? measure->font() : Font);
    const int lineH = fm.height();
    auto labelWidth = [&](const TCSAxis& axis, int pixels) {
        int w = 0;
        for (double v : Ticks(axis, pixels, lineH * 2)) w = std::max(w, fm.horizontalAdvance(FormatFloatPattern(axis.ValueFormat, v)));
        return w;
    };
    const int titleH = Title.isEmpty() ? 0 : lineH + 6;
    const int estimateH = std::max(40, Height - titleH - 3 * lineH);
    FMaxLeftLabelWidth = LeftAxis.Visible ? labelWidth(LeftAxis, estimateH) : 0;
    const int leftLabels = LeftAxis.LabelsSize > 0 ? LeftAxis.LabelsSize : FMaxLeftLabelWidth;
    int left = 6 + (LeftAxis.Visible ? leftLabels + 8 + (LeftAxis.Title.isEmpty() ? 0 : lineH + 4) : 0);
    int right = 10;
    if (RightAxis.Visible) {
        const int w = RightAxis.LabelsSize > 0 ? RightAxis.LabelsSize : labelWidth(RightAxis, estimateH);
        right = 6 + w + 8 + (RightAxis.Title.isEmpty() ? 0 : lineH + 4);
    }
    int bottomSpace = 6;
    if (BottomAxis.Visible) {
        if (BottomAxis.LabelAngle == 270) {
            int w = 0;
            if (const TCSSeries* ls = LabelSeries(TCSAxisKind::Bottom))
                for (const QString& label : ls->Labels) w = std::max(w, fm.horizontalAdvance(label));
            else
                w = labelWidth(BottomAxis, std::max(40, Width - left - right));
            bottomSpace += w + 8;
        } else {
            bottomSpace += lineH + 6;
        }
        if (!BottomAxis.Title.isEmpty()) bottomSpace += lineH + 2;
    }
    // Room above the plot for the marks of bar series.
    int marks = 0;
    for (const auto& series : FSeries)
        if (const auto* bars = dynamic_cast<const TCSBarSeries*>(series.get()); bars && bars->Visible && bars->ShowMarks && bars->Count() > 0)
            marks = std::max(marks, lineH + bars->MarksArrowLength + 4);
    const int top = titleH + (TopAxis.Visible ? lineH + 10 : 10) + marks;
    FChartRect = QRect(left, top, std::max(1, Width - left - right), std::max(1, Height - top - bottomSpace));
}

void TCSChart::Paint(QPainter& p)
{
    p.save();
    p.setFont(Font);
    Layout(&p);
    p.fillRect(QRect(0, 0, Width, Height), BackColor);
    if (!Title.isEmpty()) {
        p.setPen(Qt::black);
        p.drawText(QRect(0, 2, Width, p.fontMetrics().height() + 4), Qt::AlignCenter, Title);
    }
    p.save();
    p.setClipRect(FChartRect.adjusted(0, 0, 1, 1));
    if (OnBeforeDrawSeries) OnBeforeDrawSeries(p, *this);
    p.restore();
    DrawAxes(p);
    p.save();
    p.setClipRect(QRect(0, 0, Width, Height));
    for (const auto& s : FSeries) {
        s->Paint(p);
        if (s->OnAfterDraw) s->OnAfterDraw(p, *s);
    }
    p.restore();
    for (int i = 0; i < FExts->Count(); ++i) FExts->Item(i)->DrawLabel(p);
    p.restore();
}

void TCSChart::DrawAxes(QPainter& p)
{
    DrawVerticalAxis(p, TCSAxisKind::Left);
    DrawVerticalAxis(p, TCSAxisKind::Right);
    DrawHorizontalAxis(p, TCSAxisKind::Bottom);
    DrawHorizontalAxis(p, TCSAxisKind::Top);
}

void TCSChart::DrawVerticalAxis(QPainter& p, TCSAxisKind kind)
{
    const TCSAxis& axis = Axis(kind);
    if (!axis.Visible) return;
    const bool left = kind == TCSAxisKind::Left;
    const int x = left ? FChartRect.left() : FChartRect.right() + 1;
    QFontMetrics fm(p.font());
    p.setPen(QPen(Qt::black, axis.LineWidth));
    p.drawLine(x, FChartRect.top(), x, FChartRect.bottom() + 1);
    const QList<double> ticks = Ticks(axis, FChartRect.height(), fm.height() * 2);
    for (int t = 0; t < ticks.size(); ++t) {
        const double v = ticks[t];
        const int y = int(std::lround(CalcYPos(v, kind)));
        if (axis.Grid) {
            p.setPen(QPen(QColor(0xd0, 0xd0, 0xd0), 1, Qt::DotLine));
            p.drawLine(FChartRect.left(), y, FChartRect.right(), y);
            p.setPen(QPen(Qt::black, axis.LineWidth));
        }
        p.drawLine(left ? x - 4 : x, y, left ? x : x + 4, y);
        if (axis.MinorTicks && t + 1 < ticks.size()) {
            const double mid = CalcYPos((v + ticks[t + 1]) / 2, kind);
            p.drawLine(QPointF(left ? x - 2 : x, mid), QPointF(left ? x : x + 2, mid));
        }
        const QString text = FormatFloatPattern(axis.ValueFormat, v);
        const int w = fm.horizontalAdvance(text);
        const QRect r = left ? QRect(x - 6 - w, y - fm.height() / 2, w, fm.height())
                             : QRect(x + 6, y - fm.height() / 2, w, fm.height());
        p.drawText(r, (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
    }
    if (!axis.Title.isEmpty()) {
        p.save();
        const int labels = axis.LabelsSize > 0 ? axis.LabelsSize : FMaxLeftLabelWidth;
        const int tx = left ? x - 8 - labels - 4 : x + 8 + labels + 4 + fm.height();
        p.translate(tx, FChartRect.center().y());
        p.rotate(left ? -90 : 90);
        QFont bold = p.font();
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(QRect(-FChartRect.height() / 2, -fm.height(), FChartRect.height(), fm.height()), Qt::AlignCenter, axis.Title);
        p.restore();
    }
}

void TCSChart::DrawHorizontalAxis(QPainter& p, TCSAxisKind kind)
{
    const TCSAxis& axis = Axis(kind);
    if (!axis.Visible) return;
    const bool bottom = kind == TCSAxisKind::Bottom;
    const int y = bottom ? FChartRect.bottom() + 1 : FChartRect.top();
    QFontMetrics fm(p.font());
    p.setPen(QPen(Qt::black, axis.LineWidth));
    p.drawLine(FChartRect.left(), y, FChartRect.right() + 1, y);
    auto drawLabel = [&](double x, const QString& text) {
        const int w = fm.horizontalAdvance(text);
        if (axis.LabelAngle == 270) {
            p.save();
            p.translate(x + fm.ascent() / 2.0 - 1, bottom ? y + 6 : y - 6);
            p.rotate(270);
            p.drawText(QRect(bottom ? -w : 0, -fm.ascent(), w, fm.height()), Qt::AlignRight | Qt::AlignVCenter, text);
            p.restore();
        } else {
            p.drawText(QRectF(x - w / 2.0, bottom ? y + 5 : y - 5 - fm.height(), w, fm.height()), Qt::AlignCenter, text);
        }
    };
    if (const TCSSeries* ls = LabelSeries(kind)) {
        // Point labels (subgroup numbers, class limits) on the axis, skipped where they would overlap.
        double lastEdge = -1e9;
        double lastHalf = 0;
        const int gap = axis.LabelAngle == 270 ? fm.height() + 2 : 0;
        const TMap map = XMap(kind);
        for (size_t i = 0; i < ls->Labels.size(); ++i) {
            const QString& label = ls->Labels[i];
            const double x = map(ls->Points[i].X);
            // Cheap tests first: on a dense axis most labels are skipped without being measured.
            if (x < lastEdge + lastHalf || label.isEmpty()) continue;
            if (x < FChartRect.left() - 1 || x > FChartRect.right() + 2) continue;
            const double half = axis.LabelAngle == 270 ? gap / 2.0 : fm.horizontalAdvance(label) / 2.0 + 4;
            if (x - half < lastEdge) continue;
            p.drawLine(QPointF(x, y), QPointF(x, bottom ? y + 3 : y - 3));
            drawLabel(x, label);
            lastEdge = x + half;
            lastHalf = half;
        }
    } else {
        const int spacing = axis.LabelAngle == 270 ? fm.height() + 4 : fm.horizontalAdvance(QStringLiteral("00000.00"));
        for (double v : Ticks(axis, FChartRect.width(), spacing)) {
            const double x = CalcXPos(v, kind);
            p.drawLine(QPointF(x, y), QPointF(x, bottom ? y + 4 : y - 4));
            drawLabel(x, FormatFloatPattern(axis.ValueFormat, v));
        }
    }
    if (!axis.Title.isEmpty())
        p.drawText(QRect(FChartRect.left(), bottom ? Height - fm.height() - 2 : 0, FChartRect.width(), fm.height()),
                   Qt::AlignCenter, axis.Title);
}

// ---------------------------------------------------------------- decorations

bool TCSSeriesExt::SetLabelText(const QString& text)
{
    if (LabelText == text) return false;
    LabelText = text;
    return true;
}

bool TCSSeriesExt::SetShowLabel(bool show)
{
    if (ShowLabel == show) return false;
    ShowLabel = show;
    return true;
}

void TCSSeriesExt::DrawLabel(QPainter& p) const
{
    if (!ShowLabel || !Series || !Series->Visible || Series->Points.empty()) return;
    p.save();
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(QColor(0xa6, 0xca, 0xf0));
    const QRect plot = Series->Chart->ChartRect();
    const double y = Series->PixelOf(Series->Count() - 1).y();
    const QFontMetrics fm(f);
    p.drawText(QRectF(plot.left(), y - fm.height(), plot.width(), fm.height()), Qt::AlignRight | Qt::AlignBottom, LabelText);
    p.restore();
}

QString TCSSeriesExt::HintAt(const QPointF& pos) const
{
    if (!ShowHint || !Series || !HintProvider) return {};
    const int i = Series->Clicked(pos, 4);
    return i < 0 ? QString() : HintProvider(*Series, i);
}

TCSSeriesExt* TCSSeriesExtList::AddExt(TCSSeries* series, bool showLabel, bool showHint)
{
    if (!FChart.HasSeries(series)) throw ESPCDataError(QStringLiteral("指定的Series不存在！"));
    auto ext = std::make_unique<TCSSeriesExt>();
    ext->Series = series;
    ext->ShowLabel = showLabel;
    ext->ShowHint = showHint;
    FItems.push_back(std::move(ext));
    return FItems.back().get();
}

TCSSeriesExt* TCSSeriesExtList::Find(const TCSSeries* series) const
{
    for (const auto& e : FItems)
        if (e->Series == series) return e.get();
    return nullptr;
}

void TCSSeriesExtList::Remove(const TCSSeries* series)
{
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(), [series](const auto& e) { return e->Series == series; }),
                 FItems.end());
}
