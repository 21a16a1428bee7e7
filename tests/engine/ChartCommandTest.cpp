// qiheng-spc-cli chart, run as scripts run it, on the textbook data sets.
#include "CliRun.h"
#include "EngineTestSupport.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TCliRun Chart(const QStringList& args)
{
    return RunCli(QStringLiteral(QIHENG_SPC_CLI), QStringList{QStringLiteral("chart")} + args);
}

class ChartCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    // A CSV file in the temporary folder.
    QString Write(const QString& name, const QString& text) { return WriteTextFile(dir, name, text); }
    // The first subgroups of a data set (its trial phase).
    QString Trial(const QString& name, int lastSN)
    {
        QFile f(DataFile(name));
        f.open(QIODevice::ReadOnly | QIODevice::Text);
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QString text = lines.takeFirst() + QLatin1Char('\n');
        for (const QString& line : lines)
            if (line.section(QLatin1Char(','), 0, 0).toInt() <= lastSN) text += line + QLatin1Char('\n');
        return Write(QStringLiteral("trial-") + name, text);
    }
};

double Num(const QJsonObject& o, const char* key)
{
    return o.value(QLatin1String(key)).toDouble(-12345);
}

bool IsNull(const QJsonObject& o, const char* key)
{
    return o.contains(QLatin1String(key)) && o.value(QLatin1String(key)).isNull();
}
} // namespace

TEST_F(ChartCommand, XBarRPistonRings)
{
    const TCliRun r = Chart({"--type", "xbar-r", "--usl", "74.05", "--sl", "74", "--lsl", "73.95",
                          Trial(QStringLiteral("pistonrings.csv"), 25)});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.isEmpty());
    EXPECT_EQ(r.Json.value("chartType").toString(), QStringLiteral("XBar-R 控制图"));
    EXPECT_EQ(r.Json.value("count").toInt(), 25);
    const QJsonObject l = r.Json.value("limits").toObject();
    EXPECT_NEAR(Num(l, "MUCL"), 74.01430852, 1e-9);
    EXPECT_NEAR(Num(l, "MCL"), 74.001176, 1e-9);
    EXPECT_NEAR(Num(l, "MLCL"), 73.98804348, 1e-9);
    EXPECT_NEAR(Num(l, "SUCL"), 0.04811464, 1e-9);
    EXPECT_NEAR(Num(l, "SCL"), 0.02276, 1e-12);
    EXPECT_EQ(Num(l, "SLCL"), 0);
    for (const char* k : {"CL", "UCL", "LCL"}) EXPECT_TRUE(IsNull(l, k)) << k;
    const QJsonArray points = r.Json.value("points").toArray();
    ASSERT_EQ(points.size(), 25);
    const QJsonObject first = points[0].toObject();
    EXPECT_EQ(first.value("SN").toInt(), 1);
    EXPECT_NEAR(Num(first, "main"), 74.0102, 1e-9);
    EXPECT_NEAR(Num(first, "sub"), 0.038, 1e-9);
    const QJsonObject s = r.Json.value("statistics").toObject();
    EXPECT_EQ(s.size(), 13);
    EXPECT_NEAR(Num(s, "Mean"), 74.001176, 1e-9);
    EXPECT_NEAR(Num(s, "Cp"), 0.1 / (6 * 0.577 * 0.02276 * std::sqrt(5.0) / 3), 1e-9);
    EXPECT_GT(Num(s, "Ppk"), 0);
}

TEST_F(ChartCommand, IndividualsAndStatisticsWithoutSpecification)
{
    // Viscosity, batches 1–20: x̄ = 34.088, MR̄ = 0.5726, limits 35.61 / 32.56, MR UCL 1.871.
    const TCliRun r = Chart({"--type", "x-rm", Trial(QStringLiteral("viscosity.csv"), 20)});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Json.value("chartType").toString(), QStringLiteral("X-Rm 控制图"));
    const QJsonObject l = r.Json.value("limits").toObject();
    EXPECT_NEAR(Num(l, "MCL"), 34.088, 1e-9);
    EXPECT_NEAR(Num(l, "SCL"), 0.5726315789, 1e-9);
    EXPECT_NEAR(Num(l, "MUCL"), 35.6112, 1e-4);
    EXPECT_NEAR(Num(l, "MLCL"), 32.5648, 1e-4);
    EXPECT_NEAR(Num(l, "SUCL"), 1.8708, 1e-4);
    const QJsonArray points = r.Json.value("points").toArray();
    EXPECT_TRUE(IsNull(points[0].toObject(), "sub"));
    const QJsonObject s = r.Json.value("statistics").toObject();
    for (const char* k : {"Cp", "Cpu", "Cpl", "Cpk", "Pp", "Ppu", "Ppl", "Ppk"}) EXPECT_TRUE(IsNull(s, k)) << k;
    EXPECT_GT(Num(s, "StdDev"), 0);

    // Step 2 and a step below 1.
    const TCliRun two = Chart({"--type", "x-rm", "--step", "2", Trial(QStringLiteral("viscosity.csv"), 20)});
    EXPECT_TRUE(IsNull(two.Json.value("points").toArray()[1].toObject(), "sub"));
    const TCliRun zero = Chart({"--type", "x-rm", "--step", "0", DataFile(QStringLiteral("viscosity.csv"))});
    EXPECT_EQ(zero.ExitCode, 2);
    EXPECT_EQ(zero.Err.trimmed(), QStringLiteral("移动极差的步长应大于或等于1"));
}

