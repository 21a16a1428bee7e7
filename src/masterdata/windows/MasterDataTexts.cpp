#include "masterdata/windows/MasterDataTexts.h"

QString PonderanceText(const QVariant& value)
{
    switch (value.isNull() ? 0 : value.toInt()) {
    case 1: return QStringLiteral("致命");
    case 2: return QStringLiteral("严重");
    case 3: return QStringLiteral("轻微");
    default: return QString();
    }
}

QString DefChartText(const QVariant& value)
{
    switch (value.isNull() ? 0 : value.toInt()) {
    case 1: return QStringLiteral("XBar-R");
    case 2: return QStringLiteral("XBar-S");
    case 3: return QStringLiteral("X-Rm");
    default: return QString();
    }
}
