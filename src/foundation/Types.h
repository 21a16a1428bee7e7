#pragma once
// Shared value conventions: the no-value marker and conversions between database values and it.
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// "No value" in integer fields, identifiers and floating-point fields alike; tested by exact equality.
inline constexpr int NullValue = -999999999;

inline bool IsNullValue(double v) { return v == NullValue; }

// Named statement parameters, keys without the leading colon.
using TSqlParams = QVariantMap;

// Database NULL (or an unreadable value) reads as NullValue.
int VariantToInt(const QVariant& v);
double VariantToFloat(const QVariant& v);
// SQLite hands date-times back as text, PostgreSQL as timestamps; both read here. Invalid when NULL.
QDateTime VariantToDateTime(const QVariant& v);
QString VariantToString(const QVariant& v);

// The value as it is bound to a statement: NullValue and invalid date-times become NULL,
// date-times become "YYYY-MM-DD HH:MM:SS" text, which both engines store and compare alike.
QVariant ToDbValue(const QVariant& v);

QString DateTimeToDbText(const QDateTime& dt);

// Called first in main(): the local time zone is read once, not at every conversion of a local
// date-time (glibc looks /etc/localtime up again each time while TZ is unset).
void PinLocalTimeZone();
