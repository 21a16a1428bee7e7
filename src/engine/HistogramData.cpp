#include "engine/HistogramData.h"

#include "foundation/RecordUtils.h"

#include <algorithm>
#include <cmath>

void THistogramChartData::DataListChanged()
{
    FComputed = false;
    if (!DataList()) return;
    TListChartData::DataListChanged();
    LimitInfo.SetChartType(ctXBarR);
}

void THistogramChartData::SetGroupCount(int k)
{
    if (k == FGroupCount) return;
    FGroups.clear();
    FGroupCount = k;
    FComputed = false;
}

void THistogramChartData::EnsureCalc()
{
    if (FComputed) return;
    Calc();
    FComputed = true;
}

const THGroupItem& THistogramChartData::Group(int i) const
{
    if (i < 0 || i >= GroupItemCount()) RaiseIndexError(i);
    return FGroups[static_cast<std::size_t>(i)];
}

void THistogramChartData::Calc()
{
    if (!DataList()) return;
    long long n = 0;
    double sum = 0, max = 0, min = 0;
    for (int i = 0; i < DataList()->Count(); ++i)
        for (double x : DataList()->Item(i).Values().Items()) {
            if (n == 0 || x > max) max = x;
            if (n == 0 || x < min) min = x;
            sum += x;
            ++n;
        }
    if (n == 0) {
        // Nothing to count: no classes and no lines; the limit record keeps what it holds.
        FGroups.clear();
        ValueCount = 0;
        MaxValue = MinValue = ValueRange = GroupWidth = Mean = Sigma = UCL = LCL = NullValue;
        MaxFrequency = 0;
        return;
    }
    if (FGroupCount == NullValue)
        FGroupCount = static_cast<int>(std::ceil(3.32 * std::log10(static_cast<double>(n)) + 1));
    if (FGroupCount < 1) throw ESPCDataError(QStringLiteral("分组数必须大于0！"));
    const int k = FGroupCount;

    ValueCount = static_cast<int>(n);
    MaxValue = max;
    MinValue = min;
    ValueRange = max - min;
    GroupWidth = ValueRange / k;
    Mean = sum / static_cast<double>(n);
    // The population deviation as TCalc gives it, without copying half a million values.
    double ss = 0;
    for (int i = 0; i < DataList()->Count(); ++i)
        for (double x : DataList()->Item(i).Values().Items()) ss += (x - Mean) * (x - Mean);
    Sigma = std::sqrt(ss / static_cast<double>(n));
    UCL = Mean + 3 * Sigma;
    LCL = Mean - 3 * Sigma;
    USL = DataList()->Info.USL;
    SL = DataList()->Info.SL;
    LSL = DataList()->Info.LSL;
    LimitInfo.MCL = Mean;
    LimitInfo.MUCL = UCL;
    LimitInfo.MLCL = LCL;
    LimitInfo.Loaded = true;

    // k + 1 classes: the first centred on the smallest value, the last on the largest.
    const double h = GroupWidth;
    FGroups.assign(static_cast<std::size_t>(k) + 1, THGroupItem{});
    for (int j = 0; j <= k; ++j) {
        THGroupItem& g = FGroups[static_cast<std::size_t>(j)];
        g.StartValue = MinValue - h / 2 + j * h;
        g.EndValue = g.StartValue + h;
    }
    // Each value belongs to the highest class whose start is at or below it (a value on a
    // boundary goes up). The class is found by division and settled against the starts.
    const double s0 = FGroups.front().StartValue;
    auto start = [this](int j) { return FGroups[static_cast<std::size_t>(j)].StartValue; };
    for (int i = 0; i < DataList()->Count(); ++i)
        for (double x : DataList()->Item(i).Values().Items()) {
            int j = k;
            if (h > 0) {
                const double q = std::floor((x - s0) / h);
                j = !(q > 0) ? 0 : (q >= k ? k : static_cast<int>(q));
            }
            while (j < k && start(j + 1) <= x) ++j;
            while (j >= 0 && start(j) > x) --j;
            if (j >= 0) ++FGroups[static_cast<std::size_t>(j)].Count;
        }
    MaxFrequency = 0;
    for (const THGroupItem& g : FGroups) MaxFrequency = std::max(MaxFrequency, g.Count);
}

void THistogramDataViewAgent::SetActive(bool flag)
{
    FActive = flag;
    if (flag) Fill();
}

void THistogramDataViewAgent::Fill()
{
    if (!FData || !FGrid) return;
    TStringGrid& g = *FGrid;
    g.FixedCols = 1;
    g.FixedRows = 1;
    if (FData->Count() == 0) {
        g.SetSize(2, 2);
        g.ClearCells();
        return;
    }
    FData->EnsureCalc();
    const int classes = FData->GroupItemCount();
    g.SetSize(classes + 1, 4);
    g.ClearCells();
    g.SetCell(0, 0, QStringLiteral("组号"));
    g.SetCell(0, 1, QStringLiteral("频数"));
    g.SetCell(0, 2, QStringLiteral("起始值"));
    g.SetCell(0, 3, QStringLiteral("结束值"));
    for (int j = 0; j < classes; ++j) {
        const THGroupItem& item = FData->Group(j);
        g.SetCell(j + 1, 0, QString::number(j + 1));
        g.SetCell(j + 1, 1, QString::number(item.Count));
        g.SetCell(j + 1, 2, FormatNumber(item.StartValue));
        g.SetCell(j + 1, 3, FormatNumber(item.EndValue));
    }
}
