// Saving keyed subgroups: 1,000 subgroups of 5 values keyed through the variable collection's
// staging path (cell text, order rule, pending rows, data list), then written in one transaction.
// The save is what is timed; the keying is reported beside it.
#include "BenchSupport.h"

#include "collect/VCollect.h"
#include "foundation/RecordUtils.h"

#include <QElapsedTimer>
#include <chrono>

namespace {
void Items(TCompanyDM& dm)
{
    dm.Exec("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, nSigma) values (1, 'B01', '基准特性', 5, 1, 3)");
    dm.Exec("insert into L_Tag (TagID, TagCode, TagName) values (11, 'BC', '班次')");
    dm.Exec("insert into L_Tag (TagID, TagCode, TagName) values (12, 'JT', '机台')");
    dm.Exec("insert into L_TagValue (TagID, TagValueID, TagValue) values (11, 1, '早班')");
    dm.Exec("insert into L_TagValue (TagID, TagValueID, TagValue) values (12, 1, '1号机')");
    dm.Exec("insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName) values (21, 'SC', '生产')");
    dm.Exec("insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID, TagValueID) values (21, 1, 11, 1)");
    dm.Exec("insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID, TagValueID) values (21, 2, 12, 1)");
}

// Keys the subgroups as the grid hands them over: a cell's text, then Enter.
void Key(TVCollect& collect, int subgroups)
{
    for (int k = 0; k < subgroups; ++k)
        for (int p = 0; p < 5; ++p) {
            const int row = collect.CDSVData.CurrentRow();
            collect.SetCellText(row, QStringLiteral("Data"), QString::number(74.0 + ((k * 7 + p) % 13) * 0.001, 'f', 3));
            collect.EnterPressed();
        }
}
} // namespace

// Argument: tags per subgroup (0, or the template's 2).
static void BM_SaveKeyedSubgroups(benchmark::State& state)
{
    TBenchDatabase db(0);
    Items(*db.dm);
    const bool tags = state.range(0) > 0;
    double keyingMs = 0;
    for (auto _ : state) {
        db.dm->Exec("delete from D_VDM");
        db.dm->Exec("delete from D_VDD");
        db.dm->Exec("delete from D_Tag");
        TVCollect collect(db.dm.get());
        collect.SetControlItem(1, QStringLiteral("基准特性"));
        if (tags) {
            collect.Tags.SetTemplate(21);
            collect.Tags.ClearSubgroupTags();
            collect.Tags.ApplyTemplate();
        }
        QElapsedTimer keying;
        keying.start();
        Key(collect, 1000);
        keyingMs = keying.nsecsElapsed() / 1e6;
        const auto start = std::chrono::steady_clock::now();
        collect.Save();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (GetSQLValue("select count(*) from D_VDD").toInt() != 5000) state.SkipWithError("not every value was written");
        if (GetSQLValue("select count(*) from D_Tag").toInt() != (tags ? 2000 : 0)) state.SkipWithError("tags missing");
    }
    state.counters["keying_ms"] = keyingMs;
}
BENCHMARK(BM_SaveKeyedSubgroups)->Arg(0)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

SPC_BENCHMARK_MAIN(QCoreApplication)
