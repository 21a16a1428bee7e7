#include "engine/ChartData.h"

void RaiseIndexError(int i)
{
    throw ESPCDataError(QStringLiteral("out of bound index:%1").arg(i));
}

void TSPCChartData::SetChartType(TChartType type)
{
    FChartType = type;
    LimitInfo.SetChartType(type);
}
