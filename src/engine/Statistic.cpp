#include "engine/Statistic.h"

#include "foundation/RecordUtils.h"

#include <cmath>
#include <numbers>

double TCalc::CalcStdDev() const
{
    if (FValues.empty()) return NullValue;
    const double n = static_cast<double>(FValues.size());
    double sum = 0;
    for (double x : FValues) sum += x;
    const double mean = sum / n;
    double ss = 0;
    for (double x : FValues) ss += (x - mean) * (x - mean);
    return std::sqrt(ss / n);
}

double TCalc::NormalDensity(double sigma, double mu, double x)
{
    return std::exp(-(x - mu) * (x - mu) / (2 * sigma * sigma)) / (sigma * std::sqrt(2 * std::numbers::pi));
}

bool LimitsDescribeMeans(TChartType chartType, const TLimitInfo& limitInfo)
{
    return (chartType == ctXBarR || chartType == ctXBarS) && limitInfo.ChartType() == chartType;
}

namespace {
bool IsSet(double v)
{
    return v != NullValue;
}

// NullValue where the quotient has no value: a missing operand or a zero denominator.
double Ratio(double num, double den)
{
    if (!IsSet(num) || !IsSet(den) || den == 0) return NullValue;
    const double q = num / den;
    return std::isfinite(q) ? q : NullValue;
}
} // namespace

void TStatistic::Calc(const TCharacterInfo& info, const TLimitInfo& limitInfo, TChartType chartType,
                      const TVariableDataList& list)
{
    if (list.Count() > 0 && chartType != ctXBarR && chartType != ctXBarS && chartType != ctXRm)
        throw ESPCDataError(QStringLiteral("控制图类型未指定或没有匹配的类型！"));
    Max = Min = Range = Mean = StdDev = NullValue;
    Cp = Cpu = Cpl = Cpk = Pp = Ppu = Ppl = Ppk = NullValue;

    const double usl = info.USL, sl = info.SL, lsl = info.LSL;
    const double mucl = limitInfo.MUCL, mcl = limitInfo.MCL, mlcl = limitInfo.MLCL;

    // The limits of subgroup means are √n narrower than the spread of individual values.
    double scale = 1;
    if (LimitsDescribeMeans(chartType, limitInfo))
        scale = info.SampleSize >= 1 && info.SampleSize != NullValue ? std::sqrt(static_cast<double>(info.SampleSize))
                                                                     : NullValue;
    auto scaled = [scale](double width) { return IsSet(scale) ? width * scale : NullValue; };

    if (IsSet(usl) && IsSet(lsl)) {
        if (IsSet(mucl) && IsSet(mlcl)) Cp = Ratio(usl - lsl, scaled(mucl - mlcl));
        // Without a target the middle of the specification stands in for it.
        const double target = IsSet(sl) ? sl : (usl + lsl) / 2;
        const double k = IsSet(mcl) ? Ratio(2 * std::fabs(target - mcl), usl - lsl) : NullValue;
        if (IsSet(Cp) && IsSet(k)) Cpk = Cp * (1 - k);
    }
    if (IsSet(usl) && IsSet(mucl) && IsSet(mcl)) Cpu = Ratio(usl - mcl, scaled(mucl - mcl));
    if (IsSet(lsl) && IsSet(mcl) && IsSet(mlcl)) Cpl = Ratio(mcl - lsl, scaled(mcl - mlcl));

    long long n = 0;
    double sum = 0, max = 0, min = 0;
    for (int i = 0; i < list.Count(); ++i)
        for (double x : list.Item(i).Values().Items()) {
            if (n == 0 || x > max) max = x;
            if (n == 0 || x < min) min = x;
            sum += x;
            ++n;
        }
    if (n == 0) return;
    Max = max;
    Min = min;
    Range = max - min;
    Mean = sum / static_cast<double>(n);
    if (n >= 2) {
        double ss = 0;
        for (int i = 0; i < list.Count(); ++i)
            for (double x : list.Item(i).Values().Items()) ss += (x - Mean) * (x - Mean);
        StdDev = std::sqrt(ss / static_cast<double>(n - 1));
    }
    if (!IsSet(StdDev)) return;
    if (IsSet(usl) && IsSet(lsl)) Pp = Ratio(usl - lsl, 6 * StdDev);
    if (IsSet(usl)) Ppu = Ratio(usl - Mean, 3 * StdDev);
    if (IsSet(lsl)) Ppl = Ratio(Mean - lsl, 3 * StdDev);
    if (IsSet(Ppu) && IsSet(Ppl))
        Ppk = std::min(Ppu, Ppl);
    else
        Ppk = IsSet(Ppu) ? Ppu : Ppl;
}

void TStatisticViewAgent::SetActive(bool flag)
{
    FActive = flag;
    if (flag) Fill();
}

void TStatisticViewAgent::Fill()
{
    if (!FList || !FGrid || !FLimitInfo) return;
    FStatistic.Calc(FList->Info, *FLimitInfo, FChartType, *FList);
    const TStatistic& s = FStatistic;
    TStringGrid& g = *FGrid;
    g.SetSize(14, 2);
    g.ClearCells();
    g.FixedCols = 0;
    g.FixedRows = 0;
    auto pair = [&g](int col, int row, const char* caption, double value) {
        g.SetCell(col, row, QString::fromUtf8(caption));
        g.SetCell(col + 1, row, FormatNumber(value));
    };
    pair(0, 0, "Max:", s.Max);
    pair(0, 1, "Min:", s.Min);
    pair(2, 0, "Mean:", s.Mean);
    if (FChartType == ctXBarS)
        pair(2, 1, "StdDev:", s.StdDev);
    else
        pair(2, 1, "Range:", s.Range);
    pair(4, 0, "Cp:", s.Cp);
    pair(4, 1, "Pp:", s.Pp);
    pair(6, 0, "Cpu:", s.Cpu);
    pair(6, 1, "Ppu:", s.Ppu);
    pair(8, 0, "Cpl:", s.Cpl);
    pair(8, 1, "Ppl:", s.Ppl);
    pair(10, 0, "Cpk:", s.Cpk);
    pair(10, 1, "Ppk:", s.Ppk);
    if (ShowRange) pair(12, 0, "Range::", s.Range);
}
