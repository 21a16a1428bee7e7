// Key counters and the yardstick scan that later loads are compared with.
#include "BenchSupport.h"
#include "foundation/CompanyDM.h"
#include "foundation/RecordUtils.h"
#include "foundation/Schema.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>


static void BM_GetModulePrimaryKey(benchmark::State& state)
{
    TBenchDatabase db(0);
    for (auto _ : state) benchmark::DoNotOptimize(GetModulePrimaryKey(42));
}
BENCHMARK(BM_GetModulePrimaryKey)->Unit(benchmark::kMicrosecond);

// Each draw inside a caller's transaction (as a collection save draws its numbers).
static void BM_GetModulePrimaryKeyInTransaction(benchmark::State& state)
{
    TBenchDatabase db(0);
    TTransactionGuard guard(*db.dm);
    for (auto _ : state) benchmark::DoNotOptimize(GetModulePrimaryKey(42));
    guard.Commit();
}
BENCHMARK(BM_GetModulePrimaryKeyInTransaction)->Unit(benchmark::kMicrosecond);

// A bare scan of 500,000 D_VDD rows (100,000 subgroups of 5), reading every column.
static void BM_ScanVDD(benchmark::State& state)
{
    TBenchDatabase db(100000);
    for (auto _ : state) {
        QSqlQuery q = db.dm->Exec("select CID, SN, SSN, VResult, WDate from D_VDD where CID = 1 order by SN, SSN");
        double sum = 0;
        int rows = 0;
        while (q.next()) {
            sum += q.value(3).toDouble();
            rows += q.value(1).toInt() > 0;
            benchmark::DoNotOptimize(q.value(4));
        }
        benchmark::DoNotOptimize(sum);
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_ScanVDD)->Unit(benchmark::kMillisecond)->Iterations(3);

SPC_BENCHMARK_MAIN(QCoreApplication)
