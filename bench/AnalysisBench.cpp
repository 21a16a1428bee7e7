// The analysis windows' load: the selection of a task into m_CTemp and the two ordered passes into
// the data list, over 100,000 subgroups of 5 values of one item among ten, against a bare scan of
// the same rows.
#include "BenchSupport.h"
#include "analysis/BaseCondition.h"
#include "analysis/SampleProvider.h"
#include "engine/VariableData.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QElapsedTimer>
#include <algorithm>
#include <memory>

namespace {
constexpr int kItem = 1;
constexpr int kSubgroups = 100000;
constexpr int kOtherSubgroups = 10000;  // for each of the other nine items

// The database, filled once for every benchmark: subgroups written in time order, the ten items'
// subgroups interleaved as a collection over months writes them.
struct TAnalysisData {
    TBenchDatabase db{0};
    int TaskID = 0;
    int TagTaskID = 0;  // the same item, subgroups of two of the three shifts

    TAnalysisData()
    {
        TCompanyDM& dm = *db.dm;
        TTransactionGuard guard(dm);
        QSqlQuery item = dm.Prepare("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step) values (:CID, :Code, :Name, 5, 1)");
        for (int cid = 1; cid <= 10; ++cid) {
            BindParams(item, {{"CID", cid}, {"Code", QStringLiteral("V%1").arg(cid, 3, 10, QLatin1Char('0'))},
                              {"Name", QStringLiteral("特性%1").arg(cid)}});
            dm.ExecPrepared(item, item.lastQuery());
        }
        QSqlQuery master = dm.Prepare("insert into D_VDM (CID, SN, VCount, VSum, VAvg, R, S, State, WDate) "
                                      "values (:CID, :SN, 5, :Sum, :Avg, :R, :S, 1, :W)");
        QSqlQuery detail = dm.Prepare("insert into D_VDD (CID, SN, SSN, VResult, WDate) values (:CID, :SN, :SSN, :V, :W)");
        QSqlQuery tag = dm.Prepare("insert into D_Tag (CID, SN, TagID, TagValueID) values (:CID, :SN, :T, :V)");
        const QDateTime t0(QDate(2025, 1, 1), QTime(8, 0));
        int sns[11] = {};
        auto write = [&](int cid, const QDateTime& w) {
            const int sn = ++sns[cid];
            double sum = 0, lo = 1e9, hi = -1e9;
            for (int ssn = 1; ssn <= 5; ++ssn) {
                const double v = 74.0 + (sn * 7 + ssn * 3) % 13 * 0.001;
                sum += v;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
                BindParams(detail, {{"CID", cid}, {"SN", sn}, {"SSN", ssn}, {"V", v}, {"W", w}});
                dm.ExecPrepared(detail, detail.lastQuery());
            }
            BindParams(master, {{"CID", cid}, {"SN", sn}, {"Sum", sum}, {"Avg", sum / 5}, {"R", hi - lo}, {"S", 0.001}, {"W", w}});
            dm.ExecPrepared(master, master.lastQuery());
            // Shift (tag 1) and machine (tag 2) of every subgroup.
            for (const auto& [t, v] : {std::pair{1, 1 + sn % 3}, std::pair{2, 1 + (sn / 7) % 2}}) {
                BindParams(tag, {{"CID", cid}, {"SN", sn}, {"T", t}, {"V", v}});
                dm.ExecPrepared(tag, tag.lastQuery());
            }
        };
        for (int k = 0; k < kSubgroups; ++k) {
            const QDateTime w = t0.addSecs(k * 120LL);
            write(kItem, w);
            if (k % 10 == 0) write(2 + (k / 10) % 9, w.addSecs(30));
        }
        guard.Commit();

        // The condition as OK leaves it: item 1 over the whole history.
        TaskID = GetNewTaskID();
        dm.Exec("insert into m_C (TaskID, CID) values (:T, :C)", {{"T", TaskID}, {"C", kItem}});
        dm.Exec("insert into m_Date (TaskID, SN, StartDate, EndDate) values (:T, 1, :F, :E)",
                {{"T", TaskID}, {"F", QDateTime(QDate(2024, 12, 1), QTime(0, 0))}, {"E", QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))}});
        TagTaskID = GetNewTaskID();
        dm.Exec("insert into m_C (TaskID, CID) select :T, CID from m_C where TaskID = :Base", {{"T", TagTaskID}, {"Base", TaskID}});
        dm.Exec("insert into m_Date (TaskID, SN, StartDate, EndDate) select :T, SN, StartDate, EndDate from m_Date where TaskID = :Base",
                {{"T", TagTaskID}, {"Base", TaskID}});
        for (int v : {1, 2})
            dm.Exec("insert into m_Tag (TaskID, TagID, TagValueID, Mandatory) values (:T, 1, :V, 1)", {{"T", TagTaskID}, {"V", v}});
    }
};

TAnalysisData& Data()
{
    static TAnalysisData data;
    return data;
}
} // namespace

