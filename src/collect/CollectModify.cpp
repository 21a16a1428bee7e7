#include "collect/CollectModify.h"

#include "analysis/SampleProvider.h"
#include "collect/ACollect.h"
#include "collect/CollectInput.h"
#include "collect/InfoProvider.h"
#include "collect/VCollect.h"
#include "engine/SPCTypes.h"
#include "foundation/RecordUtils.h"

namespace {
int IntField(TDataSet& ds, const char* name)
{
    return VariantToInt(ds.FieldByName(QLatin1String(name))->Value());
}

QVariant CountText(int count)
{
    return count == NullValue ? QVariant() : QVariant(QString::number(count));
}

// A stored key before the other, in the order the selections read (CID, SN).
bool Before(int cid, int sn, int otherCID, int otherSN)
{
    return cid < otherCID || (cid == otherCID && sn < otherSN);
}

// The tag panel's pending D_Tag rows become the rows of the statement.
void LoadTags(TTagInput& tags, const QString& sql)
{
    tags.qryDataTag.Close();
    tags.qryDataTag.SetSQL(sql);
    tags.qryDataTag.Open();
    tags.LoadStoredTags();
}
} // namespace

template <class TCollect>
void TCollectModify::Reset(TCollect& collect, TMemTable& rows, int cid, const QString& name)
{
    if (rows.State() != TDataSetState::Browse) rows.Cancel();
    {
        TBusyScope busy(collect.FBusy);
        rows.EmptyDataSet();
        collect.FMaster.clear();
        collect.FStoredDeletions.clear();
        // Every item's subgroups go, so that nothing of them is checked or written any more.
        for (auto& [id, list] : collect.FLists) {
            list->Updating = true;
            list->Clear();
            list->Updating = false;
        }
        LoadTags(collect.Tags, QStringLiteral("select * from D_Tag where 1=0"));
    }
    collect.SetControlItem(cid, name, false);
}

int TCollectModify::LoadVariable(TVCollect& collect, int cid, const QString& name, int taskID,
                                 const QStringList& MandatoryTags, const QStringList& OptionalTags)
{
    collect.FValues.clear();
    collect.qryVDM.Close();
    collect.qryVDD.Close();
    Reset(collect, collect.CDSVData, cid, name);
    TSampleProvider(collect.FDM).FillVariableTask(taskID, MandatoryTags, OptionalTags);

    TVariableDataList& list = *collect.DataList(cid);
    TMemTable& rows = collect.CDSVData;
    TZCQuery& vdm = collect.qryVDM;
    TZCQuery& vdd = collect.qryVDD;
    vdm.SetSQL(VariableMasterSQL(taskID));
    vdd.SetSQL(VariableDetailSQL(taskID));
    vdm.Open();
    vdd.Open();
    {
        TBusyScope busy(collect.FBusy);
        list.Updating = true;
        rows.DisableControls();
        vdd.First();
        for (vdm.First(); !vdm.Eof(); vdm.Next()) {
            const int sgCID = IntField(vdm, "CID");
            const int sn = IntField(vdm, "SN");
            TVariableData& data = list.NewData();
            data.SN = sn;
            data.SetMean(VariantToFloat(vdm.FieldByName(QStringLiteral("VAvg"))->Value()));
            data.SetR(VariantToFloat(vdm.FieldByName(QStringLiteral("R"))->Value()));
            data.SetS(VariantToFloat(vdm.FieldByName(QStringLiteral("S"))->Value()));
            data.State = StateFromCode(IntField(vdm, "State"));
            collect.AddMaster(sgCID, sn);
            while (!vdd.Eof() && Before(IntField(vdd, "CID"), IntField(vdd, "SN"), sgCID, sn)) vdd.Next();
            for (; !vdd.Eof() && IntField(vdd, "CID") == sgCID && IntField(vdd, "SN") == sn; vdd.Next()) {
                const int ssn = IntField(vdd, "SSN");
                const QVariant value = vdd.FieldByName(QStringLiteral("VResult"))->Value();
                const QDateTime wdate = vdd.FieldByName(QStringLiteral("WDate"))->Value().toDateTime();
                if (!value.isNull()) data.AddValue(value.toDouble());
                rows.AppendRecord({sgCID, sn, ssn, value.isNull() ? QVariant() : QVariant(value.toDouble()),
                                   wdate.isValid() ? QVariant(wdate.date()) : QVariant(),
                                   wdate.isValid() ? QVariant(wdate.time()) : QVariant(), 1});
                collect.FValues.insert(TVCollect::ValueKey(sgCID, sn, ssn), vdd.GetBookmark());
            }
        }
        rows.EnableControls();
        list.Updating = false;
    }
    collect.GoToRow(0);
    LoadTags(collect.Tags, VariableTagSQL(taskID));
    collect.FollowCurrentRow();
    list.NotifyChange(0);
    return list.Count();
}

