#include "power/UserPowerDM.h"

#include "foundation/CompanyDM.h"
#include "foundation/DbErrors.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "power/LoginCheck.h"
#include "power/PasswordHash.h"
#include "power/PowerManage.h"
#include "power/UserPowerCommon.h"

#include <QSqlQuery>
#include <iterator>

namespace {
struct TQueryDef {
    const char* Query;
    const char* Update;
    const char* Select;
    const char* Modify;
    const char* Insert;
    const char* Delete;
};

// In the order of the data module's query enumeration.
const TQueryDef kQueries[] = {
    {"qryModuleType", "udsModuleType", "select * from S_ModuleType",
     "update S_ModuleType set ID = :ID, Name = :Name, PowerDefData = :PowerDefData where ID = :OLD_ID",
     "insert into S_ModuleType (ID, Name, PowerDefData) values (:ID, :Name, :PowerDefData)",
     "delete from S_ModuleType where ID = :OLD_ID"},
    {"qryModule", "udsModule",
     "select a.*, b.PowerDefData as TypePowerDefData\n"
     "from S_Module as a left join S_ModuleType as b\n"
     "  on(a.TypeID = b.ID)",
     "update S_Module set ID = :ID, Name = :Name, PowerDefData = :PowerDefData, TypeID = :TypeID where ID = :OLD_ID",
     "insert into S_Module (ID, Name, PowerDefData, TypeID) values (:ID, :Name, :PowerDefData, :TypeID)",
     "delete from S_Module where ID = :OLD_ID"},
    {"qryDuty", "udsDuty", "select * from SP_Duty",
     "update SP_Duty set ID = :ID, Code = :Code, Name = :Name, Describe = :Describe where ID = :OLD_ID",
     "insert into SP_Duty (ID, Code, Name, Describe) values (:ID, :Code, :Name, :Describe)",
     "delete from SP_Duty where ID = :OLD_ID"},
    // The password is written only when the user is created and through SetPassword.
    {"qryUser", "udsUser", "select * from SP_User",
     "update SP_User set ID = :ID, Code = :Code, Name = :Name, Stop = :Stop, Describe = :Describe where ID = :OLD_ID",
     "insert into SP_User (ID, Code, Name, Password, Stop, Describe) "
     "values (:ID, :Code, :Name, :Password, :Stop, :Describe)",
     "delete from SP_User where ID = :OLD_ID"},
    {"qryDutyUser", "udsDutyUser",
     "select a.DutyID, a.UserID, b.Code, b.Name, b.Describe \n"
     "from SP_UserDuty a, SP_User b \n"
     "where a.UserID = b.ID and \n"
     "a.DutyID = :DutyID",
     "update SP_UserDuty set DutyID = :DutyID, UserID = :UserID where DutyID = :OLD_DutyID and UserID = :OLD_UserID",
     "insert into SP_UserDuty (DutyID, UserID) values (:DutyID, :UserID)",
     "delete from SP_UserDuty where DutyID = :OLD_DutyID and UserID = :OLD_UserID"},
    {"qryUserDuty", "udsUserDuty",
     "select a.UserID, a.DutyID, b.Code, b.Name, b.Describe \n"
     "from SP_UserDuty a, SP_Duty b \n"
     "where a.DutyID = b.ID and \n"
     "a.UserID = :UserID",
     "update SP_UserDuty set UserID = :UserID, DutyID = :DutyID where UserID = :OLD_UserID and DutyID = :OLD_DutyID",
     "insert into SP_UserDuty (UserID, DutyID) values (:UserID, :DutyID)",
     "delete from SP_UserDuty where UserID = :OLD_UserID and DutyID = :OLD_DutyID"},
    {"qryDutyPower", "udsDutyPower",
     "select * from SP_DutyPower\n"
     "where DutyID = :DutyID\n"
     "Order By ModID",
     "update SP_DutyPower set DutyID = :DutyID, ModID = :ModID, PData = :PData "
     "where DutyID = :OLD_DutyID and ModID = :OLD_ModID",
     "insert into SP_DutyPower (DutyID, ModID, PData) values (:DutyID, :ModID, :PData)",
     "delete from SP_DutyPower where DutyID = :OLD_DutyID and ModID = :OLD_ModID"},
    {"qryUserPower", "udsUserPower",
     "select * from SP_UserPower\n"
     "where UserID = :UserID\n"
     "Order By ModID",
     "update SP_UserPower set UserID = :UserID, ModID = :ModID, PData = :PData "
     "where UserID = :OLD_UserID and ModID = :OLD_ModID",
     "insert into SP_UserPower (UserID, ModID, PData) values (:UserID, :ModID, :PData)",
     "delete from SP_UserPower where UserID = :OLD_UserID and ModID = :OLD_ModID"},
};

TUserPowerDM* g_current = nullptr;

const QString kLastAdministrator = QStringLiteral("系统至少要保留一个管理员！");

void EnsureOpen(TZCQuery& query)
{
    if (!query.Active()) query.Open();
}

// Tells the window of a change, or of its reverse after a failed commit; a window that fails here
// cannot undo the database's outcome, so its error goes no further.
template <typename F>
void TellQuietly(F&& tell)
{
    try {
        tell();
    } catch (...) {
    }
}
} // namespace

