#include "foundation/CommandCentre.h"

namespace {
TCommandCenter* g_center = nullptr;
} // namespace

TCommandParam& TCommandParams::Add()
{
    FItems.append(TCommandParam());
    return FItems.last();
}

TCommandParam* TCommandParams::FindParam(const QString& name)
{
    for (TCommandParam& p : FItems)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

const TCommandParam* TCommandParams::FindParam(const QString& name) const
{
    for (const TCommandParam& p : FItems)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

TCommand::TCommand(TCommandCenter* center, QObject* owner) : QObject(owner), FCenter(center), FParams(this)
{
    if (FCenter) FCenter->FCreated.append(this);
}

TCommand::~TCommand()
{
    if (FCenter) FCenter->Forget(this);
}

void TCommand::SetCommandName(const QString& name)
{
    if (FSingle && FCenter && FCenter->NameTaken(name, this))
        throw EAFCError(QStringLiteral("已存在同名的Command: %1").arg(name));
    FCommandName = name;
}

void TCommand::SetSingle(bool value)
{
    if (value && !FSingle && FCenter && FCenter->NameTaken(FCommandName, this))
        throw EAFCError(QStringLiteral("已存在同名的Command: %1").arg(FCommandName));
    FSingle = value;
}

void TCommand::SetParamValue(const QString& name, const QVariant& value)
{
    TCommandParam* p = FParams.FindParam(name);
    if (!p) {
        p = &FParams.Add();
        p->Name = name;
    }
    p->Value = value;
}

QVariant TCommand::GetParamValue(const QString& name) const
{
    const TCommandParam* p = FParams.FindParam(name);
    if (!p) throw EAFCError(QStringLiteral("%1 is not find").arg(name));
    return p->Value;
}

void TCommand::Execute()
{
    if (!FOnExcute) throw EAFCError(QStringLiteral("%1 被错误的调用。（未给OnExcute赋值）").arg(FCommandName));
    const TCommandEvent handler = FOnExcute;
    handler(FParams, FData);
}

// ---------------------------------------------------------------------------------------------

TCommandCenter::TCommandCenter()
{
    if (g_center) throw EAFCError(QStringLiteral("只容许创建一个实例"));
    g_center = this;
}

TCommandCenter::~TCommandCenter()
{
    // Commands with an owner may outlive the centre: they forget it.
    for (TCommand* c : FCreated) c->FCenter = nullptr;
    FCreated.clear();
    FCommands.clear();
    FOwned.clear();
    g_center = nullptr;
}

TCommandCenter* TCommandCenter::Instance()
{
    return g_center;
}

bool TCommandCenter::NameTaken(const QString& name, const TCommand* except) const
{
    for (const TCommand* c : FCommands)
        if (c != except && c->CommandName() == name) return true;
    return false;
}

void TCommandCenter::Forget(TCommand* command)
{
    FCommands.removeAll(command);
    FCreated.removeAll(command);
}

TCommand* TCommandCenter::RegisterCommand(QObject* Owner, const QString& Name, bool Single, const TCommandEvent& Handler)
{
    auto command = std::make_unique<TCommand>(this, Owner);
    command->SetCommandName(Name);
    command->SetOnExcute(Handler);
    command->SetSingle(Single);  // refuses a name already taken, before the command is listed
    TCommand* raw = command.get();
    FCommands.append(raw);
    if (Owner) command.release();  // the owner frees it
    else FOwned.push_back(std::move(command));
    return raw;
}

void TCommandCenter::UnregisterCommand(const QString& Name)
{
    for (int i = FCommands.size() - 1; i >= 0; --i)
        if (FCommands[i]->CommandName() == Name) {
            FCommands.removeAt(i);
            return;
        }
}

TCommand* TCommandCenter::FindCommand(const QString& Name) const
{
    for (TCommand* c : FCommands)
        if (c->CommandName() == Name) return c;
    return nullptr;
}

TCommand* TCommandCenter::CommandByName(const QString& Name) const
{
    TCommand* c = FindCommand(Name);
    if (!c) throw EAFCError(QStringLiteral("Command:%1 not find").arg(Name));
    return c;
}
