#pragma once
// A fresh database for each test, connected as the current connection, with a scripted message
// service installed and the program folder and settings file in a temporary folder. It is a real
// SQLite file there, or — when the test executable runs with QIHENG_SPC_TEST_ENGINE=postgres (CTest
// runs every database test that way too) — a schema of its own on the PostgreSQL server that
// QIHENG_SPC_PG_URL names.
#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class TTestDatabase {
public:
    enum class TContent { Delivered, Upgraded, Demo };
    explicit TTestDatabase(TContent content = TContent::Upgraded,
                           const QString& connectionName = QStringLiteral("RUZAZ"));
    ~TTestDatabase();

    // The database's DBQ: the file's path, or the server's address with the test's schema.
    QString Path() const { return FPath; }
    bool IsServer() const { return !FSchema.isEmpty(); }
    QString DirPath() const { return FDir.path(); }
    TCompanyDM& DM() { return *FDM; }
    TScriptedMessageService Messages;

    // A second connection to the same file (as a second workstation would have).
    std::unique_ptr<TCompanyDM> OpenSecondConnection(const QString& name) const;

private:
    QTemporaryDir FDir;
    QString FPath;
    QString FSchema;
    std::unique_ptr<TCompanyDM> FDM;
    std::unique_ptr<TMessageServiceScope> FScope;
};

// A fresh schema of its own on the PostgreSQL server that QIHENG_SPC_PG_URL names (./test starts a
// private one), the current connection while it lives; dropped afterwards. Without the variable it
// is not available: the test is skipped, except under CI, where a missing server fails it.
// Whether this test executable runs its database tests on the server.
bool TestEngineIsServer();

// For a test about the embedded database file itself (its path, copying it, the run modes):
// skipped when the tests run on the server.
#define SPC_SQLITE_ONLY(db)                                                   \
    do {                                                                      \
        if ((db).IsServer()) GTEST_SKIP() << "about the embedded database file"; \
    } while (false)

class TPostgresDatabase {
public:
    TPostgresDatabase();
    ~TPostgresDatabase();
    bool Available() const { return !FSchema.isEmpty(); }
    TCompanyDM DM{QStringLiteral("postgres-test")};

private:
    QString FSchema;
};

// Skips the test without a server, fails it under CI.
#define SPC_REQUIRE_SERVER(db)                                                            \
    do {                                                                                  \
        if (!(db).Available()) {                                                          \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                      \
                FAIL() << "QIHENG_SPC_PG_URL not set under CI: the PostgreSQL server did not start"; \
            GTEST_SKIP() << "QIHENG_SPC_PG_URL not set";                                  \
        }                                                                                 \
    } while (false)
