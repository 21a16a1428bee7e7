#include "foundation/ServerConnection.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <QUuid>

namespace {
// A field of a password-file line: ':' and '\' are escaped with '\'.
QString PassField(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char(':'), QStringLiteral("\\:"));
    return text;
}
} // namespace

QString ServerURL(const TServerConnection& server, bool withPassword)
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(server.Host.trimmed());
    url.setPort(server.Port);
    url.setPath(QLatin1Char('/') + server.Database.trimmed());
    url.setUserName(server.User.trimmed());
    if (withPassword && !server.Password.isEmpty()) url.setPassword(server.Password);
    return url.toString();
}

QString ServerPasswordFile(const TAppSettings& settings)
{
    return QFileInfo(settings.FileName()).absolutePath() + QStringLiteral("/pgpass");
}

void StoreServerPassword(const TAppSettings& settings, const TServerConnection& server)
{
    const QString path = ServerPasswordFile(settings);
    if (server.Password.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ESystemError(QStringLiteral("无法保存服务器密码：%1").arg(path));
    // Readable by the user alone before anything is written into it.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString line = QStringList{PassField(server.Host.trimmed()), QString::number(server.Port),
                                     PassField(server.Database.trimmed()), PassField(server.User.trimmed()),
                                     PassField(server.Password)}.join(QLatin1Char(':'));
    file.write(line.toUtf8() + '\n');
    if (!file.commit()) throw ESystemError(QStringLiteral("无法保存服务器密码：%1").arg(path));
}

QString TestServerConnection(const TServerConnection& server)
{
    if (server.Host.trimmed().isEmpty() || server.Database.trimmed().isEmpty())
        return QStringLiteral("请填写服务器地址和数据库名称！");
    TCompanyDM dm(QStringLiteral("server-test-") + QUuid::createUuid().toString(QUuid::Id128));
    dm.Params.DBQ = ServerURL(server, true);
    try {
        dm.Connect();
    } catch (const EDatabaseError& e) {
        return QStringLiteral("连接失败：%1").arg(e.EngineText().simplified());
    } catch (const ESystemError& e) {
        return QStringLiteral("连接失败：%1").arg(e.Message());
    }
    try {
        QSqlQuery q = dm.Exec(QStringLiteral("select Ver from S_System"));
        if (q.next()) return QStringLiteral("连接成功，数据库版本 %1。").arg(q.value(0).toString());
    } catch (const ESystemError&) {
        // no table of ours: said below
    }
    return QStringLiteral("服务器已连接，但数据库中没有启衡SPC的数据表。");
}
