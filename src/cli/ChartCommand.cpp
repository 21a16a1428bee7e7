// qiheng-spc-cli chart: the engine's limits, points, statistics, histogram classes and Pareto
// items for a CSV file of measurements or counts, as one JSON object. No database is involved:
// the limits are always those computed from the data. --png, --pdf and --svg draw the chart as
// well; --rules judges it.
#include "cli/CliCommands.h"

#include "engine/AttributeData.h"
#include "engine/ChartPicture.h"
#include "engine/HistogramData.h"
#include "engine/ParetoData.h"
#include "engine/SPCChart.h"
#include "engine/Statistic.h"
#include "engine/VariableData.h"
#include "foundation/DataSet.h"
#include "rules/ChartJudge.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <cmath>
#include <optional>

namespace {
const char* const kUsage =
    "用法: qiheng-spc-cli chart --type TYPE [--size N] [--step S] [--usl X] [--sl X] [--lsl X] "
    "[--groups K] [--show N] [--rules \"EXPR;...\"] [--png FILE] [--pdf FILE] [--svg FILE] [--width W --height H] "
    "FILE.csv";

// Bad input: the message is the one line the user sees.
class EChartInput : public ESystemError {
public:
    using ESystemError::ESystemError;
};

[[noreturn]] void Fail(const QString& message)
{
    throw EChartInput(message);
}

enum class TFamily { Variable, Attribute, Pareto };

struct TTypeName {
    const char* name;
    TChartType type;
    TFamily family;
};

const TTypeName kTypes[] = {
    {"xbar-r", ctXBarR, TFamily::Variable}, {"xbar-s", ctXBarS, TFamily::Variable},
    {"x-rm", ctXRm, TFamily::Variable},     {"histogram", ctHistogram, TFamily::Variable},
    {"p", ctP, TFamily::Attribute},         {"np", ctNP, TFamily::Attribute},
    {"u", ctU, TFamily::Attribute},         {"c", ctC, TFamily::Attribute},
    {"pareto", ctPareto, TFamily::Pareto},
};

struct TOptions {
    QString typeName;
    TChartType type = ctNone;
    TFamily family = TFamily::Variable;
    QString file;
    QMap<QString, QString> values;  // option name (without dashes) → text
};

TOptions ParseArguments(const QStringList& args)
{
    static const QStringList valued{"type", "size", "step", "usl", "sl", "lsl", "groups", "show",
                                    "png", "pdf", "svg", "width", "height", "rules"};
    TOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--")) || a == QLatin1String("--")) {
            if (!o.file.isEmpty()) Fail(QString::fromUtf8(kUsage));
            o.file = a;
            continue;
        }
        QString name = a.mid(2), value;
        const int eq = name.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        } else if (valued.contains(name)) {
            if (i + 1 >= args.size()) Fail(QStringLiteral("选项--%1缺少取值").arg(name));
            value = args[++i];
        }
        if (!valued.contains(name)) Fail(QStringLiteral("未知的选项：%1").arg(a));
        if (o.values.contains(name)) Fail(QStringLiteral("选项--%1重复").arg(name));
        o.values.insert(name, value);
    }
    if (!o.values.contains(QStringLiteral("type")) || o.file.isEmpty()) Fail(QString::fromUtf8(kUsage));
    o.typeName = o.values.value(QStringLiteral("type"));
    bool known = false;
    QStringList names;
    for (const TTypeName& t : kTypes) {
        names << QString::fromUtf8(t.name);
        if (o.typeName == QLatin1String(t.name)) {
            o.type = t.type;
            o.family = t.family;
            known = true;
        }
    }
    if (!known) Fail(QStringLiteral("未知的图表类型：%1（可用：%2）").arg(o.typeName, names.join(QStringLiteral(", "))));

    // Options that mean nothing for the chart asked for are refused rather than ignored.
    auto only = [&](const char* option, bool applies) {
        if (o.values.contains(QLatin1String(option)) && !applies)
            Fail(QStringLiteral("选项--%1不适用于图表类型%2").arg(QLatin1String(option), o.typeName));
    };
    for (const char* option : {"size", "step", "usl", "sl", "lsl"}) only(option, o.family == TFamily::Variable);
    only("groups", o.type == ctHistogram);
    only("show", o.type == ctPareto);
    only("rules", o.type != ctHistogram && o.type != ctPareto);
    return o;
}

