#include "cli/CliTool.h"

#include "cli/CliCommands.h"
#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>
#include "foundation/Types.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <new>

namespace {
const QString kTool = QStringLiteral("qiheng-spc-cli");

QCommandLineOption HelpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("显示帮助"));
}

QString OneLine(QString message)
{
    message.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return message;
}

// The parser's own help without its first line, which names the program as it was started: ours
// names the command instead.
QString HelpText(const QCommandLineParser& parser, const QString& usageLine)
{
    const QString text = parser.helpText();
    return usageLine + text.mid(text.indexOf(QLatin1Char('\n')));
}

// The parser's complaint in the words the tool uses everywhere. Missing and unexpected values are
// found by walking the arguments again, since the parser does not say which option it was.
QString ParserError(const QCommandLineParser& parser, const QStringList& args, const QList<QCommandLineOption>& options)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("未知的选项：%1%2").arg(unknown.first().size() == 1 ? "-" : "--", unknown.first());
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--")) break;
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) continue;
        const QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
        const bool withValue = a.contains(QLatin1Char('='));
        for (const QCommandLineOption& o : options) {
            if (!o.names().contains(name)) continue;
            if (o.valueName().isEmpty() && withValue) return QStringLiteral("选项--%1不带取值").arg(o.names().last());
            if (!o.valueName().isEmpty() && !withValue && ++i >= args.size())
                return QStringLiteral("选项--%1缺少取值").arg(o.names().last());
        }
    }
    return OneLine(parser.errorText());
}

// An option given twice is refused rather than one of its values silently dropped.
void RefuseRepeatedOptions(const QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                           const std::vector<const char*>& repeatable)
{
    QHash<QString, int> seen;
    for (const QString& name : parser.optionNames())
        for (const QCommandLineOption& o : options)
            if (o.names().contains(name) &&
                std::none_of(repeatable.begin(), repeatable.end(), [&](const char* r) { return o.names().last() == QLatin1String(r); }) &&
                ++seen[o.names().last()] == 2)
                throw ECliUsage(QStringLiteral("选项--%1重复").arg(o.names().last()));
}

int RunCommand(const TCliCommand& command, const QStringList& args, TCliIO& io)
{
    const QString name = QString::fromUtf8(command.Name);
    const QString usage = QStringLiteral("用法：%1 %2 %3").arg(kTool, name, QString::fromUtf8(command.Syntax));
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(command.Summary) +
                                     (command.Details ? QLatin1Char('\n') + QString::fromUtf8(command.Details) : QString()));
    const QList<QCommandLineOption> options = QList<QCommandLineOption>{HelpOption()} + command.Options();
    parser.addOptions(options);
    for (const TCliArgumentHelp& a : command.Arguments)
        parser.addPositionalArgument(QString::fromUtf8(a.Name), QString::fromUtf8(a.Description));
    if (!parser.parse(QStringList{kTool} + args)) throw ECliUsage(ParserError(parser, args, options));
    if (parser.isSet(QStringLiteral("help"))) {
        WriteLine(io.Out, HelpText(parser, usage));
        return 0;
    }
    RefuseRepeatedOptions(parser, options, command.Repeatable);
    return command.Run(TCliArguments(parser, usage + QStringLiteral("（选项见 %1 %2 --help）").arg(kTool, name)), io);
}

// The tool's own help: its options as the parser lists them, then the commands.
QString ToolHelp(const QCommandLineParser& parser)
{
    QString text = HelpText(parser, QStringLiteral("用法：%1 <命令> [选项]").arg(kTool)) + QStringLiteral("\n命令：\n");
    int width = 0;
    for (const TCliCommand& c : CliCommands()) width = std::max(width, int(qstrlen(c.Name)));
    for (const TCliCommand& c : CliCommands())
        text += QStringLiteral("  %1  %2\n").arg(QString::fromUtf8(c.Name).leftJustified(width), QString::fromUtf8(c.Summary));
    return text + QStringLiteral("\n命令的选项：%1 <命令> --help").arg(kTool);
}

int RunTool(const QStringList& args, TCliIO& io)
{
    QStringList names;
    for (const TCliCommand& c : CliCommands()) {
        names << QString::fromUtf8(c.Name);
        if (!args.isEmpty() && args.first() == names.last()) return RunCommand(c, args.mid(1), io);
    }
    const QString usage = QStringLiteral("用法：%1 <命令> [选项]（命令：%2；详见 %1 --help）").arg(kTool, names.join(QStringLiteral(", ")));
    if (args.isEmpty()) throw ECliUsage(usage);
    if (!args.first().startsWith(QLatin1Char('-')) || args.first() == QLatin1String("-"))
        throw ECliUsage(QStringLiteral("未知的命令：%1（可用：%2）").arg(args.first(), names.join(QStringLiteral(", "))));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("启衡SPC的命令行工具：准备数据库，由CSV文件计算控制图。"));
    const QList<QCommandLineOption> options{
        HelpOption(), QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("显示版本"))};
    parser.addOptions(options);
    if (!parser.parse(QStringList{kTool} + args)) throw ECliUsage(ParserError(parser, args, options));
    if (!parser.positionalArguments().isEmpty()) throw ECliUsage(usage);
    if (parser.isSet(QStringLiteral("help"))) {
        WriteLine(io.Out, ToolHelp(parser));
        return 0;
    }
    WriteLine(io.Out, QStringLiteral("%1 %2").arg(kTool, QStringLiteral(QIHENG_SPC_VERSION)));
    return 0;
}
} // namespace

