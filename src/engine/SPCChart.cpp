#include "engine/SPCChart.h"

#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

TEditExceptionPoint& EditExceptionPointHook()
{
    static TEditExceptionPoint hook;
    return hook;
}

namespace {
const QColor kPalette[16] = {
    QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x80, 0x00), QColor(0xFF, 0xFF, 0x00), QColor(0x00, 0x00, 0xFF),
    QColor(0xFF, 0xFF, 0xFF), QColor(0x80, 0x80, 0x80), QColor(0xFF, 0x00, 0xFF), QColor(0x00, 0x80, 0x80),
    QColor(0x00, 0x00, 0x80), QColor(0x80, 0x00, 0x00), QColor(0x00, 0xFF, 0x00), QColor(0x80, 0x80, 0x00),
    QColor(0x80, 0x00, 0x80), QColor(0xC0, 0xC0, 0xC0), QColor(0x00, 0xFF, 0xFF), QColor(0x00, 0x00, 0x00),
};

const QString kSep = QStringLiteral("\n\r");

bool IsSet(double v) { return v != NullValue; }

TCSChartSeries* LineSeries(TCSChart& c, const QColor& color)
{
    auto* s = c.AddSeries<TCSChartSeries>();
    s->Color = color;
    return s;
}

TCSChartSeries* PointSeries(TCSChart& c)
{
    auto* s = c.AddSeries<TCSChartSeries>();
    s->Color = Qt::black;
    s->LineColor = Qt::black;
    s->ShowPointer = true;
    s->PointerOutline = Qt::black;
    s->ColorEachPoint = true;
    s->QuietPointColors = {StateColor(ssNormal), StateColor(ssUnchecked)};
    return s;
}

// Binds chart data to a chart: the data lists the chart with its data list. The previous data
// forgets this chart, so nothing reaches it through the old binding (also at destruction).
template <class TData>
void BindData(TSPCChart* chart, TData*& field, TData* data)
{
    if (field && field != data && field->Chart() == chart) field->SetChart(nullptr);
    field = data;
    if (data) data->SetChart(chart);
}

// "删除" of the point menu: asks, deletes the subgroup in the database, then from the list (the
// other charts on the list follow).
template <class TData>
void DeletePoint(TSPCChart& chart, TData* data, void (*deleteSubgroup)(int cid, int sn))
{
    const int index = chart.CurrentPoint;
    if (!data || index < 0 || index >= data->Count()) return;
    if (AskQuestion(QStringLiteral("删除本值组（点）后将不可恢复，是否继续？")) != TMsgResult::Yes) return;
    deleteSubgroup(data->GetCID(), data->Data(index).SN);
    data->DeleteData(index);
    chart.CurrentPoint = -1;
    chart.Redraw();
}

// "编辑" of the point menu: the exception-point dialog, and a redraw when it changed something.
template <class TData>
bool EditPoint(TSPCChart& chart, TData* data)
{
    const int index = chart.CurrentPoint;
    auto& hook = EditExceptionPointHook();
    if (!hook || !data || index < 0 || index >= data->Count()) return false;
    if (!hook(*data, index, data->Data(index).SN, data->GetCID())) return false;
    chart.Redraw();
    return true;
}
} // namespace

// ---------------------------------------------------------------- zones

std::vector<TZoneStrip> ZoneStrips(const TCSChart& surface, int count,
                                   const std::function<void(int, double&, double&, double&)>& limitsAt)
{
    std::vector<TZoneStrip> strips;
    const QRect plot = surface.ChartRect();
    for (int i = 0; i < count; ++i) {
        double cl = 0, ucl = 0, lcl = 0;
        limitsAt(i, cl, ucl, lcl);
        const double left = i == 0 ? plot.left() + 1 : surface.CalcXPos(i);
        const double right = i + 1 < count ? surface.CalcXPos(i + 1) : plot.right() + 1;
        if (!strips.empty() && strips.back().CL == cl && strips.back().UCL == ucl && strips.back().LCL == lcl) {
            strips.back().Right = right;  // a run of equal limits is one rectangle
        } else {
            strips.push_back({left, right, cl, ucl, lcl});
        }
    }
    return strips;
}

