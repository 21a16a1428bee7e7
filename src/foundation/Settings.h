#pragma once
// The program's settings store: run mode, network folder, last user name and the data source's
// DBQ. INI format; QIHENG_SPC_CONFIG names another file (tests use it).
#include <QSettings>
#include <QString>
#include <memory>

#include "foundation/ServerConnection.h"

struct TConnectionParams;

class TAppSettings {
public:
    TAppSettings();
    explicit TAppSettings(const QString& fileName);

    // Each reader writes the default when the value is missing.
    int RunMode();                 // 1 = stand-alone, 2 = network, 3 = server
    void SetRunMode(int mode);
    bool RunModeNoDisplay();
    void SetRunModeNoDisplay(bool value);
    QString DBFileNetPath();
    void SetDBFileNetPath(const QString& path);
    // The server of run mode 3 (its password is kept apart: see ServerConnection.h).
    TServerConnection Server() const;
    void SetServer(const TServerConnection& server);
    QString LastUserName();
    void SetLastUserName(const QString& name);
    bool HasRunModeNoDisplay() const;
    // Whether a value of the "2.1" group exists (without writing a default).
    bool Contains(const QString& key) const;

    // DBQ of the data source "ZIDIZ": the database the connection opens.
    QString DBQ() const;
    void SetDBQ(const QString& path);

    void Sync();
    QString FileName() const;

private:
    QVariant ReadOrDefault(const QString& key, const QVariant& def);
    std::unique_ptr<QSettings> FStore;
};

// The run-mode dialog's OK step without the dialog: validates, then writes DBQ, the network folder,
// RunModeNoDisplay and RunMode. Throws ESystemError with the dialog's message (nothing written).
// Returns the database path written to DBQ.
QString StoreRunMode(TAppSettings& settings, bool network, const QString& directoryText, bool noDisplay);

// The server run mode's OK step: the server, its password (kept apart), DBQ = the server's address,
// RunModeNoDisplay and RunMode 3. Throws ESystemError with the dialog's message (nothing written).
QString StoreServerRunMode(TAppSettings& settings, const TServerConnection& server, bool noDisplay);

// The database the connection opens: DBQ, or the program's own Data/MainData.mdb when none is set.
QString ConfiguredDatabasePath(const TAppSettings& settings);
// The connection's database and, for a server, where its password is kept.
void ApplyConnectionSettings(const TAppSettings& settings, TConnectionParams& params);

// Step 1 of the run-mode selection: whether the dialog is to be shown.
bool RunModeDialogWanted(TAppSettings& settings, bool fromMenu);
