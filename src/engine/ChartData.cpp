#include "engine/ChartData.h"

void RaiseIndexError(int i)
{
    throw ESPCDataError(QStringLiteral("out of bound index:%1").arg(i));
}

int TIntList::Add(int value)
{
    FItems.push_back(value);
    return Count() - 1;
}

void TIntList::Check(int i) const
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
}

void TIntList::Delete(int i)
{
    Check(i);
    FItems.erase(FItems.begin() + i);
}

void TIntList::Clear()
{
    FItems.clear();
}

int TIntList::Item(int i) const
{
    Check(i);
    return FItems[static_cast<std::size_t>(i)];
}

void TIntList::SetItem(int i, int value)
{
    Check(i);
    FItems[static_cast<std::size_t>(i)] = value;
}

void TSPCChartData::SetChartType(TChartType type)
{
    FChartType = type;
    LimitInfo.SetChartType(type);
}
