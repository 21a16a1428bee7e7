#include "analysis/SampleProvider.h"

#include "engine/AttributeData.h"
#include "engine/VariableData.h"
#include "foundation/CompanyDM.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>

QString NoSamplesText()
{
    return QStringLiteral("没有符合条件的数据，请选择其他特性或重新设置条件！");
}

namespace {
// --- Statements ---------------------------------------------------------------------------------

// The rows of a subgroup table (or a table of subgroup rows) whose subgroup the task lists. A
// semi-join rather than a join with m_CTemp: each row comes once however often its subgroup is
// listed, without sorting the result to drop duplicates, and the item's rows are read in key order.
QString TaskRowsSQL(const QString& columns, const char* table, const char* alias, int taskID, const QString& order)
{
    const QString a = QLatin1String(alias);
    const QString task = QString::number(taskID);
    return QStringLiteral("select %1 from %2 %3 where %3.CID in (select mT.CID from m_CTemp mT where mT.TaskID = %4) "
                          "and exists (select 1 from m_CTemp mT where mT.TaskID = %4 and mT.CID = %3.CID and mT.SN = %3.SN) "
                          "order by %5")
        .arg(columns, QLatin1String(table), a, task, order);
}

const QString kVariableMasterColumns = QStringLiteral(
    "SG.CID, SG.SN, SG.VCount, SG.VSum, SG.VAvg, SG.R, SG.S, SG.State, SG.TagTemplateID, SG.UID, SG.DID, "
    "SG.WDate, SG.ExceptionNote");
const QString kAttributeMasterColumns = QStringLiteral(
    "SG.CID, SG.SN, SG.Batch, SG.Inspected, SG.Rejected, SG.Defected, SG.P, SG.U, SG.State, SG.TagTemplateID, "
    "SG.UID, SG.DID, SG.WDate, SG.ExceptionNote");
const QString kSubgroupOrder = QStringLiteral("SG.CID, SG.SN");
const QString kValueOrder = QStringLiteral("VDD.CID, VDD.SN, VDD.SSN");
const QString kDefectOrder = QStringLiteral("AD.CID, AD.SN, AD.DPID");
const QString kTagColumns = QStringLiteral("DTag.CID, DTag.SN, DTag.TagID, DTag.TagValueID");
const QString kTagOrder = QStringLiteral("DTag.CID, DTag.SN, DTag.TagID");

// What the load reads: only the columns it puts into the list (reading fewer columns is what a
// large load is fastest at).
QString VariableLoadMasterSQL(int taskID)
{
    return TaskRowsSQL(QStringLiteral("SG.CID, SG.SN, SG.VAvg, SG.R, SG.S, SG.State"), "D_VDM", "SG", taskID, kSubgroupOrder);
}
// The detail rows of the listed items between the lowest and the highest listed sample number:
// one range of the key, read without a look-up per row. It may hold rows of subgroups the task does
// not list; the merge passes over them, as it takes only rows of the subgroups the exact first pass
// read.
QString TaskRangeSQL(const QString& columns, const char* table, const char* alias, int taskID, const QString& order)
{
    return QStringLiteral("select %1 from %2 %3 where %3.CID in (select mT.CID from m_CTemp mT where mT.TaskID = %4) "
                          "and %3.SN >= (select min(mT.SN) from m_CTemp mT where mT.TaskID = %4) "
                          "and %3.SN <= (select max(mT.SN) from m_CTemp mT where mT.TaskID = %4) order by %5")
        .arg(columns, QLatin1String(table), QLatin1String(alias), QString::number(taskID), order);
}

QString VariableLoadDetailSQL(int taskID)
{
    return TaskRangeSQL(QStringLiteral("VDD.CID, VDD.SN, VDD.VResult"), "D_VDD", "VDD", taskID, kValueOrder);
}
QString AttributeLoadDetailSQL(int taskID)
{
    return TaskRangeSQL(QStringLiteral("AD.CID, AD.SN, AD.DPID, AD.Defected"), "D_ADD", "AD", taskID, kDefectOrder);
}
QString LoadTagSQL(int taskID)
{
    return TaskRangeSQL(kTagColumns, "D_Tag", "DTag", taskID, kTagOrder);
}
QString AttributeLoadMasterSQL(int taskID)
{
    return TaskRowsSQL(QStringLiteral("SG.CID, SG.SN, SG.Batch, SG.Inspected, SG.Rejected, SG.Defected, SG.State"),
                       "D_ADM", "SG", taskID, kSubgroupOrder);
}

// The three kinds of selection: subgroups of the item in the time window that satisfy every
// mandatory tag, or that carry a value of an optional tag, or (no tags) all of them. A subgroup
// carries at most one value per tag (D_Tag's key), so it reaches the count of mandatory tags only
// when every one of them matches; the count is read from the task's own m_Tag rows.
QString SelectionSQL(const char* table, const char* kind)
{
    const QString t = QLatin1String(table);
    const QString head = QStringLiteral("insert into m_CTemp (TaskID, CID, SN) select distinct D.TaskID, SG.CID, SG.SN from %1 SG, m_Date D");
    const QString window = QStringLiteral(
        " and SG.CID in (select CID from m_C where TaskID = :TaskID)"
        " and SG.WDate >= D.StartDate and SG.WDate <= D.EndDate and D.TaskID = :TaskID");
    const QString matches = QStringLiteral(
        "select T0.CID, T0.SN from D_Tag T0, m_Tag m, m_C n where m.Mandatory = %1 and m.TaskID = :TaskID"
        " and m.TaskID = n.TaskID and T0.CID = n.CID and T0.TagID = m.TagID and T0.TagValueID = m.TagValueID");
    if (qstrcmp(kind, "mandatory") == 0)
        return head.arg(t) +
               QStringLiteral(", (select a.CID, a.SN from (%1) a group by a.CID, a.SN having count(a.SN) = "
                              "(select count(distinct TagID) from m_Tag where TaskID = :TaskID and Mandatory = 1)) T"
                              " where SG.CID = T.CID and SG.SN = T.SN")
                   .arg(matches.arg(1)) +
               window;
    if (qstrcmp(kind, "optional") == 0)
        // A subgroup the mandatory tags took already is not listed twice.
        return head.arg(t) + QStringLiteral(", (%1) T where SG.CID = T.CID and SG.SN = T.SN").arg(matches.arg(0)) + window +
               QStringLiteral(" and not exists (select 1 from m_CTemp x where x.TaskID = :TaskID and x.CID = SG.CID and x.SN = SG.SN)");
    // The task's one date row (SN 1) and one row per item: every subgroup comes once without sorting.
    return QStringLiteral("insert into m_CTemp (TaskID, CID, SN) select D.TaskID, SG.CID, SG.SN from %1 SG, m_Date D, m_C C"
                          " where SG.CID = C.CID and D.TaskID = C.TaskID and D.SN = 1"
                          " and SG.WDate >= D.StartDate and SG.WDate <= D.EndDate and D.TaskID = :TaskID").arg(t);
}

// --- Reading --------------------------------------------------------------------------------------

// The subgroup key order of every statement above.
inline bool KeyLess(int cid1, int sn1, int cid2, int sn2)
{
    return cid1 < cid2 || (cid1 == cid2 && sn1 < sn2);
}

// Counts the rows read and asks the caller every few thousand whether to go on.
class TProgressCounter {
public:
    TProgressCounter(const TLoadProgress& progress, int total) : FProgress(progress), FTotal(total) {}
    // False when the caller cancels.
    bool Report(int done) const { return !FProgress || FProgress(std::min(done, FTotal), FTotal); }
    bool Step(int done) const { return (done & 4095) != 0 || Report(done); }

private:
    const TLoadProgress& FProgress;
    int FTotal;
};

struct TSubgroupRow {
    int CID;
    int SN;
    int First = 0;  // position of its first value or defect in the detail buffer
    int Count = 0;
};

// Reads the master rows into rows (read(query, row) fills the rest of a row); false when cancelled.
template <class TRow, class FRead>
bool ReadMaster(TCompanyDM& dm, const QString& sql, std::vector<TRow>& rows, const TProgressCounter& progress, FRead read)
{
    QSqlQuery q = dm.Exec(sql);
    int n = 0;
    while (q.next()) {
        const int cid = q.value(0).toInt();
        const int sn = q.value(1).toInt();
        if (!rows.empty() && rows.back().CID == cid && rows.back().SN == sn) continue;
        TRow& row = rows.emplace_back();
        row.CID = cid;
        row.SN = sn;
        read(q, row);
        if (!progress.Step(++n)) return false;
    }
    return true;
}

// The second pass: the detail rows in the same key order, each handed to take(query, row) with the
// master row it belongs to. Rows of subgroups the first pass did not read are passed over.
template <class TRow, class FTake>
bool MergeDetail(TCompanyDM& dm, const QString& sql, std::vector<TRow>& rows, const TProgressCounter& progress,
                 int doneBefore, FTake take)
{
    QSqlQuery q = dm.Exec(sql);
    size_t i = 0;
    int n = 0;
    while (i < rows.size() && q.next()) {
        const int cid = q.value(0).toInt();
        const int sn = q.value(1).toInt();
        while (i < rows.size() && KeyLess(rows[i].CID, rows[i].SN, cid, sn)) ++i;
        if (i < rows.size() && rows[i].CID == cid && rows[i].SN == sn) take(q, rows[i]);
        if ((++n & 4095) == 0 && !progress.Report(doneBefore + static_cast<int>(i))) return false;
    }
    return true;
}

// Appends a detail item to its subgroup's stretch of the buffer (the rows come in subgroup order).
template <class TRow, class T>
void Store(TRow& row, std::vector<T>& buffer, T item)
{
    if (row.Count == 0) row.First = static_cast<int>(buffer.size());
    buffer.push_back(item);
    ++row.Count;
}

template <class TRow>
bool ReadTags(TCompanyDM& dm, const QString& sql, std::vector<TRow>& rows, std::vector<TSubgroupTag>& tags,
              const TProgressCounter& progress, int doneBefore)
{
    return MergeDetail(dm, sql, rows, progress, doneBefore, [&tags](const QSqlQuery& q, const TRow& row) {
        tags.push_back({row.CID, row.SN, q.value(2).toInt(), VariantToInt(q.value(3))});
    });
}

// The selection and the passes over master, detail and (when asked) tag rows, in one
// transaction: a cancelled load rolls m_CTemp back, so that what the task lists stays what the
// list shows (the judge and the deletions read it). false when cancelled.
template <class TRow, class FFill, class FRead, class FTake>
bool ReadSamples(TCompanyDM& dm, FFill fill, const QString& masterSQL, const QString& detailSQL,
                 const QString& tagSQL, const TSampleLoadOptions& options, std::vector<TRow>& rows,
                 std::vector<TSubgroupTag>& tags, FRead read, FTake take)
{
    TTransactionGuard guard(dm);
    const int listed = fill();
    if (listed > 0) {
        const int passes = options.Tags ? 3 : 2;
        const TProgressCounter progress(options.Progress, listed * passes);
        if (!progress.Report(0)) return false;
        rows.reserve(static_cast<size_t>(listed));
        if (!ReadMaster(dm, masterSQL, rows, progress, read)) return false;
        if (!MergeDetail(dm, detailSQL, rows, progress, listed, take)) return false;
        if (options.Tags && !ReadTags(dm, tagSQL, rows, tags, progress, 2 * listed)) return false;
        if (!progress.Report(listed * passes)) return false;
    }
    guard.Commit();
    return true;
}

struct TVariableMasterRow : TSubgroupRow {
    double Mean, R, S;
    int State;
};

struct TAttributeMasterRow : TSubgroupRow {
    int Batch, Inspected, Rejected, Defected, State;
};

struct TDefect {
    int DPID;
    int Count;
};

// Holds the list's notifications while it is refilled and puts the flag back afterwards.
template <class TList>
class THoldNotifications {
public:
    explicit THoldNotifications(TList& list) : FList(list), FWas(list.Updating) { list.Updating = true; }
    ~THoldNotifications() { FList.Updating = FWas; }
    THoldNotifications(const THoldNotifications&) = delete;
    THoldNotifications& operator=(const THoldNotifications&) = delete;

private:
    TList& FList;
    bool FWas;
};
} // namespace

