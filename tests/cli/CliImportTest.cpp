// qiheng-spc-cli import as a gauge script runs it: real CSV files into a real database (a file, or
// the test server's schema), what is stored, the refusals that store nothing, and two imports into
// one item at the same time.
#include "CliRun.h"
#include "TestDatabase.h"

#include "foundation/DBUpgrade.h"
#include "foundation/RecordUtils.h"

#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <memory>

namespace {
const QString kCli = QStringLiteral(QIHENG_SPC_CLI);

class CliImport : public ::testing::Test {
protected:
    TTestDatabase Db{TTestDatabase::TContent::Demo};
    QTemporaryDir Dir;

    TCliRun Import(const QStringList& args, const QByteArray& input = {})
    {
        return RunCli(kCli, QStringList{"import", "--db", Db.Path()} + args, input);
    }
    QString Write(const QString& name, const QByteArray& text)
    {
        const QString path = Dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path;
    }
    int Count(const QString& sql, const TSqlParams& params = {}) { return GetSQLValue(sql, params).toInt(); }
    int CID(const char* table, const char* code)
    {
        return Count(QStringLiteral("select CID from %1 where CCode = :Code").arg(QLatin1String(table)),
                     {{QStringLiteral("Code"), QString::fromUtf8(code)}});
    }
    // Everything an import could write or use, to show that a refusal changed nothing.
    QString Footprint()
    {
        QStringList counts;
        for (const char* sql : {"select count(*) from D_VDM", "select count(*) from D_VDD", "select count(*) from D_ADM",
                                "select count(*) from D_ADD", "select count(*) from D_Tag", "select coalesce(sum(KeyValue), 0) from S_MKey"})
            counts << GetSQLValue(QString::fromUtf8(sql)).toString();
        return counts.join(QLatin1Char('/'));
    }
    // Subgroups of 5 values of V001 (size 5), each value a little above the last.
    static QByteArray Subgroups(int count, const char* time = nullptr)
    {
        QByteArray text(time ? "subgroup,value,time\n" : "subgroup,value\n");
        for (int k = 1; k <= count; ++k)
            for (int p = 0; p < 5; ++p) {
                text += QByteArray::number(k) + ',' + QByteArray::number(10 + k * 0.01 + p * 0.001, 'f', 3);
                if (time) text += QByteArray(",") + time;
                text += '\n';
            }
        return text;
    }
};
} // namespace

TEST_F(CliImport, VariableValuesWithTimesAndTagsAreStoredAsTheCollectionWindowStoresThem)
{
    const int cid = CID("L_VControlItem", "V001");
    const int before = Count("select count(*) from D_VDM where CID = :CID", {{"CID", cid}});
    QByteArray text("subgroup,value,time,BC,JT\n");
    for (int p = 0; p < 5; ++p) text += "a," + QByteArray::number(10.1 + p * 0.01) + ",2024-05-01 08:30:00,中班,2号机\n";
    for (int p = 0; p < 5; ++p) text += "b," + QByteArray::number(9.9 + p * 0.01) + ",2024-05-01 09:00:00,夜班,3号机\n";
    const QString file = Write("gauge.csv", text);
    const TCliRun r = Import({"--item", "V001", "--tags", "SC01", file});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.isEmpty());

    // The numbers come from the item's counter, one after the other.
    const int last = Count("select KeyValue from S_MKey where MID = :MID", {{"MID", cid}});
    EXPECT_EQ(r.Out, QStringLiteral("%1: 已导入2个子组到质量特性V001（样本号%2–%3）\n").arg(file).arg(last - 1).arg(last));
    EXPECT_EQ(Count("select count(*) from D_VDM where CID = :CID", {{"CID", cid}}), before + 2);
    QSqlQuery q = Db.DM().Exec("select SN, SSN, VResult, WDate from D_VDD where CID = :CID and SN >= :SN order by SN, SSN",
                               {{"CID", cid}, {"SN", last - 1}});
    QStringList values;
    while (q.next()) values << QStringLiteral("%1.%2=%3@%4").arg(q.value(0).toInt() - last + 1).arg(q.value(1).toInt()).arg(q.value(2).toDouble()).arg(q.value(3).toString().left(19).replace('T', ' '));
    EXPECT_EQ(values.join(' ').toStdString(),
              "0.1=10.1@2024-05-01 08:30:00 0.2=10.11@2024-05-01 08:30:00 0.3=10.12@2024-05-01 08:30:00 "
              "0.4=10.13@2024-05-01 08:30:00 0.5=10.14@2024-05-01 08:30:00 1.1=9.9@2024-05-01 09:00:00 "
              "1.2=9.91@2024-05-01 09:00:00 1.3=9.92@2024-05-01 09:00:00 1.4=9.93@2024-05-01 09:00:00 "
              "1.5=9.94@2024-05-01 09:00:00");
    // The columns chose BC and JT; the template's third tag (检验员) keeps its default.
    QSqlQuery t = Db.DM().Exec("select d.SN, g.TagCode, v.TagValue from D_Tag d, L_Tag g, L_TagValue v "
                               "where d.CID = :CID and d.SN >= :SN and g.TagID = d.TagID and v.TagID = d.TagID "
                               "and v.TagValueID = d.TagValueID order by d.SN, g.TagCode",
                               {{"CID", cid}, {"SN", last - 1}});
    QStringList tags;
    while (t.next()) tags << QStringLiteral("%1:%2=%3").arg(t.value(0).toInt() - last + 1).arg(t.value(1).toString(), t.value(2).toString());
    EXPECT_EQ(tags.join(' '), QStringLiteral("0:BC=中班 0:CZY=检验员甲 0:JT=2号机 1:BC=夜班 1:CZY=检验员甲 1:JT=3号机"));
}

