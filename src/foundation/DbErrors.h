#pragma once
// One translation from the engines' native error codes (SQLite extended result codes, PostgreSQL
// SQLSTATE) to the messages every save shows.
#include "foundation/Errors.h"

#include <QSqlError>

TDbErrorKind ClassifyDbError(const QSqlError& error);

// The system's message for a database error of the given kind; ownMessage (the engine's text)
// serves the kinds the table has no message for.
QString DbErrorKindMessage(TDbErrorKind kind, const QString& ownMessage);