TEST_F(ChartCommand, XBarSAndNegativeMeasurements)
{
    const QString path = Write("neg.csv", "subgroup,value\n1,-1\n1,-2\n1,-3\n2,-2\n2,-4\n2,-6\n3,-3\n3,-3\n3,-3\n");
    const TCliRun r = Chart({"--type", "xbar-s", path});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QJsonObject l = r.Json.value("limits").toObject();
    EXPECT_NEAR(Num(l, "MLCL"), -3 - 1.954, 1e-12);  // not clamped at 0
    EXPECT_NEAR(Num(l, "SUCL"), 2.568, 1e-12);
    const TCliRun big = Chart({"--type", "xbar-r", "--size", "26", path});
    EXPECT_EQ(big.ExitCode, 1);
    EXPECT_EQ(big.Err, QStringLiteral("无对应的系数\n"));
    EXPECT_TRUE(big.Out.isEmpty());
}

TEST_F(ChartCommand, AttributeCharts)
{
    const struct { const char* type; const char* file; const char* name; double cl, ucl0; } cases[] = {
        {"p", "orangejuice.csv", "P 控制图", 347.0 / 1500, 0.41023911859},
        {"np", "orangejuice.csv", "nP 控制图", 347.0 / 30, 20.51195593},
        {"c", "circuit.csv", "C 控制图", 516.0 / 26, 33.21086053},
    };
    for (const auto& c : cases) {
        const TCliRun r = Chart({"--type", c.type, Trial(QString::fromUtf8(c.file), c.type[0] == 'c' ? 26 : 30)});
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_EQ(r.Json.value("chartType").toString(), QString::fromUtf8(c.name));
        const QJsonObject l = r.Json.value("limits").toObject();
        EXPECT_NEAR(Num(l, "CL"), c.cl, 1e-9) << c.type;
        EXPECT_TRUE(IsNull(l, "MCL"));
        const QJsonObject p0 = r.Json.value("points").toArray()[0].toObject();
        EXPECT_NEAR(Num(p0, "ucl"), c.ucl0, 1e-8) << c.type;
        EXPECT_NEAR(Num(p0, "cl"), c.cl, 1e-9) << c.type;
        EXPECT_FALSE(r.Json.contains("statistics"));
    }
    // P chart with varying sample sizes: the limits step with n.
    const TCliRun p = Chart({"--type", "p", DataFile(QStringLiteral("orangejuice_varn.csv"))});
    ASSERT_EQ(p.ExitCode, 0) << p.Err.toStdString();
    const double pbar = Num(p.Json.value("limits").toObject(), "CL");
    const QJsonArray points = p.Json.value("points").toArray();
    const int sizes[] = {50, 60, 45, 55, 40};
    for (int i = 0; i < 5; ++i) {
        const QJsonObject pt = points[i].toObject();
        EXPECT_NEAR(Num(pt, "ucl"), pbar + 3 * std::sqrt(pbar * (1 - pbar) / sizes[i]), 1e-12) << i;
        EXPECT_NEAR(Num(pt, "lcl"), pbar - 3 * std::sqrt(pbar * (1 - pbar) / sizes[i]), 1e-12) << i;
    }
    EXPECT_TRUE(IsNull(p.Json.value("limits").toObject(), "UCL"));

    const TCliRun u = Chart({"--type", "u", DataFile(QStringLiteral("pcmanufact.csv"))});
    ASSERT_EQ(u.ExitCode, 0) << u.Err.toStdString();
    EXPECT_NEAR(Num(u.Json.value("limits").toObject(), "CL"), 1.93, 1e-12);
    EXPECT_NEAR(Num(u.Json.value("points").toArray()[0].toObject(), "value"), 2, 1e-12);
}

