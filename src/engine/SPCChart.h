#pragma once
// The SPC engine in one include: vocabulary, item header and limits, variable and attribute
// data with their chart data, statistics, histogram and Pareto data, and the grid fillers.
#include "engine/AttributeData.h"
#include "engine/ChartBase.h"
#include "engine/ChartData.h"
#include "engine/ControlItem.h"
#include "engine/DataChange.h"
#include "engine/HistogramData.h"
#include "engine/ParetoData.h"
#include "engine/SPCTypes.h"
#include "engine/Statistic.h"
#include "engine/StringGrid.h"
#include "engine/VariableData.h"

// ---------------------------------------------------------------- chart objects
// A chart object fills one or two chart surfaces from its chart data and repaints them when the
// data or the limits change. It paints only: the window layer shows the surfaces in widgets and
// forwards mouse clicks to HandlePointClick.
#include "engine/CSChart.h"

#include <functional>
#include <memory>

// The exception-point editing dialog; set by the exception windows. Returns true when something changed.
using TEditExceptionPoint = std::function<bool(TSPCChartData& data, int index, int sn, int cid)>;
TEditExceptionPoint& EditExceptionPointHook();

inline const QColor kLimitRed{0xff, 0x00, 0x00};
inline const QColor kCentreLime{0x00, 0xff, 0x00};
inline const QColor kSpecFuchsia{0xff, 0x00, 0xff};
inline const QColor kZoneYellow{0xff, 0xff, 0x00};
inline const QColor kZoneGrey{0x80, 0x80, 0x80};

// One strip of zones: the x range on the surface and the limits that hold there.
struct TZoneStrip {
    double Left, Right;
    double CL, UCL, LCL;
};
// The strips of a chart, equal neighbouring limits merged into one strip.
std::vector<TZoneStrip> ZoneStrips(const TCSChart& surface, int count, const std::function<void(int, double&, double&, double&)>& limitsAt);
// Paints the zones of the strips: filled rectangles in colour, dash-dot-dot edges in black and white.
void PaintZones(QPainter& p, const TCSChart& surface, const std::vector<TZoneStrip>& strips, bool colorMode, bool joinSteps);

class TSPCChart : public TSPCChartBase {
public:
    TSPCChart();
    ~TSPCChart() override;

    int PaletteIndex = 1;
    bool ColorMode() const { return FColorMode; }
    virtual void SetColorMode(bool flag);
    // The palette: 16 colours, white skipped, wrapping from 16 to 1; the position carries over.
    QColor NextPaletteColor();

    // Surfaces of the chart (0 main, 1 secondary for variable charts); nullptr beyond.
    virtual TCSChart* GetChart(int i) const = 0;
    int SurfaceCount() const;

    void Refresh() override = 0;
    virtual void Draw() = 0;
    // Empties every series, then Draw.
    void Redraw();

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    virtual void SetHeight(int h);
    virtual void SetTop(int t);
    void SetLeft(int l);
    void SetWidth(int w);
    void SetBounds(int l, int t, int w, int h);

    // Paints every surface at its place (screen, image, PDF and printer share this).
    void PaintAll(QPainter& p);

    // Asked to repaint a surface (the widgets showing it listen).
    std::function<void(TCSChart&)> OnRepaint;
    void RepaintSurfaces();

    // The point the last click hit; -1 before any.
    int CurrentPoint = -1;
    // A click on a point of a surface: stores it; the caller opens the menu on a right click and
    // runs MenuEdit on a left double click.
    virtual void PointClicked(int index) { CurrentPoint = index; }
    virtual bool HasPointMenu() const { return false; }
    virtual void MenuDelete() {}
    virtual bool MenuEdit() { return false; }

protected:
    void InitAxes(TCSChart& c);
    std::vector<std::unique_ptr<TCSChart>> FSurfaces;
    bool FColorMode = true;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
};

class TVariableChart : public TSPCChart {
public:
    TVariableChart();
    ~TVariableChart() override;
    void SetChartData(TVariableChartData* data);
    TVariableChartData* ChartData() const { return FData; }

    TCSChart* GetChart(int i) const override;
    void Refresh() override;
    void Draw() override;
    void SetHeight(int h) override;
    void SetTop(int t) override;
    void SetColorMode(bool flag) override;
    void RecolorPoint(int index, const QColor& color) override;
    bool ShowSpecLines() const { return FShowSpecLines; }
    void SetShowSpecLines(bool flag);

    QString MainHint(int i) const;
    QString SubHint(int i) const;
    bool HasPointMenu() const override { return true; }
    void MenuDelete() override;
    bool MenuEdit() override;

    TCSChartSeries *UCLLine, *CLLine, *LCLLine, *USLLine, *SLLine, *LSLLine, *MainPoints;
    TCSChartSeries *SUCLLine, *SCLLine, *SLCLLine, *SubPoints;

private:
    void DrawZones(QPainter& p, TCSChart& surface, bool main);
    TVariableChartData* FData = nullptr;
    bool FShowSpecLines = false;
};

class TAttributeChart : public TSPCChart {
public:
    TAttributeChart();
    ~TAttributeChart() override;
    void SetChartData(TAttributeChartData* data);
    TAttributeChartData* ChartData() const { return FData; }

    TCSChart* GetChart(int i) const override;
    void Refresh() override;
    void Draw() override;
    void SetColorMode(bool flag) override;
    void RecolorPoint(int index, const QColor& color) override;

    QString Hint(int i) const;
    bool HasPointMenu() const override { return true; }
    void MenuDelete() override;
    bool MenuEdit() override;

    TCSChartSeries *UCLLine, *CLLine, *LCLLine, *Points;

private:
    void DrawZones(QPainter& p, TCSChart& surface);
    TAttributeChartData* FData = nullptr;
};

class THistogramChart : public TSPCChart {
public:
    THistogramChart();
    ~THistogramChart() override;
    void SetChartData(THistogramChartData* data);
    THistogramChartData* ChartData() const { return FData; }
    TCSChart* GetChart(int i) const override;
    void Refresh() override;
    void Draw() override;

    TCSChartSeries* AxisLabels;
    TCSAreaSeries* Classes;
    TCSBarSeries* Lines;
    TCSChartSeries* NormalCurve;
    TCSChartSeries* StoredCurve;

private:
    THistogramChartData* FData = nullptr;
};

class TParetoChart : public TSPCChart {
public:
    TParetoChart();
    void SetChartData(TParetoData* data) { FData = data; }
    TParetoData* ChartData() const { return FData; }
    TCSChart* GetChart(int i) const override;
    void Refresh() override {}
    void Draw() override;
    int ShowCount() const { return FShowCount; }
    void SetShowCount(int n);

    TCSBarSeries* Bars;
    TCSChartSeries* Cumulative;

private:
    TParetoData* FData = nullptr;
    int FShowCount = 0;
};
