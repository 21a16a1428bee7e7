// Judging a long X-bar/R chart: 1,000,000 points against eight rules, one per pattern code 1, 3,
// 4, 5, 6, 7, 8 and 10, with the usual parameters (budget 60 ms). The violations are written to
// the exception query of an analysis window, as in use. An in-control process gives these rules
// some 23,000 violations with 120,000 exception rows. The other benchmarks append as many rows
// alone, which shows the share of the data set in the figure: handed over in one step as the
// judge does, and field by field for comparison.
#include "rules/ChartJudge.h"

#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/Schema.h"
#include "foundation/ZCDb.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include <memory>
#include <random>

namespace {
constexpr int kPoints = 1000000;
constexpr int kSize = 5;
const char* const kRules[] = {"MT1,6", "MT3,6", "MT4,9", "MR5,15,15", "MR6,5,4", "MR7,3,2", "MR8,1,1", "MT10,14"};

// Subgroups as the sample provider loads them (stored mean and range), the same on every run.
std::unique_ptr<TVariableDataList> MakeList()
{
    auto list = std::make_unique<TVariableDataList>();
    list->Info.SampleSize = kSize;
    list->Info.Step = 1;
    list->Updating = true;
    std::mt19937 gen(7);
    std::normal_distribution<double> dist(74.0, 0.01);
    for (int sn = 1; sn <= kPoints; ++sn) {
        double lo = 1e9, hi = -1e9, sum = 0;
        for (int j = 0; j < kSize; ++j) {
            const double x = std::round(dist(gen) * 1000) / 1000;
            sum += x;
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        TVariableData& d = list->NewData();
        d.SN = sn;
        d.SetMean(sum / kSize);
        d.SetR(hi - lo);
    }
    list->Updating = false;
    return list;
}

// A database of its own with the exception query of an analysis window on it.
struct TExceptionQuery {
    QTemporaryDir Dir;
    TCompanyDM DM;
    TZCQuery Query;
    TExceptionQuery()
    {
        const QString path = Dir.path() + QStringLiteral("/MainData.mdb");
        InitDatabaseFile(path, false);
        DM.Params.DBQ = path;
        DM.Connect();
        TCompanyDM::SetCurrent(&DM);
        SetupExceptionQuery(Query);
    }
    ~TExceptionQuery()
    {
        Query.Close();
        TCompanyDM::SetCurrent(nullptr);
    }
};
} // namespace

static void BM_JudgeXBarR_1M_8Rules(benchmark::State& state)
{
    const auto list = MakeList();
    TVariableChartData data;
    data.SetDataList(list.get());
    data.SetChartType(ctXBarR);
    data.CalcLimits();
    TMemTable ruleRows;
    DefineJudgeRuleTable(ruleRows);
    for (const char* rule : kRules) AppendJudgeRuleRow(ruleRows, ParseJudgeExpression(QString::fromLatin1(rule)));
    TExceptionQuery exceptions;

    TChartJudge judge;
    judge.SetVariableData(&data);
    judge.ExceptionData = &exceptions.Query;
    for (auto _ : state) {
        state.PauseTiming();
        judge.LoadRules(ruleRows);
        ReopenExceptionQuery(exceptions.Query);
        judge.JudgeSN = 0;
        state.ResumeTiming();
        judge.JudgeChart();
    }
    state.counters["violations"] = judge.JudgeSN;
    state.counters["rows"] = exceptions.Query.RecordCount();
}
BENCHMARK(BM_JudgeXBarR_1M_8Rules)->Unit(benchmark::kMillisecond)->Iterations(5);

// The rows alone, as the judge hands them over: 5 rows a violation.
static void BM_HandOverExceptionRows(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    TExceptionQuery exceptions;
    TCharacterInfo info;
    info.CCode = QStringLiteral("V-01");
    info.CName = QStringLiteral("外径");
    for (auto _ : state) {
        state.PauseTiming();
        ReopenExceptionQuery(exceptions.Query);
        state.ResumeTiming();
        auto rows = std::make_shared<TExceptionRows>(exceptions.Query, 1, false, &info, QDateTime::currentDateTime());
        rows->Reserve(count / 5 + 1, count);
        const int rule = rows->AddRule(QStringLiteral("MR6,5,4"),
                                       QStringLiteral("XBar-R 控制图中主控制图5点中有4点在一倍和二倍的标准差内"));
        for (int r = 0; r < count; ++r) {
            if (r % 5 == 0) rows->AddViolation(r / 5 + 1, rule);
            rows->AddRow(r + 1);
        }
        exceptions.Query.AppendRecords(std::move(rows));
    }
    state.counters["rows"] = exceptions.Query.RecordCount();
}
BENCHMARK(BM_HandOverExceptionRows)->Arg(120000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same rows appended field by field, the way the judge wrote them once.
static void BM_AppendExceptionRows(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    TExceptionQuery exceptions;
    TZCQuery& q = exceptions.Query;
    const QVariant cid = 1, ctype = 1, code = QStringLiteral("V-01"), name = QStringLiteral("外径"),
                   expression = QStringLiteral("MR6,5,4"),
                   describe = QStringLiteral("XBar-R 控制图中主控制图5点中有4点在一倍和二倍的标准差内"),
                   now = QDateTime::currentDateTime();
    for (auto _ : state) {
        state.PauseTiming();
        ReopenExceptionQuery(q);
        state.ResumeTiming();
        q.DisableControls();
        TField* const fields[] = {q.FieldByName("CID"),     q.FieldByName("SN"),         q.FieldByName("CType"),
                                  q.FieldByName("CCode"),   q.FieldByName("CName"),      q.FieldByName("JudgeSN"),
                                  q.FieldByName("Expression"), q.FieldByName("Describe"), q.FieldByName("JudgeDate")};
        for (int r = 0; r < count; ++r) {
            q.Append();
            fields[0]->SetValue(cid);
            fields[1]->SetValue(r + 1);
            fields[2]->SetValue(ctype);
            fields[3]->SetValue(code);
            fields[4]->SetValue(name);
            fields[5]->SetValue(r / 5 + 1);
            fields[6]->SetValue(expression);
            fields[7]->SetValue(describe);
            fields[8]->SetValue(now);
            q.Post();
        }
        q.EnableControls();
    }
}
BENCHMARK(BM_AppendExceptionRows)->Arg(120000)->Unit(benchmark::kMillisecond)->Iterations(5);

SPC_BENCHMARK_MAIN(QCoreApplication)
