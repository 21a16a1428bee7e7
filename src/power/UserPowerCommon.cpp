#include "power/UserPowerCommon.h"

#include "foundation/CompanyDM.h"
#include "foundation/RecordUtils.h"
#include "power/UserPowerDM.h"

#include <QSqlQuery>

namespace {
bool g_readOnly = false;
TWBUserPower* g_currentUser = nullptr;

const struct {
    TPowerKind kind;
    const char* name;
    const char* caption;
} kKinds[] = {
    {TPowerKind::Browse, "Browse", "浏览"}, {TPowerKind::New, "New", "新增"},
    {TPowerKind::Edit, "Edit", "修改"},     {TPowerKind::Delete, "Delete", "删除"},
    {TPowerKind::Execute, "Execute", "执行"}, {TPowerKind::Print, "Print", "打印"},
    {TPowerKind::Design, "Design", "定制"},
};

void CheckWritable()
{
    if (g_readOnly) throw TUserPowerException(QStringLiteral("错误，对象在只读状态下！"));
}
} // namespace

bool PowerReadOnly() { return g_readOnly; }
void SetPowerReadOnly(bool value) { g_readOnly = value; }

int PowerKindBit(TPowerKind kind)
{
    return 1 << static_cast<int>(kind);
}

TPowerKind PowerKindFromIndex(int index)
{
    if (index < 0 || index > 6) throw TUserPowerException(QStringLiteral("权限类型的序号未启用！"));
    return static_cast<TPowerKind>(index);
}

TPowerKind PowerKindFromName(const QString& name)
{
    for (const auto& k : kKinds)
        if (name == QLatin1String(k.name)) return k.kind;
    throw TUserPowerException(QStringLiteral("找不到指定的权限类型！"));
}

QString PowerKindName(TPowerKind kind)
{
    return QLatin1String(kKinds[static_cast<int>(kind)].name);
}

QString PowerKindCaption(TPowerKind kind)
{
    return QString::fromUtf8(kKinds[static_cast<int>(kind)].caption);
}

QList<TPowerKind> PowerKindColumnOrder()
{
    return {TPowerKind::Browse, TPowerKind::New,     TPowerKind::Edit, TPowerKind::Delete,
            TPowerKind::Execute, TPowerKind::Design, TPowerKind::Print};
}

bool TWBPower::HasPower(TPowerKind kind) const
{
    const int index = static_cast<int>(kind);
    return index >= 0 && index <= 6 && (PowerData & PowerKindBit(kind)) != 0;
}

bool TWBPower::HasPowerIndex(int index) const
{
    return index >= 0 && index <= 6 && HasPower(static_cast<TPowerKind>(index));
}

void TWBPower::SetPower(TPowerKind kind, bool value)
{
    CheckWritable();
    const int bit = PowerKindBit(kind);
    const int cud = PowerKindBit(TPowerKind::New) | PowerKindBit(TPowerKind::Edit) | PowerKindBit(TPowerKind::Delete);
    if (value)
        PowerData |= bit;
    else
        PowerData &= ~bit;
    if (kind == TPowerKind::Browse && !value) PowerData &= ~cud;
    if ((bit & cud) && value) PowerData |= PowerKindBit(TPowerKind::Browse);
    if (OnChange) OnChange(*this, kind);
}

void TWBModulePower::SetKey(int id)
{
    CheckWritable();
    FModuleID = id;
}

TWBModulePower* TWBAppPower::FindModule(int moduleID) const
{
    return static_cast<TWBModulePower*>(FindInt(moduleID));
}

TWBPower* TWBAppPower::ModulePower(int moduleID) const
{
    TWBModulePower* m = FindModule(moduleID);
    return m ? &m->Power : nullptr;
}

TWBModulePower* TWBAppPower::AddModule(int moduleID, int powerData)
{
    auto item = std::make_unique<TWBModulePower>(moduleID);
    item->SetPowerData(powerData);
    TWBModulePower* raw = item.get();
    Add(std::move(item));
    return raw;
}

TWBSubAppPower::TWBSubAppPower()
{
    CommonPower.OnChange = [this](TWBPower& sender, TPowerKind kind) {
        if (FApplying) return;
        FApplying = true;
        const bool value = sender.HasPower(kind);
        try {
            for (int i = 0; i < Count(); ++i) Module(i)->Power.SetPower(kind, value);
        } catch (...) {
            FApplying = false;
            throw;
        }
        FApplying = false;
        GetCommonPower();
    };
}