QString TUserPowerDM::SelectText(int query)
{
    return QString::fromUtf8(kQueries[query].Select);
}

TUserPowerDM::TUserPowerDM(TCompanyDM& database) : FDatabase(database)
{
    static_assert(std::size(kQueries) == QueryCount);
    for (int i = 0; i < QueryCount; ++i) {
        const TQueryDef& def = kQueries[i];
        FUpdates[i] = std::make_unique<TUpdateSQL>();
        FUpdates[i]->setObjectName(QLatin1String(def.Update));
        FUpdates[i]->SetModifySQL(QString::fromUtf8(def.Modify));
        FUpdates[i]->SetInsertSQL(QString::fromUtf8(def.Insert));
        FUpdates[i]->SetDeleteSQL(QString::fromUtf8(def.Delete));
        FQueries[i] = std::make_unique<TZCQuery>();
        FQueries[i]->setObjectName(QLatin1String(def.Query));
        FQueries[i]->SetDatabase(&FDatabase);
        FQueries[i]->SetSQL(QString::fromUtf8(def.Select));
        FQueries[i]->SetUpdateObject(FUpdates[i].get());
    }
}

TUserPowerDM::~TUserPowerDM()
{
    if (g_current == this) g_current = nullptr;
}

void TUserPowerDM::OpenWith(TZCQuery& query, const QString& param, int value)
{
    while (query.Active()) query.Close();
    query.SetParamValue(param, value);
    query.Open();
}

TUserPowerDM* TUserPowerDM::Current() { return g_current; }
void TUserPowerDM::SetCurrent(TUserPowerDM* dm) { g_current = dm; }

TZCQuery& TUserPowerDM::EntryQuery(TPowerEntryKind kind)
{
    return kind == TPowerEntryKind::Duty ? qryDuty() : qryUser();
}

bool TUserPowerDM::AddDuty(const QString& code, const QString& name, const QString& describe)
{
    return AddEntry(TPowerEntryKind::Duty, code, name, QString(), describe);
}

bool TUserPowerDM::AddUser(const QString& code, const QString& name, const QString& password,
                           const QString& describe)
{
    return AddEntry(TPowerEntryKind::User, code, name, password, describe);
}

