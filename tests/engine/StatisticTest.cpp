// Process statistics, capability indices, the statistics strip and the histogram classes.
#include "EngineTestSupport.h"

#include "engine/HistogramData.h"
#include "engine/Statistic.h"

#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace {
TLimitInfo Limits(TChartType type, double mucl, double mcl, double mlcl)
{
    TLimitInfo l;
    l.SetChartType(type);  // no item: nothing is read
    l.MUCL = mucl;
    l.MCL = mcl;
    l.MLCL = mlcl;
    return l;
}

void Spec(TVariableDataList& list, double usl, double sl, double lsl)
{
    list.Info.USL = usl;
    list.Info.SL = sl;
    list.Info.LSL = lsl;
}
} // namespace

TEST(Statistic, SummaryOfAllValues)
{
    TVariableDataList list;
    list.Info.SampleSize = 3;
    LoadValues(list, {{2, 4, 6}, {3, 5, 7}});
    Spec(list, NullValue, NullValue, NullValue);
    TStatistic s;
    s.Calc(list.Info, Limits(ctXRm, 1, 0, -1), ctXRm, list);
    EXPECT_EQ(s.Max, 7);
    EXPECT_EQ(s.Min, 2);
    EXPECT_EQ(s.Range, 5);
    EXPECT_DOUBLE_EQ(s.Mean, 4.5);
    EXPECT_DOUBLE_EQ(s.StdDev, std::sqrt(3.5));  // divisor N − 1
    for (double v : {s.Cp, s.Cpu, s.Cpl, s.Cpk, s.Pp, s.Ppu, s.Ppl, s.Ppk}) EXPECT_EQ(v, NullValue);
    // The same again gives the same.
    const double sd = s.StdDev;
    s.Calc(list.Info, Limits(ctXRm, 1, 0, -1), ctXRm, list);
    EXPECT_EQ(s.StdDev, sd);
}

TEST(Statistic, CapabilityAndPerformanceIndices)
{
    // Values with mean 4.5 and StdDev √3.5; individual-value limits 10 / 5 / 0.
    const double sd = std::sqrt(3.5);
    const struct { const char* what; double usl, sl, lsl; TChartType type, recordType; int n;
                   double cp, cpu, cpl, cpk, pp, ppu, ppl, ppk; } cases[] = {
        {"two-sided", 11, 5, -1, ctXRm, ctXRm, 1, 1.2, 1.2, 1.2, 1.2, 12 / (6 * sd), 6.5 / (3 * sd), 5.5 / (3 * sd),
         5.5 / (3 * sd)},
        {"off target", 11, 6, -1, ctXRm, ctXRm, 1, 1.2, 1.2, 1.2, 1.0, 12 / (6 * sd), 6.5 / (3 * sd), 5.5 / (3 * sd),
         5.5 / (3 * sd)},
        // No target: the middle of the specification (5) stands in for it.
        {"no target", 11, NullValue, -1, ctXRm, ctXRm, 1, 1.2, 1.2, 1.2, 1.2, 12 / (6 * sd), 6.5 / (3 * sd),
         5.5 / (3 * sd), 5.5 / (3 * sd)},
        {"upper only", 11, NullValue, NullValue, ctXRm, ctXRm, 1, NullValue, 1.2, NullValue, NullValue, NullValue,
         6.5 / (3 * sd), NullValue, 6.5 / (3 * sd)},
        {"lower only", NullValue, NullValue, -1, ctXRm, ctXRm, 1, NullValue, NullValue, 1.2, NullValue, NullValue,
         NullValue, 5.5 / (3 * sd), 5.5 / (3 * sd)},
        // Limits of means of 4 values: widths scaled by √4 before they divide.
        {"means", 11, 5, -1, ctXBarR, ctXBarR, 4, 0.6, 0.6, 0.6, 0.6, 12 / (6 * sd), 6.5 / (3 * sd), 5.5 / (3 * sd),
         5.5 / (3 * sd)},
        {"means S", 11, NullValue, NullValue, ctXBarS, ctXBarS, 9, NullValue, 0.4, NullValue, NullValue, NullValue,
         6.5 / (3 * sd), NullValue, 6.5 / (3 * sd)},
        // The histogram strip: XBar-S type with the histogram's record of individual values.
        {"histogram", 11, 5, -1, ctXBarS, ctXBarR, 4, 1.2, 1.2, 1.2, 1.2, 12 / (6 * sd), 6.5 / (3 * sd),
         5.5 / (3 * sd), 5.5 / (3 * sd)},
    };
    for (const auto& c : cases) {
        TVariableDataList list;
        LoadValues(list, {{2, 4, 6}, {3, 5, 7}});
        list.Info.SampleSize = c.n;
        Spec(list, c.usl, c.sl, c.lsl);
        TStatistic s;
        s.Calc(list.Info, Limits(c.recordType, 10, 5, 0), c.type, list);
        const double got[] = {s.Cp, s.Cpu, s.Cpl, s.Cpk, s.Pp, s.Ppu, s.Ppl, s.Ppk};
        const double want[] = {c.cp, c.cpu, c.cpl, c.cpk, c.pp, c.ppu, c.ppl, c.ppk};
        const char* names[] = {"Cp", "Cpu", "Cpl", "Cpk", "Pp", "Ppu", "Ppl", "Ppk"};
        for (int i = 0; i < 8; ++i) {
            if (want[i] == NullValue)
                EXPECT_EQ(got[i], NullValue) << c.what << " " << names[i];
            else
                EXPECT_NEAR(got[i], want[i], 1e-12) << c.what << " " << names[i];
        }
    }
}

