#include "engine/SPCTypes.h"

#include <array>
#include <cmath>

QString ChartTypeName(TChartType type)
{
    switch (type) {
    case ctXBarR: return QStringLiteral("XBar-R 控制图");
    case ctXBarS: return QStringLiteral("XBar-S 控制图");
    case ctHistogram: return QStringLiteral("直方图");
    case ctXRm: return QStringLiteral("X-Rm 控制图");
    case ctP: return QStringLiteral("P 控制图");
    case ctNP: return QStringLiteral("nP 控制图");
    case ctU: return QStringLiteral("U 控制图");
    case ctC: return QStringLiteral("C 控制图");
    case ctPareto: return QStringLiteral("柏拉图");
    default: return {};
    }
}

TChartType ChartTypeFromName(const QString& text)
{
    static const TChartType order[] = {ctXBarR, ctXBarS, ctXRm, ctP, ctNP, ctU, ctC, ctHistogram, ctPareto};
    for (TChartType t : order)
        if (ChartTypeName(t) == text) return t;
    throw ESystemError(QStringLiteral("'%1'不是一个有效的标题").arg(text));
}

int ChartTypeCode(TChartType type)
{
    const int code = static_cast<int>(type);
    if (code < 1 || code > 10) throw ESPCDataError(QStringLiteral("控制图类型未指定"));
    return code;
}

bool IsVariableChartType(TChartType type)
{
    const int code = static_cast<int>(type);
    return code >= 1 && code <= 5;
}

void FillChartTypes(TItemKind kind, int sampleSize, QStringList& list)
{
    list.clear();
    if (kind == ikAttribute) {
        for (TChartType t : {ctP, ctNP, ctU, ctC, ctPareto}) list << ChartTypeName(t);
        return;
    }
    if (kind != ikVariable || sampleSize <= 0) return;
    if (sampleSize == 1)
        list << ChartTypeName(ctXRm);
    else if (sampleSize <= 25)
        list << ChartTypeName(ctXBarR) << ChartTypeName(ctXBarS);
    else
        list << ChartTypeName(ctXBarS);
    list << ChartTypeName(ctHistogram);
}

QString StateName(TSubgroupState state)
{
    switch (state) {
    case ssUnchecked: return QStringLiteral("未检测");
    case ssNormal: return QStringLiteral("正常");
    case ssAbnormal: return QStringLiteral("有异常");
    case ssHandled: return QStringLiteral("异常已处理");
    default: return {};
    }
}

QColor StateColor(TSubgroupState state)
{
    switch (state) {
    case ssUnchecked: return QColor(0xA0, 0xA0, 0xA4);
    case ssNormal: return QColor(0xFF, 0xFF, 0xFF);
    case ssAbnormal: return QColor(0x00, 0x00, 0x00);
    case ssHandled: return QColor(0x5F, 0xD8, 0xF1);
    default: return QColor(0x00, 0xFF, 0xFF);
    }
}

TSubgroupState StateFromCode(int code)
{
    if (code < 1 || code > 4) return ssUnchecked;
    return static_cast<TSubgroupState>(code - 1);
}

int StateToCode(TSubgroupState state)
{
    return static_cast<int>(state) + 1;
}

