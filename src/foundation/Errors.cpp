#include "foundation/Errors.h"

#include "foundation/DbErrors.h"

namespace {
QString EngineTextOf(const QSqlError& error)
{
    const QString db = error.databaseText().trimmed();
    return db.isEmpty() ? error.driverText().trimmed() : db;
}
} // namespace

// The message is the system's own for every condition the error table knows; the engine's text
// stays as a detail.
EDatabaseError::EDatabaseError(const QSqlError& error, const QString& statement)
    : EDatabaseError(ClassifyDbError(error), error, statement)
{
}

EDatabaseError::EDatabaseError(TDbErrorKind kind, const QSqlError& error, const QString& statement)
    : ESystemError(DbErrorKindMessage(kind, EngineTextOf(error))), FError(error), FStatement(statement),
      FKind(kind), FEngineText(EngineTextOf(error))
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