void PaintZones(QPainter& p, const TCSChart& surface, const std::vector<TZoneStrip>& strips, bool colorMode, bool joinSteps)
{
    const QRect plot = surface.ChartRect();
    const double plotTop = plot.top();
    const double plotBottom = plot.bottom() + 1;
    p.save();
    p.setClipRect(plot.adjusted(0, 0, 1, 1));
    double prevEdges[5] = {0, 0, 0, 0, 0};
    bool havePrev = false;
    for (const TZoneStrip& s : strips) {
        const double d = s.UCL - s.CL;
        // No zones without both limits, nor with a zero half-width.
        if (d == 0 || s.UCL == NullValue || s.LCL == NullValue) {
            havePrev = false;
            continue;
        }
        const double c1 = s.CL + d / 3, c2 = s.CL + 2 * d / 3;
        const double m1 = std::max(s.CL - d / 3, s.LCL), m2 = std::max(s.CL - 2 * d / 3, s.LCL);
        struct { double top, bottom; QColor color; } rects[7] = {
            {c1, m1, kCentreLime}, {c2, c1, kZoneYellow}, {m1, m2, kZoneYellow}, {s.UCL, c2, kLimitRed},
            {m2, s.LCL, kLimitRed}, {NullValue, s.UCL, kZoneGrey}, {s.LCL, NullValue, kZoneGrey},
        };
        auto y = [&](double v, bool top) {
            if (v == NullValue) return top ? plotTop : plotBottom;
            return surface.CalcYPos(v);
        };
        if (colorMode) {
            for (const auto& r : rects) {
                const double top = y(r.top, true), bottom = y(r.bottom, false);
                if (bottom <= top) continue;
                p.fillRect(QRectF(QPointF(s.Left, top), QPointF(s.Right, bottom)), r.color);
            }
        } else {
            p.setPen(QPen(Qt::black, 1, Qt::DashDotDotLine));
            for (int k = 0; k < 5; ++k) {
                const double top = y(rects[k].top, true);
                p.drawLine(QPointF(s.Left, top), QPointF(s.Right, top));
                if (joinSteps && havePrev && prevEdges[k] != top)
                    p.drawLine(QPointF(s.Left, prevEdges[k]), QPointF(s.Left, top));
                prevEdges[k] = top;
            }
            havePrev = true;
        }
    }
    p.restore();
}

// ---------------------------------------------------------------- base

TSPCChart::TSPCChart() = default;
TSPCChart::~TSPCChart() = default;

QColor TSPCChart::NextPaletteColor()
{
    auto advance = [this] { PaletteIndex = PaletteIndex >= 16 ? 1 : PaletteIndex + 1; };
    if (kPalette[PaletteIndex - 1] == QColor(Qt::white)) advance();
    const QColor c = kPalette[PaletteIndex - 1];
    advance();
    return c;
}

void TSPCChart::SetColorMode(bool flag)
{
    FColorMode = flag;
}

int TSPCChart::SurfaceCount() const
{
    return static_cast<int>(FSurfaces.size());
}

void TSPCChart::Redraw()
{
    for (auto& s : FSurfaces) s->ClearAllPoints();
    Draw();
    RepaintSurfaces();
}

void TSPCChart::RepaintSurfaces()
{
    if (!OnRepaint) return;
    for (auto& s : FSurfaces) OnRepaint(*s);
}

void TSPCChart::SetHeight(int h)
{
    if (h == FHeight) return;
    FHeight = h;
    for (auto& s : FSurfaces) s->Height = h;
}

void TSPCChart::SetTop(int t)
{
    if (t == FTop) return;
    FTop = t;
    for (auto& s : FSurfaces) s->Top = t;
}

void TSPCChart::SetLeft(int l)
{
    if (l == FLeft) return;
    FLeft = l;
    for (auto& s : FSurfaces) s->Left = l;
}

void TSPCChart::SetWidth(int w)
{
    if (w == FWidth) return;
    FWidth = w;
    for (auto& s : FSurfaces) s->Width = w;
}

void TSPCChart::SetBounds(int l, int t, int w, int h)
{
    SetLeft(l);
    SetWidth(w);
    SetHeight(h);
    SetTop(t);
}

void TSPCChart::PaintAll(QPainter& p)
{
    for (auto& s : FSurfaces) {
        p.save();
        p.translate(s->Left - FLeft, s->Top - FTop);
        s->Paint(p);
        p.restore();
    }
}