TEST_F(ChartCommand, HistogramClasses)
{
    const TCliRun r = Chart({"--type", "histogram", "--usl", "74.05", "--lsl", "73.95",
                          DataFile(QStringLiteral("pistonrings.csv"))});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Json.value("chartType").toString(), QStringLiteral("直方图"));
    EXPECT_EQ(r.Json.value("count").toInt(), 40);
    const QJsonArray classes = r.Json.value("classes").toArray();
    ASSERT_EQ(classes.size(), 10);  // 200 values: k = ⌈3.32·log₁₀200 + 1⌉ = 9
    int total = 0;
    for (const QJsonValue& c : classes) total += c.toObject().value("count").toInt();
    EXPECT_EQ(total, 200);
    const QJsonObject first = classes[0].toObject(), last = classes[9].toObject();
    const double width = Num(first, "end") - Num(first, "start");
    EXPECT_NEAR(Num(first, "start") + width / 2, r.Json.value("statistics").toObject().value("Min").toDouble(), 1e-12);
    EXPECT_NEAR(Num(last, "start") + width / 2, r.Json.value("statistics").toObject().value("Max").toDouble(), 1e-9);
    const QJsonObject l = r.Json.value("limits").toObject();
    EXPECT_NEAR(Num(l, "MCL"), r.Json.value("statistics").toObject().value("Mean").toDouble(), 1e-12);
    EXPECT_TRUE(IsNull(l, "SCL"));
    EXPECT_TRUE(r.Json.value("points").toArray().isEmpty());

    const TCliRun three = Chart({"--type", "histogram", "--groups", "3",
                              Write("h.csv", "subgroup,value\n1,1\n2,2\n3,3\n4,4\n")});
    ASSERT_EQ(three.ExitCode, 0) << three.Err.toStdString();
    const QJsonArray c3 = three.Json.value("classes").toArray();
    ASSERT_EQ(c3.size(), 4);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(Num(c3[j].toObject(), "start"), 0.5 + j);
        EXPECT_EQ(c3[j].toObject().value("count").toInt(), 1);
    }
}

TEST_F(ChartCommand, ParetoItems)
{
    const QString path = Write("pareto.csv",
                               "subgroup,defect,count\n1,A,6\n1,B,5\n2,A,4\n2,\"C, small\",4\n3,D,3\n3,E,2\n");
    const TCliRun r = Chart({"--type", "pareto", "--show", "2", path});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Json.value("chartType").toString(), QStringLiteral("柏拉图"));
    EXPECT_EQ(r.Json.value("count").toInt(), 3);
    const QJsonArray items = r.Json.value("items").toArray();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].toObject().value("name").toString(), QStringLiteral("A"));
    EXPECT_EQ(items[1].toObject().value("name").toString(), QStringLiteral("<其他>"));
    EXPECT_EQ(Num(items[1].toObject(), "total"), 9);
    EXPECT_EQ(Num(items[1].toObject(), "percent"), 100);
    EXPECT_EQ(items[2].toObject().value("name").toString(), QStringLiteral("B"));
    EXPECT_NEAR(Num(items[2].toObject(), "percent"), 1500.0 / 24, 1e-12);

    const TCliRun all = Chart({"--type", "pareto", path});
    const QJsonArray allItems = all.Json.value("items").toArray();
    ASSERT_EQ(allItems.size(), 5);
    EXPECT_EQ(allItems[2].toObject().value("name").toString(), QStringLiteral("C, small"));
}