bool TUserPowerDM::AddEntry(TPowerEntryKind kind, const QString& code, const QString& name,
                            const QString& password, const QString& describe)
{
    try {
        CheckPowerEntryNames(kind, code, name);
        CheckPowerDescribe(describe);
    } catch (const ESystemError& e) {
        ShowInfo(e.Message());
        return false;
    }
    TZCQuery& q = EntryQuery(kind);
    int id = 0;
    bool told = false;
    try {
        EnsureOpen(q);
        // Users and duties share one counter, so no user and no duty carry the same ID.
        id = GetPrimaryKey(QStringLiteral("UserPower"));
        q.Append();
        q.FieldByName(QStringLiteral("ID"))->SetAsInteger(id);
        q.FieldByName(QStringLiteral("Code"))->SetAsString(code);
        q.FieldByName(QStringLiteral("Name"))->SetAsString(name);
        q.FieldByName(QStringLiteral("Describe"))->SetAsString(describe);
        if (kind == TPowerEntryKind::User) {
            // Set directly: an empty password is stored as the hash of the empty text, not as NULL.
            q.FieldByName(QStringLiteral("Password"))->SetValue(HashPassword(password));
            q.FieldByName(QStringLiteral("Stop"))->SetAsInteger(0);
        }
        q.Post();
        TTransactionGuard guard(FDatabase);
        q.ApplyUpdates();
        if (FView) {
            FView->PowerEntryAdded(kind, id, code, name, describe);
            told = true;
        }
        guard.Commit();
        return true;
    } catch (...) {
        if (told) TellQuietly([&] { FView->PowerEntryRemoved(kind, id); });
        TellQuietly([&] { q.CancelUpdates(); });
        ShowInfo(QStringLiteral("数据保存失败！"));
        return false;
    }
}

bool TUserPowerDM::DeleteDuty(int id)
{
    return DeleteEntry(TPowerEntryKind::Duty, id);
}

bool TUserPowerDM::DeleteUser(int id)
{
    return DeleteEntry(TPowerEntryKind::User, id);
}

bool TUserPowerDM::DeleteEntry(TPowerEntryKind kind, int id)
{
    TZCQuery& q = EntryQuery(kind);
    EnsureOpen(q);
    if (!q.Locate(QStringLiteral("ID"), id)) return false;
    const QString code = q.FieldByName(QStringLiteral("Code"))->AsString();
    const QString name = q.FieldByName(QStringLiteral("Name"))->AsString();
    const QString describe = q.FieldByName(QStringLiteral("Describe"))->AsString();
    if (kind == TPowerEntryKind::User && TWBUserPower::Current() && TWBUserPower::Current()->UserID() == id) {
        ShowInfo(QStringLiteral("不能删除当前登录的用户！"));
        return false;
    }
    const int administrators = AdministratorCount();
    const int remaining = kind == TPowerEntryKind::User ? AdministratorCount(id, 0) : AdministratorCount(0, id);
    if (administrators > 0 && remaining == 0) {
        ShowInfo(kLastAdministrator);
        return false;
    }
    const QString question = kind == TPowerEntryKind::Duty ? QStringLiteral("是否确定删除职务： ")
                                                           : QStringLiteral("是否确定删除用户： ");
    if (AskQuestion(question + name + QLatin1Char(' '), TMsgButtons::YesNo, QStringLiteral("询问")) != TMsgResult::Yes)
        return false;
    bool told = false;
    try {
        q.Delete();
        TTransactionGuard guard(FDatabase);
        q.ApplyUpdates();
        // The memberships go with it; the rights granted to it stay.
        FDatabase.Exec(kind == TPowerEntryKind::Duty ? QStringLiteral("delete from SP_UserDuty where DutyID = :ID")
                                                     : QStringLiteral("delete from SP_UserDuty where UserID = :ID"),
                       {{QStringLiteral("ID"), id}});
        if (FView) {
            FView->PowerEntryRemoved(kind, id);
            told = true;
        }
        guard.Commit();
        return true;
    } catch (...) {
        if (told) TellQuietly([&] { FView->PowerEntryAdded(kind, id, code, name, describe); });
        TellQuietly([&] { q.CancelUpdates(); });
        ShowInfo(QStringLiteral("删除失败！"));
        return false;
    }
}

bool TUserPowerDM::RenameDuty(int id, const QString& code, const QString& name)
{
    return RenameEntry(TPowerEntryKind::Duty, id, code, name);
}

