#pragma once
// The command centre: windows run a selection dialog by a command name, exchanging named values,
// without knowing the dialog's class.
#include "foundation/Errors.h"
#include "foundation/Method.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class TCommand;
class TCommandCenter;
class TDataSet;

class EAFCError : public ESystemError {
public:
    using ESystemError::ESystemError;
};

class TCommandParam {
public:
    QString Name;
    QVariant Value;  // empty after creation
};

// The named values of one command; owned by it. Names compare ignoring case.
class TCommandParams {
public:
    explicit TCommandParams(TCommand* owner = nullptr) : FOwner(owner) {}
    TCommand* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TCommandParam& Items(int index) { return FItems[index]; }
    const TCommandParam& Items(int index) const { return FItems[index]; }
    TCommandParam& Add();
    TCommandParam* FindParam(const QString& name);
    const TCommandParam* FindParam(const QString& name) const;
    void Clear() { FItems.clear(); }
    // Copies the items of another parameter list (the owner stays).
    void Assign(const TCommandParams& source) { FItems = source.FItems; }

private:
    TCommand* FOwner;
    QList<TCommandParam> FItems;
};

// The handler of a command: called with its parameters and its data pointer.
using TCommandEvent = TMethod<void(TCommandParams& ACommandParams, void* Data)>;

class TCommand : public QObject {
    Q_OBJECT
public:
    // Commands are made by TCommandCenter::RegisterCommand; the owner frees the command (the
    // centre frees those without one).
    TCommand(TCommandCenter* center, QObject* owner = nullptr);
    ~TCommand() override;

    const QString& CommandName() const { return FCommandName; }
    // A Single command's name may not be taken by another registered command.
    void SetCommandName(const QString& name);
    bool Single() const { return FSingle; }
    void SetSingle(bool value);
    const TCommandEvent& OnExcute() const { return FOnExcute; }
    void SetOnExcute(const TCommandEvent& handler) { FOnExcute = handler; }
    void* Data() const { return FData; }
    void SetData(void* data) { FData = data; }
    TCommandParams& Params() { return FParams; }

    // Sets the named parameter, adding it when missing.
    void SetParamValue(const QString& name, const QVariant& value);
    // Fails with "%s is not find" for a missing parameter.
    QVariant GetParamValue(const QString& name) const;

    // Calls OnExcute(Params, Data).
    virtual void Execute();

private:
    friend class TCommandCenter;
    TCommandCenter* FCenter;
    QString FCommandName;
    bool FSingle = false;
    TCommandEvent FOnExcute;
    void* FData = nullptr;
    TCommandParams FParams;
};

// The one command centre of the program (a second instance is refused).
class TCommandCenter {
public:
    TCommandCenter();
    ~TCommandCenter();
    TCommandCenter(const TCommandCenter&) = delete;
    TCommandCenter& operator=(const TCommandCenter&) = delete;

    // The instance, or nullptr when none exists.
    static TCommandCenter* Instance();

    TCommand* RegisterCommand(QObject* Owner, const QString& Name, bool Single, const TCommandEvent& Handler);
    // Takes the last registered command of that name off the list; the command is not freed.
    void UnregisterCommand(const QString& Name);
    // The first registered command of that name (case-sensitive), or nullptr.
    TCommand* FindCommand(const QString& Name) const;
    // As FindCommand, failing with "Command:%s not find".
    TCommand* CommandByName(const QString& Name) const;
    int Count() const { return static_cast<int>(FCommands.size()); }
    TCommand* Commands(int index) const { return FCommands[index]; }

private:
    friend class TCommand;
    bool NameTaken(const QString& name, const TCommand* except) const;
    void Forget(TCommand* command);

    QList<TCommand*> FCommands;                    // registered, in order
    QList<TCommand*> FCreated;                     // every live command made for this centre
    std::vector<std::unique_ptr<TCommand>> FOwned;  // those made without an owner
};

// The multi-select dialogs' completion handler: called with the dialog's rows (each carrying
// "Selected") and the dialog's key field name.
using TMultiSelectCallback = TMethod<void(TDataSet* DataSet, const QString& KeyFieldName)>;

// Passed as a multi-select command's Data: the caller's current selections and its handler.
struct TMultiSelectData {
    TDataSet* DataSet = nullptr;
    TMultiSelectCallback Callback;
};
