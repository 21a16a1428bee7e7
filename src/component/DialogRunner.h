#pragma once
// Every modal dialog is run through the current runner, so tests can answer dialogs without
// waiting on an event loop.
#include <QDialog>
#include <functional>

class TDialogRunner {
public:
    virtual ~TDialogRunner() = default;
    // Shows the dialog modally; returns QDialog::Accepted or QDialog::Rejected.
    virtual int Run(QDialog& dialog) = 0;

    static TDialogRunner& Current();
    static void SetCurrent(TDialogRunner* runner);  // nullptr restores exec()
};

inline int RunDialog(QDialog& dialog)
{
    return TDialogRunner::Current().Run(dialog);
}

// A runner that hands each dialog to a script; the script drives it (fills edits, clicks buttons)
// and the runner returns the dialog's result. Without a script a dialog is rejected.
class TScriptedDialogRunner : public TDialogRunner {
public:
    using TScript = std::function<void(QDialog&)>;
    int Run(QDialog& dialog) override;
    QList<TScript> Scripts;
    QStringList Shown;  // class names of the dialogs run, in order
};

class TDialogRunnerScope {
public:
    explicit TDialogRunnerScope(TDialogRunner* runner);
    ~TDialogRunnerScope();

private:
    TDialogRunner* FPrevious;
};