// Bad data ends the command with status 1, bad usage with status 2; either way one line.
TEST_F(ChartCommand, BadInputGivesOneLineAndItsStatus)
{
    const QString good = Write("good.csv", "subgroup,value\n1,1\n1,2\n");
    const struct { QStringList args; int code; QString message; } cases[] = {
        {{"--type", "xbar-r", dir.filePath("missing.csv")}, 1, "文件不存在：" + dir.filePath("missing.csv")},
        {{"--type", "xbar-r", Write("h.csv", "group,value\n1,1\n")}, 1,
         "文件" + dir.filePath("h.csv") + "的表头（第1行）应为“subgroup,value”"},
        {{"--type", "xbar-r", Write("n.csv", "subgroup,value\n1,1\n1,abc\n")}, 1, "第3行的value“abc”不是有效的数值"},
        {{"--type", "xbar-r", Write("i.csv", "subgroup,value\n1.5,1\n")}, 1, "第2行的subgroup“1.5”不是整数"},
        {{"--type", "xbar-r", Write("c.csv", "subgroup,value\n1,1,2\n")}, 1, "第2行应有2列，实有3列"},
        {{"--type", "p", Write("p.csv", "subgroup,inspected,count\n1,10,11\n")}, 1, "第2行的不良数11大于检验数10"},
        {{"--type", "u", Write("u.csv", "subgroup,inspected,count\n1,10,-1\n")}, 1, "第2行的count“-1”不能小于0"},
        {{"--type", "c", Write("d.csv", "subgroup,inspected,count\n1,10,1\n1,10,2\n")}, 1, "第3行的subgroup 1重复"},
        {{"--type", "pareto", Write("q.csv", "subgroup,defect,count\n1,A,1\n1,A,2\n")}, 1, "第3行：值组1的缺陷“A”重复"},
        {{"--type", "xbar-r", "--size", "1", good}, 1, "无对应的系数"},
        {{"--type", "xbar-r", "--size", "x", good}, 2, "选项--size的取值“x”应为不小于1的整数"},
        {{"--type", "xbar-r", "--usl", "1e", good}, 2, "选项--usl的取值“1e”不是有效的数值"},
        {{"--type", "histogram", "--groups", "0", good}, 2, "选项--groups的取值“0”应为不小于1的整数"},
        {{"--type", "p", "--usl", "1", good}, 2, "选项--usl不适用于图表类型p"},
        {{"--type", "xbar", good}, 2, "未知的图表类型：xbar（可用：xbar-r, xbar-s, x-rm, histogram, p, np, u, c, pareto）"},
        {{"--type", "xbar-r", "--wide", good}, 2, "未知的选项：--wide"},
        {{"--type", "xbar-r"}, 2, "用法：qiheng-spc-cli chart --type TYPE [选项] FILE.csv|-|--db PATH|URL --item CCODE（选项见 qiheng-spc-cli chart --help）"},
        {{"--type"}, 2, "选项--type缺少取值"},
    };
    for (const auto& c : cases) {
        const TCliRun r = Chart(c.args);
        EXPECT_EQ(r.ExitCode, c.code) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.Err, c.message + "\n") << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.Out.isEmpty());
    }
}

TEST_F(ChartCommand, EmptyDataGivesNulls)
{
    const TCliRun r = Chart({"--type", "xbar-r", Write("e.csv", "\xEF\xBB\xBFsubgroup,value\r\n")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Json.value("count").toInt(), 0);
    EXPECT_TRUE(IsNull(r.Json.value("limits").toObject(), "MCL"));
    EXPECT_TRUE(IsNull(r.Json.value("statistics").toObject(), "Mean"));
}

TEST(ChartCommandPictures, DrawsPngAndPdfWithTheSameCode)
{
    QTemporaryDir dir;
    const QString png = dir.path() + "/chart.png", pdf = dir.path() + "/chart.pdf";
    QProcess cli;
    cli.start(QStringLiteral(QIHENG_SPC_CLI), {"chart", "--type", "p", "--png", png, "--pdf", pdf, "--width", "900",
                                               "--height", "500", DataFile("orangejuice_varn.csv")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QImage img(png);
    EXPECT_EQ(img.size(), QSize(900, 500));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
}

TEST(ChartCommandPictures, SvgHoldsTheTitleAndEveryPoint)
{
    QTemporaryDir dir;
    const QString svg = dir.path() + "/chart.svg";
    const QString data = DataFile("orangejuice_varn.csv");
    const TCliRun r = RunCli(QStringLiteral(QIHENG_SPC_CLI), {"chart", "--type", "p", "--svg", svg, "--width", "900", "--height", "500", data});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const TSvgContent content = ReadSvg(svg);
    ASSERT_TRUE(content.Valid);
    EXPECT_EQ(content.Title, QStringLiteral("P 控制图"));
    // One marker per subgroup, inside the picture; the highest fraction is the highest marker.
    const QJsonArray points = r.Json.value("points").toArray();
    ASSERT_EQ(content.Circles.size(), points.size());
    int highest = 0, top = 0;
    for (int i = 0; i < points.size(); ++i) {
        EXPECT_TRUE(QRectF(0, 0, 900, 500).contains(content.Circles[i])) << i;
        if (points[i].toObject().value("value").toDouble() > points[highest].toObject().value("value").toDouble()) highest = i;
        if (content.Circles[i].y() < content.Circles[top].y()) top = i;
    }
    EXPECT_EQ(top, highest);
    EXPECT_TRUE(content.Texts.contains(QStringLiteral("UCL")));
}