std::optional<int> TCliArguments::Int(const QString& name, int least) const
{
    if (!IsSet(name)) return std::nullopt;
    const QString text = Value(name).trimmed();
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < least) throw ECliUsage(QStringLiteral("选项--%1的取值“%2”应为不小于%3的整数").arg(name, text).arg(least));
    return v;
}

double TCliArguments::Number(const QString& name) const
{
    if (!IsSet(name)) return NullValue;
    const QString text = Value(name).trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) throw ECliUsage(QStringLiteral("选项--%1的取值“%2”不是有效的数值").arg(name, text));
    return v;
}

QStringList TCliArguments::Positional(int count) const
{
    const QStringList positional = Positional();
    if (positional.size() != count) Usage();
    return positional;
}

void TCliArguments::Usage() const
{
    throw ECliUsage(FUsage);
}

TCliInput::TCliInput(const QString& argument, TCliIO& io)
{
    if (argument == QLatin1String("-")) {
        FDevice = &io.In;
        FName = QStringLiteral("标准输入");
        return;
    }
    auto file = std::make_unique<QFile>(argument);
    if (!file->exists()) RaiseError(QStringLiteral("文件不存在：%1").arg(argument));
    // A folder opens on this platform, but reads nothing.
    if (QFileInfo(argument).isDir() || !file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        RaiseError(QStringLiteral("无法打开文件：%1").arg(argument));
    FDevice = file.get();
    FFile = std::move(file);
    FName = QStringLiteral("文件") + argument;
}

TCliInput::~TCliInput() = default;

TCliDatabase::TCliDatabase(const QString& pathOrUrl) : FDM(std::make_unique<TCompanyDM>())
{
    FDM->Params.DBQ = pathOrUrl;
    try {
        FDM->ConnectWithFallback();
    } catch (const ESystemError& e) {
        RaiseError(QStringLiteral("数据连接失败：%1").arg(e.Message()));
    }
    TCompanyDM::SetCurrent(FDM.get());
}

TCliDatabase::~TCliDatabase()
{
    if (TCompanyDM::Current() == FDM.get()) TCompanyDM::SetCurrent(nullptr);
}

TCliItem FindControlItem(const QString& code, bool attribute)
{
    const TSqlParams params{{QStringLiteral("Code"), code}};
    QSqlQuery q = CurrentCompanyDM().Exec(attribute ? QStringLiteral("select CID, CName, 0 from L_AControlItem where CCode = :Code")
                                                    : QStringLiteral("select CID, CName, SampleSize from L_VControlItem where CCode = :Code"),
                                          params);
    if (!q.next())
        RaiseError(QStringLiteral("%1质量特性“%2”不存在").arg(attribute ? QStringLiteral("计数型") : QStringLiteral("计量型"), code));
    TCliItem item;
    item.Attribute = attribute;
    item.CID = VariantToInt(q.value(0));
    item.Name = VariantToString(q.value(1));
    if (!attribute) item.SampleSize = VariantToInt(q.value(2));
    return item;
}

class TCliMessages : public TMessageService {
public:
    TMsgResult Show(const QString& text, const QString&, TMsgIcon, TMsgButtons) override { RaiseError(text); }
    TMessageServiceScope Scope{this};
};

TCliMessageScope::TCliMessageScope() : FMessages(std::make_unique<TCliMessages>()) {}
TCliMessageScope::~TCliMessageScope() = default;

void WriteLine(QIODevice& device, const QString& line)
{
    device.write((line + QLatin1Char('\n')).toUtf8());
}

const std::vector<TCliCommand>& CliCommands()
{
    static const std::vector<TCliCommand> commands{InitDatabaseCommand, UpgradeDatabaseCommand, ImportCommand, ChartCommand, ReportCommand};
    return commands;
}

int RunCliTool(const QStringList& arguments, TCliIO io)
{
    QString message;
    int code = 1;
    try {
        return RunTool(arguments, io);
    } catch (const ECliUsage& e) {
        message = e.Message();
        code = 2;
    } catch (const ESystemError& e) {
        message = e.Message();
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("内存不足");
    } catch (const std::exception& e) {
        message = QStringLiteral("内部错误：%1").arg(QString::fromLocal8Bit(e.what()));
    }
    WriteLine(io.Err, OneLine(message));
    return code;
}

QCommandLineOption ValuedOption(const char* name, const char* description, const char* valueName)
{
    return QCommandLineOption(QString::fromUtf8(name), QString::fromUtf8(description), QString::fromUtf8(valueName));
}