TEST(Statistic, NothingToDivideGivesNoValue)
{
    TStatistic s;
    TVariableDataList empty;
    Spec(empty, 11, 5, -1);
    s.Calc(empty.Info, Limits(ctXRm, 10, 5, 0), ctNone, empty);  // no subgroups: no type check
    for (double v : {s.Max, s.Min, s.Range, s.Mean, s.StdDev, s.Pp, s.Ppu, s.Ppl, s.Ppk}) EXPECT_EQ(v, NullValue);
    EXPECT_EQ(s.Cp, 1.2);  // from the limits alone

    TVariableDataList one;
    LoadValues(one, {{3}});
    Spec(one, 11, 5, -1);
    s.Calc(one.Info, Limits(ctXRm, 5, 5, 5), ctXRm, one);
    EXPECT_EQ(s.Mean, 3);
    EXPECT_EQ(s.Range, 0);
    for (double v : {s.StdDev, s.Pp, s.Ppk, s.Cp, s.Cpu, s.Cpl, s.Cpk}) EXPECT_EQ(v, NullValue);

    TVariableDataList equal;
    LoadValues(equal, {{3, 3}, {3}});
    Spec(equal, 11, 5, -1);
    s.Calc(equal.Info, Limits(ctXRm, NullValue, 5, 0), ctXRm, equal);
    EXPECT_EQ(s.StdDev, 0);
    for (double v : {s.Pp, s.Ppu, s.Ppl, s.Ppk, s.Cp, s.Cpu}) EXPECT_EQ(v, NullValue);
    EXPECT_EQ(s.Cpl, 1.2);

    EXPECT_EQ(MessageOf([&] { s.Calc(one.Info, Limits(ctP, 1, 0, -1), ctP, one); }),
              QStringLiteral("控制图类型未指定或没有匹配的类型！"));
}

TEST(Statistic, PistonRingsCapability)
{
    // Subgroups 1–25 against 74.000 ± 0.05: σ̂ within = R̄/d2-like spread of individuals.
    TVariableDataList list;
    LoadVariable(list, QStringLiteral("pistonrings.csv"), 5, 25);
    Spec(list, 74.05, 74.0, 73.95);
    TVariableChartData data;
    data.SetDataList(&list);
    data.SetChartType(ctXBarR);
    data.CalcLimits();
    TStatistic s;
    s.Calc(list.Info, data.LimitInfo, ctXBarR, list);
    const double sigma = 0.577 * 0.02276 * std::sqrt(5.0) / 3;  // A2·R̄·√n / 3 ≈ R̄/d2
    EXPECT_NEAR(s.Cp, 0.1 / (6 * sigma), 1e-9);
    EXPECT_NEAR(s.Cp, 0.1 / (6 * 0.02276 / 2.326), 0.002);  // the textbook's Ĉp with σ̂ = R̄/d2
    EXPECT_NEAR(s.Mean, 74.001176, 1e-9);
}