// Selection into m_CTemp and the load into the data list, as an analysis window runs them.
static void BM_SelectAndLoad100k(benchmark::State& state)
{
    TAnalysisData& data = Data();
    TSampleProvider provider;
    TVariableDataList list;
    TSampleLoadOptions options;
    options.CID = kItem;
    options.Progress = [](int, int) { return true; };
    for (auto _ : state) {
        const TSampleLoadResult result = provider.LoadVariableSamples(data.TaskID, {}, list, {}, options);
        if (result != TSampleLoadResult::Loaded || list.Count() != kSubgroups) state.SkipWithError("wrong load");
    }
    state.counters["subgroups"] = list.Count();
}
BENCHMARK(BM_SelectAndLoad100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// A mandatory tag with two of its three values, the subgroups' tags read as well (as the editing
// windows load).
static void BM_SelectAndLoadByTag(benchmark::State& state)
{
    TAnalysisData& data = Data();
    TSampleProvider provider;
    TVariableDataList list;
    std::vector<TSubgroupTag> tags;
    TSampleLoadOptions options;
    options.CID = kItem;
    options.Tags = &tags;
    for (auto _ : state)
        if (provider.LoadVariableSamples(data.TagTaskID, {"1"}, list, {}, options) != TSampleLoadResult::Loaded)
            state.SkipWithError("nothing loaded");
    state.counters["subgroups"] = list.Count();
    state.counters["tags"] = static_cast<double>(tags.size());
}
BENCHMARK(BM_SelectAndLoadByTag)->Unit(benchmark::kMillisecond)->Iterations(5);

// The selection step alone.
static void BM_Select100k(benchmark::State& state)
{
    TAnalysisData& data = Data();
    TSampleProvider provider;
    int listed = 0;
    for (auto _ : state) listed = provider.FillVariableTask(data.TaskID, {}, {});
    state.counters["listed"] = listed;
}
BENCHMARK(BM_Select100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// A bare scan of the same rows, the subgroups and their values, reading every column.
static void BM_BareScanSameRows(benchmark::State& state)
{
    TAnalysisData& data = Data();
    for (auto _ : state) {
        int rows = 0;
        double sum = 0;
        for (const char* sql : {"select CID, SN, VCount, VSum, VAvg, R, S, State, TagTemplateID, UID, DID, WDate, "
                                "ExceptionNote from D_VDM where CID = 1 order by SN",
                                "select CID, SN, SSN, VResult, WDate from D_VDD where CID = 1 order by SN, SSN"}) {
            QSqlQuery q = data.db.dm->Exec(sql);
            const int n = q.record().count();
            while (q.next()) {
                for (int i = 0; i < n; ++i) benchmark::DoNotOptimize(q.value(i));
                sum += q.value(1).toDouble();
                ++rows;
            }
        }
        benchmark::DoNotOptimize(sum);
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_BareScanSameRows)->Unit(benchmark::kMillisecond)->Iterations(5);

// The values alone (the yardstick of the foundation's benchmark).
static void BM_BareScanValues(benchmark::State& state)
{
    TAnalysisData& data = Data();
    for (auto _ : state) {
        QSqlQuery q = data.db.dm->Exec("select CID, SN, SSN, VResult, WDate from D_VDD where CID = 1 order by SN, SSN");
        int rows = 0;
        double sum = 0;
        while (q.next()) {
            sum += q.value(3).toDouble();
            rows += q.value(1).toInt() > 0;
            benchmark::DoNotOptimize(q.value(4));
        }
        benchmark::DoNotOptimize(sum);
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_BareScanValues)->Unit(benchmark::kMillisecond)->Iterations(5);


// The same load in its phases, marked by its first and last progress reports: the selection; the
// two reads; the commit and the list filled.
static void BM_SelectAndLoad100kPhases(benchmark::State& state)
{
    TAnalysisData& data = Data();
    TSampleProvider provider;
    TVariableDataList list;
    TSampleLoadOptions options;
    options.CID = kItem;
    QElapsedTimer clock;
    qint64 first = 0, last = 0;
    options.Progress = [&](int done, int total) {
        if (done == 0) first = clock.nsecsElapsed();
        if (done == total) last = clock.nsecsElapsed();
        return true;
    };
    double select = 0, read = 0, fill = 0;
    for (auto _ : state) {
        clock.start();
        provider.LoadVariableSamples(data.TaskID, {}, list, {}, options);
        const qint64 end = clock.nsecsElapsed();
        select += first / 1e6;
        read += (last - first) / 1e6;
        fill += (end - last) / 1e6;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["select_ms"] = select / n;
    state.counters["read_ms"] = read / n;
    state.counters["commit_fill_ms"] = fill / n;
}
BENCHMARK(BM_SelectAndLoad100kPhases)->Unit(benchmark::kMillisecond)->Iterations(5);

SPC_BENCHMARK_MAIN(QCoreApplication)
