#pragma once
// The base of the chart data classes, and the integer list the rule checker keeps point
// indexes in.
#include "engine/ControlItem.h"

#include <vector>

class TIntList {
public:
    int Add(int value);  // returns the position
    void Delete(int i);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    int Item(int i) const;
    void SetItem(int i, int value);

private:
    void Check(int i) const;
    std::vector<int> FItems;
};

class TSPCChartData {
public:
    TSPCChartData() = default;
    virtual ~TSPCChartData() = default;
    TSPCChartData(const TSPCChartData&) = delete;
    TSPCChartData& operator=(const TSPCChartData&) = delete;

    // The CID of the bound data; NullValue when nothing is bound.
    virtual int GetCID() const = 0;
    // The bound list's item header; nullptr when nothing is bound.
    virtual TCharacterInfo* GetCharacterInfo() const = 0;
    // Computes the limits from the data into LimitInfo.
    virtual void CalcLimits() {}

    TChartType ChartType() const { return FChartType; }
    // Also hands the type to LimitInfo, which reloads the stored limits when it changes.
    void SetChartType(TChartType type);

    TLimitInfo LimitInfo;

private:
    TChartType FChartType = ctNone;
};

// ESPCDataError "out of bound index:<i>".
[[noreturn]] void RaiseIndexError(int i);
