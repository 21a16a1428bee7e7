#pragma once
// How a data list announces a change of its item's data to the rest of the program: the
// command centre's "VDataChange" / "ADataChange" commands with the parameter "CID". The program
// installs a hook that runs the named command when it is registered; without a hook nothing is
// announced (tests and the command-line tool).
#include <QString>
#include <functional>

using TDataChangeHook = std::function<void(const QString& commandName, int cid)>;

// The installed hook (a copy is kept); an empty function removes it.
void SetDataChangeHook(TDataChangeHook hook);
// Runs the hook, if one is installed.
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
