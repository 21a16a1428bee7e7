// qiheng-spc-cli as scripts run it, on real files: its help, its exit codes with their one-line
// messages, standard input, the CSV reading rules and the CSV output.
#include "CliRun.h"

#include <QDir>
#include <QJsonArray>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
const QString kCli = QStringLiteral(QIHENG_SPC_CLI);

TCliRun Cli(const QStringList& args, const QByteArray& input = {})
{
    return RunCli(kCli, args, input);
}

std::string Describe(const QStringList& args)
{
    return args.join(QLatin1Char(' ')).toStdString();
}

// The lines of the help's option list.
QStringList OptionLines(const QString& help)
{
    const int from = help.indexOf(QStringLiteral("选项：\n"));
    if (from < 0) return {};
    QStringList lines = help.mid(from + 4).split(QLatin1Char('\n'));
    lines = lines.mid(0, lines.indexOf(QString()));
    return lines;
}

class CliTool : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Write(const QString& name, const QByteArray& text)
    {
        const QString path = Dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path;
    }
    // subgroup,value rows 1..n with values that repeat every 7 subgroups.
    static QByteArray Individuals(int n)
    {
        QByteArray text("subgroup,value\n");
        for (int sn = 1; sn <= n; ++sn) text += QByteArray::number(sn) + ',' + QByteArray::number(10 + sn % 7 * 0.25) + '\n';
        return text;
    }
};
} // namespace

TEST(CliHelp, TheToolAndEveryCommandListTheirOptionsOnePerLine)
{
    const TCliRun tool = Cli({"--help"});
    ASSERT_EQ(tool.ExitCode, 0);
    EXPECT_TRUE(tool.Err.isEmpty());
    EXPECT_TRUE(tool.Out.startsWith(QStringLiteral("用法：qiheng-spc-cli <命令> [选项]\n"))) << tool.Out.toStdString();
    for (const char* command : {"init-database", "upgrade-database", "import", "chart", "report"})
        EXPECT_TRUE(tool.Out.contains(QStringLiteral("\n  %1  ").arg(QLatin1String(command)))) << command;
    EXPECT_EQ(Cli({"-h"}).Out, tool.Out);

    const struct {
        const char* command;
        QStringList options;
    } commands[] = {
        {"init-database", {"--server <URL>", "--demo"}},
        {"upgrade-database", {}},
        {"import", {"--db <PATH|URL>", "--item <CCODE>", "--tags <TEMPLATECODE>"}},
        {"chart", {"--type <TYPE>", "--size <N>", "--step <S>", "--usl <X>", "--sl <X>", "--lsl <X>", "--groups <K>",
                   "--show <N>", "--rules <EXPR;...>", "--format <json|csv>", "--png <FILE>", "--pdf <FILE>",
                   "--svg <FILE>", "--width <W>", "--height <H>", "--db <PATH|URL>", "--item <CCODE>", "--from <DATE>",
                   "--to <DATE>", "--tag <TAGCODE=VALUE>", "--template <JRTCODE>", "--save-result"}},
        {"report", {"--db <PATH|URL>", "--item <CCODE>", "--type <TYPE>", "--from <DATE>", "--to <DATE>", "--tag <TAGCODE=VALUE>",
                    "--pdf <FILE>", "--xlsx <FILE>"}},
    };
    for (const auto& c : commands) {
        const TCliRun r = Cli({QString::fromUtf8(c.command), "--help"});
        ASSERT_EQ(r.ExitCode, 0) << c.command;
        EXPECT_TRUE(r.Err.isEmpty());
        EXPECT_TRUE(r.Out.startsWith(QStringLiteral("用法：qiheng-spc-cli %1 ").arg(QLatin1String(c.command))))
            << r.Out.toStdString();
        // Each option on one line: no description runs over onto a line of its own.
        const QStringList lines = OptionLines(r.Out);
        QStringList names;
        for (const QString& line : lines) {
            EXPECT_TRUE(line.startsWith(QStringLiteral("  -"))) << c.command << ": " << line.toStdString();
            names << line.trimmed().section(QStringLiteral("  "), 0, 0);
        }
        EXPECT_EQ(names.join(QLatin1Char('|')), (QStringList{"-h, --help"} + c.options).join(QLatin1Char('|'))) << c.command;
        EXPECT_EQ(Cli({QString::fromUtf8(c.command), "-h"}).Out, r.Out);
    }
}

TEST(CliHelp, Version)
{
    for (const char* option : {"--version", "-v"}) {
        const TCliRun r = Cli({QString::fromUtf8(option)});
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_EQ(r.Out, QStringLiteral("qiheng-spc-cli " QIHENG_SPC_VERSION "\n"));
        EXPECT_TRUE(r.Err.isEmpty());
    }
}

