#pragma once
// The permission data: users, duties, duty membership, module definitions and granted rights, read
// through cached queries and written inside a transaction of the connection, so that each user
// action lands completely or not at all.
#include "foundation/ZCDb.h"

#include <QList>
#include <QString>
#include <memory>

class TCompanyDM;

enum class TPowerEntryKind { Duty, User };

// What the permission window shows of the duties and users: a tree node and a list item each.
// The data module tells it about a change while the change's transaction is still open; should
// that transaction fail to commit afterwards, it is told the reverse change.
class TUserPowerView {
public:
    virtual ~TUserPowerView() = default;
    virtual void PowerEntryAdded(TPowerEntryKind kind, int id, const QString& code, const QString& name,
                                 const QString& describe) = 0;
    virtual void PowerEntryRemoved(TPowerEntryKind kind, int id) = 0;
    // Tree text := name; list columns := code and name.
    virtual void PowerEntryRenamed(TPowerEntryKind kind, int id, const QString& code, const QString& name) = 0;
};

class TUserPowerDM {
public:
    // Every query, transaction and statement runs on the given connection. New IDs come from the
    // "UserPower" key counter of the current connection (the same one in the program).
    explicit TUserPowerDM(TCompanyDM& database);
    ~TUserPowerDM();
    TUserPowerDM(const TUserPowerDM&) = delete;
    TUserPowerDM& operator=(const TUserPowerDM&) = delete;

    TCompanyDM& Database() const { return FDatabase; }

    // The program's permission data module, for what cannot be handed it (the permission window
    // made by class name); nullptr when none is installed.
    static TUserPowerDM* Current();
    static void SetCurrent(TUserPowerDM* dm);

    // The permission window, when one is open (not owned; nullptr: none).
    TUserPowerView* View() const { return FView; }
    void SetView(TUserPowerView* view) { FView = view; }

    // Cached queries, each written through its own update object. qryDutyUser and qryDutyPower
    // take the integer parameter DutyID, qryUserDuty and qryUserPower UserID.
    TZCQuery& qryModuleType() { return *FQueries[ModuleType]; }
    TZCQuery& qryModule() { return *FQueries[Module]; }
    TZCQuery& qryDuty() { return *FQueries[Duty]; }
    TZCQuery& qryUser() { return *FQueries[User]; }
    TZCQuery& qryDutyUser() { return *FQueries[DutyUser]; }
    TZCQuery& qryUserDuty() { return *FQueries[UserDuty]; }
    TZCQuery& qryDutyPower() { return *FQueries[DutyPower]; }
    TZCQuery& qryUserPower() { return *FQueries[UserPower]; }
    TUpdateSQL& udsModuleType() { return *FUpdates[ModuleType]; }
    TUpdateSQL& udsModule() { return *FUpdates[Module]; }
    TUpdateSQL& udsDuty() { return *FUpdates[Duty]; }
    TUpdateSQL& udsUser() { return *FUpdates[User]; }
    TUpdateSQL& udsDutyUser() { return *FUpdates[DutyUser]; }
    TUpdateSQL& udsUserDuty() { return *FUpdates[UserDuty]; }
    TUpdateSQL& udsDutyPower() { return *FUpdates[DutyPower]; }
    TUpdateSQL& udsUserPower() { return *FUpdates[UserPower]; }

    // Each of these opens qryDuty / qryUser when it is closed. On failure everything is rolled
    // back, the query's cached changes are discarded and the operation's message is shown.
    // Codes and names that are empty or longer than their widths (PowerManage.h) are refused
    // with their message before anything is written.
    // "数据保存失败！"
    bool AddDuty(const QString& code, const QString& name, const QString& describe);
    // The password is stored as its hash; an empty one logs in with an empty password.
    bool AddUser(const QString& code, const QString& name, const QString& password, const QString& describe);
    // Ask first; the memberships go with the duty or user, its granted rights stay. "删除失败！"
    // False when nothing was deleted (no such row, the answer was No, the deletion was refused or
    // failed). Refused without asking: the logged-in user (TWBUserPower::Current()), and the
    // duty or user whose deletion would leave no administrator.
    bool DeleteDuty(int id);
    bool DeleteUser(int id);
    // "改名失败！"; false when there is no such row or the rename failed.
    bool RenameDuty(int id, const QString& code, const QString& name);
    bool RenameUser(int id, const QString& code, const QString& name);
    // Writes a new description of a duty or user (nothing when it is unchanged or there is no such
    // row). A refused write discards the cached change and raises: EDatabaseError with the user's
    // message, ESystemError for a description longer than its width.
    void ChangeDescribe(TPowerEntryKind kind, int id, const QString& describe);
    // Writes pending membership changes (of qryDutyUser or qryUserDuty) in one transaction;
    // refused, with everything left pending, when no administrator would be left.
    void ApplyMemberships(TDataSet& memberships);

    // Users who hold every right at login: administrators and members of administrator duties,
    // leaving out one user and the memberships of one duty (0: none left out).
    int AdministratorCount(int exceptUserID = 0, int exceptDutyID = 0) const;
    // "密码修改失败！", also when the user no longer exists.
    bool SetPassword(int userID, const QString& password);

    // Writes the cached changes of the data sets in the given order in one transaction. A database
    // error rolls everything back and is raised again as EDatabaseError carrying the user's message
    // (the changes stay pending so they can be corrected); any other failure rolls back and
    // answers false without a message.
    bool ApplyUpdatesInTransaction(const QList<TDataSet*>& dataSets);

    // Reads a query again with the parameter's value (DutyID or UserID), whoever else opened it;
    // its cached changes are dropped.
    static void OpenWith(TZCQuery& query, const QString& param, int value);

    enum { ModuleType, Module, Duty, User, DutyUser, UserDuty, DutyPower, UserPower, QueryCount };
    // The select text of one of the queries (also read when a user's rights are loaded).
    static QString SelectText(int query);

private:

    bool AddEntry(TPowerEntryKind kind, const QString& code, const QString& name, const QString& password,
                  const QString& describe);
    bool DeleteEntry(TPowerEntryKind kind, int id);
    bool RenameEntry(TPowerEntryKind kind, int id, const QString& code, const QString& name);
    TZCQuery& EntryQuery(TPowerEntryKind kind);

    TCompanyDM& FDatabase;
    TUserPowerView* FView = nullptr;
    std::unique_ptr<TUpdateSQL> FUpdates[QueryCount];  // outlive the queries that use them
    std::unique_ptr<TZCQuery> FQueries[QueryCount];
};
