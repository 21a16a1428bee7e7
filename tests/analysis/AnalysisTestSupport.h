#pragma once
// A small factory for the condition and sample-provider tests: one process, three variable items
// and one attribute item, three tags, and subgroups placed on the edges of one day
// (2026-03-01): exactly at midnight, at 23:59:59, at the next midnight and one second before the
// day.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "analysis/BaseCondition.h"
#include "foundation/RecordUtils.h"

#include <QDateTime>
#include <QList>

namespace analysis_test {

enum : int {
    ProcessID = 101,
    PistonRing = 201,  // V001, planned subgroup size 5: the item the tests select
    MainJournal = 202, // V002: subgroups of another item at the same times, never selected with 201
    SingleValue = 203, // V003, planned subgroup size 1
    Appearance = 301,  // A001, attribute
    ShiftTag = 501,    // 班次: 早班 1, 中班 2, 夜班 3
    MachineTag = 502,  // 机台: 1号机 1, 2号机 2
    InspectorTag = 503 // 检验员: 甲 1 — only on subgroups of 202
};

inline QDateTime At(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

struct TTagValue {
    int TagID;
    int TagValueID;
};

inline void AddVariableSubgroup(int cid, int sn, const char* when, const QList<double>& values,
                                const QList<TTagValue>& tags = {}, double storedMean = NullValue, int state = 1)
{
    ExecuteSQL("insert into D_VDM (CID, SN, VCount, VAvg, State, WDate) values (:CID, :SN, :N, :VAvg, :State, :WDate)",
               {{"CID", cid}, {"SN", sn}, {"N", int(values.size())}, {"VAvg", storedMean}, {"State", state},
                {"WDate", At(when)}});
    for (int i = 0; i < values.size(); ++i)
        ExecuteSQL("insert into D_VDD (CID, SN, SSN, VResult, WDate) values (:CID, :SN, :SSN, :V, :WDate)",
                   {{"CID", cid}, {"SN", sn}, {"SSN", i + 1}, {"V", values[i]}, {"WDate", At(when)}});
    for (const TTagValue& t : tags)
        ExecuteSQL("insert into D_Tag (CID, SN, TagID, TagValueID) values (:CID, :SN, :T, :V)",
                   {{"CID", cid}, {"SN", sn}, {"T", t.TagID}, {"V", t.TagValueID}});
}

inline void FillMasterData()
{
    const char* statements[] = {
        "insert into L_Process (ProID, ProCode, ProName) values (101, 'P10', '机加工车间')",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step) values (201, 'V001', '活塞环直径', 101, 5, 1)",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step) values (202, 'V002', '主轴颈直径', 101, 5, 1)",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step) values (203, 'V003', '单值特性', null, 1, 1)",
        "insert into L_AControlItem (CID, CCode, CName, ProID, LotSize) values (301, 'A001', '外观不良', 101, 500)",
        "insert into L_Tag (TagID, TagCode, TagName) values (501, 'BC', '班次')",
        "insert into L_Tag (TagID, TagCode, TagName) values (502, 'JT', '机台')",
        "insert into L_Tag (TagID, TagCode, TagName) values (503, 'JYY', '检验员')",
        "insert into L_TagValue (TagID, TagValueID, TagValue) values (501, 1, '早班')",
        "insert into L_TagValue (TagID, TagValueID, TagValue) values (501, 2, '中班')",
        "insert into L_TagValue (TagID, TagValueID, TagValue) values (501, 3, '夜班')",
        "insert into L_TagValue (TagID, TagValueID, TagValue) values (502, 1, '1号机')",
        "insert into L_TagValue (TagID, TagValueID, TagValue) values (502, 2, '2号机')",
        "insert into L_TagValue (TagID, TagValueID, TagValue) values (503, 1, '甲')",
    };
    for (const char* sql : statements) ExecuteSQL(QString::fromUtf8(sql));
}

// Item 201 on the edges of 2026-03-01; item 202 at the same moments.
inline void FillDay()
{
    FillMasterData();
    const QList<double> five{10.1, 10.2, 10.3, 10.2, 10.1};
    AddVariableSubgroup(PistonRing, 1, "2026-03-01 00:00:00", five, {{ShiftTag, 1}, {MachineTag, 1}});
    AddVariableSubgroup(PistonRing, 2, "2026-03-01 08:00:00", five, {{ShiftTag, 1}, {MachineTag, 2}});
    // Stored statistics without values.
    AddVariableSubgroup(PistonRing, 3, "2026-03-01 16:30:00", {}, {{ShiftTag, 2}, {MachineTag, 1}}, 10.2, 3);
    AddVariableSubgroup(PistonRing, 4, "2026-03-01 23:59:59", five, {{ShiftTag, 3}, {MachineTag, 2}});
    AddVariableSubgroup(PistonRing, 5, "2026-03-02 00:00:00", five, {{ShiftTag, 1}, {MachineTag, 1}});
    AddVariableSubgroup(PistonRing, 6, "2026-02-28 23:59:59", five, {{ShiftTag, 1}, {MachineTag, 1}});
    AddVariableSubgroup(PistonRing, 7, "2026-03-01 12:00:00", {9.9, 10.0, 10.1, 10.0, 9.9});
    AddVariableSubgroup(MainJournal, 1, "2026-03-01 08:00:00", five, {{ShiftTag, 1}, {InspectorTag, 1}});
    AddVariableSubgroup(MainJournal, 2, "2026-03-01 23:59:59", five, {{ShiftTag, 1}, {InspectorTag, 1}});
}

// A tag and the values to tick in the tag-value chooser (every other value of the tag is cleared).
struct TTagPick {
    QString Tag;
    QStringList Values;
    bool Mandatory = true;
};

// Plays the tag-value chooser: for each pick shows the tag, ticks its values and sets the flag,
// then takes the choice into the condition as OK does.
inline void ChooseTags(TBaseCondition& condition, const QList<TTagPick>& picks)
{
    TQuery& offer = condition.OpenTagOffer();
    {
        TTagValueChoice choice(offer);
        for (const TTagPick& pick : picks) {
            int index = -1;
            for (int i = 0; i < choice.Tags().size(); ++i)
                if (choice.Tags()[i].TagName == pick.Tag) index = i;
            ASSERT_GE(index, 0) << pick.Tag.toStdString() << " is not offered";
            choice.SetTag(index);
            const int valueField = offer.FieldByName("TagValue")->Index();
            for (int r = 0; r < offer.RecordCount(); ++r)
                choice.SetSelected(r, pick.Values.contains(offer.RowValue(r, valueField).toString()));
            choice.SetMandatory(pick.Mandatory);
        }
    }
    condition.ApplyTagOffer();
}

// A condition on item 201 over one day, confirmed.
inline void SetDay(TBaseCondition& condition, const char* from, const char* to)
{
    const QDateTime f = At(from), t = At(to);
    condition.StartDate = f.date();
    condition.StartTime = f.time();
    condition.EndDate = t.date();
    condition.EndTime = t.time();
}

inline int TaskRows(const char* table, int taskID)
{
    return GetSQLValue(QStringLiteral("select count(*) from %1 where TaskID = :T").arg(QLatin1String(table)),
                       {{"T", taskID}})
        .toInt();
}

// The subgroups the task lists, in order, each once.
inline QList<int> ListedSNs(int taskID)
{
    QList<int> sns;
    QSqlQuery q = CurrentCompanyDM().Exec("select distinct SN from m_CTemp where TaskID = :T order by SN", {{"T", taskID}});
    while (q.next()) sns << q.value(0).toInt();
    return sns;
}

} // namespace analysis_test
