#pragma once
// The frequency classes of a histogram over all individual values of a variable item, with the
// mean ± 3σ lines drawn over it.
#include "engine/ChartBase.h"
#include "engine/ChartData.h"
#include "engine/StringGrid.h"
#include "engine/VariableData.h"

#include <vector>

struct THGroupItem {
    int Count = 0;
    double StartValue = 0;
    double EndValue = 0;
};

// Bound to a list, its limit record starts as that of the item's XBar-R chart.
class THistogramChartData : public TListChartData<TVariableDataList> {
public:
    THistogramChartData() = default;

    // k, the number of class widths; NullValue = chosen from the number of values.
    int GroupCount() const { return FGroupCount; }
    void SetGroupCount(int k);
    bool Computed() const { return FComputed; }

    // Computes the classes and lines and writes the lines into the limit record (marked loaded,
    // so that a refresh never replaces them). A class count below 1 raises ESPCDataError.
    void Calc();
    void EnsureCalc();

    int GroupItemCount() const { return static_cast<int>(FGroups.size()); }
    const THGroupItem& Group(int i) const;

    // Results of the last Calc.
    int ValueCount = 0;
    double MaxValue = NullValue;
    double MinValue = NullValue;
    double ValueRange = NullValue;
    double GroupWidth = NullValue;
    int MaxFrequency = 0;
    double Mean = NullValue;
    double Sigma = NullValue;  // population standard deviation
    double UCL = NullValue;
    double LCL = NullValue;
    double USL = NullValue;
    double SL = NullValue;
    double LSL = NullValue;

protected:
    void DataListChanged() override;

private:
    std::vector<THGroupItem> FGroups;
    int FGroupCount = NullValue;
    bool FComputed = false;
};

// Fills the grid of classes under a histogram.
class THistogramDataViewAgent {
public:
    THistogramDataViewAgent(THistogramChartData* data, TStringGrid* grid) : FData(data), FGrid(grid) {}
    bool Active() const { return FActive; }
    void SetActive(bool flag);
    void Fill();

private:
    THistogramChartData* FData;
    TStringGrid* FGrid;
    bool FActive = false;
};
