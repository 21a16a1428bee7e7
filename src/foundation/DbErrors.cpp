#include "foundation/DbErrors.h"

namespace {
// SQLite result codes (primary and extended) that matter here.
constexpr int SQLITE_BUSY = 5;
constexpr int SQLITE_LOCKED = 6;
constexpr int SQLITE_CONSTRAINT = 19;
constexpr int SQLITE_BUSY_SNAPSHOT = 517;
constexpr int SQLITE_CONSTRAINT_FOREIGNKEY = 787;
constexpr int SQLITE_CONSTRAINT_NOTNULL = 1299;
constexpr int SQLITE_CONSTRAINT_PRIMARYKEY = 1555;
constexpr int SQLITE_CONSTRAINT_UNIQUE = 2067;

TDbErrorKind ClassifySQLite(int code, const QString& text)
{
    switch (code) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE: return TDbErrorKind::Duplicate;
    case SQLITE_CONSTRAINT_NOTNULL: return TDbErrorKind::RequiredField;
    case SQLITE_CONSTRAINT_FOREIGNKEY: return TDbErrorKind::ForeignKey;
    case SQLITE_BUSY_SNAPSHOT: return TDbErrorKind::ChangedByOther;
    default: break;
    }
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return TDbErrorKind::Deadlock;
    case SQLITE_CONSTRAINT:
        // Without extended codes the engine's text still names the constraint.
        if (text.contains(QLatin1String("UNIQUE")) || text.contains(QLatin1String("PRIMARY KEY")))
            return TDbErrorKind::Duplicate;
        if (text.contains(QLatin1String("NOT NULL"))) return TDbErrorKind::RequiredField;
        if (text.contains(QLatin1String("FOREIGN KEY"))) return TDbErrorKind::ForeignKey;
        return TDbErrorKind::Other;
    default: return TDbErrorKind::Other;
    }
}

TDbErrorKind ClassifyPostgres(const QString& state)
{
    if (state == QLatin1String("23505")) return TDbErrorKind::Duplicate;
    if (state == QLatin1String("23502")) return TDbErrorKind::RequiredField;
    if (state == QLatin1String("23503")) return TDbErrorKind::ForeignKey;
    if (state == QLatin1String("40P01") || state == QLatin1String("55P03")) return TDbErrorKind::Deadlock;
    if (state == QLatin1String("40001")) return TDbErrorKind::ChangedByOther;
    return TDbErrorKind::Other;
}
} // namespace

TDbErrorKind ClassifyDbError(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    if (code.isEmpty()) return TDbErrorKind::Other;
    bool numeric = false;
    const int n = code.toInt(&numeric);
    // SQLite reports numbers; PostgreSQL five-character SQLSTATEs.
    if (numeric && code.size() != 5) return ClassifySQLite(n, error.databaseText());
    if (code.size() == 5) return ClassifyPostgres(code);
    return TDbErrorKind::Other;
}

QString DbErrorKindMessage(TDbErrorKind kind, const QString& ownMessage)
{
    switch (kind) {
    case TDbErrorKind::RecordNotFound: return QStringLiteral("记录已被删除或修改！");
    case TDbErrorKind::Duplicate: return QStringLiteral("记录重复(编码或主键)，请检查！");
    case TDbErrorKind::RequiredField: return QStringLiteral("字段不能为空！");
    case TDbErrorKind::ForeignKey: return QStringLiteral("外键出错！");
    case TDbErrorKind::Deadlock: return QStringLiteral("对同一记录并发操作，导致死锁，该操作失败！");
    case TDbErrorKind::ChangedByOther: return QStringLiteral("记录已被修改，请刷新记录！");
    case TDbErrorKind::DeletedByOther: return QStringLiteral("记录已被删除！");
    case TDbErrorKind::DetailExists:
    case TDbErrorKind::Other: break;
    }
    return ownMessage;
}
