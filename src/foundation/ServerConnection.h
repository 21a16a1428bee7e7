#pragma once
// The server run mode: where the PostgreSQL server is, the address the connection opens, the
// password kept apart from the settings, and the one-line connection test of the run-mode dialog.
#include <QString>

class TAppSettings;

struct TServerConnection {
    QString Host;
    int Port = 5432;
    QString Database;
    QString User;
    QString Password;
};

// "postgresql://user@host:port/database"; the password only when asked for (never stored).
QString ServerURL(const TServerConnection& server, bool withPassword = false);

// The server's password is not written to the settings file: it goes to a password file of the
// server client's own format beside it, readable by the user alone, which the client library reads
// when it connects (PGPASSFILE). An empty password removes the entry.
QString ServerPasswordFile(const TAppSettings& settings);
void StoreServerPassword(const TAppSettings& settings, const TServerConnection& server);

// Whether the server answers and holds this program's tables, in one line.
QString TestServerConnection(const TServerConnection& server);
