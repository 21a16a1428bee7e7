// qiheng-spc-cli chart --db as a nightly script runs it: the subgroups of a control item chosen by
// days and tags as the analysis window chooses them, the item's stored or computed limits, its
// specification limits in the capability figures, and the check's result stored on request.
#include "CliRun.h"
#include "TestDatabase.h"

#include "engine/ControlItem.h"
#include "engine/SPCTypes.h"
#include "foundation/RecordUtils.h"

#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
const QString kCli = QStringLiteral(QIHENG_SPC_CLI);

class CliChartDb : public ::testing::Test {
protected:
    TTestDatabase Db{TTestDatabase::TContent::Demo};
    QTemporaryDir Dir;
    int First = 0;  // sample number of the first imported subgroup
    QByteArray Values;  // subgroup,value rows of the imported subgroups

    // Six subgroups of 5 of V001, two a day from 2020-01-01 at 23:30, the first three 早班, the
    // others 中班.
    void SetUp() override
    {
        QByteArray text("subgroup,value,time,BC\n");
        Values = "subgroup,value\n";
        for (int k = 1; k <= 6; ++k)
            for (int p = 1; p <= 5; ++p) {
                const QByteArray v = QByteArray::number(10 + k * 0.1 + p * 0.01, 'f', 2);
                text += QByteArray::number(k) + ',' + v + ",2020-01-0" + QByteArray::number((k + 1) / 2) + " 23:30:00," +
                        (k <= 3 ? "早班" : "中班") + '\n';
                Values += QByteArray::number(k) + ',' + v + '\n';
            }
        const TCliRun r = RunCli(kCli, {"import", "--db", Db.Path(), "--item", "V001", "--tags", "SC01", "-"}, text);
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        First = GetSQLValue("select min(SN) from D_VDM where CID = :CID and WDate < :D", {{"CID", CID()}, {"D", "2021-01-01 00:00:00"}}).toInt();
    }
    int CID() { return GetSQLValue("select CID from L_VControlItem where CCode = 'V001'").toInt(); }
    TCliRun Chart(const QStringList& args)
    {
        return RunCli(kCli, QStringList{"chart", "--db", Db.Path(), "--item", "V001", "--type", "xbar-r"} + args);
    }
    // The sample numbers of the points, counted from the first imported subgroup.
    QList<int> Points(const QJsonObject& json)
    {
        QList<int> sn;
        for (const QJsonValue& p : json["points"].toArray()) sn << p["SN"].toInt() - First;
        return sn;
    }
};
} // namespace

