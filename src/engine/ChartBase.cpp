#include "engine/ChartBase.h"

#include "engine/SPCTypes.h"

#include <algorithm>

TSPCChartBase::~TSPCChartBase()
{
    const std::vector<TSPCChartList*> lists = FLists;
    for (TSPCChartList* list : lists) list->Remove(this);
}

void TSPCChartBase::RecolorPoint(int, const QColor&) {}

bool TSPCChartBase::IsListedIn(const TSPCChartList* list) const
{
    return std::find(FLists.begin(), FLists.end(), list) != FLists.end();
}

TSPCChartList::~TSPCChartList()
{
    for (TSPCChartBase* chart : FCharts) {
        auto& lists = chart->FLists;
        lists.erase(std::remove(lists.begin(), lists.end(), this), lists.end());
    }
}

void TSPCChartList::Add(TSPCChartBase* chart)
{
    if (!chart || IndexOf(chart) >= 0) return;
    FCharts.push_back(chart);
    chart->FLists.push_back(this);
}

void TSPCChartList::Remove(TSPCChartBase* chart)
{
    const auto it = std::find(FCharts.begin(), FCharts.end(), chart);
    if (it == FCharts.end()) return;
    FCharts.erase(it);
    auto& lists = chart->FLists;
    lists.erase(std::remove(lists.begin(), lists.end(), this), lists.end());
}

int TSPCChartList::IndexOf(const TSPCChartBase* chart) const
{
    const auto it = std::find(FCharts.begin(), FCharts.end(), chart);
    return it == FCharts.end() ? -1 : static_cast<int>(it - FCharts.begin());
}

TSPCChartBase* TSPCChartList::Item(int i) const
{
    if (i < 0 || i >= Count()) throw ESPCDataError(QStringLiteral("out of bound index:%1").arg(i));
    return FCharts[static_cast<std::size_t>(i)];
}

void TSPCChartList::RefreshAll()
{
    const std::vector<TSPCChartBase*> charts = FCharts;
    for (TSPCChartBase* chart : charts)
        if (IndexOf(chart) >= 0) chart->Refresh();
}