// Bad usage: status 2, one line on standard error, nothing on standard output.
TEST_F(CliTool, BadUsageGivesStatusTwoAndOneLine)
{
    const QString csv = Write("x.csv", Individuals(3));
    const QString toolUsage = QStringLiteral("用法：qiheng-spc-cli <命令> [选项]（命令：init-database, upgrade-database, import, chart, report；详见 qiheng-spc-cli --help）");
    const auto usage = [](const char* command, const char* syntax) {
        return QStringLiteral("用法：qiheng-spc-cli %1 %2（选项见 qiheng-spc-cli %1 --help）").arg(QLatin1String(command), QString::fromUtf8(syntax));
    };
    const struct {
        const char* why;
        QStringList args;
        QString message;
    } cases[] = {
        {"no command", {}, toolUsage},
        {"a misspelt command", {"chrat"}, "未知的命令：chrat（可用：init-database, upgrade-database, import, chart, report）"},
        {"an option the tool does not have", {"--verbose"}, "未知的选项：--verbose"},
        {"an option of the wrong command", {"upgrade-database", "--demo", "a.mdb"}, "未知的选项：--demo"},
        {"an option given twice would lose one of its values", {"chart", "--type", "x-rm", "--type=p", csv}, "选项--type重复"},
        {"a switch takes no value", {"init-database", "--demo=yes", "a.mdb"}, "选项--demo不带取值"},
        {"a value missing at the end", {"chart", csv, "--usl"}, "选项--usl缺少取值"},
        {"neither a file nor a server", {"init-database", "--demo"}, usage("init-database", "PATH|--server URL [--demo]")},
        {"both a file and a server", {"init-database", "a.mdb", "--server", "postgresql://u@h/d"},
         usage("init-database", "PATH|--server URL [--demo]")},
        {"no database", {"upgrade-database"}, usage("upgrade-database", "PATH|URL")},
        {"two input files", {"chart", "--type", "x-rm", csv, csv}, usage("chart", "--type TYPE [选项] FILE.csv|-|--db PATH|URL --item CCODE")},
        {"an output format the command does not write", {"chart", "--type", "x-rm", "--format", "xml", csv},
         "选项--format的取值“xml”应为json或csv"},
        {"a rule that does not parse, found before the data is read", {"chart", "--type", "x-rm", "--rules", "MX1", "-"},
         "检测规则表达式“MX1”无法识别，应形如MT1,6或SR7,3,2"},
    };
    for (const auto& c : cases) {
        const TCliRun r = Cli(c.args);
        EXPECT_EQ(r.ExitCode, 2) << c.why;
        EXPECT_EQ(r.Err, c.message + QLatin1Char('\n')) << c.why;
        EXPECT_TRUE(r.Out.isEmpty()) << c.why;
    }
}

// Bad data: status 1 and one line that names the line of the file at fault.
TEST_F(CliTool, BadDataGivesStatusOneAndNamesTheLine)
{
    QByteArray far = Individuals(70000);  // the bad line lies beyond the first read
    far += "70001,x\n";
    const QString missing = Dir.filePath("missing.csv");
    const struct {
        const char* why;
        QString file;  // "-": the input goes to standard input
        QByteArray input;
        QString message;
    } cases[] = {
        {"missing file", missing, {}, "文件不存在：" + missing},
        {"a folder cannot be read", Dir.path(), {}, "无法打开文件：" + Dir.path()},
        {"empty file", Write("empty.csv", ""), {}, "文件" + Dir.filePath("empty.csv") + "是空的，应有表头“subgroup,value”"},
        {"blank lines only", Write("blank.csv", "\n  \r\n\t\n"), {}, "文件" + Dir.filePath("blank.csv") + "是空的，应有表头“subgroup,value”"},
        {"empty standard input", "-", {}, "标准输入是空的，应有表头“subgroup,value”"},
        {"wrong header after blank lines", Write("header.csv", "\n\nsubgroup;value\n1;2\n"), {},
         "文件" + Dir.filePath("header.csv") + "的表头（第3行）应为“subgroup,value”"},
        {"wrong column count, counted over a blank line and CRLF", Write("columns.csv", "subgroup,value\r\n1,1\r\n\r\n2\r\n"), {},
         "第4行应有2列，实有1列"},
        {"non-numeric value", Write("text.csv", "subgroup,value\n1,1.2.3\n"), {}, "第2行的value“1.2.3”不是有效的数值"},
        {"not a number", Write("nan.csv", "subgroup,value\n1,1\n2,nan\n"), {}, "第3行的value“nan”不是有效的数值"},
        {"infinite", Write("inf.csv", "subgroup,value\n1,-inf\n"), {}, "第2行的value“-inf”不是有效的数值"},
        {"beyond the range of a double", Write("big.csv", "subgroup,value\n1,1e999\n"), {}, "第2行的value“1e999”不是有效的数值"},
        {"number with trailing text", Write("unit.csv", "subgroup,value\n1,2.5mm\n"), {}, "第2行的value“2.5mm”不是有效的数值"},
        {"subgroup not an integer", Write("sn.csv", "subgroup,value\nA1,2\n"), {}, "第2行的subgroup“A1”不是整数"},
        {"subgroup beyond the integers", Write("snbig.csv", "subgroup,value\n99999999999,2\n"), {},
         "第2行的subgroup“99999999999”不是整数"},
        {"quote not closed on its line", Write("quote.csv", "subgroup,value\n1,\"2\n3\"\n"), {}, "第2行的引号没有结束"},
        {"bad line on standard input", "-", "subgroup,value\n1,1\n1,x\n", "第3行的value“x”不是有效的数值"},
        {"bad line far down the file", Write("far.csv", far), {}, "第70002行的value“x”不是有效的数值"},
    };
    for (const auto& c : cases) {
        const TCliRun r = Cli({"chart", "--type", "x-rm", c.file}, c.input);
        EXPECT_EQ(r.ExitCode, 1) << c.why;
        EXPECT_EQ(r.Err, c.message + QLatin1Char('\n')) << c.why;
        EXPECT_TRUE(r.Out.isEmpty()) << c.why;
    }
    if (geteuid() != 0) {  // root reads any file
        const QString locked = Write("locked.csv", Individuals(2));
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        EXPECT_EQ(Cli({"chart", "--type", "x-rm", locked}).Err, "无法打开文件：" + locked + "\n");
    }
}

