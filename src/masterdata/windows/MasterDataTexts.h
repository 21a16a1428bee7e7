#pragma once
// The texts the master-data windows show for stored codes.
#include <QString>
#include <QVariant>

// 1 "致命", 2 "严重", 3 "轻微"; empty otherwise.
QString PonderanceText(const QVariant& value);
// 1 "XBar-R", 2 "XBar-S", 3 "X-Rm"; empty otherwise.
QString DefChartText(const QVariant& value);