TEST_F(CliChartDb, TheDaysChooseTheSubgroupsAndTheLimitsAreThoseOfTheSameValuesFromCsv)
{
    // The whole of the last day counts: the subgroups at 23:30 on 2020-01-02 are in.
    const TCliRun r = Chart({"--from", "2020-01-01", "--to", "2020-01-02"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(Points(r.Json), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(r.Json["limitsSource"].toString(), "computed");

    // The same four subgroups from a CSV file, with the item's specification limits given by hand.
    QStringList spec;
    {
        QSqlQuery item = Db.DM().Exec("select USL, SL, LSL from L_VControlItem where CCode = 'V001'");
        ASSERT_TRUE(item.next());
        for (int i = 0; i < 3; ++i) spec << item.value(i).toString();
    }  // a statement left open would hold the file against the tool's writes
    const QByteArray four = Values.left(Values.indexOf("5,"));
    const QString csv = WriteTextFile(Dir, "four.csv", QString::fromUtf8(four));
    const TCliRun fromCsv = RunCli(kCli, {"chart", "--type", "xbar-r", "--usl", spec[0], "--sl", spec[1], "--lsl", spec[2], csv});
    ASSERT_EQ(fromCsv.ExitCode, 0) << fromCsv.Err.toStdString();
    EXPECT_EQ(r.Json["limits"], fromCsv.Json["limits"]);
    EXPECT_EQ(r.Json["statistics"], fromCsv.Json["statistics"]);
    QJsonArray main, csvMain;
    for (const QJsonValue& p : r.Json["points"].toArray()) main << p["main"];
    for (const QJsonValue& p : fromCsv.Json["points"].toArray()) csvMain << p["main"];
    EXPECT_EQ(main, csvMain);

    const TCliRun oneDay = Chart({"--from", "2020-01-02", "--to", "2020-01-02"});
    EXPECT_EQ(Points(oneDay.Json), (QList<int>{2, 3}));
}

TEST_F(CliChartDb, TheItemsStoredLimitsAreUsedAndSaidSo)
{
    TLimitInfo stored;
    stored.SetCID(CID());
    stored.SetChartType(ctXBarR);
    stored.MUCL = 10.5;
    stored.MCL = 10.4;
    stored.MLCL = 10.3;
    stored.SUCL = 0.2;
    stored.SCL = 0.1;
    stored.SLCL = NullValue;
    stored.SaveLimits();
    const TCliRun r = Chart({"--to", "2020-12-31", "--rules", "MR8,1,1"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Json["limitsSource"].toString(), "stored");
    const QJsonObject limits = r.Json["limits"].toObject();
    EXPECT_EQ(limits["MUCL"].toDouble(), 10.5);
    EXPECT_EQ(limits["MLCL"].toDouble(), 10.3);
    EXPECT_TRUE(limits["SLCL"].isNull());
    EXPECT_TRUE(limits["CL"].isNull());
    // Judged against the stored limits (a point beyond them): only the subgroups averaging 10.33 and
    // 10.43 lie inside.
    QSet<int> violated;
    for (const QJsonValue& v : r.Json["violations"].toArray())
        for (const QJsonValue& sn : v["SN"].toArray()) violated.insert(sn.toInt() - First);
    EXPECT_EQ(violated, (QSet<int>{0, 1, 4, 5}));
    // Without --save-result nothing is stored.
    EXPECT_EQ(GetSQLValue("select count(*) from D_Exception").toInt(), 0);
}

TEST_F(CliChartDb, SaveResultStoresTheExceptionsAndStatesAsTheWindowsCheckDoes)
{
    const TCliRun r = Chart({"--to", "2020-12-31", "--tag", "BC=中班", "--rules", "MT1,1;MT2,2", "--save-result"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(Points(r.Json), (QList<int>{3, 4, 5}));
    QSet<QString> shown, stored;
    for (const QJsonValue& v : r.Json["violations"].toArray())
        for (const QJsonValue& sn : v["SN"].toArray())
            shown.insert(QStringLiteral("%1/%2/%3").arg(v["JudgeSN"].toInt()).arg(sn.toInt()).arg(v["Expression"].toString()));
    QSqlQuery e = Db.DM().Exec("select JudgeSN, SN, Expression from D_Exception");
    while (e.next()) stored.insert(QStringLiteral("%1/%2/%3").arg(e.value(0).toInt()).arg(e.value(1).toInt()).arg(e.value(2).toString()));
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(stored, shown);
    // Each judged subgroup keeps the state the JSON reports; the subgroups not judged keep theirs.
    for (const QJsonValue& s : r.Json["states"].toArray()) {
        const int code = GetSQLValue("select State from D_VDM where CID = :CID and SN = :SN", {{"CID", CID()}, {"SN", s["SN"].toInt()}}).toInt();
        EXPECT_EQ(StateName(StateFromCode(code)), s["State"].toString()) << s["SN"].toInt();
        EXPECT_NE(StateFromCode(code), ssUnchecked);
    }
    EXPECT_TRUE(GetSQLValue("select State from D_VDM where CID = :CID and SN = :SN", {{"CID", CID()}, {"SN", First}}).isNull());

    // A template's rules judge as the rule dialog's template does.
    const TCliRun byTemplate = Chart({"--to", "2020-12-31", "--template", "T01"});
    ASSERT_EQ(byTemplate.ExitCode, 0) << byTemplate.Err.toStdString();
    EXPECT_TRUE(byTemplate.Json["violations"].isArray());
    EXPECT_EQ(byTemplate.Json["states"].toArray().size(), 6);
}

TEST_F(CliChartDb, TagsChooseTheSubgroupsThatHaveThem)
{
    EXPECT_EQ(Points(Chart({"--to", "2020-12-31", "--tag", "BC=早班"}).Json), (QList<int>{0, 1, 2}));
    EXPECT_EQ(Points(Chart({"--to", "2020-12-31", "--tag", "BC=早班", "--tag", "BC=中班"}).Json), (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Points(Chart({"--to", "2020-12-31", "--tag", "BC=中班", "--tag", "CZY=检验员甲"}).Json), (QList<int>{3, 4, 5}));
}

// The Pareto chart of an attribute item's stored defects over the chosen days is the Pareto of the
// same counts from a CSV file, by the phenomena's names.
TEST_F(CliChartDb, ParetoOfTheStoredDefectsIsThatOfTheSameCountsFromCsv)
{
    // DP01 划伤, DP02 污渍, DP03 变形; the subgroup of the third day has rejects but no defects.
    const TCliRun imported = RunCli(kCli, {"import", "--db", Db.Path(), "--item", "A001", "-"},
                                    "subgroup,batch,inspected,rejected,time,DP01,DP02,DP03\n"
                                    "1,500,100,4,2020-01-01 08:00:00,1,,3\n"
                                    "2,500,100,6,2020-01-01 23:30:00,2,4,\n"
                                    "3,500,100,5,2020-01-02 23:59:00,,1,4\n"
                                    "4,500,100,2,2020-01-03 10:00:00,,,\n");
    ASSERT_EQ(imported.ExitCode, 0) << imported.Err.toStdString();
    const QString csv = WriteTextFile(Dir, "defects.csv",
                                      "subgroup,defect,count\n1,划伤,1\n1,变形,3\n2,划伤,2\n2,污渍,4\n3,污渍,1\n3,变形,4\n");
    const auto pareto = [&](const QStringList& args) {
        return RunCli(kCli, QStringList{"chart", "--db", Db.Path(), "--item", "A001", "--type", "pareto"} + args);
    };
    const TCliRun all = pareto({"--from", "2020-01-01", "--to", "2020-01-03"});
    ASSERT_EQ(all.ExitCode, 0) << all.Err.toStdString();
    const TCliRun fromCsv = RunCli(kCli, {"chart", "--type", "pareto", csv});
    ASSERT_EQ(fromCsv.ExitCode, 0) << fromCsv.Err.toStdString();
    EXPECT_EQ(all.Json["items"], fromCsv.Json["items"]);
    EXPECT_EQ(all.Json["items"].toArray().size(), 3);
    EXPECT_EQ(all.Json["count"].toInt(), 4);
    // --show cuts as the window's display count does: the larger remainder stands first.
    const TCliRun cut = pareto({"--to", "2020-12-31", "--show", "1", "--format", "csv"});
    EXPECT_EQ(cut.Out, RunCli(kCli, {"chart", "--type", "pareto", "--show", "1", "--format", "csv", csv}).Out);
    EXPECT_EQ(cut.Out.toStdString(), "name,total,percent\n<其他>,8,100\n变形,7,46.666666666666664\n");

    // The whole of the last day counts; a day of no defects has no items.
    const TCliRun second = pareto({"--from", "2020-01-02", "--to", "2020-01-02", "--format", "csv"});
    EXPECT_EQ(second.Out, QStringLiteral("name,total,percent\n变形,4,80\n污渍,1,100\n"));
    const TCliRun none = pareto({"--from", "2020-01-03", "--to", "2020-01-03"});
    ASSERT_EQ(none.ExitCode, 0) << none.Err.toStdString();
    EXPECT_EQ(none.Json["count"].toInt(), 1);
    EXPECT_EQ(none.Json["items"].toArray().size(), 0);

    // A Pareto chart is one of an attribute item.
    const TCliRun variable = RunCli(kCli, {"chart", "--db", Db.Path(), "--item", "V001", "--type", "pareto"});
    EXPECT_EQ(variable.ExitCode, 1);
    EXPECT_EQ(variable.Err, QStringLiteral("计数型质量特性“V001”不存在\n"));
}

TEST_F(CliChartDb, RefusalsInOneLine)
{
    const QString none = QStringLiteral("没有符合条件的数据，请选择其他特性或重新设置条件！");
    const struct {
        const char* why;
        QStringList args;
        int code;
        QString message;
    } cases[] = {
        {"unknown tag", {"--tag", "QQ=1"}, 1, "标签“QQ”不存在"},
        {"unknown tag value", {"--tag", "BC=午班"}, 1, "标签“BC”没有取值“午班”"},
        {"a tag value no subgroup of the item has", {"--to", "2020-12-31", "--tag", "BC=夜班", "--from", "2020-01-01"}, 1, none},
        {"days without subgroups", {"--from", "2019-01-01", "--to", "2019-01-31"}, 1, none},
        {"unknown rule template", {"--template", "TX"}, 1, "判异规则模板“TX”不存在"},
        {"a date that is none", {"--from", "2020-02-30"}, 2, "选项--from的取值“2020-02-30”应为日期，如2024-05-01"},
        {"the days the wrong way round", {"--from", "2020-02-01", "--to", "2020-01-01"}, 2, "起始日期2020-02-01晚于截止日期2020-01-01"},
        {"a tag without a value", {"--tag", "BC"}, 2, "选项--tag的取值“BC”应形如标签编码=取值"},
        {"the item's own specification limits", {"--usl", "11"}, 2, "选项--usl不能与--db同用：取质量特性的设置"},
        {"nothing to save", {"--save-result"}, 2, "选项--save-result需要--rules或--template"},
    };
    for (const auto& c : cases) {
        const TCliRun r = Chart(c.args);
        EXPECT_EQ(r.ExitCode, c.code) << c.why;
        EXPECT_EQ(r.Err, c.message + QLatin1Char('\n')) << c.why;
        EXPECT_TRUE(r.Out.isEmpty()) << c.why;
    }
    const TCliRun unknown = RunCli(kCli, {"chart", "--db", Db.Path(), "--item", "V999", "--type", "xbar-r"});
    EXPECT_EQ(unknown.ExitCode, 1);
    EXPECT_EQ(unknown.Err, QStringLiteral("计量型质量特性“V999”不存在\n"));
    const TCliRun noDb = RunCli(kCli, {"chart", "--type", "xbar-r", "--item", "V001", "-"});
    EXPECT_EQ(noDb.ExitCode, 2);
    EXPECT_EQ(noDb.Err, QStringLiteral("选项--item需要与--db同用\n"));
    // The analysis condition's own check: an X-bar chart needs subgroups of more than one value.
    const TCliRun single = RunCli(kCli, {"chart", "--db", Db.Path(), "--item", "V003", "--type", "xbar-r"});
    EXPECT_EQ(single.ExitCode, 1);
    EXPECT_EQ(single.Err.count(QLatin1Char('\n')), 1) << single.Err.toStdString();
}

// Each chart window's report and export, from the same subgroups: a PDF by the window's own template
// and a workbook with the window's title, the condition's tags and the window's data grid.
TEST_F(CliChartDb, ReportWritesTheWindowsPdfAndWorkbook)
{
    const QString reports = Db.DirPath() + "/Report";  // the program folder the tool runs with
    const QString pdf = Dir.filePath("r.pdf"), xlsx = Dir.filePath("r.xlsx");
    const struct {
        const char* item;
        const char* type;
        const char* report;  // the only template in the program folder
        QStringList strings;  // in the workbook: the title, the tags, the grid's captions and names
    } cases[] = {
        {"V001", "xbar-r", "VChart.rls", {"活塞环直径 XBar-R 控制图", "中班"}},
        {"V001", "histogram", "HChart.rls", {"活塞环直径 直方图", "中班", "组号"}},
        {"A001", "pareto", "ParetoChart.rls", {"活塞外观不良 柏拉图", "缺陷数", "划伤"}},
    };
    for (const auto& c : cases) {
        QDir(reports).removeRecursively();
        QDir().mkpath(reports);
        ASSERT_TRUE(QFile::copy(QStringLiteral(REPORT_DIR "/") + c.report, reports + "/" + c.report));
        QStringList args{"report", "--db", Db.Path(), "--item", c.item, "--type", c.type, "--pdf", pdf, "--xlsx", xlsx};
        if (QLatin1String(c.item) == "V001") args << "--to" << "2020-12-31" << "--tag" << "BC=中班";
        const TCliRun r = RunCli(kCli, args);
        ASSERT_EQ(r.ExitCode, 0) << c.type << ": " << r.Err.toStdString();
        EXPECT_EQ(r.Out, pdf + QStringLiteral(": 报表已输出\n") + xlsx + QStringLiteral(": 已导出Excel\n"));
        QFile p(pdf);
        ASSERT_TRUE(p.open(QIODevice::ReadOnly));
        EXPECT_TRUE(p.read(5) == "%PDF-") << c.type;
        EXPECT_GT(p.size(), 10000) << c.type;  // the pictures are in
        // The workbook's shared strings.
        QProcess unzip;
        unzip.start("unzip", {"-p", xlsx, "xl/sharedStrings.xml"});
        ASSERT_TRUE(unzip.waitForFinished());
        const QString strings = QString::fromUtf8(unzip.readAllStandardOutput());
        for (const QString& text : c.strings) EXPECT_TRUE(strings.contains(text)) << c.type << ": " << text.toStdString();
    }

    const struct {
        const char* why;
        QStringList args;
        int code;
        QString message;
    } refusals[] = {
        {"no output asked for", {"--type", "xbar-r"}, 2, QString()},
        {"no template in the program folder", {"--item", "A001", "--type", "p", "--pdf", pdf}, 1,
         "报表文件不存在：" + reports + "/AChart.rls"},
    };
    for (const auto& c : refusals) {
        QStringList args{"report", "--db", Db.Path()};
        if (!c.args.contains("--item")) args << "--item" << "V001";
        const TCliRun bad = RunCli(kCli, args + c.args);
        EXPECT_EQ(bad.ExitCode, c.code) << c.why;
        if (!c.message.isEmpty()) EXPECT_TRUE(bad.Err.endsWith(c.message + QLatin1Char('\n'))) << c.why << bad.Err.toStdString();
    }
}
