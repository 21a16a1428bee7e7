// The engine's arithmetic at the sizes a long analysis reaches: limits and statistics over
// 100,000 subgroups of 5 (budget 10 ms), histogram classes over 500,000 values, the memory of a
// list of 100,000 subgroups of 5 (budget 64 MiB), and an attribute chart of 100,000 points.
#include "engine/AttributeData.h"
#include "engine/HistogramData.h"
#include "engine/Statistic.h"
#include "engine/VariableData.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <random>

namespace {
constexpr int kSubgroups = 100000;
constexpr int kSize = 5;

// Piston-ring-like measurements, the same on every run.
std::unique_ptr<TVariableDataList> MakeVariableList(int subgroups = kSubgroups, int size = kSize)
{
    auto list = std::make_unique<TVariableDataList>();
    list->Info.SampleSize = size;
    list->Info.Step = 1;
    list->Info.USL = 74.05;
    list->Info.SL = 74.0;
    list->Info.LSL = 73.95;
    list->Updating = true;
    std::mt19937 gen(42);
    std::normal_distribution<double> dist(74.0, 0.01);
    for (int sn = 1; sn <= subgroups; ++sn) {
        TVariableData& d = list->NewData();
        d.SN = sn;
        for (int j = 0; j < size; ++j) d.AddValue(std::round(dist(gen) * 1000) / 1000);
    }
    list->Updating = false;
    return list;
}

void LimitsAndStatistics(TVariableDataList& list, TChartType type)
{
    TVariableChartData data;
    data.SetDataList(&list);
    data.SetChartType(type);
    data.CalcLimits();
    TStatistic statistic;
    statistic.Calc(list.Info, data.LimitInfo, type, list);
    benchmark::DoNotOptimize(statistic.Cpk);
    benchmark::DoNotOptimize(data.LimitInfo.MUCL);
}
} // namespace

// A freshly loaded list: every subgroup's mean, range or deviation is computed from its values
// for the first time, as when a window shows a chart after loading.
static void BM_LimitsAndStatistics_Fresh(benchmark::State& state)
{
    const auto type = static_cast<TChartType>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto list = MakeVariableList();
        state.ResumeTiming();
        LimitsAndStatistics(*list, type);
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetLabel(ChartTypeName(type).toStdString());
}
BENCHMARK(BM_LimitsAndStatistics_Fresh)->Arg(ctXBarR)->Arg(ctXBarS)->Unit(benchmark::kMillisecond);

// Recomputation over the same data (a chart refresh): subgroup statistics are cached.
static void BM_LimitsAndStatistics_Refresh(benchmark::State& state)
{
    const auto type = static_cast<TChartType>(state.range(0));
    auto list = MakeVariableList();
    for (auto _ : state) LimitsAndStatistics(*list, type);
    state.SetLabel(ChartTypeName(type).toStdString());
}
BENCHMARK(BM_LimitsAndStatistics_Refresh)->Arg(ctXBarR)->Arg(ctXBarS)->Unit(benchmark::kMillisecond);

// Individuals: 100,000 subgroups of one value, moving ranges against the previous subgroup.
static void BM_LimitsAndStatistics_XRm(benchmark::State& state)
{
    auto list = MakeVariableList(kSubgroups, 1);
    for (auto _ : state) LimitsAndStatistics(*list, ctXRm);
}
BENCHMARK(BM_LimitsAndStatistics_XRm)->Unit(benchmark::kMillisecond);

// Classes of 500,000 values (100,000 subgroups of 5), class count chosen automatically (20).
static void BM_HistogramClasses(benchmark::State& state)
{
    auto list = MakeVariableList();
    for (auto _ : state) {
        THistogramChartData data;
        data.SetDataList(list.get());
        data.Calc();
        benchmark::DoNotOptimize(data.MaxFrequency);
    }
    state.SetItemsProcessed(state.iterations() * kSubgroups * kSize);
}
BENCHMARK(BM_HistogramClasses)->Unit(benchmark::kMillisecond);

// Heap taken by a list of 100,000 subgroups of 5 values, reported as the counter "MiB".
static void BM_ListMemory(benchmark::State& state)
{
    double mib = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        auto list = MakeVariableList();
        const std::size_t after = mallinfo2().uordblks;
        mib = static_cast<double>(after - before) / (1024.0 * 1024.0);
        benchmark::DoNotOptimize(list.get());
    }
    state.counters["MiB"] = mib;
}
BENCHMARK(BM_ListMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

// A P chart of 100,000 subgroups with varying sample sizes: centre line and every stepped limit.
static void BM_AttributeChart(benchmark::State& state)
{
    TAttributeDataList list;
    list.Updating = true;
    std::mt19937 gen(7);
    for (int sn = 1; sn <= kSubgroups; ++sn) {
        TAttributeData& d = list.NewData();
        d.SN = sn;
        const int n = 40 + static_cast<int>(gen() % 30);
        d.SetInspected(n);
        d.SetRejected(static_cast<int>(gen() % 8));
    }
    list.Updating = false;
    TAttributeChartData data;
    data.SetDataList(&list);
    data.SetChartType(ctP);
    for (auto _ : state) {
        data.CalcLimits();
        double sum = 0;
        for (int i = 0; i < data.Count(); ++i) sum += data.UCLAt(i) - data.LCLAt(i) + data.ValueAt(i);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_AttributeChart)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