QString VariableMasterSQL(int TaskID)
{
    return TaskRowsSQL(kVariableMasterColumns, "D_VDM", "SG", TaskID, kSubgroupOrder);
}

QString VariableDetailSQL(int TaskID)
{
    return TaskRowsSQL(QStringLiteral("VDD.CID, VDD.SN, VDD.SSN, VDD.VResult, VDD.WDate"), "D_VDD", "VDD", TaskID, kValueOrder);
}

QString VariableTagSQL(int TaskID)
{
    return TaskRowsSQL(kTagColumns, "D_Tag", "DTag", TaskID, kTagOrder);
}

QString AttributeMasterSQL(int TaskID)
{
    return TaskRowsSQL(kAttributeMasterColumns, "D_ADM", "SG", TaskID, kSubgroupOrder);
}

QString AttributeDetailSQL(int TaskID)
{
    return TaskRowsSQL(QStringLiteral("AD.CID, AD.SN, AD.DPID, AD.Defected"), "D_ADD", "AD", TaskID, kDefectOrder);
}

QString AttributeTagSQL(int TaskID)
{
    return VariableTagSQL(TaskID);
}

// --- TSampleProvider ------------------------------------------------------------------------------

TSampleProvider::TSampleProvider(TCompanyDM* dm) : FDM(dm ? *dm : CurrentCompanyDM())
{
}

