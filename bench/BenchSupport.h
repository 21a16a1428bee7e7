#pragma once
// Shared by the benchmarks: a database file of their own with variable subgroups of one item,
// and the entry point with the Qt application the SQL drivers need.
#include "foundation/CompanyDM.h"
#include "foundation/Schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

struct TBenchDatabase {
    QTemporaryDir dir;
    std::unique_ptr<TCompanyDM> dm;
    // subgroups × 5 rows of D_VDD for item 1; the connection is the current one.
    explicit TBenchDatabase(int subgroups)
    {
        const QString path = dir.path() + "/MainData.mdb";
        InitDatabaseFile(path, false);
        dm = std::make_unique<TCompanyDM>();
        dm->Params.DBQ = path;
        dm->Connect();
        TCompanyDM::SetCurrent(dm.get());
        if (subgroups == 0) return;
        TTransactionGuard guard(*dm);
        QSqlQuery q = dm->Prepare("insert into D_VDD (CID, SN, SSN, VResult, WDate) values (:CID, :SN, :SSN, :V, :W)");
        const QDateTime t0(QDate(2026, 1, 1), QTime(8, 0));
        for (int sn = 1; sn <= subgroups; ++sn)
            for (int ssn = 1; ssn <= 5; ++ssn) {
                BindParams(q, {{"CID", 1}, {"SN", sn}, {"SSN", ssn}, {"V", 74.0 + (sn * 7 + ssn) % 13 * 0.001},
                               {"W", t0.addSecs(sn * 60)}});
                q.exec();
            }
        guard.Commit();
    }
    ~TBenchDatabase() { TCompanyDM::SetCurrent(nullptr); }
};

// main() with a core application (APP) around Google Benchmark's runner.
#define SPC_BENCHMARK_MAIN(APP)                        \
    int main(int argc, char** argv)                    \
    {                                                  \
        APP app(argc, argv);                           \
        benchmark::Initialize(&argc, argv);            \
        benchmark::RunSpecifiedBenchmarks();           \
        benchmark::Shutdown();                         \
        return 0;                                      \
    }
