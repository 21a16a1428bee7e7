#pragma once
// The control-limit adjustment behind "控制限调整": the limit fields of a variable or an attribute
// chart, computing them from the data, their checks, applying them to the chart's limit record and
// storing them as the item's current limits. Works on the chart data's own record; the values at
// opening are kept so that a cancelled adjustment leaves the record as it was.
#include "engine/SPCTypes.h"

#include <QString>
#include <array>

class TAttributeChartData;
class TSPCChartData;
class TVariableChartData;

enum TLimitField : int { lfMUCL, lfMCL, lfMLCL, lfSUCL, lfSCL, lfSLCL, lfCL, lfUCL, lfLCL, LimitFieldCount };

class TLimitAdjust {
public:
    // The texts of the fields, indexed by TLimitField (hidden fields are not read).
    using TTexts = std::array<QString, LimitFieldCount>;

    // The six main and secondary limits.
    explicit TLimitAdjust(TVariableChartData& data);
    // The centre line, with the upper and lower limit for an nP chart only.
    explicit TLimitAdjust(TAttributeChartData& data);

    QString CName() const;
    QString ChartTypeName() const;
    bool IsShown(TLimitField field) const;
    double Value(TLimitField field) const;
    // What the fields show: "0.####", empty for NullValue.
    TTexts Texts() const;

    // "系统计算": the limits from the data, into the record.
    void CalcLimits();
    // The message of the first check the texts fail; empty when they can be taken.
    QString Check(const TTexts& texts) const;
    // OK: the checked texts into the record; false after showing the message.
    bool Apply(const TTexts& texts);
    // "保存": Apply, then the record as the item's new current limits, which a cancel keeps.
    bool Save(const TTexts& texts);
    // Cancel: the record as it was at opening (or at the last save).
    void Restore();
    // Whether a save has changed the limits since opening.
    bool Saved() const { return FSaved; }

private:
    TLimitAdjust(TSPCChartData& data, bool variable);
    double& Ref(TLimitField field) const;
    // The number a text stands for: a text that still shows the record's value keeps the record's
    // full precision. False when it is not a number.
    bool Read(TLimitField field, const QString& text, double& value) const;

    TSPCChartData& FData;
    bool FVariable;
    std::array<double, LimitFieldCount> FOpened{};
    bool FSaved = false;
};