std::optional<int> IntOption(const TOptions& o, const char* name, int least)
{
    if (!o.values.contains(QLatin1String(name))) return std::nullopt;
    const QString text = o.values.value(QLatin1String(name)).trimmed();
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < least)
        Fail(QStringLiteral("选项--%1的取值“%2”应为不小于%3的整数").arg(QLatin1String(name), text).arg(least));
    return v;
}

double NumberOption(const TOptions& o, const char* name)
{
    if (!o.values.contains(QLatin1String(name))) return NullValue;
    const QString text = o.values.value(QLatin1String(name)).trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) Fail(QStringLiteral("选项--%1的取值“%2”不是有效的数值").arg(QLatin1String(name), text));
    return v;
}

// ---- CSV ----

struct TCsvRow {
    int line;
    QStringList fields;
};

QStringList SplitCsvLine(const QString& line, int lineNo)
{
    QStringList fields;
    QString field;
    bool quoted = false, wasQuoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar ch = line[i];
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    field += ch;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
        } else if (ch == QLatin1Char(',')) {
            fields << (wasQuoted ? field : field.trimmed());
            field.clear();
            wasQuoted = false;
        } else if (ch == QLatin1Char('"') && field.trimmed().isEmpty()) {
            field.clear();
            quoted = wasQuoted = true;
        } else {
            field += ch;
        }
    }
    if (quoted) Fail(QStringLiteral("第%1行的引号没有结束").arg(lineNo));
    fields << (wasQuoted ? field : field.trimmed());
    return fields;
}

// The data rows of the file after a header that must read `header` exactly.
QList<TCsvRow> ReadCsv(const QString& path, const QStringList& header)
{
    QFile file(path);
    if (!file.exists()) Fail(QStringLiteral("文件不存在：%1").arg(path));
    if (!file.open(QIODevice::ReadOnly)) Fail(QStringLiteral("无法打开文件：%1").arg(path));
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    QList<TCsvRow> rows;
    bool headerSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const QStringList fields = SplitCsvLine(line, i + 1);
        if (!headerSeen) {
            if (fields != header)
                Fail(QStringLiteral("文件%1的表头应为“%2”").arg(path, header.join(QLatin1Char(','))));
            headerSeen = true;
            continue;
        }
        if (fields.size() != header.size())
            Fail(QStringLiteral("第%1行应有%2列，实有%3列").arg(i + 1).arg(header.size()).arg(fields.size()));
        rows << TCsvRow{i + 1, fields};
    }
    if (!headerSeen) Fail(QStringLiteral("文件%1的表头应为“%2”").arg(path, header.join(QLatin1Char(','))));
    return rows;
}

int IntField(const TCsvRow& row, int col, const char* name, int least)
{
    bool ok = false;
    const int v = row.fields[col].toInt(&ok);
    if (!ok) Fail(QStringLiteral("第%1行的%2“%3”不是整数").arg(row.line).arg(QLatin1String(name), row.fields[col]));
    if (v < least)
        Fail(QStringLiteral("第%1行的%2“%3”不能小于%4").arg(row.line).arg(QLatin1String(name), row.fields[col]).arg(least));
    return v;
}

double NumberField(const TCsvRow& row, int col, const char* name)
{
    bool ok = false;
    const double v = row.fields[col].toDouble(&ok);
    if (!ok || !std::isfinite(v))
        Fail(QStringLiteral("第%1行的%2“%3”不是有效的数值").arg(row.line).arg(QLatin1String(name), row.fields[col]));
    return v;
}

// ---- JSON ----

