#pragma once
// The exception classes of the foundation. Every error carries the message the user sees.
#include <QSqlError>
#include <QString>
#include <stdexcept>

class ESystemError : public std::runtime_error {
public:
    explicit ESystemError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

// The conditions a failed write is reported by, whatever the engine (see DbErrors.h).
enum class TDbErrorKind {
    RecordNotFound,  // deleted or changed since it was read
    Duplicate,       // unique key or code
    RequiredField,
    ForeignKey,
    DetailExists,
    Deadlock,        // lock conflict between workstations
    ChangedByOther,
    DeletedByOther,
    Other,
};

// A statement failed in the database engine (or a cached write found its row gone). The message
// is chosen by the kind from the one error table when the error is raised; the engine's own text
// and the statement are kept as details.
class EDatabaseError : public ESystemError {
public:
    EDatabaseError(const QSqlError& error, const QString& statement);
    EDatabaseError(TDbErrorKind kind, const QString& message, const QString& statement = {});
    const QSqlError& SqlError() const { return FError; }
    // The engine's own text (empty for errors the program raised itself).
    const QString& EngineText() const { return FEngineText; }
    QString NativeCode() const { return FError.nativeErrorCode(); }
    const QString& Statement() const { return FStatement; }
    TDbErrorKind Kind() const { return FKind; }

private:
    EDatabaseError(TDbErrorKind kind, const QSqlError& error, const QString& statement);
    QSqlError FError;
    QString FStatement;
    TDbErrorKind FKind;
    QString FEngineText;
};

// Raises an ordinary error carrying the message; the top-level handler shows it.
[[noreturn]] void RaiseError(const QString& message);
