#pragma once
// How a data list announces a change of its item's data to the rest of the program: through the
// command centre, whose "VDataChange" / "ADataChange" command (when one is registered) receives
// the parameter "CID" and is executed. A hook installed here replaces that route (tests, tools).
#include <QString>
#include <functional>

using TDataChangeHook = std::function<void(const QString& commandName, int cid)>;

// The installed hook (a copy is kept); an empty function restores the command centre route.
void SetDataChangeHook(TDataChangeHook hook);
// Runs the hook if one is installed; otherwise the command of that name, if the command centre
// exists and has it.
void AnnounceDataChange(const QString& commandName, int cid);

// Installs a hook for the lifetime of the scope and restores the previous one.
class TDataChangeHookScope {
public:
    explicit TDataChangeHookScope(TDataChangeHook hook);
    ~TDataChangeHookScope();
    TDataChangeHookScope(const TDataChangeHookScope&) = delete;
    TDataChangeHookScope& operator=(const TDataChangeHookScope&) = delete;

private:
    TDataChangeHook FPrevious;
};
