#pragma once
// The vocabulary of the SPC engine: chart types, subgroup states, item kinds, the control-chart
// factors and the engine's exception class.
#include "foundation/Errors.h"
#include "foundation/Types.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>

// Raised for inconsistent chart data: no chart type, no factor for a subgroup size, an index out
// of range. Other failures of the engine raise ESystemError.
class ESPCDataError : public ESystemError {
public:
    using ESystemError::ESystemError;
};

// The value is the code stored in D_CLL.ChartType and passed between windows. 3 is reserved.
enum TChartType : std::uint8_t {
    ctNone = 0,
    ctXBarR = 1,
    ctXBarS = 2,
    ctHistogram = 4,
    ctXRm = 5,
    ctP = 6,
    ctNP = 7,
    ctU = 8,
    ctC = 9,
    ctPareto = 10,
};

// D_VDM.State and D_ADM.State store the state plus one.
enum TSubgroupState : std::uint8_t {
    ssUnchecked = 0,
    ssNormal = 1,
    ssAbnormal = 2,
    ssHandled = 3,
};

enum TItemKind : std::uint8_t {
    ikVariable = 0,   // row of L_VControlItem
    ikAttribute = 3,  // row of L_AControlItem
};

// Display name ("XBar-R 控制图" ...); empty for ctNone, 3 and anything above 10.
QString ChartTypeName(TChartType type);
// Exact, case-sensitive match against the display names; ESystemError "'%s'不是一个有效的标题".
TChartType ChartTypeFromName(const QString& text);
// The stored code; ESPCDataError "控制图类型未指定" outside 1 to 10.
int ChartTypeCode(TChartType type);
bool IsVariableChartType(TChartType type);
// The chart types offered for an item of this kind and planned subgroup size.
void FillChartTypes(TItemKind kind, int sampleSize, QStringList& list);

QString StateName(TSubgroupState state);
QColor StateColor(TSubgroupState state);
// Stored codes outside 1 to 4 read as ssUnchecked.
TSubgroupState StateFromCode(int code);
int StateToCode(TSubgroupState state);

// Control-chart factors for subgroups of n. Tabled for n = 2 to 25 (E2 to 20); c4, A3, B3 and
// B4 continue by formula beyond 25. Anything else raises ESPCDataError "无对应的系数".
double CoefA2(int n);
double CoefA3(int n);
double CoefC4(int n);
double CoefB3(int n);
double CoefB4(int n);
double CoefD2(int n);
double CoefD3(int n);
double CoefD4(int n);
double CoefE2(int n);