TEST_F(CliImport, AttributeCountsFromStandardInputWithDefectsPerPhenomenon)
{
    const int cid = CID("L_AControlItem", "A001");
    const int before = Count("select count(*) from D_ADM where CID = :CID", {{"CID", cid}});
    const TCliRun r = Import({"--item", "A001", "-"},
                             "subgroup,batch,inspected,rejected,time,DP01,DP03\n"
                             "1,500,200,3,2024-06-02 10:00:00,2,1\n"
                             "2,,100,,2024-06-02 11:00:00,,4\n");
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith(QStringLiteral("-: 已导入2个子组到质量特性A001"))) << r.Out.toStdString();
    EXPECT_EQ(Count("select count(*) from D_ADM where CID = :CID", {{"CID", cid}}), before + 2);
    const int last = Count("select max(SN) from D_ADM where CID = :CID", {{"CID", cid}});
    QSqlQuery m = Db.DM().Exec("select SN, Batch, Inspected, Rejected, WDate from D_ADM where CID = :CID and SN >= :SN order by SN",
                               {{"CID", cid}, {"SN", last - 1}});
    QStringList rows;
    // A database NULL reads as an empty text on both engines.
    const auto text = [&m](int i) { return m.value(i).isNull() ? QString() : m.value(i).toString(); };
    while (m.next())
        rows << QStringLiteral("%1:%2|%3|%4|%5").arg(m.value(0).toInt() - last + 1).arg(text(1), text(2), text(3), text(4).left(16).replace('T', ' '));
    EXPECT_EQ(rows.join(" ").toStdString(), "0:500|200|3|2024-06-02 10:00 1:|100||2024-06-02 11:00");
    QSqlQuery d = Db.DM().Exec("select a.SN, p.DPCode, a.Defected from D_ADD a, L_DefectPhenomenon p "
                               "where a.CID = :CID and a.SN >= :SN and p.DPID = a.DPID order by a.SN, p.DPCode",
                               {{"CID", cid}, {"SN", last - 1}});
    QStringList defects;
    while (d.next()) defects << QStringLiteral("%1:%2=%3").arg(d.value(0).toInt() - last + 1).arg(d.value(1).toString()).arg(d.value(2).toInt());
    EXPECT_EQ(defects.join(' '), QStringLiteral("0:DP01=2 0:DP03=1 1:DP03=4"));
}