int TSampleProvider::FillTask(const char* table, int taskID, const QStringList& mandatory, const QStringList& optional)
{
    const TSqlParams params{{QStringLiteral("TaskID"), taskID}};
    TTransactionGuard guard(FDM);
    FDM.Exec(QStringLiteral("delete from m_CTemp where TaskID = :TaskID"), params);
    int listed = 0;
    if (!mandatory.isEmpty()) listed += FDM.Exec(SelectionSQL(table, "mandatory"), params).numRowsAffected();
    if (!optional.isEmpty()) listed += FDM.Exec(SelectionSQL(table, "optional"), params).numRowsAffected();
    if (mandatory.isEmpty() && optional.isEmpty()) listed = FDM.Exec(SelectionSQL(table, "all"), params).numRowsAffected();
    // The server plans the reads by what it knows of the table, which a selection just written
    // has changed beyond its statistics.
    if (FDM.Engine() == TDbEngine::PostgreSQL && listed > 0) FDM.Exec(QStringLiteral("analyze m_CTemp"));
    guard.Commit();
    return listed;
}

int TSampleProvider::FillVariableTask(int TaskID, const QStringList& MandatoryTags, const QStringList& OptionalTags)
{
    return FillTask("D_VDM", TaskID, MandatoryTags, OptionalTags);
}

