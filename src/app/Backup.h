#pragma once
// The main window's 数据备份 and 数据恢复 (run after its rights test).
#include <QString>
#include <QStringList>

class QWidget;
class TAppSettings;
class TCompanyDM;

// The name the save dialog proposes: the backup folder, "Data" and today's date.
QString ProposedBackupName();

// Asks for a file in the backup folder and writes a consistent copy of the database in use to it.
void Backup(TCompanyDM& dm, QWidget* parent = nullptr);

// Asks for a backup file and puts it in place of the database file in use, keeping the old file as
// MainData.mdb.bak, then reopens and upgrades the database. openWindows: the component names of
// the open child windows (only the navigation window may be open). Returns false when the
// connection could not be opened again afterwards (the program cannot go on).
bool Restore(TCompanyDM& dm, TAppSettings& settings, const QStringList& openWindows, QWidget* parent = nullptr);
