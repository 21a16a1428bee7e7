#include "foundation/Settings.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QFileInfo>

namespace {
const QString kGroup = QStringLiteral("2.1/");
const QString kDBQ = QStringLiteral("ODBC/ZIDIZ/DBQ");

std::unique_ptr<QSettings> OpenDefaultStore()
{
    const QByteArray file = qgetenv("QIHENG_SPC_CONFIG");
    if (!file.isEmpty())
        return std::make_unique<QSettings>(QString::fromLocal8Bit(file), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("REDoro"), QStringLiteral("ZIDIZ"));
}
} // namespace

TAppSettings::TAppSettings() : FStore(OpenDefaultStore())
{
}

TAppSettings::TAppSettings(const QString& fileName)
    : FStore(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

QVariant TAppSettings::ReadOrDefault(const QString& key, const QVariant& def)
{
    const QString full = kGroup + key;
    if (!FStore->contains(full)) FStore->setValue(full, def);
    return FStore->value(full, def);
}

int TAppSettings::RunMode()
{
    return ReadOrDefault(QStringLiteral("RunMode"), 1).toInt();
}

void TAppSettings::SetRunMode(int mode)
{
    FStore->setValue(kGroup + QStringLiteral("RunMode"), mode);
}

bool TAppSettings::HasRunModeNoDisplay() const
{
    return FStore->contains(kGroup + QStringLiteral("RunModeNoDisplay"));
}

bool TAppSettings::Contains(const QString& key) const
{
    return FStore->contains(kGroup + key);
}

bool TAppSettings::RunModeNoDisplay()
{
    return ReadOrDefault(QStringLiteral("RunModeNoDisplay"), 0).toInt() != 0;
}

void TAppSettings::SetRunModeNoDisplay(bool value)
{
    FStore->setValue(kGroup + QStringLiteral("RunModeNoDisplay"), value ? 1 : 0);
}

QString TAppSettings::DBFileNetPath()
{
    return ReadOrDefault(QStringLiteral("DBFileNetPath"), QString()).toString();
}

void TAppSettings::SetDBFileNetPath(const QString& path)
{
    FStore->setValue(kGroup + QStringLiteral("DBFileNetPath"), path);
}

TServerConnection TAppSettings::Server() const
{
    TServerConnection server;
    server.Host = FStore->value(kGroup + QStringLiteral("ServerHost")).toString();
    server.Port = FStore->value(kGroup + QStringLiteral("ServerPort"), 5432).toInt();
    server.Database = FStore->value(kGroup + QStringLiteral("ServerDatabase")).toString();
    server.User = FStore->value(kGroup + QStringLiteral("ServerUser")).toString();
    return server;
}

void TAppSettings::SetServer(const TServerConnection& server)
{
    FStore->setValue(kGroup + QStringLiteral("ServerHost"), server.Host.trimmed());
    FStore->setValue(kGroup + QStringLiteral("ServerPort"), server.Port);
    FStore->setValue(kGroup + QStringLiteral("ServerDatabase"), server.Database.trimmed());
    FStore->setValue(kGroup + QStringLiteral("ServerUser"), server.User.trimmed());
}

QString TAppSettings::LastUserName()
{
    return ReadOrDefault(QStringLiteral("LastUserName"), QString()).toString();
}

void TAppSettings::SetLastUserName(const QString& name)
{
    FStore->setValue(kGroup + QStringLiteral("LastUserName"), name);
}

QString TAppSettings::DBQ() const
{
    return FStore->value(kDBQ).toString();
}

void TAppSettings::SetDBQ(const QString& path)
{
    FStore->setValue(kDBQ, path);
}

void TAppSettings::Sync()
{
    FStore->sync();
}

QString TAppSettings::FileName() const
{
    return FStore->fileName();
}

QString StoreRunMode(TAppSettings& settings, bool network, const QString& directoryText, bool noDisplay)
{
    QString path;
    if (network) {
        if (directoryText.trimmed().isEmpty())
            throw ESystemError(QStringLiteral("请指定数据库在网络中的存放位置！"));
        // Stored as typed: only the emptiness test trims.
        path = directoryText + QStringLiteral("/MainData.mdb");
        if (!QFileInfo(path).isFile())
            throw ESystemError(QStringLiteral("所选择的目录下没有数据库文件！请重新选择正确的目录。"));
    } else {
        path = DefaultDatabasePath();
    }
    settings.SetDBQ(path);
    if (network) settings.SetDBFileNetPath(directoryText);
    settings.SetRunModeNoDisplay(noDisplay);
    settings.SetRunMode(network ? 2 : 1);
    settings.Sync();
    return path;
}

QString StoreServerRunMode(TAppSettings& settings, const TServerConnection& server, bool noDisplay)
{
    if (server.Host.trimmed().isEmpty()) throw ESystemError(QStringLiteral("请指定数据库服务器的地址！"));
    if (server.Database.trimmed().isEmpty()) throw ESystemError(QStringLiteral("请指定服务器上的数据库名称！"));
    if (server.Port < 1 || server.Port > 65535) throw ESystemError(QStringLiteral("请输入正确的端口号！"));
    StoreServerPassword(settings, server);
    const QString url = ServerURL(server);
    settings.SetServer(server);
    settings.SetDBQ(url);
    settings.SetRunModeNoDisplay(noDisplay);
    settings.SetRunMode(3);
    settings.Sync();
    return url;
}

void ApplyConnectionSettings(const TAppSettings& settings, TConnectionParams& params)
{
    params.DBQ = ConfiguredDatabasePath(settings);
    params.PasswordFile = ServerPasswordFile(settings);
}

QString ConfiguredDatabasePath(const TAppSettings& settings)
{
    const QString dbq = settings.DBQ();
    return dbq.isEmpty() ? DefaultDatabasePath() : dbq;
}

bool RunModeDialogWanted(TAppSettings& settings, bool fromMenu)
{
    if (fromMenu) return true;
    return !settings.RunModeNoDisplay();
}
