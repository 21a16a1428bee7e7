#include "TestDatabase.h"

#include "foundation/DBUpgrade.h"
#include "foundation/Schema.h"

TTestDatabase::TTestDatabase(TContent content, const QString& connectionName)
{
    FPath = FDir.path() + QStringLiteral("/Data/MainData.mdb");
    qputenv("QIHENG_SPC_HOME", FDir.path().toLocal8Bit());
    qputenv("QIHENG_SPC_CONFIG", (FDir.path() + QStringLiteral("/settings.ini")).toLocal8Bit());
    InitDatabaseFile(FPath, content == TContent::Demo);
    FDM = std::make_unique<TCompanyDM>(connectionName);
    FDM->Params.DBQ = FPath;
    FDM->Connect();
    TCompanyDM::SetCurrent(FDM.get());
    FScope = std::make_unique<TMessageServiceScope>(&Messages);
    if (content != TContent::Delivered) UpgradeDatabase();
}

TTestDatabase::~TTestDatabase()
{
    FScope.reset();
    if (TCompanyDM::Current() == FDM.get()) TCompanyDM::SetCurrent(nullptr);
    FDM.reset();
}

std::unique_ptr<TCompanyDM> TTestDatabase::OpenSecondConnection(const QString& name) const
{
    auto dm = std::make_unique<TCompanyDM>(name);
    dm->Params.DBQ = FPath;
    dm->Connect();
    return dm;
}
