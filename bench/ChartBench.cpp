// Drawing a 100,000-point X-bar/R chart (main and secondary surfaces, zones, limits) to 1600 × 900.
#include "engine/ChartPicture.h"
#include "engine/SPCChart.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <random>

static void BM_DrawXBarR100k(benchmark::State& state)
{
    TVariableDataList list;
    list.Info.SampleSize = 5;
    list.Info.Step = 1;
    list.Info.USL = 74.05;
    list.Info.SL = 74.0;
    list.Info.LSL = 73.95;
    list.Updating = true;
    std::mt19937 rng(7);
    std::normal_distribution<double> value(74.0, 0.01);
    for (int sn = 1; sn <= 100000; ++sn) {
        TVariableData& d = list.NewData();
        d.SN = sn;
        for (int j = 0; j < 5; ++j) d.AddValue(value(rng));
        if (sn % 997 == 0) d.State = ssAbnormal;
    }
    list.Updating = false;
    TVariableChartData data;
    data.SetDataList(&list);
    data.SetChartType(ctXBarR);
    data.CalcLimits();
    TVariableChart chart;
    chart.SetChartData(&data);
    chart.SetShowSpecLines(true);
    chart.SetBounds(0, 0, 1600, 900);
    QImage img(1600, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        chart.Draw();
        QPainter p(&img);
        PaintChartPicture(chart, p, img.size());  // the routine behind every picture of a chart
    }
}
BENCHMARK(BM_DrawXBarR100k)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