int TSampleProvider::FillAttributeTask(int TaskID, const QStringList& MandatoryTags, const QStringList& OptionalTags)
{
    return FillTask("D_ADM", TaskID, MandatoryTags, OptionalTags);
}

TSampleLoadResult TSampleProvider::LoadVariableSamples(int TaskID, const QStringList& MandatoryTags,
                                                       TVariableDataList& list, const QStringList& OptionalTags,
                                                       const TSampleLoadOptions& options)
{
    std::vector<TVariableMasterRow> rows;
    std::vector<double> values;
    std::vector<TSubgroupTag> tags;
    const bool read = ReadSamples(
        FDM, [&] { return FillVariableTask(TaskID, MandatoryTags, OptionalTags); }, VariableLoadMasterSQL(TaskID),
        VariableLoadDetailSQL(TaskID), LoadTagSQL(TaskID), options, rows, tags,
        [](const QSqlQuery& q, TVariableMasterRow& row) {
            row.Mean = VariantToFloat(q.value(2));
            row.R = VariantToFloat(q.value(3));
            row.S = VariantToFloat(q.value(4));
            row.State = VariantToInt(q.value(5));
        },
        [&values, &rows](const QSqlQuery& q, TVariableMasterRow& row) {
            if (values.empty()) values.reserve(rows.size() * 5);
            // A value row without a value is no measurement.
            const QVariant v = q.value(2);
            if (!v.isNull()) Store(row, values, v.toDouble());
        });
    if (!read) return TSampleLoadResult::Cancelled;
    if (options.Tags) *options.Tags = std::move(tags);

    THoldNotifications hold(list);
    list.Clear();
    if (options.CID != NullValue) list.SetCID(options.CID);
    for (const TVariableMasterRow& row : rows) {
        TVariableData& data = list.NewData();
        data.SN = row.SN;
        data.SetMean(row.Mean);
        data.SetR(row.R);
        data.SetS(row.S);
        data.State = StateFromCode(row.State);
        for (int k = 0; k < row.Count; ++k) data.AddValue(values[static_cast<size_t>(row.First + k)]);
    }
    return rows.empty() ? TSampleLoadResult::NoData : TSampleLoadResult::Loaded;
}

