#include "engine/DataChange.h"

#include "foundation/CommandCentre.h"

namespace {
TDataChangeHook& Hook()
{
    static TDataChangeHook hook;
    return hook;
}
} // namespace

void SetDataChangeHook(TDataChangeHook hook)
{
    Hook() = std::move(hook);
}

void AnnounceDataChange(const QString& commandName, int cid)
{
    // A copy, so a hook that replaces itself while it runs stays alive until it returns.
    const TDataChangeHook hook = Hook();
    if (hook) {
        hook(commandName, cid);
        return;
    }
    TCommandCenter* centre = TCommandCenter::Instance();
    TCommand* command = centre ? centre->FindCommand(commandName) : nullptr;
    if (!command) return;
    command->SetParamValue(QStringLiteral("CID"), cid);
    command->Execute();
}

TDataChangeHookScope::TDataChangeHookScope(TDataChangeHook hook) : FPrevious(Hook())
{
    Hook() = std::move(hook);
}

TDataChangeHookScope::~TDataChangeHookScope()
{
    Hook() = std::move(FPrevious);
}