class TJson {
public:
    void Begin(QChar bracket)
    {
        Separate();
        FText += bracket;
        FFirst = true;
    }
    void End(QChar bracket)
    {
        FText += bracket;
        FFirst = false;
    }
    void Key(const char* key)
    {
        Separate();
        String(QLatin1String(key));
        FText += QLatin1Char(':');
        FFirst = true;  // the value follows without a comma
    }
    void Number(double v)
    {
        Separate();
        FText += v == NullValue || !std::isfinite(v) ? QStringLiteral("null")
                                                     : QString::number(v, 'g', QLocale::FloatingPointShortest);
    }
    void Integer(long long v)
    {
        Separate();
        FText += v == NullValue ? QStringLiteral("null") : QString::number(v);
    }
    void Text(const QString& s)
    {
        Separate();
        String(s);
    }
    void Field(const char* key, double v)
    {
        Key(key);
        Number(v);
    }
    const QString& Result() const { return FText; }

private:
    void Separate()
    {
        if (!FFirst) FText += QLatin1Char(',');
        FFirst = false;
    }
    void String(const QString& s)
    {
        FText += QLatin1Char('"');
        for (const QChar ch : s) {
            switch (ch.unicode()) {
            case '"': FText += QLatin1String("\\\""); break;
            case '\\': FText += QLatin1String("\\\\"); break;
            case '\n': FText += QLatin1String("\\n"); break;
            case '\r': FText += QLatin1String("\\r"); break;
            case '\t': FText += QLatin1String("\\t"); break;
            default:
                if (ch.unicode() < 0x20)
                    FText += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
                else
                    FText += ch;
            }
        }
        FText += QLatin1Char('"');
    }
    QString FText;
    bool FFirst = true;
};

void WriteLimits(TJson& j, const TLimitInfo& l)
{
    j.Key("limits");
    j.Begin(QLatin1Char('{'));
    j.Field("MUCL", l.MUCL);
    j.Field("MCL", l.MCL);
    j.Field("MLCL", l.MLCL);
    j.Field("SUCL", l.SUCL);
    j.Field("SCL", l.SCL);
    j.Field("SLCL", l.SLCL);
    j.Field("CL", l.CL);
    j.Field("UCL", l.UCL);
    j.Field("LCL", l.LCL);
    j.End(QLatin1Char('}'));
}

void WriteStatistics(TJson& j, const TStatistic& s)
{
    j.Key("statistics");
    j.Begin(QLatin1Char('{'));
    j.Field("Max", s.Max);
    j.Field("Min", s.Min);
    j.Field("Mean", s.Mean);
    j.Field("Range", s.Range);
    j.Field("StdDev", s.StdDev);
    j.Field("Cp", s.Cp);
    j.Field("Cpu", s.Cpu);
    j.Field("Cpl", s.Cpl);
    j.Field("Cpk", s.Cpk);
    j.Field("Pp", s.Pp);
    j.Field("Ppu", s.Ppu);
    j.Field("Ppl", s.Ppl);
    j.Field("Ppk", s.Ppk);
    j.End(QLatin1Char('}'));
}

void WriteHeader(TJson& j, TChartType type, int count)
{
    j.Begin(QLatin1Char('{'));
    j.Key("chartType");
    j.Text(ChartTypeName(type));
    j.Key("count");
    j.Integer(count);
}

// Limits come from the data only: whatever CalcLimits leaves unset is reported as null.
void ClearLimits(TLimitInfo& l)
{
    l.MUCL = l.MCL = l.MLCL = l.SUCL = l.SCL = l.SLCL = l.CL = l.UCL = l.LCL = NullValue;
}

// ---- the three families ----

// Draws the chart with the program's own chart objects into a PNG, a PDF and/or an SVG of W × H
// pixels.
void ExportPictures(const TOptions& o, TSPCChart& chart)
{
    const struct { const char* option; TPictureFormat format; } kinds[] = {
        {"png", TPictureFormat::Png}, {"pdf", TPictureFormat::Pdf}, {"svg", TPictureFormat::Svg}};
    bool any = false;
    for (const auto& k : kinds) any = any || o.values.contains(QLatin1String(k.option));
    if (!any) return;
    const int width = IntOption(o, "width", 100).value_or(1200);
    const int height = IntOption(o, "height", 100).value_or(chart.SurfaceCount() > 1 ? 800 : 600);
    chart.SetBounds(0, 0, width, height);
    chart.Draw();
    for (const auto& k : kinds) {
        const QString file = o.values.value(QLatin1String(k.option));
        if (!file.isEmpty()) SaveChartPicture(chart, file, k.format, QSize(width, height), ChartTypeName(o.type));
    }
}

// ---- --rules: the chart judged with rules written as the judge's expressions ----

