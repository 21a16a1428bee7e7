#pragma once
// The chart judge: trend and run rules walked over the plotted points of one chart, the exception
// rows of the violations found, and storing them with the subgroups' states.
#include "engine/AttributeData.h"
#include "engine/ChartData.h"
#include "engine/VariableData.h"
#include "foundation/DataSet.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <vector>

class TChartJudge;
class TCompanyDM;
class TZCQuery;

// The text a generated description uses for a pattern code 1 to 10; empty for anything else.
QString PatternText(int code);

// Whether a rule with these numbers can be judged. Run rules: 1 ≤ M ≤ N and a code from 5 to 10
// (10 is accepted and matches nothing). Trend rules: N ≥ 1 and a code of 1, 2, 3, 4 or 10.
bool JudgeRuleDefinitionValid(bool isTrend, int area, int exceptionCount, int patternCode);

// One rule loaded for one chart; created by TChartJudge::LoadRules and owned by its rule list.
class TJudgeRule {
public:
    TJudgeRule() = default;
    TJudgeRule(const TJudgeRule&) = delete;
    TJudgeRule& operator=(const TJudgeRule&) = delete;

    TChartJudge* Judge = nullptr;
    // 0: main series of variable data, 1: secondary series of variable data, 2: attribute data.
    std::uint8_t Target = 0;
    bool IsTrend = true;
    int Area = 0;            // N
    int ExceptionCount = 0;  // M; equals N for a trend rule
    int PatternCode = 0;     // 1 to 10
    TIntList Window;         // the point indexes looked at, oldest first
    TIntList Hits;           // those of Window that satisfy the rule, oldest first
    QString Expression;      // "MT1,6", "SR7,3,2"
    QString Describe;        // "XBar-R 控制图中主控制图连续6点上升"

    TVariableChartData* VariableData() const { return FVariableData; }
    TAttributeChartData* AttributeData() const { return FAttributeData; }
    // Data of the kind Target does not read: ESPCDataError "类型不匹配！".
    void SetVariableData(TVariableChartData* data);
    void SetAttributeData(TAttributeChartData* data);

    // Point i, read from the rule's series; a point without a value is passed over. Points come
    // in order, one call per point. (JudgeChart walks a whole series at once, with the same
    // outcome.)
    void CheckPoint(int i);
    void AddHit(int i);
    void WriteViolation();
    // ESPCDataError "检测规则定义错误！".
    void ValidateRule() const;
    void BuildExpression();
    void BuildDescribe();

private:
    double Value(int j) const;
    double CL(int j) const;
    double UCL(int j) const;
    double LCL(int j) const;
    // The item's specification limits; NullValue for attribute data.
    void SpecificationLimits(double& usl, double& lsl) const;
    void CheckTrend(int i, double current);
    bool InZone(int i, double v) const;
    // The whole pass over the series, with the same outcome as CheckPoint for every point in
    // order, in loops made for each pattern (the judging time goes here). It reads the `count`
    // values of the points that have one; at[k] is the point of value k (at null: point k).
    // `ucl` and `lcl` hold the limits per value for attribute data, else they are null. `zones`
    // is room the run rules reuse.
    void Walk(const double* values, const double* ucl, const double* lcl, const int* at, int count,
              std::vector<unsigned char>& zones);
    template <int Code>
    void WalkTrend(const double* values, const int* at, int count);
    template <int Code>
    void WalkRun(const double* values, const double* ucl, const double* lcl, const int* at, int count,
                 std::vector<unsigned char>& zones);

    TVariableChartData* FVariableData = nullptr;
    TAttributeChartData* FAttributeData = nullptr;
    friend class TChartJudge;
};

// The rules of one judge in load order; owns them.
class TJudgeRuleList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TJudgeRule& Item(int i) const;
    TJudgeRule& Add();
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TJudgeRule>> FItems;
};

// The judge of one chart. Each analysis window owns one for its whole life.
class TChartJudge {
public:
    TChartJudge() = default;
    TChartJudge(const TChartJudge&) = delete;
    TChartJudge& operator=(const TChartJudge&) = delete;

    TJudgeRuleList Rules;
    // The data set the exception rows are appended to (not owned): the fields CID, SN, CType,
    // CCode, CName, JudgeSN, Expression, Describe and JudgeDate, open. See SetupExceptionQuery.
    TDataSet* ExceptionData = nullptr;
    // The last serial number handed out; NullValue until the caller sets it.
    int JudgeSN = NullValue;
    bool Saved = false;

    TVariableChartData* VariableData() const { return FVariableData; }
    TAttributeChartData* AttributeData() const { return FAttributeData; }
    // Each sets one kind and clears the other. Other data of the same kind rebinds the loaded
    // rules; data of the other kind (or none) drops them, as they cannot read it.
    void SetVariableData(TVariableChartData* data);
    void SetAttributeData(TAttributeChartData* data);

