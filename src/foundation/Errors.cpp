#include "foundation/Errors.h"

#include "foundation/DbErrors.h"

static QString DatabaseMessage(const QSqlError& error)
{
    const QString db = error.databaseText().trimmed();
    const QString drv = error.driverText().trimmed();
    if (db.isEmpty()) return drv;
    if (drv.isEmpty()) return db;
    return db;
}

EDatabaseError::EDatabaseError(const QSqlError& error, const QString& statement)
    : ESystemError(DatabaseMessage(error)), FError(error), FStatement(statement),
      FKind(ClassifyDbError(error))
{
}

EDatabaseError::EDatabaseError(TDbErrorKind kind, const QString& message, const QString& statement)
    : ESystemError(message), FStatement(statement), FKind(kind)
{
}

void RaiseError(const QString& message)
{
    throw ESystemError(message);
}