// A bad row, code or file: status 1, one line in the system's words naming the line or the code,
// and nothing stored, not even a drawn sample number.
TEST_F(CliImport, RefusalsNameTheLineOrTheCodeAndStoreNothing)
{
    const QString missing = Dir.filePath("missing.csv");
    QByteArray lateBad = Subgroups(300);
    lateBad += "301,10\n301,10\n301,10\n301,10\n301,abc\n";
    const struct {
        const char* why;
        QStringList args;  // the file last
        QByteArray input;  // for "-"
        QString message;
    } cases[] = {
        {"missing file", {"--item", "V001", missing}, {}, "文件不存在：" + missing},
        {"a folder cannot be read", {"--item", "V001", Dir.path()}, {}, "无法打开文件：" + Dir.path()},
        {"empty file", {"--item", "V001", Write("empty.csv", "")}, {}, "文件" + Dir.filePath("empty.csv") + "是空的，没有表头"},
        {"header only", {"--item", "V001", "-"}, "subgroup,value\n", "文件中没有数据行"},
        {"wrong header", {"--item", "V001", Write("h.csv", "sn,value\n1,2\n")}, {},
         "文件" + Dir.filePath("h.csv") +
             "的表头（第1行）应为“subgroup,value[,time][,标签编码...]”或“subgroup,batch,inspected,rejected[,time][,缺陷现象编码...]”"},
        {"wrong column count", {"--item", "V001", "-"}, "subgroup,value\n1,10\n1\n", "第3行应有2列，实有1列"},
        {"non-numeric value", {"--item", "V001", "-"}, "subgroup,value\n1,10.0\n1,1O.2\n", "第3行的value“1O.2”不是有效的数值"},
        {"not finite", {"--item", "V001", "-"}, "subgroup,value\n1,inf\n", "第2行的value“inf”不是有效的数值"},
        {"a bad value late in the file, after good subgroups", {"--item", "V001", "-"}, lateBad, "第1506行的value“abc”不是有效的数值"},
        {"a subgroup short of the item's size", {"--item", "V001", "-"}, Subgroups(2) + "3,10\n3,10\n4,10\n4,10\n4,10\n4,10\n4,10\n",
         "第12行：子组“3”有2个值，样本容量为5"},
        {"a subgroup beyond the item's size", {"--item", "V001", "-"}, Subgroups(1) + "1,10\n", "第7行：子组“1”的值多于样本容量5"},
        {"a subgroup whose rows are apart", {"--item", "V001", "-"}, "subgroup,value\n1,1\n2,1\n1,1\n",
         "第4行：子组“1”的行不连续（已见于第2行）"},
        {"unknown item", {"--item", "V999", "-"}, Subgroups(1), "计量型质量特性“V999”不存在"},
        {"a variable file for an attribute item", {"--item", "A001", "-"}, Subgroups(1), "计量型质量特性“A001”不存在"},
        {"unknown template", {"--item", "V001", "--tags", "XX", "-"}, Subgroups(1), "标签模板“XX”不存在"},
        {"unknown tag column", {"--item", "V001", "--tags", "SC01", "-"}, "subgroup,value,QQ\n1,1,x\n", "标签“QQ”不存在"},
        {"a tag column without a template", {"--item", "V001", "-"}, "subgroup,value,BC\n1,1,早班\n", "标签列“BC”需要用选项--tags指定标签模板"},
        {"a tag outside the template", {"--item", "V001", "--tags", "SC02", "-"}, "subgroup,value,JT\n1,1,1号机\n",
         "标签“JT”不在标签模板“SC02”中"},
        {"unknown tag value", {"--item", "V001", "--tags", "SC01", "-"}, "subgroup,value,BC\n1,1,早班\n1,1,午班\n",
         "第3行：标签“BC”没有取值“午班”"},
        {"empty tag value", {"--item", "V001", "--tags", "SC01", "-"}, "subgroup,value,BC\n1,1,\n", "第2行：标签“BC”未指定取值"},
        {"bad inspection time", {"--item", "V001", "-"}, "subgroup,value,time\n1,1,2024-13-01 08:00\n",
         "第2行：请输入正确的检验时间！（“2024-13-01 08:00”）"},
        {"unknown defect phenomenon", {"--item", "A001", "-"}, "subgroup,batch,inspected,rejected,DP99\n1,1,1,0,1\n",
         "缺陷现象“DP99”不属于质量特性“活塞外观不良”"},
        {"rejected above inspected", {"--item", "A001", "-"}, "subgroup,batch,inspected,rejected\n1,10,5,0\n2,10,5,6\n",
         "第3行：不良数不能大于检验数！"},
        {"no number inspected", {"--item", "A001", "-"}, "subgroup,batch,inspected,rejected\n1,10,,0\n", "第2行：请输入检验数！"},
        {"a negative count", {"--item", "A001", "-"}, "subgroup,batch,inspected,rejected\n1,10,5,-1\n", "第2行的rejected“-1”不能小于0"},
        {"neither rejected nor defects", {"--item", "A001", "-"}, "subgroup,batch,inspected,rejected,DP01\n1,10,5,,\n",
         "第2行：请输入不良数或缺点数！"},
        {"an attribute subgroup twice", {"--item", "A001", "-"}, "subgroup,batch,inspected,rejected\n1,10,5,0\n1,10,5,0\n",
         "第3行：子组“1”重复（已见于第2行）"},
    };
    const QString before = Footprint();
    for (const auto& c : cases) {
        const TCliRun r = Import(c.args, c.input);
        EXPECT_EQ(r.ExitCode, 1) << c.why;
        EXPECT_EQ(r.Err, c.message + QLatin1Char('\n')) << c.why;
        EXPECT_TRUE(r.Out.isEmpty()) << c.why;
        EXPECT_EQ(Footprint(), before) << c.why;
    }
}

