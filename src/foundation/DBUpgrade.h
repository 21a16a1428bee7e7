#pragma once
#include <QStringList>

// The program's schema version.
inline constexpr int SchemaVersion = 2;

// The statements that bring a version-1 database to version 2, in order.
QStringList UpgradeStatementsV2();

// Brings the open database (TCompanyDM::Current()) to the program's schema version, in one
// transaction: a failure leaves it exactly as it was and raises "数据库升级失败！".
void UpgradeDatabase();

// The version text stored in S_System.
QString DatabaseVersion();