void TSPCChart::InitAxes(TCSChart& c)
{
    for (TCSAxisKind k : {TCSAxisKind::Left, TCSAxisKind::Bottom, TCSAxisKind::Right, TCSAxisKind::Top}) {
        c.Axis(k).Automatic = true;
        c.Axis(k).LineWidth = 1;
        c.Axis(k).Grid = false;
    }
}

// ---------------------------------------------------------------- variable chart

TVariableChart::TVariableChart()
{
    FSurfaces.push_back(std::make_unique<TCSChart>());
    FSurfaces.push_back(std::make_unique<TCSChart>());
    TCSChart& main = *FSurfaces[0];
    TCSChart& sub = *FSurfaces[1];
    InitAxes(main);
    InitAxes(sub);
    // Half a subgroup of air at both ends, so the first and last points are drawn whole.
    main.BottomAxis.PadUnits = 0.5;
    sub.BottomAxis.PadUnits = 0.5;
    UCLLine = LineSeries(main, kLimitRed);
    CLLine = LineSeries(main, kCentreLime);
    LCLLine = LineSeries(main, kLimitRed);
    USLLine = LineSeries(main, kSpecFuchsia);
    SLLine = LineSeries(main, kSpecFuchsia);
    LSLLine = LineSeries(main, kSpecFuchsia);
    for (auto* s : {USLLine, SLLine, LSLLine}) s->Visible = false;
    MainPoints = PointSeries(main);
    SUCLLine = LineSeries(sub, kLimitRed);
    SCLLine = LineSeries(sub, kCentreLime);
    SLCLLine = LineSeries(sub, kLimitRed);
    SubPoints = PointSeries(sub);
    const struct { TCSChart* c; TCSChartSeries* s; const char* label; } labels[] = {
        {&main, UCLLine, "UCL"}, {&main, CLLine, "CL"}, {&main, LCLLine, "LCL"},
        {&sub, SUCLLine, "UCL"}, {&sub, SCLLine, "CL"}, {&sub, SLCLLine, "LCL"},
    };
    for (const auto& l : labels) l.c->Exts().AddExt(l.s, true, false)->LabelText = QLatin1String(l.label);
    main.Exts().AddExt(MainPoints, false, true)->HintProvider = [this](TCSSeries&, int i) { return MainHint(i); };
    sub.Exts().AddExt(SubPoints, false, true)->HintProvider = [this](TCSSeries&, int i) { return SubHint(i); };
    main.OnBeforeDrawSeries = [this](QPainter& p, TCSChart& c) { DrawZones(p, c, true); };
    sub.OnBeforeDrawSeries = [this](QPainter& p, TCSChart& c) { DrawZones(p, c, false); };
}

TVariableChart::~TVariableChart()
{
    SetChartData(nullptr);  // the data forgets this chart
}

void TVariableChart::SetChartData(TVariableChartData* data)
{
    BindData(this, FData, data);
}

TCSChart* TVariableChart::GetChart(int i) const
{
    return i >= 0 && i < 2 ? FSurfaces[static_cast<size_t>(i)].get() : nullptr;
}

void TVariableChart::Refresh()
{
    if (FData && !FData->LimitInfo.Loaded) FData->CalcLimits();
    Redraw();
}

void TVariableChart::SetHeight(int h)
{
    if (h == FHeight) return;
    FHeight = h;
    FSurfaces[0]->Height = h / 2;
    FSurfaces[1]->Height = h / 2;
    FSurfaces[1]->Top = FSurfaces[0]->Top + FSurfaces[0]->Height;
}

void TVariableChart::SetTop(int t)
{
    if (t == FTop) return;
    FTop = t;
    FSurfaces[0]->Top = t;
    FSurfaces[1]->Top = t + FSurfaces[0]->Height;
}

