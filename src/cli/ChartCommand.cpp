// qiheng-spc-cli chart: the engine's limits, points, statistics, histogram classes and Pareto
// items for a CSV file of measurements or counts, as one JSON object (or the points as CSV); the
// limits are those computed from the data. With --db the subgroups of a control item are read as
// the analysis window reads them (its condition, task tables and sample provider), with the item's
// stored current limits when it has any and its specification limits; --save-result stores the
// judgement as the window's check does. --png, --pdf and --svg draw the chart as well; --rules or
// --template judges it.
#include "cli/ChartOutput.h"
#include "cli/CliCommands.h"
#include "cli/CsvReader.h"

#include "analysis/BaseCondition.h"
#include "analysis/SampleProvider.h"
#include "engine/AttributeData.h"
#include "engine/ChartPicture.h"
#include "engine/ChartReport.h"
#include "engine/StringGrid.h"
#include "engine/HistogramData.h"
#include "engine/ParetoData.h"
#include "engine/SPCChart.h"
#include "engine/Statistic.h"
#include "engine/VariableData.h"
#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/RecordUtils.h"
#include "foundation/ZCDb.h"
#include "rules/ChartJudge.h"
#include "rules/ExceptionReview.h"

#include <QFileInfo>
#include <QHash>
#include <functional>
#include <optional>

namespace {
enum class TFamily { Variable, Attribute, Pareto };

struct TTypeName {
    const char* name;
    TChartType type;
    TFamily family;
    const char* report;  // the report template of the type's chart window
};

const TTypeName kTypes[] = {
    {"xbar-r", ctXBarR, TFamily::Variable, "VChart.rls"},    {"xbar-s", ctXBarS, TFamily::Variable, "VChart.rls"},
    {"x-rm", ctXRm, TFamily::Variable, "VChart.rls"},        {"histogram", ctHistogram, TFamily::Variable, "HChart.rls"},
    {"p", ctP, TFamily::Attribute, "AChart.rls"},            {"np", ctNP, TFamily::Attribute, "AChart.rls"},
    {"u", ctU, TFamily::Attribute, "AChart.rls"},            {"c", ctC, TFamily::Attribute, "AChart.rls"},
    {"pareto", ctPareto, TFamily::Pareto, "ParetoChart.rls"},
};

struct TPictureOption {
    const char* option;
    TPictureFormat format;
};
const TPictureOption kPictures[] = {{"png", TPictureFormat::Png}, {"pdf", TPictureFormat::Pdf}, {"svg", TPictureFormat::Svg}};

QList<QCommandLineOption> ChartOptions()
{
    return {
        ValuedOption("type", "图表类型（见上）", "TYPE"),
        ValuedOption("size", "计划子组容量（默认为第一个子组的值数）", "N"),
        ValuedOption("step", "移动极差的步长（默认1）", "S"),
        ValuedOption("usl", "规格上限", "X"),
        ValuedOption("sl", "规格中心", "X"),
        ValuedOption("lsl", "规格下限", "X"),
        ValuedOption("groups", "直方图的组数", "K"),
        ValuedOption("show", "柏拉图单列的项数，其余合为<其他>", "N"),
        ValuedOption("rules", "判异规则，以分号分隔，如\"MT1,6;MR8,1,1\"", "EXPR;..."),
        ValuedOption("format", "输出格式：json（默认），或csv（各点的值、控制限和状态）", "json|csv"),
        ValuedOption("png", "另把图表画成PNG图片", "FILE"),
        ValuedOption("pdf", "另把图表画成PDF文件", "FILE"),
        ValuedOption("svg", "另把图表画成SVG图片", "FILE"),
        ValuedOption("width", "图片宽度（像素，默认1200）", "W"),
        ValuedOption("height", "图片高度（像素，默认600，两个图时800）", "H"),
        ValuedOption("db", "从数据库读取质量特性的子组（数据库文件或postgresql://地址），代替CSV文件", "PATH|URL"),
        ValuedOption("item", "与--db同用：质量特性的编码", "CCODE"),
        ValuedOption("from", "与--db同用：起始日期（含），如2024-05-01", "DATE"),
        ValuedOption("to", "与--db同用：截止日期（含当天全天）", "DATE"),
        ValuedOption("tag", "与--db同用：必须满足的标签取值（可重复）", "TAGCODE=VALUE"),
        ValuedOption("template", "与--db同用：按判异规则模板检测", "JRTCODE"),
        QCommandLineOption(QStringLiteral("save-result"), QStringLiteral("与--db同用：保存检测结果（异常记录和子组状态）")),
    };
}

// Bad usage and bad data are told apart by the exit code.
[[noreturn]] void Refuse(const QString& message)
{
    throw ECliUsage(message);
}

// ---- --rules: the chart judged with rules written as the judge's expressions ----

class TRulesJudgement {
public:
    // The rules of --rules, in the order given (none without the option), checked before any data
    // is read. --template's rules are read from the database by LoadTemplate.
    TRulesJudgement(const TCliArguments& args, const QString& typeName, bool attribute)
    {
        DefineJudgeRuleTable(FRules);
        DefineExceptionTable(FExceptions);
        if (!args.IsSet(QStringLiteral("rules"))) return;
        for (const QString& text : args.Value(QStringLiteral("rules")).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (text.trimmed().isEmpty()) continue;
            TJudgeRuleRow row;
            try {
                row = ParseJudgeExpression(text);
            } catch (const ESystemError& e) {
                Refuse(e.Message());
            }
            const bool trend = row.JudgeType != 2;
            if (!JudgeRuleDefinitionValid(trend, trend ? row.Area_Trend : row.Area_Run,
                                          trend ? row.Area_Trend : row.Exception_Run,
                                          trend ? row.ExceptionType_Trend : row.ExceptionType_Run))
                Refuse(QStringLiteral("%1：检测规则定义错误！").arg(text.trimmed()));
            // The judge drops secondary-chart rules of an attribute chart; asked for by name, they
            // are refused instead.
            if (attribute && row.TargetType != 1)
                Refuse(QStringLiteral("检测规则%1针对副控制图，不适用于图表类型%2").arg(text.trimmed(), typeName));
            AppendJudgeRuleRow(FRules, row);
        }
        if (FRules.RecordCount() == 0) Refuse(QStringLiteral("选项--rules缺少取值"));
        FActive = true;
    }

