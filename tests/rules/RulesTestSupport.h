#pragma once
// Helpers of the rule tests: charts built from plotted values with limits set by hand, rules
// given as expressions, and the violations read back from the exception rows.
#include "foundation/DataSet.h"
#include "rules/ChartJudge.h"
#include "TestHelpers.h"

#include <QStringList>
#include <ostream>
#include <vector>

struct TLimits {
    double CL = 0;
    double UCL = 0;
    double LCL = 0;
};

// One violation as the exception rows give it: the rule's expression and the SNs of its points.
struct TViolation {
    QString Expression;
    std::vector<int> SN;
    bool operator==(const TViolation&) const = default;
};

inline void PrintTo(const TViolation& v, std::ostream* os)
{
    *os << v.Expression.toStdString() << ":";
    for (int sn : v.SN) *os << ' ' << sn;
}

// Subgroups of one value each: the plotted means are the values; NullValue gives a subgroup
// without values (no mean).
inline std::vector<std::vector<double>> Singles(const std::vector<double>& values)
{
    std::vector<std::vector<double>> groups;
    for (double v : values) groups.push_back(v == NullValue ? std::vector<double>{} : std::vector<double>{v});
    return groups;
}

// A variable chart with subgroups SN 1, 2, … and limits set by hand.
class TVariableChart {
public:
    TVariableChart(TChartType type, const std::vector<std::vector<double>>& groups, TLimits main, TLimits sub = {})
    {
        List.Info.SampleSize = 5;
        List.Info.Step = 1;
        List.Info.USL = NullValue;
        List.Info.LSL = NullValue;
        List.Updating = true;
        for (const auto& g : groups) {
            TVariableData& d = List.NewData();
            d.SN = List.Count();
            for (double x : g) d.AddValue(x);
        }
        List.Updating = false;
        Data.SetDataList(&List);
        Data.SetChartType(type);
        Data.LimitInfo.MCL = main.CL;
        Data.LimitInfo.MUCL = main.UCL;
        Data.LimitInfo.MLCL = main.LCL;
        Data.LimitInfo.SCL = sub.CL;
        Data.LimitInfo.SUCL = sub.UCL;
        Data.LimitInfo.SLCL = sub.LCL;
    }
    TVariableDataList List;
    TVariableChartData Data;
};

// An attribute chart of (inspected, count) subgroups SN 1, 2, … with limits from the data.
class TAttributeChart {
public:
    TAttributeChart(TChartType type, const std::vector<std::pair<int, int>>& groups)
    {
        std::vector<TAttributeRow> rows;
        for (const auto& [inspected, count] : groups) rows.push_back({static_cast<int>(rows.size()) + 1, inspected, count});
        AddAttributeRows(List, rows, type == ctU || type == ctC);
        Data.SetDataList(&List);
        Data.SetChartType(type);
        Data.CalcLimits();
    }
    TAttributeDataList List;
    TAttributeChartData Data;
};

// Rules "EXPR;EXPR" as rows of a rule table.
inline void FillRules(TMemTable& table, const QString& expressions)
{
    DefineJudgeRuleTable(table);
    for (const QString& e : expressions.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        AppendJudgeRuleRow(table, ParseJudgeExpression(e));
}

// The violations of the exception rows in row order; rows of one violation are adjacent.
inline std::vector<TViolation> ViolationsOf(const TDataSet& rows, std::vector<int>* judgeSNs = nullptr)
{
    std::vector<TViolation> result;
    const int judgeSN = rows.FieldByName(QStringLiteral("JudgeSN"))->Index();
    const int sn = rows.FieldByName(QStringLiteral("SN"))->Index();
    const int expression = rows.FieldByName(QStringLiteral("Expression"))->Index();
    int last = NullValue;
    for (int r = 0; r < rows.RecordCount(); ++r) {
        const int j = VariantToInt(rows.RowValue(r, judgeSN));
        if (result.empty() || j != last) {
            result.push_back({rows.RowValue(r, expression).toString(), {}});
            if (judgeSNs) judgeSNs->push_back(j);
            last = j;
        }
        result.back().SN.push_back(VariantToInt(rows.RowValue(r, sn)));
    }
    return result;
}

// A judge over a chart with a memory table for the exception rows, starting at JudgeSN 0.
class TJudgeRun {
public:
    TJudgeRun() { DefineExceptionTable(Exceptions); }

    std::vector<TViolation> Run(const QString& expressions, int base = 0)
    {
        FillRules(RuleRows, expressions);
        Judge.LoadRules(RuleRows);
        Exceptions.EmptyDataSet();
        Judge.ExceptionData = &Exceptions;
        Judge.JudgeSN = base;
        Judge.JudgeChart();
        JudgeSNs.clear();
        return ViolationsOf(Exceptions, &JudgeSNs);
    }

    TChartJudge Judge;
    TMemTable RuleRows;
    TMemTable Exceptions;
    std::vector<int> JudgeSNs;
};

inline std::vector<int> Range(int first, int last)
{
    std::vector<int> r;
    for (int i = first; i <= last; ++i) r.push_back(i);
    return r;
}
