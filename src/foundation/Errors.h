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

// A statement failed in the database engine (or a cached write found its row gone); the kind
// selects the user's message.
class EDatabaseError : public ESystemError {
public:
    EDatabaseError(const QSqlError& error, const QString& statement);
    EDatabaseError(TDbErrorKind kind, const QString& message, const QString& statement = {});
    const QSqlError& SqlError() const { return FError; }
    QString NativeCode() const { return FError.nativeErrorCode(); }
    const QString& Statement() const { return FStatement; }
    TDbErrorKind Kind() const { return FKind; }

private:
    QSqlError FError;
    QString FStatement;
    TDbErrorKind FKind;
};

// Raises an ordinary error carrying the message; the top-level handler shows it.
[[noreturn]] void RaiseError(const QString& message);