    // The rules of a judge rule template as the rule dialog offers them, in the order of their codes.
    void LoadTemplate(TCompanyDM& dm, const QString& code)
    {
        const QVariant id = GetSQLValue(QStringLiteral("select JRTID from L_JudgeRuleTemplate where JRTCode = :Code"),
                                        {{QStringLiteral("Code"), code}});
        if (id.isNull() || !id.isValid()) RaiseError(QStringLiteral("判异规则模板“%1”不存在").arg(code));
        QSqlQuery q = dm.Exec(QStringLiteral("select b.TargetType, b.JudgeType, b.Area_Trend, b.ExceptionType_Trend, b.Area_Run, "
                                             "b.Exception_Run, b.ExceptionType_Run from L_JudgeRuleTemplateDetail as a, L_JudgeRule b "
                                             "where a.JRID = b.JRID and a.JRTID = :JRTID order by b.JRCode"),
                              {{QStringLiteral("JRTID"), id}});
        while (q.next()) {
            TJudgeRuleRow row;
            int* fields[] = {&row.TargetType, &row.JudgeType, &row.Area_Trend, &row.ExceptionType_Trend,
                             &row.Area_Run, &row.Exception_Run, &row.ExceptionType_Run};
            for (int i = 0; i < 7; ++i) *fields[i] = VariantToInt(q.value(i));
            AppendJudgeRuleRow(FRules, row);
        }
        if (FRules.RecordCount() == 0) RaiseError(QStringLiteral("判异规则模板“%1”没有规则").arg(code));
        FActive = true;
    }

    bool Active() const { return FActive; }

    void Run(TVariableChartData* variable, TAttributeChartData* attribute)
    {
        if (!FActive) return;
        if (variable)
            FJudge.SetVariableData(variable);
        else
            FJudge.SetAttributeData(attribute);
        FJudge.LoadRules(FRules);
        FJudge.ExceptionData = &FExceptions;
        FJudge.JudgeSN = 0;
        FJudge.JudgeChart();
    }

    // The window's check and save: numbered after the highest stored exception, written with the
    // subgroups' states in one transaction.
    void RunAndSave(TCompanyDM& dm, int taskID, TVariableChartData* variable, TAttributeChartData* attribute)
    {
        if (variable)
            FJudge.SetVariableData(variable);
        else
            FJudge.SetAttributeData(attribute);
        FJudge.LoadRules(FRules);
        SetupExceptionQuery(FStored);
        FStored.SetDatabase(&dm);
        int base = RunChartCheck(FJudge, FStored, dm);
        SaveCheckResult(FJudge, dm, taskID, base);
        FRows = &FStored;
    }