void TVariableChart::Draw()
{
    for (auto& s : FSurfaces) s->ClearAllPoints();
    if (!FData) return;
    TCSChart& main = *FSurfaces[0];
    TCSChart& sub = *FSurfaces[1];
    main.LeftAxis.Title = QStringLiteral("X");
    const TChartType type = FData->ChartType();
    sub.LeftAxis.Title = type == ctXBarS ? QStringLiteral("S") : type == ctXRm ? QStringLiteral("Rm") : QStringLiteral("R");
    const TCharacterInfo* info = FData->GetCharacterInfo();
    const int n = FData->Count();
    for (auto* s : {UCLLine, CLLine, LCLLine, USLLine, SLLine, LSLLine, MainPoints, SUCLLine, SCLLine, SLCLLine, SubPoints})
        s->Reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString label = QString::number(FData->Data(i).SN);
        const QColor color = FData->PointColor(i);
        const double mv = FData->MainValue(i);
        // The point series carry the subgroup numbers the bottom axes show.
        MainPoints->Add(i, IsSet(mv) ? mv : 0, label, color);
        // A limit without a value is not drawn (it would stretch the axis to −999999999).
        if (IsSet(FData->MainUCL())) UCLLine->Add(i, FData->MainUCL());
        if (IsSet(FData->MainCL())) CLLine->Add(i, FData->MainCL());
        if (IsSet(FData->MainLCL(i))) LCLLine->Add(i, FData->MainLCL(i));
        if (info) {
            if (IsSet(info->USL)) USLLine->Add(i, info->USL);
            if (IsSet(info->SL)) SLLine->Add(i, info->SL);
            if (IsSet(info->LSL)) LSLLine->Add(i, info->LSL);
        }
        const double sv = FData->SubValue(i);
        SubPoints->Add(i, IsSet(sv) ? sv : 0, label, color);
        if (IsSet(FData->SubUCL())) SUCLLine->Add(i, FData->SubUCL());
        if (IsSet(FData->SubCL())) SCLLine->Add(i, FData->SubCL());
        if (IsSet(FData->SubLCL(i))) SLCLLine->Add(i, FData->SubLCL(i));
    }
    // Both plot areas line up: one label width for the two left axes.
    main.LeftAxis.LabelsSize = 0;
    sub.LeftAxis.LabelsSize = 0;
    main.Layout();
    sub.Layout();
    const int w = std::max(main.MaxLeftLabelWidth(), sub.MaxLeftLabelWidth());
    main.LeftAxis.LabelsSize = w;
    sub.LeftAxis.LabelsSize = w;
}

void TVariableChart::SetColorMode(bool flag)
{
    if (flag == FColorMode) return;
    FColorMode = flag;
    const QColor limit = flag ? kLimitRed : QColor(Qt::black);
    const QColor centre = flag ? kCentreLime : QColor(Qt::black);
    const QColor spec = flag ? kSpecFuchsia : QColor(Qt::black);
    for (auto* s : {UCLLine, LCLLine, SUCLLine, SLCLLine}) s->Color = limit;
    for (auto* s : {CLLine, SCLLine}) s->Color = centre;
    for (auto* s : {USLLine, SLLine, LSLLine}) s->Color = spec;
    if (MainPoints->Count() > 0) RepaintSurfaces();
}

void TVariableChart::SetShowSpecLines(bool flag)
{
    if (flag == FShowSpecLines) return;
    FShowSpecLines = flag;
    for (auto* s : {USLLine, SLLine, LSLLine}) s->Visible = flag;
    RepaintSurfaces();
}

void TVariableChart::RecolorPoint(int index, const QColor& color)
{
    bool changed = false;
    for (auto* s : {MainPoints, SubPoints}) {
        if (index >= 0 && index < s->Count()) {
            s->SetPointColor(index, color);
            changed = true;
        }
    }
    if (changed) RepaintSurfaces();
}

void TVariableChart::DrawZones(QPainter& p, TCSChart& surface, bool main)
{
    if (!FData || FData->Count() == 0) return;
    const double cl = main ? FData->MainCL() : FData->SubCL();
    if (cl == NullValue || cl == -1) return;
    const double ucl = main ? FData->MainUCL() : FData->SubUCL();
    const double lcl = main ? FData->MainLCL(0) : FData->SubLCL(0);
    // The limits hold for every point: one strip across the plot.
    const QRect plot = surface.ChartRect();
    PaintZones(p, surface, {TZoneStrip{double(plot.left() + 1), double(plot.right() + 1), cl, ucl, lcl}}, FColorMode, false);
}

