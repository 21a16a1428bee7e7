#pragma once
// Shared by the benchmarks: a database of their own with variable subgroups of one item, and the
// entry point with the Qt application the SQL drivers need. The database is a file, or — when
// QIHENG_SPC_BENCH_SERVER names a PostgreSQL server database ("postgresql://user@host:port/name")
// — a schema of its own there, so that the same benchmarks measure both engines.
#include "foundation/CompanyDM.h"
#include "foundation/Schema.h"
#include "foundation/Types.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <memory>

struct TBenchDatabase {
    QTemporaryDir dir;
    std::unique_ptr<TCompanyDM> dm;
    // subgroups × 5 rows of D_VDD for item 1; the connection is the current one.
    explicit TBenchDatabase(int subgroups)
    {
        dm = std::make_unique<TCompanyDM>();
        const QString server = qEnvironmentVariable("QIHENG_SPC_BENCH_SERVER");
        if (server.isEmpty()) {
            const QString path = dir.path() + "/MainData.mdb";
            InitDatabaseFile(path, false);
            dm->Params.DBQ = path;
            dm->Connect();
        } else {
            schema = QStringLiteral("b_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
            dm->Params.DBQ = server;
            dm->Connect();
            dm->Exec(QStringLiteral("create schema %1").arg(schema));
            QUrl url(server);
            url.setQuery(QStringLiteral("search_path=") + schema);
            dm->Params.DBQ = url.toString();
            dm->Connect();
            CreateSchema(*dm);
            WriteDeliveredContent(*dm);
        }
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
    ~TBenchDatabase()
    {
        TCompanyDM::SetCurrent(nullptr);
        if (schema.isEmpty()) return;
        dm->Params.DBQ = qEnvironmentVariable("QIHENG_SPC_BENCH_SERVER");
        dm->Connect();
        dm->Exec(QStringLiteral("drop schema %1 cascade").arg(schema));
    }
    QString schema;  // on a server: the benchmark's own
};

// main() with a core application (APP) around Google Benchmark's runner.
#define SPC_BENCHMARK_MAIN(APP)                        \
    int main(int argc, char** argv)                    \
    {                                                  \
        PinLocalTimeZone();                            \
        APP app(argc, argv);                           \
        benchmark::Initialize(&argc, argv);            \
        benchmark::RunSpecifiedBenchmarks();           \
        benchmark::Shutdown();                         \
        return 0;                                      \
    }
