#pragma once
// A real SQLite database file in a temporary folder, connected as the current connection, with a
// scripted message service installed. Each test gets a fresh one.
#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"

#include <QTemporaryDir>
#include <memory>

class TTestDatabase {
public:
    enum class TContent { Delivered, Upgraded, Demo };
    explicit TTestDatabase(TContent content = TContent::Upgraded,
                           const QString& connectionName = QStringLiteral("RUZAZ"));
    ~TTestDatabase();

    QString Path() const { return FPath; }
    QString DirPath() const { return FDir.path(); }
    TCompanyDM& DM() { return *FDM; }
    TScriptedMessageService Messages;

    // A second connection to the same file (as a second workstation would have).
    std::unique_ptr<TCompanyDM> OpenSecondConnection(const QString& name) const;

private:
    QTemporaryDir FDir;
    QString FPath;
    std::unique_ptr<TCompanyDM> FDM;
    std::unique_ptr<TMessageServiceScope> FScope;
};

// A fresh schema of its own on the PostgreSQL server that QIHENG_SPC_PG_URL names (./test starts a
// private one), the current connection while it lives; dropped afterwards. Without the variable it
// is not available: the test is skipped, except under CI, where a missing server fails it.
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