int TCollectModify::LoadAttribute(TACollect& collect, int cid, const QString& name, int taskID,
                                  const QStringList& MandatoryTags, const QStringList& OptionalTags)
{
    collect.FDefects.clear();
    collect.qryADM.Close();
    collect.qryADD.Close();
    Reset(collect, collect.CDSAData, cid, name);
    TSampleProvider(collect.FDM).FillAttributeTask(taskID, MandatoryTags, OptionalTags);

    TAttributeDataList& list = *collect.DataList(cid);
    TMemTable& rows = collect.CDSAData;
    TZCQuery& adm = collect.qryADM;
    TZCQuery& add = collect.qryADD;
    adm.SetSQL(AttributeMasterSQL(taskID));
    add.SetSQL(AttributeDetailSQL(taskID));
    adm.Open();
    add.Open();
    TDPInfoProvider phenomena;
    {
        TBusyScope busy(collect.FBusy);
        list.Updating = true;
        rows.DisableControls();
        const QVariant none;
        add.First();
        for (adm.First(); !adm.Eof(); adm.Next()) {
            const int sgCID = IntField(adm, "CID");
            const int sn = IntField(adm, "SN");
            const int batch = IntField(adm, "Batch");
            const int inspected = IntField(adm, "Inspected");
            const int rejected = IntField(adm, "Rejected");
            const int defected = IntField(adm, "Defected");
            TAttributeData& data = list.NewData();
            data.SN = sn;
            data.SetBatch(batch);
            data.SetInspected(inspected);
            data.SetRejected(rejected);
            data.Defected = defected == NullValue ? 0 : defected;
            data.State = StateFromCode(IntField(adm, "State"));
            collect.AddMaster(sgCID, sn);
            auto row = [&](int dpid, int kind, const QString& itemName, const QVariant& text) {
                rows.AppendRecord({sgCID, sn, dpid == NullValue ? none : QVariant(dpid), kind, itemName, text, 1});
            };
            const QDateTime wdate = adm.FieldByName(QStringLiteral("WDate"))->Value().toDateTime();
            row(NullValue, TACollect::kTime, QStringLiteral("检验时间"),
                wdate.isValid() ? QVariant(DateTimeText(wdate)) : none);
            row(NullValue, TACollect::kBatch, QStringLiteral("批量数"), CountText(batch));
            row(NullValue, TACollect::kInspected, QStringLiteral("检验数"), CountText(inspected));
            row(NullValue, TACollect::kRejected, QStringLiteral("不良数"), CountText(rejected));

            while (!add.Eof() && Before(IntField(add, "CID"), IntField(add, "SN"), sgCID, sn)) add.Next();
            int totalRow = -1;
            int sum = 0;
            bool anyCount = false;
            for (; !add.Eof() && IntField(add, "CID") == sgCID && IntField(add, "SN") == sn; add.Next()) {
                if (totalRow < 0) {
                    totalRow = rows.RecordCount();
                    row(NullValue, TACollect::kTotal, QStringLiteral("缺点数合计"), CountText(defected));
                }
                const int dpid = IntField(add, "DPID");
                const int count = IntField(add, "Defected");
                if (count != NullValue) {
                    data.AddDefect(dpid, count);
                    sum += count;
                    anyCount = true;
                }
                const QString dpName = phenomena.Lookup(dpid) ? phenomena.DPName() : QString();
                row(dpid, TACollect::kDefect, dpName, CountText(count));
                collect.FDefects.insert({TACollect::Key(sgCID, sn), dpid}, add.GetBookmark());
            }
            // The total shown and charted is that of the defect rows the subgroup really has.
            if (anyCount) {
                data.RecountDefects();
                collect.GoToRow(totalRow);
                collect.SetBusyFields({{TACollect::fData, QString::number(sum)}});
            }
        }
        rows.EnableControls();
        list.Updating = false;
    }
    collect.GoToRow(0);
    LoadTags(collect.Tags, AttributeTagSQL(taskID));
    collect.FollowCurrentRow();
    list.NotifyChange();
    return list.Count();
}
