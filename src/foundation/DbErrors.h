#pragma once
// One translation from the engines' native error codes (SQLite extended result codes, PostgreSQL
// SQLSTATE) to the messages every save shows.
#include "foundation/Errors.h"

#include <QSqlError>

TDbErrorKind ClassifyDbError(const QSqlError& error);

// The message for a failed write of the given kind; ownMessage is the engine's own text.
QString DbErrorKindMessage(TDbErrorKind kind, const QString& ownMessage);

// The message a failed save shows for any error: database errors by their kind, others by their own text.
QString SaveErrorMessage(const ESystemError& error);
QString SaveErrorMessage(const std::exception& error);
