// Start-up to the login dialog: splash, settings, connection, upgrade check, login dialog shown.
#include "app/Application.h"
#include "component/DialogRunner.h"
#include "foundation/MessageService.h"
#include "foundation/Schema.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
// Records the moment the login dialog is shown and cancels it.
class TStopAtLogin : public TDialogRunner {
public:
    int Run(QDialog&) override { return QDialog::Rejected; }
};
} // namespace

static void BM_StartToLoginDialog(benchmark::State& state)
{
    QTemporaryDir dir;
    qputenv("QIHENG_SPC_HOME", dir.path().toLocal8Bit());
    qputenv("QIHENG_SPC_CONFIG", (dir.path() + "/settings.ini").toLocal8Bit());
    InitDatabaseFile(dir.path() + "/Data/MainData.mdb", true);
    TScriptedMessageService messages;
    TMessageServiceScope scope(&messages);
    TStopAtLogin runner;
    TDialogRunnerScope runnerScope(&runner);
    for (auto _ : state) {
        TApplicationShell shell;
        shell.Settings.SetRunModeNoDisplay(true);
        const auto result = shell.Start();
        if (result != TApplicationShell::TStartResult::LoginCancelled) state.SkipWithError("start did not reach the login");
    }
}
BENCHMARK(BM_StartToLoginDialog)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TSPCApplication app(argc, argv);
    SetupApplicationLook(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
