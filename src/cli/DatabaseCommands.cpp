#include "cli/CliCommands.h"

#include "foundation/CompanyDM.h"
#include "foundation/DBUpgrade.h"
#include "foundation/Errors.h"
#include "foundation/Schema.h"

int RunInitDatabase(const QStringList& args, TCliStreams io)
{
    const char* usage = "用法: qiheng-spc-cli init-database PATH [--demo] | init-database --server URL [--demo]";
    QString path;
    QString server;
    bool demo = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--demo"))
            demo = true;
        else if (a == QLatin1String("--server") && i + 1 < args.size() && server.isEmpty())
            server = args[++i];
        else if (path.isEmpty() && !a.startsWith(QLatin1String("--")))
            path = a;
        else {
            io.err << usage << Qt::endl;
            return 2;
        }
    }
    if (path.isEmpty() == server.isEmpty()) {
        io.err << usage << Qt::endl;
        return 2;
    }
    try {
        if (server.isEmpty())
            InitDatabaseFile(path, demo);
        else
            InitServerDatabase(server, demo);
    } catch (const ESystemError& e) {
        io.err << e.Message() << Qt::endl;
        return 1;
    }
    io.out << (server.isEmpty() ? path : server) << ": 数据库已创建，版本 1" << (demo ? "（含演示数据）" : "")
           << Qt::endl;
    return 0;
}

int RunUpgradeDatabase(const QStringList& args, TCliStreams io)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--"))) {
        io.err << "用法: qiheng-spc-cli upgrade-database PATH" << Qt::endl;
        return 2;
    }
    TCompanyDM dm;
    dm.Params.DBQ = args[0];
    try {
        dm.ConnectWithFallback();
    } catch (const ESystemError& e) {
        io.err << "数据连接失败，程序将关闭！" << Qt::endl << e.Message() << Qt::endl;
        return 1;
    }
    TCompanyDM::SetCurrent(&dm);
    try {
        UpgradeDatabase();
        io.out << args[0] << ": 数据库版本 " << DatabaseVersion() << Qt::endl;
    } catch (const ESystemError& e) {
        io.err << e.Message() << Qt::endl;
        TCompanyDM::SetCurrent(nullptr);
        return 1;
    }
    TCompanyDM::SetCurrent(nullptr);
    return 0;
}