TEST(Statistic, StripLayout)
{
    TVariableDataList list;
    LoadValues(list, {{2, 4, 6}, {3, 5, 7}});
    list.Info.SampleSize = 1;
    Spec(list, 11, NullValue, NullValue);
    TLimitInfo limits = Limits(ctXRm, 10, 5, 0);
    TStringGrid grid;
    TStatisticViewAgent agent(&list, ctXRm, &grid, &limits);
    agent.SetActive(true);
    ASSERT_EQ(grid.ColCount(), 14);
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Row(0), QStringList({"Max:", "7", "Mean:", "4.5", "Cp:", "-999999999", "Cpu:", "1.2", "Cpl:",
                                        "-999999999", "Cpk:", "-999999999", "", ""}));
    EXPECT_EQ(grid.Row(1), QStringList({"Min:", "2", "Range:", "5", "Pp:", "-999999999", "Ppu:", "1.1581", "Ppl:",
                                        "-999999999", "Ppk:", "1.1581", "", ""}));
    TStatisticViewAgent hist(&list, ctXBarS, &grid, &limits);
    hist.ShowRange = true;
    hist.SetActive(true);
    EXPECT_EQ(grid.Cell(2, 1), QStringLiteral("StdDev:"));
    EXPECT_EQ(grid.Cell(3, 1), QStringLiteral("1.8708"));
    EXPECT_EQ(grid.Cell(12, 0), QStringLiteral("Range::"));
    EXPECT_EQ(grid.Cell(13, 0), QStringLiteral("5"));
}

TEST(Calc, PopulationStdDevAndDensity)
{
    TCalc calc;
    EXPECT_EQ(calc.CalcStdDev(), NullValue);
    for (double x : {1, 2, 3}) calc.Add(x);
    EXPECT_DOUBLE_EQ(calc.CalcStdDev(), std::sqrt(2.0 / 3));
    EXPECT_DOUBLE_EQ(TCalc::NormalDensity(1, 0, 0), 1 / std::sqrt(2 * std::numbers::pi));
    EXPECT_DOUBLE_EQ(TCalc::NormalDensity(2, 1, 3), std::exp(-0.5) / (2 * std::sqrt(2 * std::numbers::pi)));
}

namespace {
struct THistogram {
    TVariableDataList list;
    THistogramChartData data;
    explicit THistogram(const std::vector<double>& values, int perSubgroup = 1)
    {
        list.Info.SampleSize = perSubgroup;
        list.Updating = true;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i % perSubgroup == 0) list.NewData().SN = static_cast<int>(i);
            list.Item(list.Count() - 1).AddValue(values[i]);
        }
        list.Updating = false;
        data.SetDataList(&list);
    }
    std::vector<int> Counts() const
    {
        std::vector<int> c;
        for (int j = 0; j < data.GroupItemCount(); ++j) c.push_back(data.Group(j).Count);
        return c;
    }
};
} // namespace

TEST(Histogram, ClassCountFromNumberOfValues)
{
    const struct { int n, k; } cases[] = {{1, 1}, {2, 2}, {10, 5}, {100, 8}, {125, 8}, {1000, 11}, {500000, 20}};
    for (const auto& c : cases) {
        std::vector<double> values(c.n);
        for (int i = 0; i < c.n; ++i) values[i] = i % 37;
        THistogram h(values, 5);
        h.data.Calc();
        EXPECT_EQ(h.data.GroupCount(), c.k) << c.n;
        EXPECT_EQ(h.data.GroupItemCount(), c.k + 1) << c.n;
        EXPECT_EQ(h.data.ValueCount, c.n);
        int total = 0;
        for (int x : h.Counts()) total += x;
        EXPECT_EQ(total, c.n);
    }
}

TEST(Histogram, ClassesAndBoundaries)
{
    THistogram h({1, 2, 3, 4});
    h.data.SetGroupCount(3);
    h.data.EnsureCalc();
    EXPECT_EQ(h.data.GroupWidth, 1);
    ASSERT_EQ(h.data.GroupItemCount(), 4);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(h.data.Group(j).StartValue, 0.5 + j);
        EXPECT_EQ(h.data.Group(j).EndValue, 1.5 + j);
    }
    EXPECT_EQ(h.Counts(), std::vector<int>({1, 1, 1, 1}));
    EXPECT_EQ(h.data.MaxFrequency, 1);

    // A value on a boundary goes into the upper class.
    h.list.Item(0).AddValue(1.5);
    h.data.SetGroupCount(3);  // unchanged: the classes stay as they are
    EXPECT_TRUE(h.data.Computed());
    h.data.Calc();
    EXPECT_EQ(h.Counts(), std::vector<int>({1, 2, 1, 1}));
    EXPECT_EQ(h.data.MaxFrequency, 2);
    h.data.SetGroupCount(2);
    EXPECT_FALSE(h.data.Computed());
    EXPECT_EQ(h.data.GroupItemCount(), 0);
    h.data.EnsureCalc();
    EXPECT_EQ(h.data.GroupItemCount(), 3);

    h.data.SetGroupCount(0);
    EXPECT_THROW(h.data.EnsureCalc(), ESPCDataError);
    EXPECT_FALSE(h.data.Computed());
}