    // "violations" in the order they fired, and "states" of the subgroups after judging.
    template <class TData>
    void Write(TJsonOut& j, const TData& data) const
    {
        if (!FActive) return;
        const TDataSet& rows = *FRows;
        const int judgeSN = rows.FindField(QStringLiteral("JudgeSN"))->Index();
        const int sn = rows.FindField(QStringLiteral("SN"))->Index();
        const int expression = rows.FindField(QStringLiteral("Expression"))->Index();
        const int describe = rows.FindField(QStringLiteral("Describe"))->Index();
        j.Key("violations");
        j.BeginArray();
        for (int r = 0; r < rows.RecordCount();) {
            const QVariant current = rows.RowValue(r, judgeSN);
            j.BeginObject();
            j.Key("JudgeSN");
            j.Integer(current.toLongLong());
            j.Key("Expression");
            j.Text(rows.RowValue(r, expression).toString());
            j.Key("Describe");
            j.Text(rows.RowValue(r, describe).toString());
            j.Key("SN");
            j.BeginArray();
            for (; r < rows.RecordCount() && rows.RowValue(r, judgeSN) == current; ++r)
                j.Integer(rows.RowValue(r, sn).toLongLong());
            j.EndArray();
            j.EndObject();
        }
        j.EndArray();
        j.Key("states");
        j.BeginArray();
        for (int i = 0; i < data.Count(); ++i) {
            j.BeginObject();
            j.Key("SN");
            j.Integer(data.Data(i).SN);
            j.Key("State");
            j.Text(StateName(data.Data(i).State));
            j.EndObject();
        }
        j.EndArray();
    }

private:
    bool FActive = false;
    TMemTable FRules;
    TChartJudge FJudge;
    TMemTable FExceptions;
    TZCQuery FStored;
    const TDataSet* FRows = &FExceptions;
};

// ---- the options ----

struct TChartOptions {
    QString TypeName;
    TChartType Type = ctNone;
    TFamily Family = TFamily::Variable;
    const char* Report = nullptr;  // file name of the report template
    bool Csv = false;
    QString File;
    int Size = 0;  // 0: the value count of the first subgroup
    int Step = 1;
    double USL = NullValue, SL = NullValue, LSL = NullValue;
    std::optional<int> Groups;
    int Show = 0;
    std::optional<int> Width, Height;
    QString Pictures[std::size(kPictures)];  // file per picture format, empty when not asked for
    // --db: the database, the item, the days and the tag values the subgroups must have.
    QString Database, Item;
    QDate From, To;
    QList<QPair<QString, QString>> Tags;
    QString Template;
    bool SaveResult = false;
};

QDate DateOption(const TCliArguments& args, const char* name, QDate otherwise)
{
    if (!args.IsSet(QLatin1String(name))) return otherwise;
    const QString text = args.Value(QLatin1String(name)).trimmed();
    const QDate d = QDate::fromString(text, Qt::ISODate);
    if (!d.isValid()) Refuse(QStringLiteral("选项--%1的取值“%2”应为日期，如2024-05-01").arg(QLatin1String(name), text));
    return d;
}

void ReadType(const TCliArguments& args, TChartOptions& o)
{
    o.TypeName = args.Value(QStringLiteral("type"));
    bool known = false;
    QStringList names;
    for (const TTypeName& t : kTypes) {
        names << QString::fromUtf8(t.name);
        if (o.TypeName == QLatin1String(t.name)) {
            o.Type = t.type;
            o.Family = t.family;
            o.Report = t.report;
            known = true;
        }
    }
    if (!known) Refuse(QStringLiteral("未知的图表类型：%1（可用：%2）").arg(o.TypeName, names.join(QStringLiteral(", "))));
}

// --db's companions: the item, the days and the tags.
void ReadDatabaseOptions(const TCliArguments& args, TChartOptions& o)
{
    o.Database = args.Value(QStringLiteral("db"));
    o.Item = args.Value(QStringLiteral("item"));
    o.From = DateOption(args, "from", QDate(1900, 1, 1));
    o.To = DateOption(args, "to", QDate(9999, 12, 31));
    if (o.From > o.To) Refuse(QStringLiteral("起始日期%1晚于截止日期%2").arg(o.From.toString(Qt::ISODate), o.To.toString(Qt::ISODate)));
    for (const QString& tag : args.Values(QStringLiteral("tag"))) {
        const int eq = tag.indexOf(QLatin1Char('='));
        if (eq <= 0 || eq == tag.size() - 1) Refuse(QStringLiteral("选项--tag的取值“%1”应形如标签编码=取值").arg(tag));
        o.Tags << qMakePair(tag.left(eq).trimmed(), tag.mid(eq + 1).trimmed());
    }
}

TChartOptions ReadOptions(const TCliArguments& args)
{
    TChartOptions o;
    if (!args.IsSet(QStringLiteral("type"))) args.Usage();
    o.Database = args.Value(QStringLiteral("db"));
    const bool database = args.IsSet(QStringLiteral("db"));
    if (database) {
        if (o.Database.isEmpty() || !args.IsSet(QStringLiteral("item"))) args.Usage();
        args.Positional(0);
    } else {
        o.File = args.Positional(1).first();
    }
    for (const char* option : {"item", "from", "to", "tag", "template", "save-result"})
        if (!database && args.IsSet(QLatin1String(option))) Refuse(QStringLiteral("选项--%1需要与--db同用").arg(QLatin1String(option)));
    // From the database, the item's own figures count.
    for (const char* option : {"size", "step", "usl", "sl", "lsl"})
        if (database && args.IsSet(QLatin1String(option)))
            Refuse(QStringLiteral("选项--%1不能与--db同用：取质量特性的设置").arg(QLatin1String(option)));
    if (args.IsSet(QStringLiteral("rules")) && args.IsSet(QStringLiteral("template"))) Refuse(QStringLiteral("选项--rules和--template只能用其一"));
    if (args.IsSet(QStringLiteral("save-result")) && !args.IsSet(QStringLiteral("rules")) && !args.IsSet(QStringLiteral("template")))
        Refuse(QStringLiteral("选项--save-result需要--rules或--template"));
    ReadDatabaseOptions(args, o);
    o.Template = args.Value(QStringLiteral("template"));
    o.SaveResult = args.IsSet(QStringLiteral("save-result"));
    ReadType(args, o);

    // Options that mean nothing for the chart asked for are refused rather than ignored.
    const auto only = [&](const char* option, bool applies) {
        if (args.IsSet(QLatin1String(option)) && !applies)
            Refuse(QStringLiteral("选项--%1不适用于图表类型%2").arg(QLatin1String(option), o.TypeName));
    };
    for (const char* option : {"size", "step", "usl", "sl", "lsl"}) only(option, o.Family == TFamily::Variable);
    only("groups", o.Type == ctHistogram);
    only("show", o.Type == ctPareto);
    only("rules", o.Type != ctHistogram && o.Type != ctPareto);
    only("template", o.Type != ctHistogram && o.Type != ctPareto);

    if (args.IsSet(QStringLiteral("format"))) {
        const QString format = args.Value(QStringLiteral("format"));
        if (format != QLatin1String("json") && format != QLatin1String("csv"))
            Refuse(QStringLiteral("选项--format的取值“%1”应为json或csv").arg(format));
        o.Csv = format == QLatin1String("csv");
    }
    o.Size = args.Int(QStringLiteral("size"), 1).value_or(0);
    o.Step = args.Int(QStringLiteral("step"), NullValue + 1).value_or(1);
    if (o.Step < 1) Refuse(QStringLiteral("移动极差的步长应大于或等于1"));
    o.USL = args.Number(QStringLiteral("usl"));
    o.SL = args.Number(QStringLiteral("sl"));
    o.LSL = args.Number(QStringLiteral("lsl"));
    o.Groups = args.Int(QStringLiteral("groups"), 1);
    o.Show = args.Int(QStringLiteral("show"), 0).value_or(0);
    o.Width = args.Int(QStringLiteral("width"), 100);
    o.Height = args.Int(QStringLiteral("height"), 100);
    for (std::size_t k = 0; k < std::size(kPictures); ++k) o.Pictures[k] = args.Value(QLatin1String(kPictures[k].option));
    return o;
}

// ---- output ----

void WriteLimits(TJsonOut& j, const TLimitInfo& l)
{
    j.Key("limits");
    j.BeginObject();
    j.Field("MUCL", l.MUCL);
    j.Field("MCL", l.MCL);
    j.Field("MLCL", l.MLCL);
    j.Field("SUCL", l.SUCL);
    j.Field("SCL", l.SCL);
    j.Field("SLCL", l.SLCL);
    j.Field("CL", l.CL);
    j.Field("UCL", l.UCL);
    j.Field("LCL", l.LCL);
    j.EndObject();
}

void WriteStatistics(TJsonOut& j, const TStatistic& s)
{
    j.Key("statistics");
    j.BeginObject();
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
    j.EndObject();
}

// limitsSource: "stored" or "computed" when the data came from a database (nullptr otherwise).
void WriteHeader(TJsonOut& j, TChartType type, int count, const TLimitInfo& limits, const char* limitsSource = nullptr)
{
    j.BeginObject();
    j.Key("chartType");
    j.Text(ChartTypeName(type));
    j.Key("count");
    j.Integer(count);
    if (limitsSource) {
        j.Key("limitsSource");
        j.Text(QString::fromLatin1(limitsSource));
    }
    WriteLimits(j, limits);
}

void WriteNoPoints(TJsonOut& j)
{
    j.Key("points");
    j.BeginArray();
    j.EndArray();
}

// The names of the subgroup states in UTF-8, made once for all rows.
const QByteArray& StateText(TSubgroupState state)
{
    static const QByteArray names[] = {StateName(ssUnchecked).toUtf8(), StateName(ssNormal).toUtf8(),
                                       StateName(ssAbnormal).toUtf8(), StateName(ssHandled).toUtf8()};
    return names[state <= ssHandled ? state : ssUnchecked];
}

// Limits come from the data only: whatever CalcLimits leaves unset is reported as null.
void ClearLimits(TLimitInfo& l)
{
    l.MUCL = l.MCL = l.MLCL = l.SUCL = l.SCL = l.SLCL = l.CL = l.UCL = l.LCL = NullValue;
}

// Draws the chart with the program's own chart objects into a PNG, a PDF and/or an SVG of W × H
// pixels.
void ExportPictures(const TChartOptions& o, TSPCChart& chart)
{
    bool any = false;
    for (const QString& file : o.Pictures) any = any || !file.isEmpty();
    if (!any) return;
    const int width = o.Width.value_or(1200);
    const int height = o.Height.value_or(chart.SurfaceCount() > 1 ? 800 : 600);
    chart.SetBounds(0, 0, width, height);
    chart.Draw();
    for (std::size_t k = 0; k < std::size(kPictures); ++k)
        if (!o.Pictures[k].isEmpty())
            SaveChartPicture(chart, o.Pictures[k], kPictures[k].format, QSize(width, height), ChartTypeName(o.Type));
}

// Where the subgroups came from: a CSV file, or a task of a database (--db).
struct TChartSource {
    TCompanyDM* DM = nullptr;
    int TaskID = NullValue;
    bool SaveResult = false;