QString TVariableChart::MainHint(int i) const
{
    if (!FData || i < 0 || i >= FData->Count()) return {};
    return QStringLiteral("XBar: ") + FormatNumber(FData->MainValue(i)) + kSep + QStringLiteral("UCL: ") +
           FormatNumber(FData->MainUCL()) + kSep + QStringLiteral(" CL: ") + FormatNumber(FData->MainCL()) + kSep +
           QStringLiteral("LCL: ") + FormatNumber(FData->MainLCL(i)) + kSep + FData->Data(i).StateName();
}

QString TVariableChart::SubHint(int i) const
{
    if (!FData || i < 0 || i >= FData->Count()) return {};
    const TChartType type = FData->ChartType();
    const QString prefix = type == ctXBarS ? QStringLiteral("S:") : type == ctXRm ? QString() : QStringLiteral("R: ");
    return prefix + FormatNumber(FData->SubValue(i)) + kSep + QStringLiteral("UCL: ") + FormatNumber(FData->SubUCL()) +
           kSep + QStringLiteral(" CL: ") + FormatNumber(FData->SubCL()) + kSep + QStringLiteral("LCL: ") +
           FormatNumber(FData->SubLCL(i)) + kSep + FData->Data(i).StateName();
}

void TVariableChart::MenuDelete()
{
    DeletePoint(*this, FData, &DeleteVSubgroup);
}

bool TVariableChart::MenuEdit()
{
    return EditPoint(*this, FData);
}

// ---------------------------------------------------------------- attribute chart

TAttributeChart::TAttributeChart()
{
    FSurfaces.push_back(std::make_unique<TCSChart>());
    TCSChart& c = *FSurfaces[0];
    InitAxes(c);
    c.BottomAxis.PadUnits = 0.5;
    UCLLine = LineSeries(c, kLimitRed);
    CLLine = LineSeries(c, kCentreLime);
    LCLLine = LineSeries(c, kLimitRed);
    Points = PointSeries(c);
    for (auto* s : {UCLLine, CLLine, LCLLine, Points}) s->Stairs = true;
    const struct { TCSChartSeries* s; const char* label; } labels[] = {{UCLLine, "UCL"}, {CLLine, "CL"}, {LCLLine, "LCL"}};
    for (const auto& l : labels) c.Exts().AddExt(l.s, true, false)->LabelText = QLatin1String(l.label);
    c.Exts().AddExt(Points, false, true)->HintProvider = [this](TCSSeries&, int i) { return Hint(i); };
    c.OnBeforeDrawSeries = [this](QPainter& p, TCSChart& s) { DrawZones(p, s); };
}

TAttributeChart::~TAttributeChart()
{
    SetChartData(nullptr);  // the data forgets this chart
}

void TAttributeChart::SetChartData(TAttributeChartData* data)
{
    BindData(this, FData, data);
}

TCSChart* TAttributeChart::GetChart(int) const
{
    return FSurfaces[0].get();
}

void TAttributeChart::Refresh()
{
    if (FData && !FData->LimitInfo.Loaded) FData->CalcLimits();
    Redraw();
}

void TAttributeChart::Draw()
{
    FSurfaces[0]->ClearAllPoints();
    if (!FData) return;
    const int n = FData->Count();
    for (auto* s : {UCLLine, CLLine, LCLLine, Points}) s->Reserve(n);
    const double cl = FData->CL();
    for (int i = 0; i < n; ++i) {
        const QString label = QString::number(FData->Data(i).SN);
        const double v = FData->ValueAt(i);
        Points->Add(i, IsSet(v) ? v : 0, label, FData->PointColor(i));
        if (IsSet(FData->UCLAt(i))) UCLLine->Add(i, FData->UCLAt(i));
        if (IsSet(cl)) CLLine->Add(i, cl);
        if (IsSet(FData->LCLAt(i))) LCLLine->Add(i, FData->LCLAt(i));
    }
}

void TAttributeChart::SetColorMode(bool flag)
{
    if (flag == FColorMode) return;
    FColorMode = flag;
    for (auto* s : {UCLLine, LCLLine}) s->Color = flag ? kLimitRed : QColor(Qt::black);
    CLLine->Color = flag ? kCentreLime : QColor(Qt::black);
    if (Points->Count() > 0) RepaintSurfaces();
}

