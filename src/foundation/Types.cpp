#include "foundation/Types.h"

#include <QFile>

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
    // Written for every stored row: put together by hand, the locale-aware formatter costs
    // several times as much.
    const QDate d = dt.date();
    const QTime t = dt.time();
    if (!d.isValid() || !t.isValid() || d.year() < 1 || d.year() > 9999)
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    char16_t text[19];
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) text[at + i] = char16_t(u'0' + value % 10);
    };
    put(0, d.year(), 4);
    text[4] = u'-';
    put(5, d.month(), 2);
    text[7] = u'-';
    put(8, d.day(), 2);
    text[10] = u' ';
    put(11, t.hour(), 2);
    text[13] = u':';
    put(14, t.minute(), 2);
    text[16] = u':';
    put(17, t.second(), 2);
    return QString(reinterpret_cast<const QChar*>(text), 19);
}

void PinLocalTimeZone()
{
    if (qEnvironmentVariableIsSet("TZ") || !QFile::exists(QStringLiteral("/etc/localtime"))) return;
    qputenv("TZ", ":/etc/localtime");
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