TSampleLoadResult TSampleProvider::LoadAttributeSamples(int TaskID, const QStringList& MandatoryTags,
                                                        TAttributeDataList& list, const QStringList& OptionalTags,
                                                        const TSampleLoadOptions& options)
{
    std::vector<TAttributeMasterRow> rows;
    std::vector<TDefect> defects;
    std::vector<TSubgroupTag> tags;
    const bool read = ReadSamples(
        FDM, [&] { return FillAttributeTask(TaskID, MandatoryTags, OptionalTags); }, AttributeLoadMasterSQL(TaskID),
        AttributeLoadDetailSQL(TaskID), LoadTagSQL(TaskID), options, rows, tags,
        [](const QSqlQuery& q, TAttributeMasterRow& row) {
            row.Batch = VariantToInt(q.value(2));
            row.Inspected = VariantToInt(q.value(3));
            row.Rejected = VariantToInt(q.value(4));
            row.Defected = VariantToInt(q.value(5));
            row.State = VariantToInt(q.value(6));
        },
        [&defects](const QSqlQuery& q, TAttributeMasterRow& row) {
            Store(row, defects, TDefect{q.value(2).toInt(), VariantToInt(q.value(3))});
        });
    if (!read) return TSampleLoadResult::Cancelled;
    if (options.Tags) *options.Tags = std::move(tags);

    THoldNotifications hold(list);
    list.Clear();
    if (options.CID != NullValue) list.SetCID(options.CID);
    for (const TAttributeMasterRow& row : rows) {
        TAttributeData& data = list.NewData();
        data.SN = row.SN;
        data.SetBatch(row.Batch);
        data.SetInspected(row.Inspected);
        data.SetRejected(row.Rejected);
        data.Defected = row.Defected;
        data.State = StateFromCode(row.State);
        for (int k = 0; k < row.Count; ++k) {
            const TDefect& d = defects[static_cast<size_t>(row.First + k)];
            data.AddDefect(d.DPID, d.Count);
        }
    }
    return rows.empty() ? TSampleLoadResult::NoData : TSampleLoadResult::Loaded;
}