namespace {
// Rows n = 2 … 25, as printed in the quality handbooks; E2 stops at n = 20 (0 marks no entry).
struct TFactorRow {
    double A2, A3, C4, B3, B4, D2, D3, D4, E2;
};

constexpr std::array<TFactorRow, 24> kFactors{{
    {1.880, 2.659, 0.7979, 0, 3.267, 1.128, 0, 3.267, 2.660},
    {1.023, 1.954, 0.8862, 0, 2.568, 1.693, 0, 2.574, 1.772},
    {0.729, 1.628, 0.9213, 0, 2.266, 2.059, 0, 2.282, 1.457},
    {0.577, 1.427, 0.9400, 0, 2.089, 2.326, 0, 2.114, 1.290},
    {0.483, 1.287, 0.9515, 0.030, 1.970, 2.534, 0, 2.004, 1.184},
    {0.419, 1.182, 0.9594, 0.118, 1.882, 2.704, 0.076, 1.924, 1.109},
    {0.373, 1.099, 0.9650, 0.185, 1.815, 2.847, 0.136, 1.864, 1.054},
    {0.337, 1.032, 0.9693, 0.239, 1.761, 2.970, 0.184, 1.816, 1.010},
    {0.308, 0.975, 0.9727, 0.284, 1.716, 3.078, 0.223, 1.777, 0.975},
    {0.285, 0.927, 0.9754, 0.321, 1.679, 3.173, 0.256, 1.744, 0.945},
    {0.266, 0.886, 0.9776, 0.354, 1.646, 3.258, 0.283, 1.717, 0.921},
    {0.249, 0.850, 0.9794, 0.382, 1.618, 3.336, 0.307, 1.693, 0.899},
    {0.235, 0.817, 0.9810, 0.406, 1.594, 3.407, 0.328, 1.672, 0.880},
    {0.223, 0.789, 0.9823, 0.428, 1.572, 3.472, 0.347, 1.653, 0.864},
    {0.212, 0.763, 0.9835, 0.448, 1.552, 3.532, 0.363, 1.637, 0.849},
    {0.203, 0.739, 0.9845, 0.466, 1.534, 3.588, 0.378, 1.622, 0.836},
    {0.194, 0.718, 0.9854, 0.482, 1.518, 3.640, 0.391, 1.608, 0.824},
    {0.187, 0.698, 0.9862, 0.497, 1.503, 3.689, 0.403, 1.597, 0.813},
    {0.180, 0.680, 0.9869, 0.510, 1.490, 3.735, 0.415, 1.585, 0.803},
    {0.173, 0.663, 0.9876, 0.523, 1.477, 3.778, 0.425, 1.575, 0},
    {0.167, 0.647, 0.9882, 0.534, 1.466, 3.819, 0.434, 1.566, 0},
    {0.162, 0.633, 0.9887, 0.545, 1.455, 3.858, 0.443, 1.557, 0},
    {0.157, 0.619, 0.9892, 0.555, 1.445, 3.895, 0.451, 1.548, 0},
    {0.153, 0.606, 0.9896, 0.565, 1.435, 3.931, 0.459, 1.541, 0},
}};

[[noreturn]] void NoFactor()
{
    throw ESPCDataError(QStringLiteral("无对应的系数"));
}

const TFactorRow& Row(int n, int maxN = 25)
{
    if (n < 2 || n > maxN) NoFactor();
    return kFactors[static_cast<std::size_t>(n - 2)];
}

bool Tabled(int n)
{
    return n >= 2 && n <= 25;
}

// c4 beyond the table, in extended precision: 4(n − 1) / (4n − 3).
long double C4Formula(int n)
{
    const long double ln = n;
    return 4.0L * (ln - 1.0L) / (4.0L * ln - 3.0L);
}

// 3 / (√(2(n − 1)) · c4(n)), the half-width of the B3/B4 band beyond the table.
long double BWidth(int n)
{
    const long double ln = n;
    return 3.0L / (std::sqrt(2.0L * (ln - 1.0L)) * C4Formula(n));
}
} // namespace

double CoefA2(int n) { return Row(n).A2; }
double CoefD2(int n) { return Row(n).D2; }
double CoefD3(int n) { return Row(n).D3; }
double CoefD4(int n) { return Row(n).D4; }
double CoefE2(int n) { return Row(n, 20).E2; }

double CoefC4(int n)
{
    if (n < 2) NoFactor();
    if (Tabled(n)) return Row(n).C4;
    return static_cast<double>(C4Formula(n));
}

double CoefA3(int n)
{
    if (n < 2) NoFactor();
    if (Tabled(n)) return Row(n).A3;
    return static_cast<double>(3.0L / (std::sqrt(static_cast<long double>(n)) * C4Formula(n)));
}

double CoefB3(int n)
{
    if (n < 2) NoFactor();
    if (Tabled(n)) return Row(n).B3;
    return static_cast<double>(1.0L - BWidth(n));
}

double CoefB4(int n)
{
    if (n < 2) NoFactor();
    if (Tabled(n)) return Row(n).B4;
    return static_cast<double>(1.0L + BWidth(n));
}
