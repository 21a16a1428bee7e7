#include "power/LoginCheck.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"
#include "foundation/Settings.h"
#include "power/PasswordHash.h"
#include "power/UserPowerCommon.h"

void CheckLogin(const QString& name, const QString& password, TWBUserPower& power)
{
    if (name.trimmed().isEmpty()) throw ESystemError(QStringLiteral("请输入用户名！"));
    const TSqlParams byName{{QStringLiteral("Name"), name}};
    QString stored;
    try {
        // The name is looked up as typed (untrimmed); a missing user has an empty stored password.
        stored = GetSQLString(QStringLiteral("Select Password from SP_User where Name = :Name"), byName);
    } catch (const ESystemError&) {
        throw ESystemError(QStringLiteral("用户名不存在！"));
    }
    if (!VerifyPassword(password, stored)) throw ESystemError(QStringLiteral("密码错误，请重试！"));
    int id = 0;
    try {
        const QVariant v = GetSQLValue(QStringLiteral("Select ID from SP_User where Name = :Name"), byName);
        if (v.isNull()) throw ESystemError(QStringLiteral("用户名不存在！"));
        id = v.toInt();
        power.LoadUser(id);
    } catch (const ESystemError&) {
        throw ESystemError(QStringLiteral("用户名不存在！"));
    }
    // A password still stored as plain text is replaced by its hash at its first use.
    if (!IsPasswordHash(stored)) {
        try {
            StorePassword(id, password);
        } catch (const ESystemError&) {
            // The login itself succeeded; the upgrade is tried again next time.
        }
    }
}

void StorePassword(int userID, const QString& password, TCompanyDM* dm)
{
    TCompanyDM& db = dm ? *dm : CurrentCompanyDM();
    try {
        TTransactionGuard guard(db);
        QSqlQuery q = db.Exec(QStringLiteral("Update SP_User Set Password = :Password where ID = :ID"),
                              {{QStringLiteral("Password"), HashPassword(password)}, {QStringLiteral("ID"), userID}});
        // A user deleted meanwhile has no password to change: not a success.
        if (q.numRowsAffected() != 1) throw ESystemError(QStringLiteral("密码修改失败！"));
        guard.Commit();
    } catch (const ESystemError&) {
        throw ESystemError(QStringLiteral("密码修改失败！"));
    }
}

QString LoginInitialName(TAppSettings& settings)
{
    if (settings.Contains(QStringLiteral("LastUserName"))) return settings.LastUserName();
    settings.SetLastUserName(QString());
    return QStringLiteral("超级用户");
}

void RememberLoginName(TAppSettings& settings, const QString& name)
{
    settings.SetLastUserName(name);
    settings.Sync();
}