bool TUserPowerDM::RenameUser(int id, const QString& code, const QString& name)
{
    return RenameEntry(TPowerEntryKind::User, id, code, name);
}

bool TUserPowerDM::RenameEntry(TPowerEntryKind kind, int id, const QString& code, const QString& name)
{
    try {
        CheckPowerEntryNames(kind, code, name);
    } catch (const ESystemError& e) {
        ShowInfo(e.Message());
        return false;
    }
    TZCQuery& q = EntryQuery(kind);
    EnsureOpen(q);
    if (!q.Locate(QStringLiteral("ID"), id)) return false;
    const QString oldCode = q.FieldByName(QStringLiteral("Code"))->AsString();
    const QString oldName = q.FieldByName(QStringLiteral("Name"))->AsString();
    bool told = false;
    try {
        q.Edit();
        q.FieldByName(QStringLiteral("Code"))->SetAsString(code);
        q.FieldByName(QStringLiteral("Name"))->SetAsString(name);
        q.Post();
        TTransactionGuard guard(FDatabase);
        q.ApplyUpdates();
        if (FView) {
            FView->PowerEntryRenamed(kind, id, code, name);
            told = true;
        }
        guard.Commit();
        return true;
    } catch (...) {
        if (told) TellQuietly([&] { FView->PowerEntryRenamed(kind, id, oldCode, oldName); });
        TellQuietly([&] { q.CancelUpdates(); });
        ShowInfo(QStringLiteral("改名失败！"));
        return false;
    }
}

void TUserPowerDM::ChangeDescribe(TPowerEntryKind kind, int id, const QString& describe)
{
    CheckPowerDescribe(describe);
    TZCQuery& q = EntryQuery(kind);
    EnsureOpen(q);
    if (!q.Locate(QStringLiteral("ID"), id)) return;
    if (q.FieldByName(QStringLiteral("Describe"))->AsString() == describe) return;
    try {
        q.Edit();
        q.FieldByName(QStringLiteral("Describe"))->SetAsString(describe);
        q.Post();
        if (!ApplyUpdatesInTransaction({&q})) throw ESystemError(QStringLiteral("数据保存失败！"));
    } catch (...) {
        TellQuietly([&] { q.CancelUpdates(); });
        throw;
    }
}

void TUserPowerDM::ApplyMemberships(TDataSet& memberships)
{
    const int before = AdministratorCount();
    TTransactionGuard guard(FDatabase);
    if (!ApplyUpdatesInTransaction({&memberships})) throw ESystemError(QStringLiteral("数据保存失败！"));
    if (before > 0 && AdministratorCount() == 0) throw ESystemError(kLastAdministrator);
    guard.Commit();
}

int TUserPowerDM::AdministratorCount(int exceptUserID, int exceptDutyID) const
{
    QSqlQuery q = FDatabase.Exec(
        QStringLiteral("select count(*) from SP_User u where u.ID <> :UserID and (u.IsAdmin = 1 or exists "
                       "(select 1 from SP_UserDuty a, SP_Duty b where a.UserID = u.ID and a.DutyID = b.ID "
                       "and b.IsAdmin = 1 and b.ID <> :DutyID))"),
        {{QStringLiteral("UserID"), exceptUserID}, {QStringLiteral("DutyID"), exceptDutyID}});
    return q.next() ? q.value(0).toInt() : 0;
}

bool TUserPowerDM::SetPassword(int userID, const QString& password)
{
    try {
        StorePassword(userID, password, &FDatabase);
        return true;
    } catch (const ESystemError& e) {
        ShowInfo(e.Message());
        return false;
    }
}

bool TUserPowerDM::ApplyUpdatesInTransaction(const QList<TDataSet*>& dataSets)
{
    try {
        ::ApplyUpdatesInTransaction(dataSets, &FDatabase);
        return true;
    } catch (const EDatabaseError&) {
        throw;  // carries the error table's message
    } catch (const std::exception&) {
        return false;
    }
}
