// Opening the variable analysis window on 100,000 stored subgroups of 5 of one item: the condition
// dialog confirmed, the task selected and loaded, the limits computed, the statistics and the
// chart drawn on the screen.
#include "BenchSupport.h"

#include "analysis/windows/AnalysisWindows.h"
#include "analysis/windows/ConditionSSelectFrm.h"
#include "analysis/windows/VControlItemAnalysisFrm.h"
#include "component/DialogRunner.h"
#include "component/FormFactory.h"
#include "engine/windows/BaseChartFrm.h"
#include "engine/windows/ChartPanel.h"
#include "foundation/CommandCentre.h"
#include "foundation/MessageService.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/windows/BaseSingleSelectFrm.h"
#include "masterdata/windows/SelectionCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTableView>

namespace {
struct TWindowData {
    TBenchDatabase db{100000};
    TWindowData()
    {
        TCompanyDM& dm = *db.dm;
        TTransactionGuard guard(dm);
        dm.Exec("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, USL, SL, LSL) "
                "values (1, 'V001', '活塞环直径', 5, 1, 74.03, 74.0, 73.97)");
        dm.Exec("insert into D_VDM (CID, SN, VCount, State, WDate) "
                "select CID, SN, count(*), 1, min(WDate) from D_VDD group by CID, SN");
        guard.Commit();
    }
};

// The user's part of the condition dialog: item V001 from the chooser, the whole of 2026, the
// X-bar/R chart, OK.
void Confirm(TScriptedDialogRunner& runner)
{
    runner.Scripts << [&runner](QDialog& dialog) {
        auto& d = dynamic_cast<TConditionSSelectFrm&>(dialog);
        runner.Scripts.prepend([](QDialog& chooser) {
            auto& s = dynamic_cast<TBaseSingleSelectFrm&>(chooser);
            s.Grid->setCurrentIndex(s.Grid->model()->index(0, 0));
            s.btnOK->click();
        });
        d.btnCharacter->click();
        d.dtpStartDate->setDate(QDate(2026, 1, 1));
        d.cmbChartType->setCurrentIndex(d.cmbChartType->findText(ChartTypeName(ctXBarR)));
        d.btnOK->click();
    };
}
} // namespace

static void BM_OpenVariableAnalysisWindow100k(benchmark::State& state)
{
    static TWindowData data;
    TKQCommonDM lookups(*data.db.dm);
    TKQCommonDM::SetCurrent(&lookups);
    TCommandCenter center;
    RegisterSelectionCommands(center);
    TScriptedMessageService messages;
    TMessageServiceScope messageScope(&messages);
    TScriptedDialogRunner runner;
    TDialogRunnerScope runnerScope(&runner);
    for (auto _ : state) {
        Confirm(runner);
        auto* w = new TVControlItemAnalysisFrm();
        w->resize(1600, 900);
        w->show();
        TBaseChartFrm* chart = w->CurrentChart();
        if (!chart || w->DataList().Count() != 100000) {
            fprintf(stderr, "%s | %s | %d\n", qPrintable(runner.Shown.join(',')), qPrintable(messages.Texts().join(',')), w->DataList().Count());
            state.SkipWithError("the window shows no chart of 100,000 subgroups");
            delete w;
            break;
        }
        chart->ChartPanel()->grab();  // painted as the screen paints it
        state.PauseTiming();
        delete w;
        state.ResumeTiming();
    }
    TKQCommonDM::SetCurrent(nullptr);
}
BENCHMARK(BM_OpenVariableAnalysisWindow100k)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