class TRulesJudgement {
public:
    TRulesJudgement() { DefineExceptionTable(FExceptions); }

    // Judges with the rules of --rules, in the order given; nothing without the option. The
    // judge's messages for an expression that does not parse or cannot be judged.
    void Run(const TOptions& o, TVariableChartData* variable, TAttributeChartData* attribute)
    {
        if (!o.values.contains(QStringLiteral("rules"))) return;
        FActive = true;
        const QStringList expressions = o.values.value(QStringLiteral("rules")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        TMemTable rows;
        DefineJudgeRuleTable(rows);
        for (const QString& text : expressions) {
            if (text.trimmed().isEmpty()) continue;
            const TJudgeRuleRow row = ParseJudgeExpression(text);
            const bool trend = row.JudgeType != 2;
            if (!JudgeRuleDefinitionValid(trend, trend ? row.Area_Trend : row.Area_Run,
                                          trend ? row.Area_Trend : row.Exception_Run,
                                          trend ? row.ExceptionType_Trend : row.ExceptionType_Run))
                Fail(QStringLiteral("%1：检测规则定义错误！").arg(text.trimmed()));
            // The judge drops secondary-chart rules of an attribute chart; asked for by name, they
            // are refused instead.
            if (attribute && row.TargetType != 1)
                Fail(QStringLiteral("检测规则%1针对副控制图，不适用于图表类型%2").arg(text.trimmed(), o.typeName));
            AppendJudgeRuleRow(rows, row);
        }
        if (rows.RecordCount() == 0) Fail(QStringLiteral("选项--rules缺少取值"));
        if (variable)
            FJudge.SetVariableData(variable);
        else
            FJudge.SetAttributeData(attribute);
        FJudge.LoadRules(rows);
        FJudge.ExceptionData = &FExceptions;
        FJudge.JudgeSN = 0;
        FJudge.JudgeChart();
    }

    // "violations" in the order they fired, and "states" of the subgroups after judging.
    template <class TData>
    void Write(TJson& j, const TData& data) const
    {
        if (!FActive) return;
        const int judgeSN = FExceptions.FieldByName(QStringLiteral("JudgeSN"))->Index();
        const int sn = FExceptions.FieldByName(QStringLiteral("SN"))->Index();
        const int expression = FExceptions.FieldByName(QStringLiteral("Expression"))->Index();
        const int describe = FExceptions.FieldByName(QStringLiteral("Describe"))->Index();
        j.Key("violations");
        j.Begin(QLatin1Char('['));
        for (int r = 0; r < FExceptions.RecordCount();) {
            const QVariant current = FExceptions.RowValue(r, judgeSN);
            j.Begin(QLatin1Char('{'));
            j.Key("JudgeSN");
            j.Integer(current.toLongLong());
            j.Key("Expression");
            j.Text(FExceptions.RowValue(r, expression).toString());
            j.Key("Describe");
            j.Text(FExceptions.RowValue(r, describe).toString());
            j.Key("SN");
            j.Begin(QLatin1Char('['));
            for (; r < FExceptions.RecordCount() && FExceptions.RowValue(r, judgeSN) == current; ++r)
                j.Integer(FExceptions.RowValue(r, sn).toLongLong());
            j.End(QLatin1Char(']'));
            j.End(QLatin1Char('}'));
        }
        j.End(QLatin1Char(']'));
        j.Key("states");
        j.Begin(QLatin1Char('['));
        for (int i = 0; i < data.Count(); ++i) {
            j.Begin(QLatin1Char('{'));
            j.Key("SN");
            j.Integer(data.Data(i).SN);
            j.Key("State");
            j.Text(StateName(data.Data(i).State));
            j.End(QLatin1Char('}'));
        }
        j.End(QLatin1Char(']'));
    }

private:
    bool FActive = false;
    TChartJudge FJudge;
    TMemTable FExceptions;
};

QString VariableChart(const TOptions& o)
{
    const int size = IntOption(o, "size", 1).value_or(0);
    const auto stepText = IntOption(o, "step", NullValue + 1);
    const int step = stepText.value_or(1);
    if (step < 1) Fail(QStringLiteral("移动极差的步长应大于或等于1"));
    const QList<TCsvRow> rows = ReadCsv(o.file, {QStringLiteral("subgroup"), QStringLiteral("value")});

    TVariableDataList list;
    list.Updating = true;
    QHash<int, TVariableData*> bySN;
    for (const TCsvRow& row : rows) {
        const int sn = IntField(row, 0, "subgroup", NullValue + 1);
        const double x = NumberField(row, 1, "value");
        TVariableData*& d = bySN[sn];
        if (!d) {
            d = &list.NewData();
            d->SN = sn;
        }
        d->AddValue(x);
    }
    list.Info.SampleSize = size > 0 ? size : (list.Count() > 0 ? list.Item(0).ValueCount() : NullValue);
    list.Info.Step = step;
    list.Info.USL = NumberOption(o, "usl");
    list.Info.SL = NumberOption(o, "sl");
    list.Info.LSL = NumberOption(o, "lsl");
    list.Updating = false;

    TJson j;
    WriteHeader(j, o.type, list.Count());
    TStatistic statistic;
    if (o.type == ctHistogram) {
        THistogramChartData data;
        data.SetDataList(&list);
        data.SetChartType(ctHistogram);
        ClearLimits(data.LimitInfo);
        if (const auto k = IntOption(o, "groups", 1)) data.SetGroupCount(*k);
        data.EnsureCalc();
        THistogramChart chart;
        chart.SetChartData(&data);
        ExportPictures(o, chart);
        statistic.Calc(list.Info, data.LimitInfo, ctXBarS, list);  // as the histogram window shows it
        WriteLimits(j, data.LimitInfo);
        j.Key("points");
        j.Begin(QLatin1Char('['));
        j.End(QLatin1Char(']'));
        WriteStatistics(j, statistic);
        j.Key("classes");
        j.Begin(QLatin1Char('['));
        for (int i = 0; i < data.GroupItemCount(); ++i) {
            const THGroupItem& g = data.Group(i);
            j.Begin(QLatin1Char('{'));
            j.Field("start", g.StartValue);
            j.Field("end", g.EndValue);
            j.Key("count");
            j.Integer(g.Count);
            j.End(QLatin1Char('}'));
        }
        j.End(QLatin1Char(']'));
    } else {
        TVariableChartData data;
        data.SetDataList(&list);
        data.SetChartType(o.type);
        ClearLimits(data.LimitInfo);
        data.CalcLimits();
        TRulesJudgement judgement;
        judgement.Run(o, &data, nullptr);  // before drawing, so that the pictures show the states
        TVariableChart chart;
        chart.SetChartData(&data);
        chart.SetShowSpecLines(list.Info.USL != NullValue || list.Info.LSL != NullValue);
        ExportPictures(o, chart);
        statistic.Calc(list.Info, data.LimitInfo, o.type, list);
        WriteLimits(j, data.LimitInfo);
        j.Key("points");
        j.Begin(QLatin1Char('['));
        for (int i = 0; i < data.Count(); ++i) {
            j.Begin(QLatin1Char('{'));
            j.Key("SN");
            j.Integer(data.Data(i).SN);
            j.Field("main", data.MainValue(i));
            j.Field("sub", data.SubValue(i));
            j.End(QLatin1Char('}'));
        }
        j.End(QLatin1Char(']'));
        WriteStatistics(j, statistic);
        judgement.Write(j, data);
    }
    j.End(QLatin1Char('}'));
    return j.Result();
}

QString AttributeChart(const TOptions& o)
{
    const QList<TCsvRow> rows =
        ReadCsv(o.file, {QStringLiteral("subgroup"), QStringLiteral("inspected"), QStringLiteral("count")});
    const bool defects = o.type == ctU || o.type == ctC;
    TAttributeDataList list;
    {
        TAttributeRowLoader loader(list, defects);
        for (const TCsvRow& row : rows) {
            const int sn = IntField(row, 0, "subgroup", NullValue + 1);
            const int inspected = IntField(row, 1, "inspected", 0);
            const int count = IntField(row, 2, "count", 0);
            switch (loader.Add({sn, inspected, count})) {
            case TAttributeRowResult::Added: break;
            case TAttributeRowResult::RejectedAboveInspected:
                Fail(QStringLiteral("第%1行的不良数%2大于检验数%3").arg(row.line).arg(count).arg(inspected));
            default: Fail(QStringLiteral("第%1行的subgroup %2重复").arg(row.line).arg(sn));
            }
        }
    }

    TAttributeChartData data;
    data.SetDataList(&list);
    data.SetChartType(o.type);
    ClearLimits(data.LimitInfo);
    data.CalcLimits();
    TRulesJudgement judgement;
    judgement.Run(o, nullptr, &data);  // before drawing, so that the pictures show the states
    TAttributeChart chart;
    chart.SetChartData(&data);
    ExportPictures(o, chart);

    TJson j;
    WriteHeader(j, o.type, list.Count());
    WriteLimits(j, data.LimitInfo);
    j.Key("points");
    j.Begin(QLatin1Char('['));
    for (int i = 0; i < data.Count(); ++i) {
        j.Begin(QLatin1Char('{'));
        j.Key("SN");
        j.Integer(data.Data(i).SN);
        j.Field("value", data.ValueAt(i));
        j.Field("ucl", data.UCLAt(i));
        j.Field("cl", data.CL());
        j.Field("lcl", data.LCLAt(i));
        j.End(QLatin1Char('}'));
    }
    j.End(QLatin1Char(']'));
    judgement.Write(j, data);
    j.End(QLatin1Char('}'));
    return j.Result();
}

QString ParetoChart(const TOptions& o)
{
    const int show = IntOption(o, "show", 0).value_or(0);
    const QList<TCsvRow> rows =
        ReadCsv(o.file, {QStringLiteral("subgroup"), QStringLiteral("defect"), QStringLiteral("count")});
    // Each defect name stands for one phenomenon.
    QHash<QString, int> idOf;
    QHash<int, QString> nameOf;
    TAttributeDataList list;
    {
        TAttributeRowLoader loader(list, true);
        for (const TCsvRow& row : rows) {
            const int sn = IntField(row, 0, "subgroup", NullValue + 1);
            const QString& name = row.fields[1];
            const int count = IntField(row, 2, "count", 0);
            int& id = idOf[name];
            if (id == 0) {
                id = idOf.size();
                nameOf.insert(id, name);
            }
            if (loader.Add({sn, 0, count, id}) != TAttributeRowResult::Added)
                Fail(QStringLiteral("第%1行：值组%2的缺陷“%3”重复").arg(row.line).arg(sn).arg(name));
        }
    }

    TParetoData data;
    data.LoadFromList(list, [&nameOf](int id) -> std::optional<QString> { return nameOf.value(id); });
    data.SetShowCount(show);
    ClearLimits(data.LimitInfo);
    data.Compute();
    TParetoChart chart;
    chart.SetChartData(&data);
    chart.SetShowCount(show);
    ExportPictures(o, chart);

    TJson j;
    WriteHeader(j, ctPareto, list.Count());
    WriteLimits(j, data.LimitInfo);
    j.Key("points");
    j.Begin(QLatin1Char('['));
    j.End(QLatin1Char(']'));
    j.Key("items");
    j.Begin(QLatin1Char('['));
    for (int i = 0; i < data.DisplayCount(); ++i) {
        const RParetoItem& item = data.DisplayItem(i);
        j.Begin(QLatin1Char('{'));
        j.Key("name");
        j.Text(item.Name);
        j.Field("total", item.Total);
        j.Field("percent", item.Percent);
        j.End(QLatin1Char('}'));
    }
    j.End(QLatin1Char(']'));
    j.End(QLatin1Char('}'));
    return j.Result();
}
} // namespace

int RunChart(const QStringList& args, TCliStreams io)
{
    try {
        const TOptions o = ParseArguments(args);
        QString json;
        switch (o.family) {
        case TFamily::Variable: json = VariableChart(o); break;
        case TFamily::Attribute: json = AttributeChart(o); break;
        case TFamily::Pareto: json = ParetoChart(o); break;
        }
        io.out << json << Qt::endl;
        return 0;
    } catch (const ESystemError& e) {
        QString message = e.Message();
        message.replace(QLatin1Char('\n'), QLatin1Char(' '));
        io.err << message << Qt::endl;
        return 2;
    }
}