TEST_F(CliTool, StandardInputReadsAsTheFileDoes)
{
    const QByteArray text = Individuals(30000);  // several reads long
    const QString file = Write("x.csv", text);
    for (const QStringList& options : {QStringList{"--type", "x-rm"}, QStringList{"--type", "histogram"},
                                       QStringList{"--type", "x-rm", "--format", "csv"}}) {
        const TCliRun fromFile = Cli(QStringList{"chart"} + options + QStringList{file});
        const TCliRun fromInput = Cli(QStringList{"chart"} + options + QStringList{"-"}, text);
        ASSERT_EQ(fromInput.ExitCode, 0) << fromInput.Err.toStdString();
        EXPECT_EQ(fromInput.Out, fromFile.Out) << Describe(options);
        EXPECT_GT(fromInput.Out.size(), 100);
    }
    EXPECT_EQ(Cli({"chart", "--type", "x-rm", "-"}, text).Json.value("count").toInt(), 30000);
}

// Quoted fields are taken as written, "" is one quote, other fields are trimmed of blanks (also
// the ideographic space), and a line may be longer than anything read at once.
TEST_F(CliTool, QuotedFieldsBlanksAndLongLines)
{
    const QByteArray longName(100000, 'x');
    const QString file = Write("pareto.csv", "\xEF\xBB\xBFsubgroup,defect,count\r\n"
                                             "1, A ,1\r\n"
                                             "1,\"  B, \"\"x\"\" \",2\r\n"
                                             "2,\xE3\x80\x80" "C\xE3\x80\x80,\t3 \r\n"
                                             "2,  \"D\"  ,4\r\n"
                                             "3,E\"F,+5\r\n"
                                             "4," + longName + ",6\r\n");
    const TCliRun r = Cli({"chart", "--type", "pareto", file});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    QMap<QString, double> totals;
    for (const QJsonValue& item : r.Json.value("items").toArray())
        totals.insert(item.toObject().value("name").toString(), item.toObject().value("total").toDouble());
    const QMap<QString, double> expected{{"A", 1}, {"  B, \"x\" ", 2}, {"C", 3}, {"D  ", 4}, {"E\"F", 5}, {QString::fromLatin1(longName), 6}};
    EXPECT_EQ(totals, expected);
}

