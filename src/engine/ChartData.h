#pragma once
// The base of the chart data classes, their binding to a data list, and the checked list that
// holds a subgroup's values and the rule checker's point indexes.
#include "engine/ChartBase.h"
#include "engine/ControlItem.h"

#include <QColor>
#include <type_traits>
#include <utility>
#include <vector>

// ESPCDataError "out of bound index:<i>".
[[noreturn]] void RaiseIndexError(int i);

// A list of plain values whose positions run from 0; a position outside 0 … Count − 1 raises
// ESPCDataError "out of bound index:<i>".
template <class T>
class TCheckedList {
public:
    int Add(T value)  // returns the position
    {
        FItems.push_back(value);
        return Count() - 1;
    }
    void Delete(int i)
    {
        Check(i);
        FItems.erase(FItems.begin() + i);
    }
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    T Item(int i) const
    {
        Check(i);
        return FItems[static_cast<std::size_t>(i)];
    }
    void SetItem(int i, T value)
    {
        Check(i);
        FItems[static_cast<std::size_t>(i)] = value;
    }
    const std::vector<T>& Items() const { return FItems; }

private:
    void Check(int i) const
    {
        if (i < 0 || i >= Count()) RaiseIndexError(i);
    }
    std::vector<T> FItems;
};

// The point indexes the rule checker keeps.
using TIntList = TCheckedList<int>;

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

// Chart data bound to a data list (TVariableDataList, TAttributeDataList) and shown by one chart.
// While both are set the chart is listed in the list's Charts, so that data changes refresh it;
// it leaves the list when either binding changes and when the chart data is destroyed.
template <class TList>
class TListChartData : public TSPCChartData {
public:
    using TItem = std::remove_reference_t<decltype(std::declval<const TList&>().Item(0))>;

    ~TListChartData() override { Unregister(); }

    // The chart showing this data (not owned).
    TSPCChartBase* Chart() const { return FChart; }
    void SetChart(TSPCChartBase* chart)
    {
        if (chart == FChart) return;
        Unregister();
        FChart = chart;
        Register();
    }

    TList* DataList() const { return FDataList; }
    // A different list is bound and the limit record follows its item.
    void SetDataList(TList* list)
    {
        if (list == FDataList) return;
        Unregister();
        FDataList = list;
        Register();
        DataListChanged();
    }

    int Count() const { return FDataList ? FDataList->Count() : 0; }
    TItem& Data(int i) const
    {
        if (!FDataList) RaiseIndexError(i);
        return FDataList->Item(i);
    }
    int GetCID() const override { return FDataList ? FDataList->CID() : NullValue; }
    TCharacterInfo* GetCharacterInfo() const override { return FDataList ? &FDataList->Info : nullptr; }

    QColor PointColor(int i) const { return StateColor(Data(i).State); }
    // Stores a different state and recolours the point on the chart; the list is not notified.
    void SetPointState(int i, TSubgroupState state)
    {
        TItem& d = Data(i);
        if (d.State == state) return;
        d.State = state;
        if (FChart) FChart->RecolorPoint(i, PointColor(i));
    }

    // Deletes subgroup i from the list; every other chart on the list follows (this data's own
    // chart redraws itself).
    void DeleteData(int i)
    {
        if (!FDataList) RaiseIndexError(i);
        FDataList->Delete(i);
        TSPCChartList& charts = FDataList->Charts;
        for (int j = charts.Count() - 1; j >= 0; --j)
            if (j < charts.Count() && charts.Item(j) != FChart) charts.Item(j)->Refresh();
    }

protected:
    // After a different list was bound (also none).
    virtual void DataListChanged()
    {
        if (FDataList) LimitInfo.SetCID(FDataList->CID());
    }

private:
    void Register()
    {
        if (FChart && FDataList) FDataList->Charts.Add(FChart);
    }
    void Unregister()
    {
        // A list destroyed meanwhile has already let go of the chart (and must not be touched).
        if (FChart && FDataList && FChart->IsListedIn(&FDataList->Charts)) FDataList->Charts.Remove(FChart);
    }

    TSPCChartBase* FChart = nullptr;
    TList* FDataList = nullptr;
};
