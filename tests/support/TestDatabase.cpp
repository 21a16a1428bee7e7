#include "TestDatabase.h"

#include "foundation/DBUpgrade.h"
#include "foundation/DemoData.h"
#include "foundation/Schema.h"

#include <QUrl>
#include <QUuid>

bool TestEngineIsServer()
{
    return qEnvironmentVariable("QIHENG_SPC_TEST_ENGINE") == QLatin1String("postgres");
}

TTestDatabase::TTestDatabase(TContent content, const QString& connectionName)
{
    qputenv("QIHENG_SPC_HOME", FDir.path().toLocal8Bit());
    qputenv("QIHENG_SPC_CONFIG", (FDir.path() + QStringLiteral("/settings.ini")).toLocal8Bit());
    FDM = std::make_unique<TCompanyDM>(connectionName);
    if (TestEngineIsServer()) {
        FSchema = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        QUrl url(qEnvironmentVariable("QIHENG_SPC_PG_URL"));
        FDM->Params.DBQ = url.toString();
        FDM->Connect();
        FDM->Exec(QStringLiteral("create schema %1").arg(FSchema));
        url.setQuery(QStringLiteral("search_path=") + FSchema);
        FPath = url.toString();
        FDM->Params.DBQ = FPath;
        FDM->Connect();
        CreateSchema(*FDM);
        WriteDeliveredContent(*FDM);
        if (content == TContent::Demo) WriteDemoContent(*FDM);
    } else {
        FPath = FDir.path() + QStringLiteral("/Data/MainData.mdb");
        InitDatabaseFile(FPath, content == TContent::Demo);
        FDM->Params.DBQ = FPath;
        FDM->Connect();
    }
    TCompanyDM::SetCurrent(FDM.get());
    FScope = std::make_unique<TMessageServiceScope>(&Messages);
    if (content != TContent::Delivered) UpgradeDatabase();
}

TTestDatabase::~TTestDatabase()
{
    FScope.reset();
    if (TCompanyDM::Current() == FDM.get()) TCompanyDM::SetCurrent(nullptr);
    if (IsServer()) {
        // The test may have left the connection closed or inside a failed transaction.
        TCompanyDM admin(FDM->ConnectionName() + QStringLiteral("-drop"));
        FDM.reset();
        admin.Params.DBQ = qEnvironmentVariable("QIHENG_SPC_PG_URL");
        admin.Connect();
        admin.Exec(QStringLiteral("drop schema %1 cascade").arg(FSchema));
    }
    FDM.reset();
}

std::unique_ptr<TCompanyDM> TTestDatabase::OpenSecondConnection(const QString& name) const
{
    auto dm = std::make_unique<TCompanyDM>(name);
    dm->Params.DBQ = FPath;
    dm->Connect();
    return dm;
}

TPostgresDatabase::TPostgresDatabase()
{
    const QByteArray url = qgetenv("QIHENG_SPC_PG_URL");
    if (url.isEmpty()) return;
    FSchema = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    DM.Params.DBQ = QString::fromLocal8Bit(url);
    DM.Connect();
    DM.Exec(QStringLiteral("create schema %1").arg(FSchema));
    DM.Exec(QStringLiteral("set search_path to %1").arg(FSchema));
    TCompanyDM::SetCurrent(&DM);
}

TPostgresDatabase::~TPostgresDatabase()
{
    if (FSchema.isEmpty()) return;
    if (TCompanyDM::Current() == &DM) TCompanyDM::SetCurrent(nullptr);
    DM.Exec(QStringLiteral("drop schema %1 cascade").arg(FSchema));
}
