// Data sets: opening 100,000 rows of five columns and walking them, and writing pending rows.
#include "BenchSupport.h"
#include "foundation/CompanyDM.h"
#include "foundation/ParseSQL.h"
#include "foundation/Schema.h"
#include "foundation/ZCDb.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>


// Opens 100,000 rows of five columns into a data set and walks them with the cursor.
static void BM_OpenAndWalk100k(benchmark::State& state)
{
    TBenchDatabase db(20000);  // 100,000 rows
    for (auto _ : state) {
        TZCQuery q;
        q.SetSQL("select CID, SN, SSN, VResult, WDate from D_VDD where CID = :CID order by SN, SSN");
        q.SetParamValue("CID", 1);
        q.Open();
        TField* sn = q.FieldByName("SN");
        TField* value = q.FieldByName("VResult");
        TField* when = q.FieldByName("WDate");
        double sum = 0;
        int rows = 0;
        for (q.First(); !q.Eof(); q.Next()) {
            sum += value->AsFloat();
            rows += sn->AsInteger() > 0;
            benchmark::DoNotOptimize(when->Value());
        }
        benchmark::DoNotOptimize(sum);
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_OpenAndWalk100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same rows read by a bare statement, every column fetched, for comparison.
static void BM_BareScan100k(benchmark::State& state)
{
    TBenchDatabase db(20000);  // 100,000 rows
    for (auto _ : state) {
        QSqlQuery q = db.dm->Exec("select CID, SN, SSN, VResult, WDate from D_VDD where CID = :CID order by SN, SSN",
                                  {{"CID", 1}});
        double sum = 0;
        int rows = 0;
        while (q.next()) {
            // Every column is fetched, as the data set does.
            benchmark::DoNotOptimize(q.value(0));
            rows += q.value(1).toInt() > 0;
            benchmark::DoNotOptimize(q.value(2));
            sum += q.value(3).toDouble();
            benchmark::DoNotOptimize(q.value(4));
        }
        benchmark::DoNotOptimize(sum);
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_BareScan100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// Writes 5,000 pending value rows (1,000 subgroups of 5) in one transaction.
static void BM_ApplyInserts5000(benchmark::State& state)
{
    TBenchDatabase db(0);
    int cid = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TZCQuery q;
        q.SetSQL("select * from D_VDD where 1=0");
        q.Open();
        SetupUpdateSQL(q, {}, {"CID", "SN", "SSN"});
        ++cid;
        const QDateTime t0(QDate(2026, 1, 1), QTime(8, 0));
        for (int i = 0; i < 5000; ++i) q.AppendRecord({cid, i / 5 + 1, i % 5 + 1, 74.0 + i % 13 * 0.001, t0.addSecs(i)});
        state.ResumeTiming();
        TTransactionGuard guard(*db.dm);
        q.ApplyUpdates();
        guard.Commit();
    }
}
BENCHMARK(BM_ApplyInserts5000)->Unit(benchmark::kMillisecond)->Iterations(5);

SPC_BENCHMARK_MAIN(QCoreApplication)
