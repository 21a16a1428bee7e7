#pragma once
// The subcommands of qiheng-spc-cli. Each takes the arguments after its name and returns the exit status.
#include <QStringList>
#include <QTextStream>

struct TCliStreams {
    QTextStream& out;
    QTextStream& err;
};

int RunInitDatabase(const QStringList& args, TCliStreams io);
int RunUpgradeDatabase(const QStringList& args, TCliStreams io);
int RunChart(const QStringList& args, TCliStreams io);
