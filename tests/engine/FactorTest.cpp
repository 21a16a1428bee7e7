// Chart types, subgroup states and the control-chart factors.
#include "engine/SPCTypes.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>
#include <functional>

TEST(ChartTypes, NamesCodesAndFamilies)
{
    const struct { int value; const char* name; bool variable; } cases[] = {
        {0, "", false},
        {1, "XBar-R 控制图", true},
        {2, "XBar-S 控制图", true},
        {3, "", true},
        {4, "直方图", true},
        {5, "X-Rm 控制图", true},
        {6, "P 控制图", false},
        {7, "nP 控制图", false},
        {8, "U 控制图", false},
        {9, "C 控制图", false},
        {10, "柏拉图", false},
        {11, "", false},
        {255, "", false},
    };
    for (const auto& c : cases) {
        const auto type = static_cast<TChartType>(c.value);
        EXPECT_EQ(ChartTypeName(type), QString::fromUtf8(c.name)) << c.value;
        EXPECT_EQ(IsVariableChartType(type), c.variable) << c.value;
        if (c.value >= 1 && c.value <= 10) {
            EXPECT_EQ(ChartTypeCode(type), c.value);
            if (c.name[0]) EXPECT_EQ(ChartTypeFromName(QString::fromUtf8(c.name)), type);
        } else {
            EXPECT_EQ(MessageOf([&] { ChartTypeCode(type); }), QStringLiteral("控制图类型未指定"));
        }
    }
    try {
        ChartTypeCode(ctNone);
        FAIL();
    } catch (const ESPCDataError&) {
    }
}

TEST(ChartTypes, FromNameComparesWholeTextExactly)
{
    for (const char* text : {"XBar-R控制图", "xbar-r 控制图", "XBar-R 控制图 ", ""}) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(MessageOf([&] { ChartTypeFromName(t); }), QStringLiteral("'%1'不是一个有效的标题").arg(t));
    }
}

TEST(ChartTypes, FillChartTypesBySizeAndKind)
{
    const struct { TItemKind kind; int size; QStringList expected; } cases[] = {
        {ikVariable, 1, {"X-Rm 控制图", "直方图"}},
        {ikVariable, 2, {"XBar-R 控制图", "XBar-S 控制图", "直方图"}},
        {ikVariable, 25, {"XBar-R 控制图", "XBar-S 控制图", "直方图"}},
        {ikVariable, 26, {"XBar-S 控制图", "直方图"}},
        {ikVariable, 0, {}},
        {ikVariable, NullValue, {}},
        {ikAttribute, NullValue, {"P 控制图", "nP 控制图", "U 控制图", "C 控制图", "柏拉图"}},
    };
    for (const auto& c : cases) {
        QStringList list{"stale"};
        FillChartTypes(c.kind, c.size, list);
        EXPECT_EQ(list, c.expected) << c.size;
    }
}

TEST(SubgroupStates, NamesColoursAndCodes)
{
    const struct { int state; const char* name; QRgb colour; } cases[] = {
        {0, "未检测", 0xA0A0A4}, {1, "正常", 0xFFFFFF}, {2, "有异常", 0x000000},
        {3, "异常已处理", 0x5FD8F1}, {4, "", 0x00FFFF}, {200, "", 0x00FFFF},
    };
    for (const auto& c : cases) {
        const auto s = static_cast<TSubgroupState>(c.state);
        EXPECT_EQ(StateName(s), QString::fromUtf8(c.name));
        EXPECT_EQ(StateColor(s).rgb() & 0xFFFFFF, c.colour) << c.state;
    }
    for (int code = 1; code <= 4; ++code) EXPECT_EQ(StateToCode(StateFromCode(code)), code);
    for (int code : {0, 5, -1, NullValue}) EXPECT_EQ(StateFromCode(code), ssUnchecked) << code;
}

namespace {
using TFactor = std::function<double(int)>;
struct TFactorColumn {
    const char* name;
    TFactor f;
    int lastTabled;
};
const TFactorColumn kColumns[] = {
    {"A2", CoefA2, 25}, {"A3", CoefA3, 25}, {"c4", CoefC4, 25}, {"B3", CoefB3, 25}, {"B4", CoefB4, 25},
    {"d2", CoefD2, 25}, {"D3", CoefD3, 25}, {"D4", CoefD4, 25}, {"E2", CoefE2, 20},
};
} // namespace