TEST(Histogram, EqualValuesFallIntoTheLastClass)
{
    THistogram one({2.5});
    one.data.Calc();
    EXPECT_EQ(one.data.GroupCount(), 1);
    EXPECT_EQ(one.Counts(), std::vector<int>({0, 1}));
    EXPECT_EQ(one.data.Group(0).StartValue, 2.5);
    EXPECT_EQ(one.data.Group(0).EndValue, 2.5);

    THistogram same({7, 7, 7, 7, 7});
    same.data.Calc();
    EXPECT_EQ(same.Counts(), std::vector<int>({0, 0, 0, 0, 5}));
}

TEST(Histogram, LinesGoIntoTheLimitRecord)
{
    THistogram h({1, 2, 3, 4, 5, 6});
    h.list.Info.USL = 8;
    h.list.Info.LSL = 0;
    EXPECT_EQ(h.data.LimitInfo.ChartType(), ctXBarR);
    h.data.Calc();
    const double sigma = std::sqrt(17.5 / 6);
    EXPECT_DOUBLE_EQ(h.data.Mean, 3.5);
    EXPECT_DOUBLE_EQ(h.data.Sigma, sigma);
    EXPECT_DOUBLE_EQ(h.data.UCL, 3.5 + 3 * sigma);
    EXPECT_DOUBLE_EQ(h.data.LimitInfo.MUCL, h.data.UCL);
    EXPECT_DOUBLE_EQ(h.data.LimitInfo.MLCL, h.data.LCL);
    EXPECT_EQ(h.data.LimitInfo.MCL, 3.5);
    EXPECT_TRUE(h.data.LimitInfo.Loaded);
    EXPECT_EQ(h.data.USL, 8);
    EXPECT_EQ(h.data.SL, 0);  // copied as it stands

    // The histogram window's statistics: XBar-S strip over the histogram's record.
    TStatistic s;
    s.Calc(h.list.Info, h.data.LimitInfo, ctXBarS, h.list);
    EXPECT_DOUBLE_EQ(s.Cp, 8 / (6 * sigma));
}

TEST(Histogram, DivisionAgreesWithTryingEveryClass)
{
    // The class of each value is found by division; it must be the class the definition gives:
    // the highest whose start is at or below the value. Values on and next to boundaries included.
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> dist(-3.7, 12.9);
    std::vector<double> values;
    for (int i = 0; i < 20000; ++i) values.push_back(std::round(dist(gen) * 100) / 100);
    for (int k : {1, 3, 7, 13, 20}) {
        THistogram h(values, 5);
        h.data.SetGroupCount(k);
        h.data.Calc();
        std::vector<int> expected(k + 1, 0);
        for (double x : values)
            for (int j = k; j >= 0; --j)
                if (h.data.Group(j).StartValue <= x) {
                    ++expected[j];
                    break;
                }
        EXPECT_EQ(h.Counts(), expected) << k;
        // Every inner class boundary itself (the extremes stay, so the classes stay): each lands
        // in the class it starts.
        THistogram edges(values, 5);
        for (int j = 1; j <= k; ++j) edges.list.Item(0).AddValue(h.data.Group(j).StartValue);
        edges.data.SetGroupCount(k);
        edges.data.Calc();
        EXPECT_EQ(edges.data.GroupWidth, h.data.GroupWidth);
        const std::vector<int> before = h.Counts(), after = edges.Counts();
        EXPECT_EQ(after[0], before[0]) << k;
        for (int j = 1; j <= k; ++j) EXPECT_EQ(after[j], before[j] + 1) << k << " class " << j;
    }
}

TEST(Histogram, GridOfClasses)
{
    TStringGrid grid;
    THistogram empty({});
    THistogramDataViewAgent none(&empty.data, &grid);
    none.SetActive(true);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 0), QString());

    THistogram h({1, 2, 3, 4});
    h.data.SetGroupCount(3);
    THistogramDataViewAgent agent(&h.data, &grid);
    agent.SetActive(true);
    ASSERT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.Col(0), QStringList({"组号", "频数", "起始值", "结束值"}));
    EXPECT_EQ(grid.Col(4), QStringList({"4", "1", "3.5", "4.5"}));
}
