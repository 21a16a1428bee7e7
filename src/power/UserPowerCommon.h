#pragma once
// Permission kinds, module powers, duty powers and the logged-in user's effective rights.
#include "foundation/Errors.h"
#include "power/WBList.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

// The seven permission kinds; the value is the kind's ordinal, its bit is 1 << ordinal.
enum class TPowerKind { Browse = 0, New = 1, Edit = 2, Delete = 3, Execute = 4, Print = 5, Design = 6 };

inline constexpr int AdminPowerData = 65535;

int PowerKindBit(TPowerKind kind);
// The kind of an ordinal; "权限类型的序号未启用！" for a number outside the seven.
TPowerKind PowerKindFromIndex(int index);
// The kind of a field name ("Browse", ...); "找不到指定的权限类型！" for any other.
TPowerKind PowerKindFromName(const QString& name);
QString PowerKindName(TPowerKind kind);
QString PowerKindCaption(TPowerKind kind);
// The management grid's column order: Browse, New, Edit, Delete, Execute, Design, Print.
QList<TPowerKind> PowerKindColumnOrder();

class TUserPowerException : public ESystemError {
public:
    using ESystemError::ESystemError;
};

// While set, no power may change: the logged-in user's rights are fixed after loading.
bool PowerReadOnly();
void SetPowerReadOnly(bool value);

class TWBPower {
public:
    using TChangeHandler = std::function<void(TWBPower& sender, TPowerKind kind)>;

    int PowerData = 0;
    TChangeHandler OnChange;

    // False for anything that is not one of the seven kinds.
    bool HasPower(TPowerKind kind) const;
    bool HasPowerIndex(int index) const;
    // Applies the rules between kinds: clearing Browse clears New, Edit and Delete; setting New,
    // Edit or Delete sets Browse.
    void SetPower(TPowerKind kind, bool value);
    void Clear() { PowerData = 0; }
    void AndWith(const TWBPower& other) { PowerData &= other.PowerData; }
    void OrWith(const TWBPower* other)
    {
        if (other) PowerData |= other->PowerData;
    }
};

class TWBModulePower : public TWBIterator_KeyInt {
public:
    explicit TWBModulePower(int moduleID = 0) : FModuleID(moduleID) {}
    int GetKey() const override { return FModuleID; }
    void SetKey(int id) override;
    TWBPower Power;
    int PowerData() const { return Power.PowerData; }
    void SetPowerData(int data) { Power.PowerData = data; }

private:
    int FModuleID;
};

class TWBAppPower : public TWBList {
public:
    TWBModulePower* FindModule(int moduleID) const;
    TWBPower* ModulePower(int moduleID) const;
    TWBModulePower* Module(int index) const { return static_cast<TWBModulePower*>(Items(index)); }
    // Appends an entry with the given power (as loading does: no rules, no read-only test).
    TWBModulePower* AddModule(int moduleID, int powerData);
};

// Module entries edited as one: the common power is what all members share; changing one kind of
// it changes that kind on every member, through the member's own rules.
class TWBSubAppPower : public TWBAppPower {
public:
    TWBSubAppPower();
    TWBPower CommonPower;
    TWBPower& GetCommonPower();

private:
    bool FApplying = false;
};

class TWBDutyPower : public TWBAppPower {
public:
    explicit TWBDutyPower(int dutyID = 0) : DutyID(dutyID) {}
    bool Matches(const TWBIteratorKey& key) const override { return DutyID == IntKeyValue(key); }
    int DutyID;
};

class TWBDutyPowerList : public TWBList {
public:
    TWBPower CombinedPower;
    TWBDutyPower* Duty(int index) const { return static_cast<TWBDutyPower*>(Items(index)); }
    // The union of the module's powers over every duty.
    TWBPower& ModulePower(int moduleID);
};

class TWBModulePowerDef : public TWBIterator_KeyInt {
public:
    explicit TWBModulePowerDef(int moduleID = 0) : FModuleID(moduleID) {}
    int GetKey() const override { return FModuleID; }
    void SetKey(int id) override { FModuleID = id; }
    TWBPower Power;
    int Definition() const { return Power.PowerData; }
    void SetDefinition(int data)
    {
        if (Power.PowerData != data) Power.PowerData = data;
    }

private:
    int FModuleID;
};

class TWBModuleIDCodeMap {
public:
    struct RICMap {
        int ID;
        QString Code;
    };
    void Add(int id, const QString& code) { FItems.append({id, code}); }
    // The ID of the first module with exactly this code, or -1.
    int IDOfCode(const QString& code) const;
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }

private:
    QList<RICMap> FItems;
};

// The logged-in user's rights: the union of the user's own grants and those of the user's duties,
// or everything for an administrator and for a member of an administrator duty.
class TWBUserPower {
public:
    bool IsAdmin() const { return FAdmin; }
    int UserID() const { return FUserID; }

    // Loads the rights from the current connection; sets the read-only flag when done.
    void LoadUser(int userID);
    // ResultPower refilled for the module; callers test it at once.
    TWBPower& ModulePower(int moduleID);
    TWBPower& ModulePowerByCode(const QString& code);
    bool Has(int moduleID, TPowerKind kind) { return ModulePower(moduleID).HasPower(kind); }
    bool HasByCode(const QString& code, TPowerKind kind) { return ModulePowerByCode(code).HasPower(kind); }

    // The logged-in user's rights of the program, for what cannot be handed them (the permission
    // window made by class name); nullptr when none is installed.
    static TWBUserPower* Current();
    static void SetCurrent(TWBUserPower* power);

    TWBPower ResultPower;
    TWBAppPower UserPowers;
    TWBDutyPowerList DutyPowers;
    TWBModuleIDCodeMap ModuleMap;

private:
    bool FAdmin = false;
    int FUserID = 0;
};
