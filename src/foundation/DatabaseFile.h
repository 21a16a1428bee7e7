#pragma once
// Copies of the embedded database file: a consistent backup of the database in use, the test that a
// file is a database of this program, and replacing the file by another one without a moment in
// which neither the old nor the new file is in place.
#include <QString>

class TCompanyDM;

// Writes a consistent copy of the open embedded database to target, replacing a file already there
// only once the copy is complete. Throws ESystemError "备份失败！" (with the reason) on failure.
void BackupDatabase(TCompanyDM& dm, const QString& target);

// True when path is an embedded database with this program's tables (a version row in S_System,
// users, control items and subgroups); nothing in the file is changed.
bool IsSystemDatabaseFile(const QString& path);

// Replaces the file databasePath by a copy of source: copied to a temporary file beside it first,
// the old file kept as databasePath + ".bak", then the copy renamed into place. No connection may
// hold the file open. On failure the old file stays in place; throws ESystemError "恢复失败！".
void ReplaceDatabaseFile(const QString& databasePath, const QString& source);