    // Replaces the rules with those of the data set's rows (columns TargetType, JudgeType,
    // Area_Trend, ExceptionType_Trend, Area_Run, Exception_Run, ExceptionType_Run); the data set's
    // cursor is not moved. ESPCDataError "检测数据未指定" without chart data, "检测规则定义错误！"
    // for a row that cannot be judged (no rule stays loaded then).
    void LoadRules(const TDataSet& dataSet);
    // Every point against every rule. The violations are numbered in the order they fire: points
    // in order, and at the same point the rules in list order.
    void JudgeChart();
    // Stores the result in one transaction: the judged subgroups (the task's rows of m_CTemp for
    // this item) lose their earlier exceptions and become normal, the new rows are written and
    // their subgroups become abnormal. ESPCDataError "规则检测结果保存失败！" after a roll-back.
    void SaveResult(TCompanyDM& database, int taskID, int baseJudgeSN);

    // The number of plotted points of the chart data set.
    int PointCount() const;

private:
    friend class TJudgeRule;
    // A violation found in a rule's pass: its points are FFoundPoints[First … First + Count − 1].
    struct TFound {
        int Point;  // where it fired
        const TJudgeRule* Rule;
        int First;
        int Count;
    };
    // The rule's current Hits as a violation: during JudgeChart kept to be numbered and written
    // after the passes, otherwise numbered and written at once.
    void AddViolation(const TJudgeRule& rule);
    // Numbers the violations kept, in their order, hands their rows to ExceptionData in one step
    // and makes their points abnormal.
    void WriteFound();
    int SNOf(int i) const;
    void SetPointState(int i, TSubgroupState state);
    void RebindRules();

    TVariableChartData* FVariableData = nullptr;
    TAttributeChartData* FAttributeData = nullptr;
    bool FInPass = false;
    std::vector<TFound> FFound;
    std::vector<int> FFoundPoints;
    std::vector<int> FSN;  // of every point, while JudgeChart writes its rows
};

// The exception rows of one judging as the judge hands them to its data set in one step, held
// compactly: a row is its SN and its violation, a violation its serial number and rule; the rest
// is the item's and the same in every row.
class TExceptionRows final : public TRecordSource {
public:
    // The rows fill the fields CID, SN, CType, CCode, CName, JudgeSN, Expression, Describe and
    // JudgeDate of `target` (ESystemError for one it lacks), the others stay NULL. CType is 2 for
    // attribute data, else 1; without `info` the code and name are empty.
    TExceptionRows(const TDataSet& target, int cid, bool attribute, const TCharacterInfo* info,
                   const QDateTime& judgeDate);
    void Reserve(int violations, int rows);
    // A rule's texts; gives the number AddViolation takes.
    int AddRule(const QString& expression, const QString& describe);
    // Starts a violation: the rows added next are its points.
    void AddViolation(int judgeSN, int rule);
    void AddRow(int sn);

    int Count() const override { return static_cast<int>(FRows.size()); }
    QVariant Value(int row, int fieldIndex) const override;

private:
    struct TRuleTexts {
        QVariant Expression;
        QVariant Describe;
    };
    struct TViolation {
        int JudgeSN;
        int Rule;
    };
    struct TRow {
        int SN;
        int Violation;
    };
    QVariant FCID, FCType, FCCode, FCName, FJudgeDate;
    std::vector<std::uint8_t> FColumns;  // per field of the target: which value it takes
    std::vector<TRuleTexts> FRules;
    std::vector<TViolation> FViolations;
    std::vector<TRow> FRows;
};

// The exception query of a judge: "select a.*,b.CCode,b.CName", "from D_Exception as a,
// L_VControlItem b", "where 1=0". The query is left closed.
void SetupExceptionQuery(TZCQuery& query);
// The same fields on a memory table, opened empty: for judging without a database.
void DefineExceptionTable(TMemTable& table);
// Opens the query empty, closing it first whatever its open count (pending rows are dropped).
void ReopenExceptionQuery(TZCQuery& query);
// The highest JudgeSN stored; 0 when there is none.
int GetLastJudgeSN(TCompanyDM& database);

// One rule as the rule table stores it: the seven columns the judge reads.
struct TJudgeRuleRow {
    int TargetType = 1;  // 1 main chart, 2 secondary chart
    int JudgeType = 1;   // 1 trend, 2 run
    int Area_Trend = NullValue;
    int ExceptionType_Trend = NullValue;
    int Area_Run = NullValue;
    int Exception_Run = NullValue;
    int ExceptionType_Run = NullValue;
};

// Reads a rule written as the judge writes its Expression: "MT1,6" (main chart, trend code 1 over
// 6 points), "SR7,3,2" (secondary chart, run code 7, 2 of 3 points). Only the form is checked;
// ESPCDataError "检测规则表达式“…”无法识别" otherwise.
TJudgeRuleRow ParseJudgeExpression(const QString& text);
// Defines the seven columns on a memory table and opens it empty, for rows given to LoadRules.
void DefineJudgeRuleTable(TMemTable& table);
void AppendJudgeRuleRow(TMemTable& table, const TJudgeRuleRow& row);
