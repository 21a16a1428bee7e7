#pragma once
// Summary statistics and capability indices over all individual values of a variable item.
#include "engine/StringGrid.h"
#include "engine/VariableData.h"

#include <vector>

// A list of numbers with the population standard deviation and the normal density.
class TCalc {
public:
    void Add(double value) { FValues.push_back(value); }
    void Clear() { FValues.clear(); }
    void Reserve(std::size_t n) { FValues.reserve(n); }
    int Count() const { return static_cast<int>(FValues.size()); }
    // √(Σ(x − x̄)² / N); NullValue without values.
    double CalcStdDev() const;
    static double NormalDensity(double sigma, double mu, double x);

private:
    std::vector<double> FValues;
};

class TStatistic {
public:
    // Fills every field. The capability indices compare the specification limits of `info`
    // with the limit record; the performance indices use Mean and StdDev of the values.
    // ESPCDataError "控制图类型未指定或没有匹配的类型！" for a chart type other than XBar-R,
    // XBar-S or X-Rm (not for an empty list). A field that cannot be computed (no values,
    // StdDev of one value, a zero denominator, a missing limit) holds NullValue.
    void Calc(const TCharacterInfo& info, const TLimitInfo& limitInfo, TChartType chartType,
              const TVariableDataList& list);

    double Max = NullValue;
    double Min = NullValue;
    double Range = NullValue;
    double Mean = NullValue;
    double StdDev = NullValue;  // divisor N − 1
    double Cp = NullValue;
    double Cpu = NullValue;
    double Cpl = NullValue;
    double Cpk = NullValue;
    double Pp = NullValue;
    double Ppu = NullValue;
    double Ppl = NullValue;
    double Ppk = NullValue;
};

// Whether a limit record describes subgroup means (XBar charts) rather than individual values:
// its widths are then scaled by √n before they are compared with the specification width. The
// histogram strip hands the XBar-S type with the histogram's own record of individual values.
bool LimitsDescribeMeans(TChartType chartType, const TLimitInfo& limitInfo);

// Fills the two-row statistics strip under a variable chart or histogram.
class TStatisticViewAgent {
public:
    TStatisticViewAgent(TVariableDataList* list, TChartType chartType, TStringGrid* grid,
                        TLimitInfo* limitInfo)
        : FList(list), FChartType(chartType), FGrid(grid), FLimitInfo(limitInfo) {}

    bool ShowRange = false;  // adds the "Range::" pair to row 0
    bool Active() const { return FActive; }
    void SetActive(bool flag);
    void Fill();
    const TStatistic& Statistic() const { return FStatistic; }

private:
    TVariableDataList* FList;
    TChartType FChartType;
    TStringGrid* FGrid;
    TLimitInfo* FLimitInfo;
    TStatistic FStatistic;
    bool FActive = false;
};
