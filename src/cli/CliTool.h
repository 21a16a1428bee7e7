#pragma once
// The frame every command of qiheng-spc-cli runs in. Options are parsed by QCommandLineParser and
// --help prints them; whatever goes wrong ends the command with one line on standard error and
// exit code 2 for bad usage (ECliUsage) or 1 for everything else (bad data, database errors).
#include "foundation/Errors.h"
#include "foundation/Types.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class TCompanyDM;

// Bad usage: an unknown, repeated or misspelt option, an option value out of range, a missing
// argument.
class ECliUsage : public ESystemError {
public:
    using ESystemError::ESystemError;
};

// Standard input, output and error, or what a test or a benchmark puts in their place.
struct TCliIO {
    QIODevice& In;
    QIODevice& Out;
    QIODevice& Err;
};

// The parsed command line of one command, with the checks its options share.
class TCliArguments {
public:
    TCliArguments(const QCommandLineParser& parser, QString usage) : FParser(parser), FUsage(std::move(usage)) {}

    bool IsSet(const QString& name) const { return FParser.isSet(name); }
    QString Value(const QString& name) const { return FParser.value(name); }
    // Every value of an option the command lets repeat.
    QStringList Values(const QString& name) const { return FParser.values(name); }
    // An integer option of at least `least`; nothing when it is not given.
    std::optional<int> Int(const QString& name, int least) const;
    // A finite number; NullValue when the option is not given.
    double Number(const QString& name) const;
    // Exactly `count` positional arguments, otherwise the usage line is the error.
    QStringList Positional(int count) const;
    QStringList Positional() const { return FParser.positionalArguments(); }
    // The command's one-line usage as a usage error.
    [[noreturn]] void Usage() const;

private:
    const QCommandLineParser& FParser;
    QString FUsage;
};

// An option that takes a value, from the UTF-8 texts of its help line.
QCommandLineOption ValuedOption(const char* name, const char* description, const char* valueName);

// A positional argument as the command's help describes it.
struct TCliArgumentHelp {
    const char* Name;
    const char* Description;
};

// One command: its options and what it does. Run returns the exit code and raises on errors.
struct TCliCommand {
    const char* Name;
    const char* Summary;  // one line in the tool's help
    const char* Details;  // lines below it in the command's help, or nullptr
    const char* Syntax;   // what follows the command's name in its usage line
    QList<QCommandLineOption> (*Options)();
    std::vector<TCliArgumentHelp> Arguments;
    int (*Run)(const TCliArguments& args, TCliIO& io);
    // Options that may be given more than once (every other one is refused the second time).
    std::vector<const char*> Repeatable = {};
};

// The input a file argument names; "-" is standard input.
class TCliInput {
public:
    TCliInput(const QString& argument, TCliIO& io);  // ESystemError when the file cannot be read
    ~TCliInput();
    QIODevice& Device() { return *FDevice; }
    // How messages name it: "文件PATH" or "标准输入".
    const QString& Name() const { return FName; }

private:
    std::unique_ptr<QIODevice> FFile;
    QIODevice* FDevice;
    QString FName;
};

// The database a command works on (a PATH|URL argument, or --db): a database file or
// "postgresql://user@host:port/database", connected and current while the object lives.
class TCliDatabase {
public:
    explicit TCliDatabase(const QString& pathOrUrl);  // ESystemError "数据连接失败：…"
    ~TCliDatabase();
    TCliDatabase(const TCliDatabase&) = delete;
    TCliDatabase& operator=(const TCliDatabase&) = delete;
    TCompanyDM& DM() { return *FDM; }

private:
    std::unique_ptr<TCompanyDM> FDM;
};

// A control item named by its code (--item).
struct TCliItem {
    bool Attribute = false;
    int CID = NullValue;
    QString Name;
    int SampleSize = NullValue;  // variable items
};
// "计量型质量特性“CODE”不存在" / "计数型…" when the current database has no such item.
TCliItem FindControlItem(const QString& code, bool attribute);

// What a core routine would show in a message box is the command's error: installed while a
// command drives code written for the windows.
class TCliMessages;
class TCliMessageScope {
public:
    TCliMessageScope();
    ~TCliMessageScope();
    TCliMessageScope(const TCliMessageScope&) = delete;
    TCliMessageScope& operator=(const TCliMessageScope&) = delete;

private:
    std::unique_ptr<TCliMessages> FMessages;
};

// Writes one line of text (UTF-8) to the device.
void WriteLine(QIODevice& device, const QString& line);

// The tool's commands in the order its help lists them.
const std::vector<TCliCommand>& CliCommands();

// Runs the tool on its arguments (without the program name) and returns the exit code.
int RunCliTool(const QStringList& arguments, TCliIO io);
