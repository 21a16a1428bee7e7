#include "collect/CollectInput.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {
const QStringList& DateFormats()
{
    static const QStringList formats{QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy/M/d"), QStringLiteral("yyyy.M.d"),
                                     QStringLiteral("yyyyMMdd")};
    return formats;
}

const QStringList& TimeFormats()
{
    static const QStringList formats{QStringLiteral("H:m:s"), QStringLiteral("H:m"), QStringLiteral("H:m:s.zzz")};
    return formats;
}
} // namespace

std::optional<double> ParseNumber(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    double v = QLocale::c().toDouble(t, &ok);
    if (!ok) v = QLocale().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> ParseInteger(const QString& text)
{
    bool ok = false;
    const int v = QLocale::c().toInt(text.trimmed(), &ok);
    if (!ok) return std::nullopt;
    return v;
}

std::optional<QDate> ParseDate(const QString& text)
{
    const QString t = text.trimmed();
    for (const QString& f : DateFormats()) {
        const QDate d = QDate::fromString(t, f);
        if (d.isValid()) return d;
    }
    return std::nullopt;
}

std::optional<QTime> ParseTime(const QString& text)
{
    const QString t = text.trimmed();
    for (const QString& f : TimeFormats()) {
        const QTime time = QTime::fromString(t, f);
        if (time.isValid()) return time;
    }
    if (const auto dt = ParseDateTime(t)) return dt->time();
    return std::nullopt;
}

std::optional<QDateTime> ParseDateTime(const QString& text)
{
    const QString t = text.simplified();
    const int space = t.indexOf(QLatin1Char(' '));
    if (space < 0) {
        if (const auto d = ParseDate(t)) return QDateTime(*d, QTime(0, 0));
        return std::nullopt;
    }
    const auto d = ParseDate(t.left(space));
    if (!d) return std::nullopt;
    const QString rest = t.mid(space + 1);
    for (const QString& f : TimeFormats()) {
        const QTime time = QTime::fromString(rest, f);
        if (time.isValid()) return QDateTime(*d, time);
    }
    return std::nullopt;
}

QString DateTimeText(const QDateTime& dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

#include "foundation/CommandCentre.h"
#include "foundation/Errors.h"

TCommand& CollectCommand(const QString& name)
{
    TCommandCenter* center = TCommandCenter::Instance();
    if (!center) throw EAFCError(QStringLiteral("Command:%1 not find").arg(name));
    return *center->CommandByName(name);
}
