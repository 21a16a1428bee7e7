// qiheng-spc-cli: database preparation and the engine's numbers for scripts.
#include "cli/CliCommands.h"

#include <QGuiApplication>
#include <functional>
#include <map>
#include <memory>

int main(int argc, char* argv[])
{
    // Drawing a chart needs fonts, and fonts need a GUI application (no screen: offscreen).
    bool draws = false;
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--png", "--pdf", "--svg"}) draws = draws || qstrncmp(argv[i], option, 5) == 0;
    std::unique_ptr<QCoreApplication> application;
    if (draws) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::map<QString, std::function<int(const QStringList&, TCliStreams)>> commands{
        {QStringLiteral("init-database"), RunInitDatabase},
        {QStringLiteral("upgrade-database"), RunUpgradeDatabase},
        {QStringLiteral("chart"), RunChart},
    };
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || commands.find(args.first()) == commands.end()) {
        err << "用法: qiheng-spc-cli <命令> [参数]" << Qt::endl << "命令:";
        for (const auto& c : commands) err << " " << c.first;
        err << Qt::endl;
        return 2;
    }
    const QString name = args.takeFirst();
    return commands.at(name)(args, TCliStreams{out, err});
}
