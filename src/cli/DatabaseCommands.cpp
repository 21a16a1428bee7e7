// init-database and upgrade-database: the delivered database on a new file or an empty server
// database, and an existing database brought to the current schema.
#include "cli/CliCommands.h"

#include "foundation/DBUpgrade.h"
#include "foundation/Schema.h"

namespace {
QList<QCommandLineOption> InitOptions()
{
    return {QCommandLineOption(QStringLiteral("server"), QStringLiteral("在服务器的空数据库中创建（postgresql://用户@主机:端口/库名）"),
                               QStringLiteral("URL")),
            QCommandLineOption(QStringLiteral("demo"), QStringLiteral("加入演示工厂的数据"))};
}

int RunInitDatabase(const TCliArguments& args, TCliIO& io)
{
    const QString server = args.Value(QStringLiteral("server"));
    const bool demo = args.IsSet(QStringLiteral("demo"));
    const QStringList positional = args.Positional(args.IsSet(QStringLiteral("server")) ? 0 : 1);
    if (server.isEmpty()) {
        if (args.IsSet(QStringLiteral("server"))) args.Usage();
        InitDatabaseFile(positional.first(), demo);
    } else {
        InitServerDatabase(server, demo);
    }
    WriteLine(io.Out, QStringLiteral("%1: 数据库已创建，版本 1%2")
                          .arg(server.isEmpty() ? positional.first() : server, demo ? QStringLiteral("（含演示数据）") : QString()));
    return 0;
}

int RunUpgradeDatabase(const TCliArguments& args, TCliIO& io)
{
    const QString database = args.Positional(1).first();
    TCliDatabase db(database);
    UpgradeDatabase();
    WriteLine(io.Out, QStringLiteral("%1: 数据库版本 %2").arg(database, DatabaseVersion()));
    return 0;
}
} // namespace

const TCliCommand InitDatabaseCommand{
    "init-database", "新建交付状态的数据库（数据库文件或服务器上的空数据库）", nullptr, "PATH|--server URL [--demo]",
    InitOptions, {{"PATH", "新数据库文件的路径（已有的文件不会被覆盖）"}}, RunInitDatabase};

const TCliCommand UpgradeDatabaseCommand{
    "upgrade-database", "把数据库升级到当前版本", nullptr, "PATH|URL", [] { return QList<QCommandLineOption>{}; },
    {{"PATH|URL", "数据库文件，或服务器地址postgresql://用户@主机:端口/库名"}}, RunUpgradeDatabase};
