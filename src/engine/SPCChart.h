#pragma once
// The SPC engine in one include: vocabulary, item header and limits, variable and attribute
// data with their chart data, statistics, histogram and Pareto data, and the grid fillers.
#include "engine/AttributeData.h"
#include "engine/ChartBase.h"
#include "engine/ChartData.h"
#include "engine/ControlItem.h"
#include "engine/DataChange.h"
#include "engine/HistogramData.h"
#include "engine/ParetoData.h"
#include "engine/SPCTypes.h"
#include "engine/Statistic.h"
#include "engine/StringGrid.h"
#include "engine/VariableData.h"
