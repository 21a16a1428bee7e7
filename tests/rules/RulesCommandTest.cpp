// qiheng-spc-cli chart --rules: the chart judged with rules written as expressions.
#include "CliRun.h"
#include "RulesTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class RulesCommand : public ::testing::Test {
protected:
    QTemporaryDir Dir;

    QString Write(const QString& name, const QString& text) { return WriteTextFile(Dir, name, text); }

    static TCliRun Chart(const QStringList& args)
    {
        TCliRun r = RunCli(QStringLiteral(QIHENG_SPC_CLI), QStringList{QStringLiteral("chart")} + args);
        r.Err = r.Err.trimmed();
        return r;
    }

    // Individuals 1, 2, 3, 2, 3, 4, 5, 6, 7, 20 (SN 1 to 10).
    QString Individuals()
    {
        return Write(QStringLiteral("x.csv"),
                     QStringLiteral("subgroup,value\n1,1\n2,2\n3,3\n4,2\n5,3\n6,4\n7,5\n8,6\n9,7\n10,20\n"));
    }
};

QString Compact(const QJsonValue& v)
{
    return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
}
} // namespace

TEST_F(RulesCommand, ViolationsInFiringOrderAndStates)
{
    const TCliRun r = Chart({QStringLiteral("--type"), QStringLiteral("x-rm"), QStringLiteral("--rules"),
                          QStringLiteral("MT1,6; MR8,1,1;SR8,1,1;ST1,3"), Individuals()});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    // The first point has no moving range; the ranges 1, 1, 1, … never rise.
    EXPECT_EQ(Compact(r.Json.value(QStringLiteral("violations"))),
              QStringLiteral(R"([{"Describe":"X-Rm 控制图中主控制图连续6点上升","Expression":"MT1,6","JudgeSN":1,"SN":[4,5,6,7,8,9]},)"
                             R"({"Describe":"X-Rm 控制图中主控制图1点中有1点在控制限外","Expression":"MR8,1,1","JudgeSN":2,"SN":[10]},)"
                             R"({"Describe":"X-Rm 控制图中副控制图1点中有1点在控制限外","Expression":"SR8,1,1","JudgeSN":3,"SN":[10]}])"));
    const QJsonArray states = r.Json.value(QStringLiteral("states")).toArray();
    ASSERT_EQ(states.size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(states[i].toObject().value(QStringLiteral("SN")).toInt(), i + 1);
        EXPECT_EQ(states[i].toObject().value(QStringLiteral("State")).toString(),
                  i >= 3 ? QStringLiteral("有异常") : QStringLiteral("正常"));
    }
    // Without the option the output has neither.
    const TCliRun plain = Chart({QStringLiteral("--type"), QStringLiteral("x-rm"), Individuals()});
    EXPECT_FALSE(plain.Json.contains(QStringLiteral("violations")));
    EXPECT_FALSE(plain.Json.contains(QStringLiteral("states")));
}

TEST_F(RulesCommand, AttributeChart)
{
    const QString file = Write(QStringLiteral("p.csv"), QStringLiteral("subgroup,inspected,count\n1,100,10\n2,400,40\n3,25,5\n"
                                                                       "4,400,84\n5,25,5\n6,0,0\n7,100,2\n"));
    const TCliRun r = Chart({QStringLiteral("--type"), QStringLiteral("p"), QStringLiteral("--rules=MR8,1,1;MT3,3"), file});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(Compact(r.Json.value(QStringLiteral("violations"))),
              QStringLiteral(R"([{"Describe":"P 控制图1点中有1点在控制限外","Expression":"MR8,1,1","JudgeSN":1,"SN":[4]},)"
                             R"({"Describe":"P 控制图1点中有1点在控制限外","Expression":"MR8,1,1","JudgeSN":2,"SN":[7]},)"
                             R"({"Describe":"P 控制图连续3点下降","Expression":"MT3,3","JudgeSN":3,"SN":[4,5,7]}])"));
}

TEST_F(RulesCommand, BadRules)
{
    const QString variable = Individuals();
    const QString attribute = Write(QStringLiteral("c.csv"), QStringLiteral("subgroup,inspected,count\n1,1,3\n2,1,4\n"));
    const struct {
        const char* type;
        const char* rules;
        const char* message;
    } cases[] = {
        {"x-rm", "MT1,6;MX1,6", "检测规则表达式“MX1,6”无法识别，应形如MT1,6或SR7,3,2"},
        {"x-rm", "MT1,6,2", "检测规则表达式“MT1,6,2”无法识别，应形如MT1,6或SR7,3,2"},
        {"x-rm", "SR7,2,3", "SR7,2,3：检测规则定义错误！"},
        {"x-rm", "MT5,6", "MT5,6：检测规则定义错误！"},
        {"x-rm", "MR11,2,1", "MR11,2,1：检测规则定义错误！"},
        {"x-rm", "MT1,0", "MT1,0：检测规则定义错误！"},
        {"x-rm", " ; ", "选项--rules缺少取值"},
        {"c", "SR8,1,1", "检测规则SR8,1,1针对副控制图，不适用于图表类型c"},
        {"histogram", "MR8,1,1", "选项--rules不适用于图表类型histogram"},
    };
    for (const auto& c : cases) {
        const QString type = QString::fromUtf8(c.type);
        const TCliRun r = Chart({QStringLiteral("--type"), type, QStringLiteral("--rules"), QString::fromUtf8(c.rules),
                              type == QLatin1String("c") ? attribute : variable});
        EXPECT_EQ(r.ExitCode, 2) << c.rules;
        EXPECT_EQ(r.Err, QString::fromUtf8(c.message)) << c.rules;
        EXPECT_TRUE(r.Out.isEmpty()) << c.rules;
    }
}
