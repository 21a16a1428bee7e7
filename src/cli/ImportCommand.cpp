// qiheng-spc-cli import: measurements or counts from a CSV file stored into a control item as the
// collection windows store keyed subgroups. The file is read and checked whole first; then every
// subgroup is keyed into the window's staging code (TVCollect / TACollect, with the tag panel's
// logic for the template) and saved. Drawing the sample numbers and the save share one
// transaction, so a refused row leaves neither subgroups nor used numbers behind.
#include "cli/CliCommands.h"
#include "cli/CsvReader.h"

#include "collect/ACollect.h"
#include "collect/CollectInput.h"
#include "collect/VCollect.h"
#include "foundation/CompanyDM.h"
#include "foundation/DBUpgrade.h"
#include "foundation/RecordUtils.h"

#include <QHash>
#include <QSqlQuery>
#include <optional>

namespace {
QList<QCommandLineOption> ImportOptions()
{
    return {ValuedOption("db", "数据库文件，或服务器地址postgresql://用户@主机:端口/库名", "PATH|URL"),
            ValuedOption("item", "质量特性的编码", "CCODE"),
            ValuedOption("tags", "标签模板的编码；各子组的标签取其默认值，标签列可另指定", "TEMPLATECODE")};
}

// One row of a value query with the values bound, or nothing.
std::optional<QSqlQuery> FindRow(const QString& sql, const TSqlParams& params)
{
    QSqlQuery q = CurrentCompanyDM().Exec(sql, params);
    if (!q.next()) return std::nullopt;
    return q;
}

// A tag column: its tag and the tag's values by their text.
struct TTagColumn {
    int Column = 0;
    QString Code;
    int TagID = NullValue;
    QHash<QString, int> Values;
};

struct TTemplate {
    int ID = NullValue;
    QString Code;
    QHash<int, bool> HasDefault;  // tag → the template gives it a value
};

TTemplate FindTemplate(const QString& code)
{
    TTemplate t;
    t.Code = code;
    const std::optional<QSqlQuery> q = FindRow(QStringLiteral("select TagTemplateID from L_TagTemplate where TagTemplateCode = :Code"),
                                               {{QStringLiteral("Code"), code}});
    if (!q) RaiseError(QStringLiteral("标签模板“%1”不存在").arg(code));
    t.ID = VariantToInt(q->value(0));
    QSqlQuery d = CurrentCompanyDM().Exec(QStringLiteral("select TagID, TagValueID from L_TagTemplateDetail where TagTemplateID = :ID"),
                                          {{QStringLiteral("ID"), t.ID}});
    while (d.next()) t.HasDefault.insert(VariantToInt(d.value(0)), VariantToInt(d.value(1)) != NullValue);
    return t;
}

TTagColumn FindTag(int column, const QString& code, const TTemplate* tmpl)
{
    TTagColumn c;
    c.Column = column;
    c.Code = code;
    const std::optional<QSqlQuery> q =
        FindRow(QStringLiteral("select TagID from L_Tag where TagCode = :Code"), {{QStringLiteral("Code"), code}});
    if (!q) RaiseError(QStringLiteral("标签“%1”不存在").arg(code));
    c.TagID = VariantToInt(q->value(0));
    if (!tmpl) RaiseError(QStringLiteral("标签列“%1”需要用选项--tags指定标签模板").arg(code));
    if (!tmpl->HasDefault.contains(c.TagID)) RaiseError(QStringLiteral("标签“%1”不在标签模板“%2”中").arg(code, tmpl->Code));
    QSqlQuery v = CurrentCompanyDM().Exec(QStringLiteral("select TagValueID, TagValue from L_TagValue where TagID = :TagID"),
                                          {{QStringLiteral("TagID"), c.TagID}});
    while (v.next()) c.Values.insert(VariantToString(v.value(1)), VariantToInt(v.value(0)));
    return c;
}

// One subgroup of the file: the line it starts on, its values and their times (invalid: none given).
struct TSubgroup {
    QString Label;
    int Line = 0;
    QList<double> Values;
    QList<QDateTime> Times;
};

struct TTagChoice {
    int TagID;
    int TagValueID;
    QString Text;
};

// The columns of the file, known from its header.
struct TLayout {
    int Time = -1;
    QList<TTagColumn> Tags;
    QList<QPair<int, RDPItem>> Defects;  // column, phenomenon
};

QString LinePrefix(int line)
{
    return QStringLiteral("第%1行：").arg(line);
}

// The tag values a row chooses, checked.
QList<TTagChoice> TagChoices(const TLayout& layout, const TCsvReader& csv)
{
    QList<TTagChoice> choices;
    for (const TTagColumn& t : layout.Tags) {
        const QString text = csv.Text(t.Column);
        const auto id = t.Values.constFind(text);
        if (text.isEmpty()) RaiseError(LinePrefix(csv.Line()) + QStringLiteral("标签“%1”未指定取值").arg(t.Code));
        if (id == t.Values.constEnd()) RaiseError(LinePrefix(csv.Line()) + QStringLiteral("标签“%1”没有取值“%2”").arg(t.Code, text));
        choices << TTagChoice{t.TagID, *id, text};
    }
    return choices;
}

// The row's inspection time; invalid when the file gives none.
QDateTime CheckTime(const TCsvReader& csv, int column)
{
    // An empty time is the time of the import, as the windows propose it.
    if (column < 0 || csv.Text(column).isEmpty()) return {};
    const std::optional<QDateTime> time = ParseDateTime(csv.Text(column));
    if (!time) RaiseError(LinePrefix(csv.Line()) + QStringLiteral("请输入正确的检验时间！（“%1”）").arg(csv.Text(column)));
    return *time;
}

// Sets the chosen tag values on the collector's current subgroup.
void ChooseTags(TTagInput& tags, const QList<TTagChoice>& choices)
{
    if (choices.isEmpty()) return;
    const QList<TTagRow> rows = tags.Tags(tags.CurCID(), tags.CurSGNo());
    for (const TTagChoice& c : choices)
        for (int r = 0; r < rows.size(); ++r)
            if (rows[r].TagID == c.TagID) tags.SetTagValue(r, c.TagValueID, c.Text);
}

// Every template tag without a default needs a column.
void CheckTemplateCovered(const TTemplate* tmpl, const TLayout& layout)
{
    if (!tmpl) return;
    for (auto it = tmpl->HasDefault.cbegin(); it != tmpl->HasDefault.cend(); ++it) {
        if (it.value()) continue;
        bool covered = false;
        for (const TTagColumn& t : layout.Tags) covered = covered || t.TagID == it.key();
        if (!covered) {
            const QVariant code = GetSQLValue(QStringLiteral("select TagCode from L_Tag where TagID = :TagID"),
                                              {{QStringLiteral("TagID"), it.key()}});
            RaiseError(QStringLiteral("标签模板“%1”的标签“%2”没有默认值，文件中需要有它的列").arg(tmpl->Code, code.toString()));
        }
    }
}

struct TImported {
    int Count = 0;
    int First = NullValue;
    int Last = NullValue;
};

// ---- measured values ----

TImported ImportVariables(const TCliItem& item, const TTemplate* tmpl, TCsvReader& csv)
{
    const QStringList& header = csv.Header();
    TLayout layout;
    int column = 2;
    if (column < header.size() && header[column] == QLatin1String("time")) layout.Time = column++;
    for (; column < header.size(); ++column) layout.Tags << FindTag(column, header[column], tmpl);
    CheckTemplateCovered(tmpl, layout);
    if (item.SampleSize < 1) RaiseError(QStringLiteral("质量特性的样本容量无效！"));

    // The rows of one subgroup stand together; a label that comes back later is refused.
    QList<TSubgroup> subgroups;
    QList<QList<TTagChoice>> tags;
    QHash<QString, int> seen;
    while (csv.Next()) {
        const QString label = csv.Text(0);
        if (label.isEmpty()) RaiseError(LinePrefix(csv.Line()) + QStringLiteral("子组编号为空"));
        const double value = csv.Number(1);
        const QDateTime time = CheckTime(csv, layout.Time);
        const QList<TTagChoice> choice = TagChoices(layout, csv);
        if (subgroups.isEmpty() || subgroups.last().Label != label) {
            if (seen.contains(label))
                RaiseError(LinePrefix(csv.Line()) + QStringLiteral("子组“%1”的行不连续（已见于第%2行）").arg(label).arg(seen.value(label)));
            seen.insert(label, csv.Line());
            subgroups.append(TSubgroup{label, csv.Line(), {}, {}});
            tags.append(choice);
        }
        TSubgroup& s = subgroups.last();
        if (s.Values.size() == item.SampleSize)
            RaiseError(LinePrefix(csv.Line()) + QStringLiteral("子组“%1”的值多于样本容量%2").arg(label).arg(item.SampleSize));
        s.Values << value;
        s.Times << time;
    }
    if (subgroups.isEmpty()) RaiseError(QStringLiteral("文件中没有数据行"));
    for (const TSubgroup& s : std::as_const(subgroups))
        if (s.Values.size() != item.SampleSize)
            RaiseError(LinePrefix(s.Line) + QStringLiteral("子组“%1”有%2个值，样本容量为%3").arg(s.Label).arg(s.Values.size()).arg(item.SampleSize));

    TImported result;
    TCompanyDM& dm = CurrentCompanyDM();
    TTransactionGuard guard(dm);
    TVCollect collect(&dm);
    collect.SetControlItem(item.CID, item.Name, false);
    if (tmpl) collect.Tags.SetTemplate(tmpl->ID);
    // One draw from the counter for the whole file, inside the import's transaction.
    collect.ReserveSampleNumbers(int(subgroups.size()));
    for (int k = 0; k < subgroups.size(); ++k) {
        const TSubgroup& s = subgroups[k];
        try {
            // The tag values are chosen after keying, as the panel allows; the staged tags follow.
            if (!collect.KeySubgroup(s.Values, s.Times)) RaiseError(QStringLiteral("保存失败！"));
            ChooseTags(collect.Tags, tags[k]);
            if (k == 0) result.First = collect.LastSGNo();
        } catch (const ESystemError& e) {
            RaiseError(LinePrefix(s.Line) + e.Message());
        }
        result.Last = collect.LastSGNo();
    }
    result.Count = int(subgroups.size());
    collect.Save();
    guard.Commit();
    return result;
}

// ---- counted results ----

TImported ImportAttributes(const TCliItem& item, const TTemplate* tmpl, TCsvReader& csv)
{
    const QStringList& header = csv.Header();
    TCompanyDM& dm = CurrentCompanyDM();
    TTransactionGuard guard(dm);
    TACollect collect(&dm);
    // Choosing the item reads its phenomena; the block's rows follow their order.
    collect.SetControlItem(item.CID, item.Name, false);
    const TDPList* dps = collect.DPLists.Find(item.CID);
    const QList<RDPItem> phenomena = dps ? dps->Items : QList<RDPItem>{};

    TLayout layout;
    int column = 4;
    if (column < header.size() && header[column] == QLatin1String("time")) layout.Time = column++;
    for (; column < header.size(); ++column) {
        int index = -1;
        for (int i = 0; i < phenomena.size(); ++i)
            if (phenomena[i].DPCode == header[column]) index = i;
        if (index < 0) RaiseError(QStringLiteral("缺陷现象“%1”不属于质量特性“%2”").arg(header[column], item.Name));
        layout.Defects << qMakePair(index, phenomena[index]);
    }
    CheckTemplateCovered(tmpl, layout);

    struct TRow {
        int Line;
        QStringList Cells;  // batch, inspected, rejected, time, then one per defect column
        QList<TTagChoice> Tags;
    };
    QList<TRow> rows;
    QHash<QString, int> seen;
    while (csv.Next()) {
        const QString label = csv.Text(0);
        if (label.isEmpty()) RaiseError(LinePrefix(csv.Line()) + QStringLiteral("子组编号为空"));
        if (seen.contains(label))
            RaiseError(LinePrefix(csv.Line()) + QStringLiteral("子组“%1”重复（已见于第%2行）").arg(label).arg(seen.value(label)));
        seen.insert(label, csv.Line());
        const auto count = [&](int c, bool required, const char* missing) -> int {
            if (csv.Text(c).isEmpty()) {
                if (required) RaiseError(LinePrefix(csv.Line()) + QString::fromUtf8(missing));
                return NullValue;
            }
            return csv.Int(c, 0);
        };
        count(1, false, "");
        const int inspected = count(2, true, "请输入检验数！");
        const int rejected = count(3, false, "");
        bool anyDefect = false;
        QStringList defects;
        for (int d = 0; d < layout.Defects.size(); ++d) {
            anyDefect = count(4 + (layout.Time >= 0) + d, false, "") != NullValue || anyDefect;
            defects << csv.Text(4 + (layout.Time >= 0) + d);
        }
        if (rejected == NullValue && layout.Defects.isEmpty())
            RaiseError(LinePrefix(csv.Line()) + QStringLiteral("请输入不良数！"));
        if (rejected == NullValue && !anyDefect) RaiseError(LinePrefix(csv.Line()) + QStringLiteral("请输入不良数或缺点数！"));
        if (rejected != NullValue && rejected > inspected) RaiseError(LinePrefix(csv.Line()) + QStringLiteral("不良数不能大于检验数！"));
        CheckTime(csv, layout.Time);
        QStringList cells{csv.Text(1), csv.Text(2), csv.Text(3), layout.Time >= 0 ? csv.Text(layout.Time) : QString()};
        rows.append(TRow{csv.Line(), cells + defects, {}});
    }
    if (rows.isEmpty()) RaiseError(QStringLiteral("文件中没有数据行"));

    if (tmpl) collect.Tags.SetTemplate(tmpl->ID);
    collect.ReserveSampleNumbers(int(rows.size()));
    TImported result;
    for (int k = 0; k < rows.size(); ++k) {
        const TRow& r = rows[k];
        try {
            if (!collect.AppendBlock()) RaiseError(QStringLiteral("保存失败！"));
            if (k == 0) result.First = collect.LastSGNo();
            const int blockSize = 4 + (phenomena.isEmpty() ? 0 : 1 + int(phenomena.size()));
            const int first = collect.ValueRows().RecordCount() - blockSize;
            const auto key = [&](int offset, const QString& text) {
                if (!text.isEmpty()) collect.SetCellText(first + offset, QStringLiteral("Data"), text);
            };
            key(TACollect::kTime - 1, r.Cells[3]);
            // The window proposes the lot size and number inspected entered last; the file's own
            // cells count, empty ones too.
            collect.SetCellText(first + TACollect::kBatch - 1, QStringLiteral("Data"), r.Cells[0]);
            collect.SetCellText(first + TACollect::kInspected - 1, QStringLiteral("Data"), r.Cells[1]);
            key(TACollect::kRejected - 1, r.Cells[2]);
            for (int d = 0; d < layout.Defects.size(); ++d) key(5 + layout.Defects[d].first, r.Cells[4 + d]);
        } catch (const ESystemError& e) {
            RaiseError(LinePrefix(r.Line) + e.Message());
        }
        result.Last = collect.LastSGNo();
    }
    result.Count = int(rows.size());
    collect.Save();
    guard.Commit();
    return result;
}

int RunImport(const TCliArguments& args, TCliIO& io)
{
    if (!args.IsSet(QStringLiteral("db")) || !args.IsSet(QStringLiteral("item"))) args.Usage();
    const QString file = args.Positional(1).first();
    TCliInput input(file, io);
    TCsvReader csv(input.Device(), input.Name());
    const QStringList& header = csv.Header();
    const QStringList variable{QStringLiteral("subgroup"), QStringLiteral("value")};
    const QStringList attribute{QStringLiteral("subgroup"), QStringLiteral("batch"), QStringLiteral("inspected"), QStringLiteral("rejected")};
    const bool isAttribute = header.mid(0, 4) == attribute;
    if (!isAttribute && header.mid(0, 2) != variable)
        RaiseError(QStringLiteral("%1的表头（第%2行）应为“subgroup,value[,time][,标签编码...]”或“subgroup,batch,inspected,rejected[,time][,缺陷现象编码...]”")
                       .arg(input.Name())
                       .arg(csv.HeaderLine()));

    TCliDatabase db(args.Value(QStringLiteral("db")));
    TCliMessageScope messages;  // the collection's checks report through message boxes
    // Only an older database is written to here: the upgrade rewrites the version even when current.
    if (DatabaseVersion().toInt() < SchemaVersion) UpgradeDatabase();
    const TCliItem item = FindControlItem(args.Value(QStringLiteral("item")), isAttribute);
    std::optional<TTemplate> tmpl;
    if (args.IsSet(QStringLiteral("tags"))) tmpl = FindTemplate(args.Value(QStringLiteral("tags")));
    const TImported done = isAttribute ? ImportAttributes(item, tmpl ? &*tmpl : nullptr, csv)
                                       : ImportVariables(item, tmpl ? &*tmpl : nullptr, csv);
    WriteLine(io.Out, QStringLiteral("%1: 已导入%2个子组到质量特性%3（样本号%4–%5）")
                          .arg(file)
                          .arg(done.Count)
                          .arg(args.Value(QStringLiteral("item")))
                          .arg(done.First)
                          .arg(done.Last));
    return 0;
}
} // namespace

const TCliCommand ImportCommand{
    "import", "把CSV文件中的计量值或计数值存入质量特性（与数据采集相同的检查和保存）",
    "计量值的表头：subgroup,value[,time][,标签编码...]，每个值一行，一个子组的行相连\n"
    "计数值的表头：subgroup,batch,inspected,rejected[,time][,缺陷现象编码...]，每个子组一行\n"
    "time为检验时间（如2024-05-01 08:30:00，缺省为当前时间）；有错误的行使整个文件不被存入",
    "--db PATH|URL --item CCODE [--tags TEMPLATECODE] FILE.csv|-", ImportOptions,
    {{"FILE.csv", "CSV文件；为-时读标准输入"}}, RunImport};