    void Judge(TRulesJudgement& judgement, TVariableChartData* variable, TAttributeChartData* attribute) const
    {
        if (DM && SaveResult)
            judgement.RunAndSave(*DM, TaskID, variable, attribute);
        else
            judgement.Run(variable, attribute);
    }
};

// The item's stored current limits when it has them (a database item), else those computed from
// the data; the limits of the other chart family are no value. Returns the JSON's limitsSource.
const char* SettleLimits(TSPCChartData& data, const TChartSource& source, bool attribute)
{
    TLimitInfo& l = data.LimitInfo;
    if (source.DM && l.Loaded) {
        if (attribute)
            l.MUCL = l.MCL = l.MLCL = l.SUCL = l.SCL = l.SLCL = NullValue;
        else
            l.CL = l.UCL = l.LCL = NullValue;
        return "stored";
    }
    ClearLimits(l);
    data.CalcLimits();
    return source.DM ? "computed" : nullptr;
}

void WriteVariableChart(const TChartOptions& o, TVariableDataList& list, TRulesJudgement& judgement, const TChartSource& source,
                        QIODevice& out);
void WriteAttributeChart(const TChartOptions& o, TAttributeDataList& list, TRulesJudgement& judgement, const TChartSource& source,
                         QIODevice& out);

// ---- the three families ----

// The subgroups of subgroup,value rows; values of one SN belong to one subgroup wherever they
// stand in the file. Files are mostly in SN order, where an SN above every earlier one is new:
// the index by SN (a million random look-ups cost more than reading the file) is only built once
// an SN comes back.
void LoadVariables(TCsvReader& csv, TVariableDataList& list)
{
    QHash<int, TVariableData*> bySN;
    bool indexed = false;
    TVariableData* last = nullptr;
    int highest = 0;
    while (csv.Next()) {
        const int sn = csv.Int(0, NullValue + 1);
        const double x = csv.Number(1);
        if (!last || last->SN != sn) {
            if (!last || sn > highest) {
                last = &list.NewData();
                last->SN = highest = sn;
                if (indexed) bySN.insert(sn, last);
            } else {
                if (!indexed) {
                    bySN.reserve(list.Count());
                    for (int i = 0; i < list.Count(); ++i) bySN.insert(list.Item(i).SN, &list.Item(i));
                    indexed = true;
                }
                TVariableData*& d = bySN[sn];
                if (!d) {
                    d = &list.NewData();
                    d->SN = sn;
                }
                last = d;
            }
        }
        last->AddValue(x);
    }
}

void HistogramChart(const TChartOptions& o, TVariableDataList& list, QIODevice& out)
{
    THistogramChartData data;
    data.SetDataList(&list);
    data.SetChartType(ctHistogram);
    ClearLimits(data.LimitInfo);
    if (o.Groups) data.SetGroupCount(*o.Groups);
    data.EnsureCalc();
    THistogramChart chart;
    chart.SetChartData(&data);
    ExportPictures(o, chart);
    if (o.Csv) {
        TCsvOut c(out);
        c.Header({"start", "end", "count"});
        for (int i = 0; i < data.GroupItemCount(); ++i) {
            const THGroupItem& g = data.Group(i);
            c.Number(g.StartValue);
            c.Number(g.EndValue);
            c.Integer(g.Count);
            c.EndRow();
        }
        c.Finish();
        return;
    }
    TStatistic statistic;
    statistic.Calc(list.Info, data.LimitInfo, ctXBarS, list);  // as the histogram window shows it
    TJsonOut j(out);
    WriteHeader(j, ctHistogram, list.Count(), data.LimitInfo);
    WriteNoPoints(j);
    WriteStatistics(j, statistic);
    j.Key("classes");
    j.BeginArray();
    for (int i = 0; i < data.GroupItemCount(); ++i) {
        const THGroupItem& g = data.Group(i);
        j.BeginObject();
        j.Field("start", g.StartValue);
        j.Field("end", g.EndValue);
        j.Key("count");
        j.Integer(g.Count);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    j.Finish();
}

void VariableChart(const TChartOptions& o, TCsvReader& csv, TRulesJudgement& judgement, QIODevice& out)
{
    TVariableDataList list;
    list.Updating = true;
    LoadVariables(csv, list);
    list.Info.SampleSize = o.Size > 0 ? o.Size : (list.Count() > 0 ? list.Item(0).ValueCount() : NullValue);
    list.Info.Step = o.Step;
    list.Info.USL = o.USL;
    list.Info.SL = o.SL;
    list.Info.LSL = o.LSL;
    list.Updating = false;
    WriteVariableChart(o, list, judgement, {}, out);
}

void WriteVariableChart(const TChartOptions& o, TVariableDataList& list, TRulesJudgement& judgement, const TChartSource& source,
                        QIODevice& out)
{
    if (o.Type == ctHistogram) {
        HistogramChart(o, list, out);
        return;
    }

    TVariableChartData data;
    data.SetDataList(&list);
    data.SetChartType(o.Type);
    const char* limitsSource = SettleLimits(data, source, false);
    source.Judge(judgement, &data, nullptr);  // before drawing, so that the pictures show the states
    TVariableChart chart;
    chart.SetChartData(&data);
    chart.SetShowSpecLines(list.Info.USL != NullValue || list.Info.LSL != NullValue);
    ExportPictures(o, chart);
    if (o.Csv) {
        TCsvOut c(out);
        c.Header({"SN", "main", "sub", "MUCL", "MCL", "MLCL", "SUCL", "SCL", "SLCL", "State"});
        for (int i = 0; i < data.Count(); ++i) {
            c.Integer(data.Data(i).SN);
            for (double v : {data.MainValue(i), data.SubValue(i), data.MainUCL(), data.MainCL(), data.MainLCL(i),
                             data.SubUCL(), data.SubCL(), data.SubLCL(i)})
                c.Number(v);
            c.Text(StateText(data.Data(i).State));
            c.EndRow();
        }
        c.Finish();
        return;
    }
    TStatistic statistic;
    statistic.Calc(list.Info, data.LimitInfo, o.Type, list);
    TJsonOut j(out);
    WriteHeader(j, o.Type, list.Count(), data.LimitInfo, limitsSource);
    j.Key("points");
    j.BeginArray();
    for (int i = 0; i < data.Count(); ++i) {
        j.BeginObject();
        j.Key("SN");
        j.Integer(data.Data(i).SN);
        j.Field("main", data.MainValue(i));
        j.Field("sub", data.SubValue(i));
        j.EndObject();
    }
    j.EndArray();
    WriteStatistics(j, statistic);
    judgement.Write(j, data);
    j.EndObject();
    j.Finish();
}

void AttributeChart(const TChartOptions& o, TCsvReader& csv, TRulesJudgement& judgement, QIODevice& out)
{
    const bool defects = o.Type == ctU || o.Type == ctC;
    TAttributeDataList list;
    {
        TAttributeRowLoader loader(list, defects);
        while (csv.Next()) {
            const int sn = csv.Int(0, NullValue + 1);
            const int inspected = csv.Int(1, 0);
            const int count = csv.Int(2, 0);
            switch (loader.Add({sn, inspected, count})) {
            case TAttributeRowResult::Added: break;
            case TAttributeRowResult::RejectedAboveInspected:
                RaiseError(QStringLiteral("第%1行的不良数%2大于检验数%3").arg(csv.Line()).arg(count).arg(inspected));
            default: RaiseError(QStringLiteral("第%1行的subgroup %2重复").arg(csv.Line()).arg(sn));
            }
        }
    }

    WriteAttributeChart(o, list, judgement, {}, out);
}

void WriteAttributeChart(const TChartOptions& o, TAttributeDataList& list, TRulesJudgement& judgement, const TChartSource& source,
                         QIODevice& out)
{
    TAttributeChartData data;
    data.SetDataList(&list);
    data.SetChartType(o.Type);
    const char* limitsSource = SettleLimits(data, source, true);
    source.Judge(judgement, nullptr, &data);  // before drawing, so that the pictures show the states
    TAttributeChart chart;
    chart.SetChartData(&data);
    ExportPictures(o, chart);
    if (o.Csv) {
        TCsvOut c(out);
        c.Header({"SN", "value", "ucl", "cl", "lcl", "State"});
        for (int i = 0; i < data.Count(); ++i) {
            c.Integer(data.Data(i).SN);
            for (double v : {data.ValueAt(i), data.UCLAt(i), data.CL(), data.LCLAt(i)}) c.Number(v);
            c.Text(StateText(data.Data(i).State));
            c.EndRow();
        }
        c.Finish();
        return;
    }
    TJsonOut j(out);
    WriteHeader(j, o.Type, list.Count(), data.LimitInfo, limitsSource);
    j.Key("points");
    j.BeginArray();
    for (int i = 0; i < data.Count(); ++i) {
        j.BeginObject();
        j.Key("SN");
        j.Integer(data.Data(i).SN);
        j.Field("value", data.ValueAt(i));
        j.Field("ucl", data.UCLAt(i));
        j.Field("cl", data.CL());
        j.Field("lcl", data.LCLAt(i));
        j.EndObject();
    }
    j.EndArray();
    judgement.Write(j, data);
    j.EndObject();
    j.Finish();
}

void WriteParetoChart(const TChartOptions& o, TParetoData& data, int count, QIODevice& out);

void ParetoChart(const TChartOptions& o, TCsvReader& csv, QIODevice& out)
{
    // Each defect name stands for one phenomenon.
    QHash<QString, int> idOf;
    QHash<int, QString> nameOf;
    TAttributeDataList list;
    {
        TAttributeRowLoader loader(list, true);
        while (csv.Next()) {
            const int sn = csv.Int(0, NullValue + 1);
            const QString name = csv.Text(1);
            const int count = csv.Int(2, 0);
            int& id = idOf[name];
            if (id == 0) {
                id = idOf.size();
                nameOf.insert(id, name);
            }
            if (loader.Add({sn, 0, count, id}) != TAttributeRowResult::Added)
                RaiseError(QStringLiteral("第%1行：值组%2的缺陷“%3”重复").arg(csv.Line()).arg(sn).arg(name));
        }
    }

    TParetoData data;
    data.LoadFromList(list, [&nameOf](int id) -> std::optional<QString> { return nameOf.value(id); });
    WriteParetoChart(o, data, list.Count(), out);
}

// The items of loaded Pareto data, cut after --show items as the window's display count cuts them.
void WriteParetoChart(const TChartOptions& o, TParetoData& data, int count, QIODevice& out)
{
    data.SetShowCount(o.Show);
    ClearLimits(data.LimitInfo);
    data.Compute();
    TParetoChart chart;
    chart.SetChartData(&data);
    chart.SetShowCount(o.Show);
    ExportPictures(o, chart);
    if (o.Csv) {
        TCsvOut c(out);
        c.Header({"name", "total", "percent"});
        for (int i = 0; i < data.DisplayCount(); ++i) {
            const RParetoItem& item = data.DisplayItem(i);
            c.Text(item.Name);
            c.Number(item.Total);
            c.Number(item.Percent);
            c.EndRow();
        }
        c.Finish();
        return;
    }
    TJsonOut j(out);
    WriteHeader(j, ctPareto, count, data.LimitInfo);
    WriteNoPoints(j);
    j.Key("items");
    j.BeginArray();
    for (int i = 0; i < data.DisplayCount(); ++i) {
        const RParetoItem& item = data.DisplayItem(i);
        j.BeginObject();
        j.Key("name");
        j.Text(item.Name);
        j.Field("total", item.Total);
        j.Field("percent", item.Percent);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    j.Finish();
}

QStringList Header(TFamily family)
{
    switch (family) {
    case TFamily::Variable: return {QStringLiteral("subgroup"), QStringLiteral("value")};
    case TFamily::Attribute: return {QStringLiteral("subgroup"), QStringLiteral("inspected"), QStringLiteral("count")};
    case TFamily::Pareto: break;
    }
    return {QStringLiteral("subgroup"), QStringLiteral("defect"), QStringLiteral("count")};
}

// --tag: each tag's values ticked in the condition's tag offer as the tag-value chooser ticks them,
// every tag to be satisfied.
void ChooseTags(TBaseCondition& condition, const QList<QPair<QString, QString>>& tags)
{
    if (tags.isEmpty()) return;
    TQuery& offer = condition.OpenTagOffer();
    {
        TTagValueChoice choice(offer);
        QStringList codes;
        for (const auto& [code, value] : tags)
            if (!codes.contains(code)) codes << code;
        for (const QString& code : std::as_const(codes)) {
            const QVariant tagID = GetSQLValue(QStringLiteral("select TagID from L_Tag where TagCode = :Code"), {{QStringLiteral("Code"), code}});
            if (tagID.isNull() || !tagID.isValid()) RaiseError(QStringLiteral("标签“%1”不存在").arg(code));
            QStringList values;
            for (const auto& [c, value] : tags)
                if (c == code) values << value;
            for (const QString& value : std::as_const(values))
                if (GetSQLValue(QStringLiteral("select count(*) from L_TagValue where TagID = :TagID and TagValue = :Value"),
                                {{QStringLiteral("TagID"), tagID}, {QStringLiteral("Value"), value}})
                        .toInt() == 0)
                    RaiseError(QStringLiteral("标签“%1”没有取值“%2”").arg(code, value));
            // The offer lists the values found on the item's subgroups: a value it lacks selects nothing.
            const int index = choice.IndexOfTag(VariantToInt(tagID));
            if (index < 0) RaiseError(NoSamplesText());
            choice.SetTag(index);
            const int valueField = offer.FieldByName(QStringLiteral("TagValue"))->Index();
            int ticked = 0;
            for (int r = 0; r < offer.RecordCount(); ++r) {
                const bool wanted = values.contains(offer.RowValue(r, valueField).toString());
                choice.SetSelected(r, wanted);
                ticked += wanted;
            }
            if (ticked == 0) RaiseError(NoSamplesText());
            choice.SetMandatory(true);
        }
    }
    condition.ApplyTagOffer();
}

// The analysis window's way to its data: a condition on the item, the days and the tags, saved into
// the task tables, and the sample provider's load of the task. `use` receives the loaded list (one
// of the two), the source for the judge and the condition.
using TDatabaseUse = std::function<void(TVariableDataList*, TAttributeDataList*, const TChartSource&, TBaseCondition&)>;

void LoadFromDatabase(const TChartOptions& o, TRulesJudgement* judgement, const TDatabaseUse& use)
{
    TCliDatabase db(o.Database);
    TCliMessageScope messages;  // the condition's checks report through message boxes
    TCompanyDM& dm = db.DM();
    const bool attribute = o.Family != TFamily::Variable;
    const TCliItem item = FindControlItem(o.Item, attribute);
    if (judgement && !o.Template.isEmpty()) judgement->LoadTemplate(dm, o.Template);
    TBaseCondition condition(attribute ? ikAttribute : ikVariable, true, GetNewTaskID(), &dm);
    if (!condition.ChooseCharacteristic(item.CID)) RaiseError(QStringLiteral("质量特性“%1”不存在").arg(o.Item));
    condition.StartDate = o.From;
    condition.StartTime = QTime(0, 0, 0);
    condition.EndDate = o.To;
    condition.EndTime = QTime(23, 59, 59);
    condition.PresetChartType(o.Type);
    ChooseTags(condition, o.Tags);
    if (!condition.SaveCondition()) RaiseError(QStringLiteral("条件保存错，请稍后重试！"));

    TSampleProvider provider(&dm);
    TSampleLoadOptions options;
    options.CID = item.CID;
    const TChartSource source{&dm, condition.TaskID(), o.SaveResult};
    if (attribute) {
        TAttributeDataList list;
        if (provider.LoadAttributeSamples(condition.TaskID(), condition.MandatoryTags, list, condition.OptionalTags, options) !=
            TSampleLoadResult::Loaded)
            RaiseError(NoSamplesText());
        use(nullptr, &list, source, condition);
    } else {
        TVariableDataList list;
        if (provider.LoadVariableSamples(condition.TaskID(), condition.MandatoryTags, list, condition.OptionalTags, options) !=
            TSampleLoadResult::Loaded)
            RaiseError(NoSamplesText());
        use(&list, nullptr, source, condition);
    }
}

void DatabaseChart(const TChartOptions& o, TRulesJudgement& judgement, QIODevice& out)
{
    LoadFromDatabase(o, &judgement, [&](TVariableDataList* variable, TAttributeDataList* attribute, const TChartSource& source, TBaseCondition&) {
        if (variable) {
            WriteVariableChart(o, *variable, judgement, source, out);
        } else if (o.Type == ctPareto) {
            TParetoData data;
            data.LoadFromList(*attribute);  // the phenomena's names, as the Pareto window loads them
            WriteParetoChart(o, data, attribute->Count(), out);
        } else {
            WriteAttributeChart(o, *attribute, judgement, source, out);
        }
    });
}

int RunChart(const TCliArguments& args, TCliIO& io)
{
    const TChartOptions o = ReadOptions(args);
    TRulesJudgement judgement(args, o.TypeName, o.Family == TFamily::Attribute);
    if (!o.Database.isEmpty()) {
        DatabaseChart(o, judgement, io.Out);
        return 0;
    }
    TCliInput input(o.File, io);
    TCsvReader csv(input.Device(), input.Name(), Header(o.Family));
    switch (o.Family) {
    case TFamily::Variable: VariableChart(o, csv, judgement, io.Out); break;
    case TFamily::Attribute: AttributeChart(o, csv, judgement, io.Out); break;
    case TFamily::Pareto: ParetoChart(o, csv, io.Out); break;
    }
    return 0;
}
} // namespace

const TCliCommand ChartCommand{
    "chart", "由CSV文件计算控制图、直方图或柏拉图，输出JSON或CSV",
    "图表类型TYPE：xbar-r, xbar-s, x-rm, histogram（计量值），p, np, u, c（计数值），pareto（柏拉图）\n"
    "CSV文件的表头：计量值subgroup,value；计数值subgroup,inspected,count；柏拉图subgroup,defect,count\n"
    "--db：按分析窗口的条件读取质量特性的子组，有当前控制限时用之（JSON的limitsSource为stored，否则为computed）",
    "--type TYPE [选项] FILE.csv|-|--db PATH|URL --item CCODE", ChartOptions, {{"FILE.csv", "CSV文件；为-时读标准输入"}}, RunChart,
    {"tag"}};

// ---- report: the chart window's report and spreadsheet export ----

namespace {
QList<QCommandLineOption> ReportOptions()
{
    return {
        ValuedOption("db", "数据库文件，或服务器地址postgresql://用户@主机:端口/库名", "PATH|URL"),
        ValuedOption("item", "质量特性的编码", "CCODE"),
        ValuedOption("type", "图表类型，与chart的--type相同", "TYPE"),
        ValuedOption("from", "起始日期（含），如2024-05-01", "DATE"),
        ValuedOption("to", "截止日期（含当天全天）", "DATE"),
        ValuedOption("tag", "必须满足的标签取值（可重复）", "TAGCODE=VALUE"),
        ValuedOption("pdf", "按报表模板输出PDF文件", "FILE"),
        ValuedOption("xlsx", "导出Excel文件（标题、标签、数据表和控制图）", "FILE"),
    };
}

// The report template of the chart window, from the program folder's Report directory.
void LoadReportTemplate(TChartReport& report, const TChartOptions& o)
{
    const QString path = GetReportPath() + QLatin1Char('/') + QString::fromLatin1(o.Report);
    if (!QFileInfo::exists(path) || !report.LoadFromFile(path)) RaiseError(QStringLiteral("报表文件不存在：%1").arg(path));
}

// What print preview and the export of the chart window make of the chart: the data grid filled by
// the window's data agent, the title of the window and the condition's tag text.
void WriteReport(const TChartOptions& o, const QString& pdf, const QString& xlsx, TSPCChart& chart, const TStringGrid& grid,
                 const QString& title, const QString& tags, TCliIO& io)
{
    if (!pdf.isEmpty()) {
        TChartReport report;
        LoadReportTemplate(report, o);
        if (!FillChartReport(report, chart, grid, title, tags, true))
            RaiseError(QStringLiteral("找不到指定的页\"ChartPage\",报表格式错误！"));
        if (!report.SavePdf(pdf)) RaiseError(QStringLiteral("无法写入文件：%1").arg(pdf));
        WriteLine(io.Out, QStringLiteral("%1: 报表已输出").arg(pdf));
    }
    if (!xlsx.isEmpty()) {
        ExportChartWorkbook(xlsx, title, tags, grid, ChartWorkbookPictures(chart));
        WriteLine(io.Out, QStringLiteral("%1: 已导出Excel").arg(xlsx));
    }
}

int RunReport(const TCliArguments& args, TCliIO& io)
{
    if (!args.IsSet(QStringLiteral("db")) || !args.IsSet(QStringLiteral("item")) || !args.IsSet(QStringLiteral("type")) ||
        (!args.IsSet(QStringLiteral("pdf")) && !args.IsSet(QStringLiteral("xlsx"))))
        args.Usage();
    args.Positional(0);
    TChartOptions o;
    ReadType(args, o);
    ReadDatabaseOptions(args, o);
    const QString pdf = args.Value(QStringLiteral("pdf"));
    const QString xlsx = args.Value(QStringLiteral("xlsx"));
    LoadFromDatabase(o, nullptr, [&](TVariableDataList* variable, TAttributeDataList* attribute, const TChartSource& source,
                                     TBaseCondition& condition) {
        const QString tags = condition.TagText();
        const QString title = ChartTitle(variable ? variable->Info.CName : attribute->Info.CName, o.Type);
        TStringGrid grid;
        const auto write = [&](TSPCChart& chart) { WriteReport(o, pdf, xlsx, chart, grid, title, tags, io); };
        if (o.Type == ctHistogram) {
            THistogramChartData data;
            data.SetDataList(variable);
            data.SetChartType(ctHistogram);
            THistogramChart chart;
            chart.SetChartData(&data);
            THistogramDataViewAgent(&data, &grid).Fill();
            write(chart);
        } else if (o.Type == ctPareto) {
            TParetoData data;
            data.LoadFromList(*attribute);
            TParetoChart chart;
            chart.SetChartData(&data);
            TParetoDataViewAgent(&data, &grid).Fill();
            write(chart);
        } else if (variable) {
            TVariableChartData data;
            data.SetDataList(variable);
            data.SetChartType(o.Type);
            SettleLimits(data, source, false);
            TVariableChart chart;
            chart.SetChartData(&data);
            TVariableDataViewAgent(variable, o.Type, &grid).Fill();
            write(chart);
        } else {
            TAttributeChartData data;
            data.SetDataList(attribute);
            data.SetChartType(o.Type);
            SettleLimits(data, source, true);
            TAttributeChart chart;
            chart.SetChartData(&data);
            TAttributeDataViewAgent(attribute, o.Type, &grid).Fill();
            write(chart);
        }
    });
    return 0;
}
} // namespace

const TCliCommand ReportCommand{
    "report", "按图表窗口的报表模板输出PDF，或导出Excel（与打印预览、导出Excel相同）",
    "数据按分析窗口的条件读取；有当前控制限时用之，否则由数据计算", "--db PATH|URL --item CCODE --type TYPE [选项] --pdf FILE|--xlsx FILE",
    ReportOptions, {}, RunReport, {"tag"}};