TWBPower& TWBSubAppPower::GetCommonPower()
{
    int data = Count() == 0 ? 0 : -1;
    for (int i = 0; i < Count(); ++i) data &= Module(i)->PowerData();
    CommonPower.PowerData = data;
    return CommonPower;
}

TWBPower& TWBDutyPowerList::ModulePower(int moduleID)
{
    CombinedPower.Clear();
    for (int i = 0; i < Count(); ++i) CombinedPower.OrWith(Duty(i)->ModulePower(moduleID));
    return CombinedPower;
}

int TWBModuleIDCodeMap::IDOfCode(const QString& code) const
{
    for (const RICMap& m : FItems)
        if (m.Code == code) return m.ID;
    return -1;
}

TWBUserPower* TWBUserPower::Current() { return g_currentUser; }
void TWBUserPower::SetCurrent(TWBUserPower* power) { g_currentUser = power; }

void TWBUserPower::LoadUser(int userID)
{
    UserPowers.Clear();
    DutyPowers.Clear();
    ModuleMap.Clear();
    FUserID = userID;
    FAdmin = false;
    // An administrator, or a member of an administrator duty, holds every right: the permission
    // window shows such members every kind as granted, so the login gives them exactly that.
    if (GetSQLValue(QStringLiteral("select count(ID) from SP_User where ID = :ID and IsAdmin = 1"),
                    {{QStringLiteral("ID"), userID}}).toInt() == 1
        || GetSQLValue(QStringLiteral("select count(*) from SP_UserDuty a, SP_Duty b "
                                      "where a.DutyID = b.ID and a.UserID = :ID and b.IsAdmin = 1"),
                       {{QStringLiteral("ID"), userID}}).toInt() > 0) {
        FAdmin = true;
        return;
    }
    SetPowerReadOnly(false);
    // Whatever happens while loading, the rights end up read-only again.
    struct TReadOnlyAgain {
        ~TReadOnlyAgain() { SetPowerReadOnly(true); }
    } readOnlyAgain;
    TCompanyDM& dm = CurrentCompanyDM();
    QSqlQuery own = dm.Exec(TUserPowerDM::SelectText(TUserPowerDM::UserPower), {{QStringLiteral("UserID"), userID}});
    while (own.next())
        UserPowers.AddModule(VariantToInt(own.value(QStringLiteral("ModID"))),
                             VariantToInt(own.value(QStringLiteral("PData"))));
    QSqlQuery duties = dm.Exec(TUserPowerDM::SelectText(TUserPowerDM::UserDuty), {{QStringLiteral("UserID"), userID}});
    while (duties.next()) {
        auto duty = std::make_unique<TWBDutyPower>(VariantToInt(duties.value(QStringLiteral("DutyID"))));
        QSqlQuery rows = dm.Exec(TUserPowerDM::SelectText(TUserPowerDM::DutyPower), {{QStringLiteral("DutyID"), duty->DutyID}});
        while (rows.next())
            duty->AddModule(VariantToInt(rows.value(QStringLiteral("ModID"))),
                            VariantToInt(rows.value(QStringLiteral("PData"))));
        DutyPowers.Add(std::move(duty));
    }
    QSqlQuery modules = dm.Exec(TUserPowerDM::SelectText(TUserPowerDM::Module));
    while (modules.next())
        ModuleMap.Add(VariantToInt(modules.value(QStringLiteral("ID"))),
                      VariantToString(modules.value(QStringLiteral("Code"))));
}

TWBPower& TWBUserPower::ModulePower(int moduleID)
{
    if (FAdmin) {
        ResultPower.PowerData = AdminPowerData;
        return ResultPower;
    }
    ResultPower.PowerData = 0;
    ResultPower.OrWith(UserPowers.ModulePower(moduleID));
    ResultPower.OrWith(&DutyPowers.ModulePower(moduleID));
    return ResultPower;
}

TWBPower& TWBUserPower::ModulePowerByCode(const QString& code)
{
    return ModulePower(ModuleMap.IDOfCode(code));
}
