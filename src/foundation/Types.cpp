#include "foundation/Types.h"

int VariantToInt(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return NullValue;
    bool ok = false;
    const int i = v.toInt(&ok);
    if (ok) return i;
    const double d = v.toDouble(&ok);
    return ok ? static_cast<int>(d) : NullValue;
}

double VariantToFloat(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return NullValue;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : NullValue;
}

QDateTime VariantToDateTime(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return {};
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate) return v.toDate().startOfDay();
    const QString s = v.toString().trimmed();
    QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!dt.isValid()) dt = QDateTime::fromString(s, Qt::ISODate);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(s, Qt::ISODate);
        if (d.isValid()) dt = d.startOfDay();
    }
    return dt;
}

QString VariantToString(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return {};
    // The server hands back date-times as such; they read as the text both engines store.
    if (v.metaType().id() == QMetaType::QDateTime) return DateTimeToDbText(v.toDateTime());
    return v.toString();
}

QString DateTimeToDbText(const QDateTime& dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant ToDbValue(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        if (!v.isNull() && v.toDouble() == NullValue) return QVariant();
        return v;
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.isValid() ? QVariant(DateTimeToDbText(dt)) : QVariant();
    }
    case QMetaType::QDate: {
        const QDate d = v.toDate();
        return d.isValid() ? QVariant(DateTimeToDbText(d.startOfDay())) : QVariant();
    }
    default:
        return v;
    }
}
