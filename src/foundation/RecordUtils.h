#pragma once
// One-statement SQL access on the scratch query, key counters, subgroup deletion, number
// formatting, the program folders and the help-topic map.
#include "foundation/Types.h"

#include <QString>
#include <QVariant>

class TCompanyDM;

// The connection the utilities run on: TCompanyDM::Current(); throws when there is none.
TCompanyDM& CurrentCompanyDM();

// First field of the first row when the result has exactly one column; otherwise a null variant.
QVariant GetSQLValue(const QString& sql, const TSqlParams& params = {});
// First field of the first row as text; empty when there is no row.
QString GetSQLString(const QString& sql, const TSqlParams& params = {});
void ExecuteSQL(const QString& sql, const TSqlParams& params = {});

// Next number of a named counter in S_Key: a new name yields 1, then 2, ...
int GetPrimaryKey(const QString& name);
// Next number of an owner's counter in S_MKey.
int GetModulePrimaryKey(int mid);
// count consecutive numbers of an owner's counter drawn at once; returns the first of them.
int GetModulePrimaryKeys(int mid, int count);
int GetNewTaskID();

// Each deletes in one transaction with everything that hangs on the subgroups; "值组删除失败！" on failure.
void DeleteVSubgroup(int cid, int sn);
void DeleteASubgroup(int cid, int sn);
void DeleteVTaskSubgroups(int taskID);
void DeleteATaskSubgroups(int taskID);

// "0.####": no thousands separator, at most four decimals, no trailing zeros or point.
QString FormatNumber(double value);
// Empty for NullValue.
QString FormatOptionalNumber(double value);

// The program folder (QIHENG_SPC_HOME, else the executable's folder), without trailing separator.
QString GetAppPath();
QString GetDataPath();
QString GetTempPath();
QString GetReportPath();
QString GetBackupPath();
QString GetExcelPath();
QString DefaultDatabasePath();

// Window name (class name without the leading T) → help topic page; empty when unknown.
QString HelpTopicOf(const QString& windowName);
// The help set's file name below the program folder.
QString HelpFileName();
// The page a help request opens: the topic's page under resources/help, or the default page.
QString HelpPagePath(const QString& windowName);

// The folder chooser's logic: a preset path that is not a folder is emptied.
QString NormalizePresetFolder(const QString& path);
// Whether a chosen folder holds the database file.
bool FolderHoldsDatabase(const QString& folder);
