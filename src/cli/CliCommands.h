#pragma once
// The commands of qiheng-spc-cli, listed by CliCommands() in CliTool.cpp. A new command is a file
// of its own defining one of these and a line in that list.
#include "cli/CliTool.h"

extern const TCliCommand InitDatabaseCommand;
extern const TCliCommand UpgradeDatabaseCommand;
extern const TCliCommand ChartCommand;
extern const TCliCommand ImportCommand;
extern const TCliCommand ReportCommand;