TEST_F(CliImport, MissingOptionsAreBadUsage)
{
    for (const QStringList& args : {QStringList{"-"}, QStringList{"--item", "V001"}}) {
        const TCliRun r = Import(args);
        EXPECT_EQ(r.ExitCode, 2);
        EXPECT_TRUE(r.Err.startsWith(QStringLiteral("用法：qiheng-spc-cli import --db PATH|URL --item CCODE"))) << r.Err.toStdString();
    }
}

// Another workstation holds the write lock for longer than the import waits: refused, nothing stored.
TEST_F(CliImport, ALockedDatabaseIsRefusedInOneLine)
{
    SPC_SQLITE_ONLY(Db);
    const QString before = Footprint();
    Db.DM().StartTransaction();
    Db.DM().Exec("update S_MKey set KeyValue = KeyValue where MID = 0");
    const TCliRun r = Import({"--item", "V001", "-"}, Subgroups(2));
    Db.DM().Rollback();
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Err, QStringLiteral("对同一记录并发操作，导致死锁，该操作失败！\n"));
    EXPECT_EQ(Footprint(), before);
}

TEST_F(CliImport, AnOlderDatabaseIsUpgradedFirst)
{
    TTestDatabase delivered(TTestDatabase::TContent::Delivered, QStringLiteral("delivered"));
    delivered.DM().Exec("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, nSigma) values (7, 'G1', '量规', 2, 1, 3)");
    const TCliRun r = RunCli(kCli, {"import", "--db", delivered.Path(), "--item", "G1", "-"}, "subgroup,value,time\n1,1.5,2024-01-02 03:04:05\n1,1.25,\n");
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("2"));
    EXPECT_EQ(Count("select count(*) from D_VDD where CID = 7"), 2);
    EXPECT_EQ(Count("select sum(VResult * 100) from D_VDD where CID = 7"), 275);
}

// Two gauges load into one item at once: both succeed, every value is stored, no number is shared.
TEST_F(CliImport, TwoImportsAtOnceIntoOneItemLoseNothing)
{
    const int cid = CID("L_VControlItem", "V001");
    const int subgroupsBefore = Count("select count(*) from D_VDM where CID = :CID", {{"CID", cid}});
    const int valuesBefore = Count("select count(*) from D_VDD where CID = :CID", {{"CID", cid}});
    const QString file = Write("many.csv", Subgroups(400));
    std::unique_ptr<QProcess> runs[2];
    for (auto& p : runs) {
        p = std::make_unique<QProcess>();
        p->start(kCli, {"import", "--db", Db.Path(), "--item", "V001", file});
    }
    QSet<int> numbers;
    for (auto& p : runs) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        const QStringList range = out.section(QStringLiteral("样本号"), 1).section(QStringLiteral("）"), 0, 0).split(QStringLiteral("–"));
        ASSERT_EQ(range.size(), 2) << out.toStdString();
        for (int sn = range[0].toInt(); sn <= range[1].toInt(); ++sn) numbers.insert(sn);
    }
    EXPECT_EQ(numbers.size(), 800);
    EXPECT_EQ(Count("select count(*) from D_VDM where CID = :CID", {{"CID", cid}}), subgroupsBefore + 800);
    EXPECT_EQ(Count("select count(*) from D_VDD where CID = :CID", {{"CID", cid}}), valuesBefore + 4000);
    QSqlQuery q = Db.DM().Exec("select SN from D_VDM where CID = :CID", {{"CID", cid}});
    int found = 0;
    while (q.next()) found += numbers.contains(q.value(0).toInt());
    EXPECT_EQ(found, 800);
}