// --format csv: one row per point with the plotted values, the limits at that point and the state,
// the same numbers as the JSON document; no value is an empty cell.
TEST_F(CliTool, CsvFormatHoldsThePointsOfTheJsonDocument)
{
    const QString variable = Write("x.csv", "subgroup,value\n1,1\n2,2\n3,3\n4,2\n5,3\n6,4\n7,5\n8,6\n9,7\n10,20\n");
    const QString attribute = Write("p.csv", "subgroup,inspected,count\n1,50,5\n2,60,9\n3,45,2\n4,55,20\n");
    const struct {
        QStringList args;
        QStringList header;
        QStringList jsonKeys;    // the point's keys, in column order after SN
        QStringList limitKeys;   // the limits' keys in the columns after them (empty: per point)
    } cases[] = {
        {{"--type", "x-rm", "--rules", "MR8,1,1", variable},
         {"SN", "main", "sub", "MUCL", "MCL", "MLCL", "SUCL", "SCL", "SLCL", "State"},
         {"main", "sub"},
         {"MUCL", "MCL", "MLCL", "SUCL", "SCL", "SLCL"}},
        {{"--type", "p", "--rules", "MR8,1,1", attribute}, {"SN", "value", "ucl", "cl", "lcl", "State"}, {"value", "ucl", "cl", "lcl"}, {}},
    };
    for (const auto& c : cases) {
        const TCliRun json = Cli(QStringList{"chart"} + c.args);
        const TCliRun csv = Cli(QStringList{"chart", "--format", "csv"} + c.args);
        ASSERT_EQ(csv.ExitCode, 0) << csv.Err.toStdString();
        QStringList rows = csv.Out.split(QLatin1Char('\n'));
        ASSERT_EQ(rows.takeLast(), QString());  // every row ends with a line break
        EXPECT_EQ(rows.takeFirst().split(QLatin1Char(',')), c.header);
        const QJsonArray points = json.Json.value("points").toArray();
        const QJsonArray states = json.Json.value("states").toArray();
        const QJsonObject limits = json.Json.value("limits").toObject();
        ASSERT_EQ(rows.size(), points.size());
        bool anyEmpty = false, anyAbnormal = false;
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList cells = rows[i].split(QLatin1Char(','));
            ASSERT_EQ(cells.size(), c.header.size()) << rows[i].toStdString();
            const QJsonObject point = points[i].toObject();
            EXPECT_EQ(cells[0].toInt(), point.value("SN").toInt());
            int column = 1;
            const auto same = [&](const QJsonValue& v) {
                const QString& cell = cells[column++];
                anyEmpty = anyEmpty || cell.isEmpty();
                if (v.isNull())
                    EXPECT_TRUE(cell.isEmpty()) << rows[i].toStdString();
                else
                    EXPECT_EQ(cell.toDouble(), v.toDouble()) << rows[i].toStdString();
            };
            for (const QString& key : c.jsonKeys) same(point.value(key));
            for (const QString& key : c.limitKeys) same(limits.value(key));
            EXPECT_EQ(cells.last(), states[i].toObject().value("State").toString());
            anyAbnormal = anyAbnormal || cells.last() == QStringLiteral("有异常");
        }
        EXPECT_TRUE(anyAbnormal) << "the states are the judged ones";
        if (c.limitKeys.isEmpty()) EXPECT_NE(rows[0].section(',', 2, 2), rows[1].section(',', 2, 2)) << "limits per point";
        else EXPECT_TRUE(anyEmpty) << "the first moving range has no value";
    }

    // Histogram classes and Pareto items are the rows of the charts without points; a name with a
    // comma is quoted.
    const TCliRun classes = Cli({"chart", "--type", "histogram", "--groups", "3", "--format", "csv",
                                 Write("h.csv", "subgroup,value\n1,1\n2,2\n3,3\n4,4\n")});
    EXPECT_EQ(classes.Out, QStringLiteral("start,end,count\n0.5,1.5,1\n1.5,2.5,1\n2.5,3.5,1\n3.5,4.5,1\n"));
    const TCliRun items = Cli({"chart", "--type", "pareto", "--format", "csv",
                               Write("d.csv", "subgroup,defect,count\n1,\"C, small\",3\n1,B,1\n")});
    EXPECT_EQ(items.Out, QStringLiteral("name,total,percent\n\"C, small\",3,75\nB,1,100\n"));
}

TEST_F(CliTool, DatabaseCommandsReportInOneLine)
{
    const QString path = Dir.filePath("MainData.mdb");
    const TCliRun made = Cli({"init-database", path});
    ASSERT_EQ(made.ExitCode, 0) << made.Err.toStdString();
    EXPECT_EQ(made.Out, path + QStringLiteral(": 数据库已创建，版本 1\n"));
    const TCliRun again = Cli({"init-database", path, "--demo"});
    EXPECT_EQ(again.ExitCode, 1);
    EXPECT_EQ(again.Err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(again.Err.contains(path));
    const TCliRun upgraded = Cli({"upgrade-database", path});
    ASSERT_EQ(upgraded.ExitCode, 0) << upgraded.Err.toStdString();
    EXPECT_EQ(upgraded.Out, path + QStringLiteral(": 数据库版本 2\n"));
    const QString none = Dir.filePath("none.mdb");
    const TCliRun missing = Cli({"upgrade-database", none});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_TRUE(missing.Err.startsWith(QStringLiteral("数据连接失败："))) << missing.Err.toStdString();
    EXPECT_EQ(missing.Err.count(QLatin1Char('\n')), 1);
    EXPECT_FALSE(QFile::exists(none));
}
