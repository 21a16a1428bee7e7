#pragma once
// What the data lists and chart data ask of a chart object. The chart objects derive from
// TSPCChartBase; a data list keeps the charts that show it in a TSPCChartList that does not own
// them. Registration is two-way: a chart leaves every list when it is destroyed and a list
// forgets its charts when it is destroyed, so no list ever reaches a destroyed chart.
#include <QColor>
#include <vector>

class TSPCChartList;

class TSPCChartBase {
public:
    TSPCChartBase() = default;
    virtual ~TSPCChartBase();
    TSPCChartBase(const TSPCChartBase&) = delete;
    TSPCChartBase& operator=(const TSPCChartBase&) = delete;

    // The data changed: recompute what needs it (limits when none are stored) and redraw.
    virtual void Refresh() = 0;
    // Point `index` changed state: give it this colour in every point series that holds it.
    virtual void RecolorPoint(int index, const QColor& color);
    // Whether the chart is listed in that list (compares the address only: a list that has been
    // destroyed has let go of its charts and is never found).
    bool IsListedIn(const TSPCChartList* list) const;

private:
    friend class TSPCChartList;
    std::vector<TSPCChartList*> FLists;
};

class TSPCChartList {
public:
    TSPCChartList() = default;
    ~TSPCChartList();
    TSPCChartList(const TSPCChartList&) = delete;
    TSPCChartList& operator=(const TSPCChartList&) = delete;

    // A chart is listed once, in registration order.
    void Add(TSPCChartBase* chart);
    void Remove(TSPCChartBase* chart);
    int IndexOf(const TSPCChartBase* chart) const;
    int Count() const { return static_cast<int>(FCharts.size()); }
    TSPCChartBase* Item(int i) const;
    // Refresh of every chart, in registration order (charts leaving meanwhile are skipped).
    void RefreshAll();

private:
    std::vector<TSPCChartBase*> FCharts;
};