TEST(Factors, TabledValuesAsPrinted)
{
    // Rows of the table at its ends and where it is easy to misprint.
    const struct { int n; double a2, a3, c4, b3, b4, d2, d3, d4, e2; } rows[] = {
        {2, 1.880, 2.659, 0.7979, 0, 3.267, 1.128, 0, 3.267, 2.660},
        {5, 0.577, 1.427, 0.9400, 0, 2.089, 2.326, 0, 2.114, 1.290},
        {6, 0.483, 1.287, 0.9515, 0.030, 1.970, 2.534, 0, 2.004, 1.184},
        {7, 0.419, 1.182, 0.9594, 0.118, 1.882, 2.704, 0.076, 1.924, 1.109},
        {14, 0.235, 0.817, 0.9810, 0.406, 1.594, 3.407, 0.328, 1.672, 0.880},
        {18, 0.194, 0.718, 0.9854, 0.482, 1.518, 3.640, 0.391, 1.608, 0.824},
        {20, 0.180, 0.680, 0.9869, 0.510, 1.490, 3.735, 0.415, 1.585, 0.803},
        {25, 0.153, 0.606, 0.9896, 0.565, 1.435, 3.931, 0.459, 1.541, NullValue},
    };
    for (const auto& r : rows) {
        const double expected[] = {r.a2, r.a3, r.c4, r.b3, r.b4, r.d2, r.d3, r.d4, r.e2};
        for (int c = 0; c < 9; ++c) {
            if (expected[c] == NullValue) continue;
            EXPECT_EQ(kColumns[c].f(r.n), expected[c]) << kColumns[c].name << "(" << r.n << ")";
        }
    }
}

TEST(Factors, E2IsThreeOverD2RoundedExceptAt14)
{
    for (int n = 2; n <= 20; ++n) {
        const double rounded = std::round(3.0 / CoefD2(n) * 1000) / 1000;
        if (n == 14)
            EXPECT_EQ(CoefE2(n), 0.880);
        else
            EXPECT_NEAR(CoefE2(n), rounded, 1e-12) << n;
    }
}

TEST(Factors, BoundariesRaiseNoFactor)
{
    // (factor, n) pairs just outside each column's range.
    for (const auto& col : kColumns) {
        for (int n : {1, 0, -1, NullValue})
            EXPECT_EQ(MessageOf([&] { col.f(n); }), QStringLiteral("无对应的系数")) << col.name << n;
        EXPECT_NO_THROW(col.f(2)) << col.name;
        EXPECT_NO_THROW(col.f(col.lastTabled)) << col.name;
    }
    for (auto f : {CoefA2, CoefD2, CoefD3, CoefD4})
        EXPECT_EQ(MessageOf([&] { f(26); }), QStringLiteral("无对应的系数"));
    EXPECT_EQ(MessageOf([] { CoefE2(21); }), QStringLiteral("无对应的系数"));
    try {
        CoefA2(26);
        FAIL();
    } catch (const ESPCDataError&) {
    }
}

TEST(Factors, FormulasBeyondTheTable)
{
    EXPECT_DOUBLE_EQ(CoefC4(26), 100.0 / 101.0);
    const struct { int n; } sizes[] = {{26}, {30}, {50}, {100}};
    for (const auto& s : sizes) {
        const double n = s.n;
        const double c4 = 4 * (n - 1) / (4 * n - 3);
        EXPECT_DOUBLE_EQ(CoefC4(s.n), c4) << s.n;
        EXPECT_DOUBLE_EQ(CoefA3(s.n), 3 / (std::sqrt(n) * c4)) << s.n;
        EXPECT_DOUBLE_EQ(CoefB3(s.n), 1 - 3 / (std::sqrt(2 * (n - 1)) * c4)) << s.n;
        EXPECT_DOUBLE_EQ(CoefB4(s.n), 1 + 3 / (std::sqrt(2 * (n - 1)) * c4)) << s.n;
    }
    // The formulas continue the table smoothly.
    EXPECT_NEAR(CoefA3(26), 0.594, 0.002);
    EXPECT_NEAR(CoefB3(26), 0.572, 0.002);
    EXPECT_NEAR(CoefB4(26), 1.428, 0.002);
}
