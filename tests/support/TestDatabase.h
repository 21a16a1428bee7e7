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