void TAttributeChart::RecolorPoint(int index, const QColor& color)
{
    if (index < 0 || index >= Points->Count()) return;
    Points->SetPointColor(index, color);
    RepaintSurfaces();
}

void TAttributeChart::DrawZones(QPainter& p, TCSChart& surface)
{
    if (!FData || FData->Count() == 0) return;
    const double cl = FData->CL();
    if (cl == NullValue || cl == -1) return;
    const long long inspected = FData->TotalInspected();
    if (inspected == 0 || inspected == NullValue) return;
    const auto strips = ZoneStrips(surface, FData->Count(), [&](int i, double& c, double& u, double& l) {
        c = cl;
        u = FData->UCLAt(i);
        l = FData->LCLAt(i);
    });
    PaintZones(p, surface, strips, FColorMode, true);
}

QString TAttributeChart::Hint(int i) const
{
    if (!FData || i < 0 || i >= FData->Count()) return {};
    QString prefix;
    switch (FData->ChartType()) {
    case ctP: prefix = QStringLiteral("P: "); break;
    case ctNP: prefix = QStringLiteral("nP: "); break;
    case ctU: prefix = QStringLiteral("U: "); break;
    case ctC: prefix = QStringLiteral("C: "); break;
    default: break;
    }
    return prefix + FormatNumber(FData->ValueAt(i)) + kSep + QStringLiteral("UCL: ") + FormatNumber(FData->UCLAt(i)) +
           kSep + QStringLiteral(" CL: ") + FormatNumber(FData->CL()) + kSep + QStringLiteral("LCL: ") +
           FormatNumber(FData->LCLAt(i)) + kSep + FData->Data(i).StateName();
}

void TAttributeChart::MenuDelete()
{
    DeletePoint(*this, FData, &DeleteASubgroup);
}

bool TAttributeChart::MenuEdit()
{
    return EditPoint(*this, FData);
}

// ---------------------------------------------------------------- histogram

THistogramChart::THistogramChart()
{
    FSurfaces.push_back(std::make_unique<TCSChart>());
    TCSChart& c = *FSurfaces[0];
    InitAxes(c);
    AxisLabels = c.AddSeries<TCSChartSeries>();
    AxisLabels->Color = c.BackColor;
    Classes = c.AddSeries<TCSAreaSeries>();
    Classes->ColorEachPoint = true;
    Lines = c.AddSeries<TCSBarSeries>();
    Lines->BarWidthPercent = 1;
    Lines->BarOutline = false;
    Lines->ShowMarks = true;
    Lines->MarksArrowLength = 5;
    Lines->Color = QColor(0x00, 0x00, 0x80);
    NormalCurve = c.AddSeries<TCSChartSeries>();
    NormalCurve->Color = kLimitRed;
    NormalCurve->HorizAxis = TCSAxisKind::Top;
    NormalCurve->LineWidth = 2;
    StoredCurve = c.AddSeries<TCSChartSeries>();
    StoredCurve->Color = kCentreLime;
    StoredCurve->HorizAxis = TCSAxisKind::Top;
    StoredCurve->LineWidth = 2;
    c.TopAxis.Visible = false;
    c.BottomAxis.LabelAngle = 270;
    c.BottomAxis.MinorTicks = false;
    c.BottomAxis.RoundFirstLabel = false;
    c.BottomAxis.DesiredIncrement = 0;
    c.BottomAxis.PadPercent = 2;
}

THistogramChart::~THistogramChart()
{
    SetChartData(nullptr);  // the data forgets this chart
}

void THistogramChart::SetChartData(THistogramChartData* data)
{
    BindData(this, FData, data);
}

TCSChart* THistogramChart::GetChart(int) const
{
    return FSurfaces[0].get();
}

void THistogramChart::Refresh()
{
    if (FData) FData->Calc();
    Redraw();
}

