#include "component/DialogRunner.h"

#include <QMetaObject>

namespace {
class TExecRunner : public TDialogRunner {
public:
    int Run(QDialog& dialog) override { return dialog.exec(); }
};
TExecRunner g_exec;
TDialogRunner* g_runner = nullptr;
} // namespace

TDialogRunner& TDialogRunner::Current()
{
    return g_runner ? *g_runner : static_cast<TDialogRunner&>(g_exec);
}

void TDialogRunner::SetCurrent(TDialogRunner* runner)
{
    g_runner = runner;
}

int TScriptedDialogRunner::Run(QDialog& dialog)
{
    Shown << QString::fromLatin1(dialog.metaObject()->className());
    dialog.setResult(QDialog::Rejected);
    if (Scripts.isEmpty()) return QDialog::Rejected;
    const TScript script = Scripts.takeFirst();
    dialog.show();
    script(dialog);
    const int result = dialog.result();
    dialog.hide();
    return result;
}

TDialogRunnerScope::TDialogRunnerScope(TDialogRunner* runner) : FPrevious(&TDialogRunner::Current())
{
    TDialogRunner::SetCurrent(runner);
}

TDialogRunnerScope::~TDialogRunnerScope()
{
    TDialogRunner::SetCurrent(FPrevious);
}
