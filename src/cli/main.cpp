// qiheng-spc-cli: database preparation and the engine's numbers for scripts.
#include "cli/CliTool.h"
#include "foundation/Types.h"

#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>
#include <memory>

namespace {
// Drawing a chart needs fonts, and fonts need a GUI application (no screen: offscreen); the
// application must exist before the options are parsed, so the picture options are looked for
// here already.
bool Draws(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--png", "--pdf", "--svg", "--xlsx"}) {
            const std::size_t n = std::strlen(option);
            if (std::strncmp(argv[i], option, n) == 0 && (argv[i][n] == 0 || argv[i][n] == '=')) return true;
        }
    return false;
}
} // namespace

int main(int argc, char* argv[])
{
    PinLocalTimeZone();
    std::unique_ptr<QCoreApplication> application;
    if (Draws(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The option parser's own words (用法, 选项, 参数) in Chinese.
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);

    QFile in, out, err;
    in.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered);
    out.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(2, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return RunCliTool(application->arguments().mid(1), TCliIO{in, out, err});
}