void THistogramChart::Draw()
{
    TCSChart& c = *FSurfaces[0];
    c.ClearAllPoints();
    if (!FData || !FData->DataList() || FData->Count() == 0) return;
    FData->EnsureCalc();
    c.BottomAxis.DesiredIncrement = FData->GroupWidth == NullValue ? 0 : FData->GroupWidth;
    const int k = FData->GroupItemCount();
    for (int j = 0; j < k; ++j) {
        const THGroupItem& g = FData->Group(j);
        AxisLabels->Add(g.StartValue, 0, FormatNumber(g.StartValue));
        if (j == 0) Classes->Add(g.StartValue, 0, QString(), NextPaletteColor());
        Classes->Add(g.StartValue, g.Count, QString(), NextPaletteColor());
        if (j == k - 1) {
            AxisLabels->Add(g.EndValue, 0, FormatNumber(g.EndValue));
            Classes->Add(g.StartValue, g.Count, QString(), NextPaletteColor());
            Classes->Add(g.EndValue, 0, QString(), NextPaletteColor());
        }
    }
    const TCharacterInfo* info = FData->GetCharacterInfo();
    auto line = [&](double x, const char* name) {
        if (x == NullValue) return;
        Lines->Add(x, FData->MaxFrequency, QLatin1String(name));
        AxisLabels->Add(x, 0, FormatNumber(x));
    };
    line(FData->LCL, "LCL");
    line(FData->Mean, "CL");
    line(FData->UCL, "UCL");
    if (info) {
        if (IsSet(info->LSL)) line(info->LSL, "LSL");
        if (IsSet(info->SL)) line(info->SL, "SL");
        if (IsSet(info->USL)) line(info->USL, "USL");
    }
    if (AxisLabels->Count() == 0) return;
    const double x0 = AxisLabels->MinX();
    const double x1 = AxisLabels->MaxX();
    const double step = (x1 - x0) / 100;
    const double scale = FData->GroupWidth * FData->ValueCount;
    auto density = [](double sigma, double mean, double x) {
        return sigma > 0 ? TCalc::NormalDensity(sigma, mean, x) : 0.0;
    };
    if (FData->Sigma != NullValue && FData->Mean != NullValue)
        for (int j = 0; j < 100; ++j) NormalCurve->Add(x0 + j * step, density(FData->Sigma, FData->Mean, x0 + j * step) * scale);
    TLimitInfo stored;
    stored.SetCID(FData->GetCID());
    stored.SetChartType(ctXBarR);
    if (stored.Loaded)
        for (int j = 0; j < 100; ++j)
            StoredCurve->Add(x0 + j * step, density((stored.MUCL - stored.MCL) / 3, stored.MCL, x0 + j * step) * scale);
}

// ---------------------------------------------------------------- Pareto

TParetoChart::TParetoChart()
{
    FSurfaces.push_back(std::make_unique<TCSChart>());
    TCSChart& c = *FSurfaces[0];
    InitAxes(c);
    c.BottomAxis.PadUnits = 0.5;
    Bars = c.AddSeries<TCSBarSeries>();
    Bars->ColorEachPoint = true;
    Cumulative = c.AddSeries<TCSChartSeries>();
    Cumulative->Color = kLimitRed;
    Cumulative->ShowPointer = true;
    Cumulative->PointerOutline = Qt::black;
    Cumulative->VertAxis = TCSAxisKind::Right;
    c.LeftAxis.Automatic = false;
    c.LeftAxis.Minimum = 0;
    c.RightAxis.Visible = true;
    c.RightAxis.Automatic = false;
    c.RightAxis.Minimum = 0;
    c.RightAxis.Maximum = 101;
    c.RightAxis.ValueFormat = QStringLiteral("#,##0.###%");
}

TCSChart* TParetoChart::GetChart(int) const
{
    return FSurfaces[0].get();
}

void TParetoChart::SetShowCount(int n)
{
    if (n == FShowCount) return;
    FShowCount = n;
    Draw();
    RepaintSurfaces();
}

void TParetoChart::Draw()
{
    TCSChart& c = *FSurfaces[0];
    c.ClearAllPoints();
    if (!FData) return;
    FData->SetShowCount(FShowCount);
    FData->Compute();
    FShowCount = FData->ShowCount();
    // An empty total leaves the axis its own small range rather than an empty one.
    c.LeftAxis.Maximum = FData->GrandTotal() > 0 ? FData->GrandTotal() : 1;
    for (int i = 0; i < FData->DisplayCount(); ++i) {
        const RParetoItem& item = FData->DisplayItem(i);
        Bars->Add(i, item.Total, item.Name, NextPaletteColor());
        Cumulative->Add(i, item.Percent, QString::number(i + 1));
    }
}
