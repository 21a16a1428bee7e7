#include "collect/ACollect.h"

#include "collect/CollectInput.h"
#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>

TDPList* TDPListSet::Find(int cid) const
{
    for (const auto& list : FLists)
        if (list->CID == cid) return list.get();
    return nullptr;
}

TDPList& TDPListSet::Add(int cid)
{
    FLists.push_back(std::make_unique<TDPList>());
    FLists.back()->CID = cid;
    return *FLists.back();
}

TACollect::TACollect(TCompanyDM* dm) : TBaseCollect(dm)
{
    CDSAData.setObjectName(QStringLiteral("CDSAData"));
    CDSAData.AddFieldDef(QStringLiteral("CID"), TFieldType::Integer);
    CDSAData.AddFieldDef(QStringLiteral("SGNo"), TFieldType::Integer);
    CDSAData.AddFieldDef(QStringLiteral("DPID"), TFieldType::Integer);
    CDSAData.AddFieldDef(QStringLiteral("ItemID"), TFieldType::Integer);
    CDSAData.AddFieldDef(QStringLiteral("ItemName"), TFieldType::String, 50);
    CDSAData.AddFieldDef(QStringLiteral("Data"), TFieldType::String, 32);
    CDSAData.AddFieldDef(QStringLiteral("Flag"), TFieldType::Integer);
    InitValueRows(CDSAData);
    CDSAData.SetEvent(TDataSetEvent::AfterPost, TDataSetNotifyEvent(this, &TACollect::CDSADataAfterPost));

    qryADM.setObjectName(QStringLiteral("qryADM"));
    qryADM.SetDatabase(dm);
    qryADM.SetSQL(QStringLiteral("Select * from D_ADM where 1=0"));
    TUpdateSQL* adm = qryADM.InternalUpdateSQL();
    adm->SetInsertSQL(QStringList{"insert into D_ADM",
                                  "(CID, SN, Batch, Inspected, Rejected, Defected, P, U, State, TagTemplateID, ",
                                  "UID, DID, WDate, ExceptionNote)", "values",
                                  "(:CID, :SN, :Batch, :Inspected, :Rejected, :Defected, :P, :U, :State, ",
                                  ":TagTemplateID, :UID, :DID, :WDate, :ExceptionNote)"});
    // Stored counts are changed only while they still are what this window wrote.
    adm->SetModifySQL(QStringList{"update D_ADM", "set", "CID = :CID,", "SN = :SN,", "Batch = :Batch,",
                                  "Inspected = :Inspected,", "Rejected = :Rejected,", "Defected = :Defected,",
                                  "P = :P,", "U = :U,", "State = :State,", "TagTemplateID = :TagTemplateID,",
                                  "UID = :UID,", "DID = :DID,", "WDate = :WDate,", "ExceptionNote = :ExceptionNote",
                                  "where", "CID = :OLD_CID and", "SN = :OLD_SN and",
                                  "coalesce(Batch, -1) = coalesce(:OLD_Batch, -1) and",
                                  "coalesce(Inspected, -1) = coalesce(:OLD_Inspected, -1) and",
                                  "coalesce(Rejected, -1) = coalesce(:OLD_Rejected, -1)"});
    adm->SetDeleteSQL(QStringList{"delete from D_ADM", "where", "CID = :OLD_CID and", "SN = :OLD_SN"});
    qryADM.Open();

    qryADD.setObjectName(QStringLiteral("qryADD"));
    qryADD.SetDatabase(dm);
    qryADD.SetSQL(QStringLiteral("select * from D_ADD where 1=0"));
    TUpdateSQL* add = qryADD.InternalUpdateSQL();
    add->SetInsertSQL(QStringList{"insert into D_ADD", "(CID, SN, DPID, Defected)", "values",
                                  "(:CID, :SN, :DPID, :Defected)"});
    add->SetModifySQL(QStringList{"update D_ADD", "set", "CID = :CID,", "SN = :SN,", "DPID = :DPID,",
                                  "Defected = :Defected", "where", "CID = :OLD_CID and", "SN = :OLD_SN and",
                                  "DPID = :OLD_DPID and", "Defected = :OLD_Defected"});
    add->SetDeleteSQL(QStringList{"delete from D_ADD", "where", "CID = :OLD_CID and", "SN = :OLD_SN and",
                                  "DPID = :OLD_DPID and", "Defected = :OLD_Defected"});
    qryADD.Open();
}

TACollect::~TACollect() = default;

TAttributeDataList* TACollect::DataList(int cid) const
{
    const auto it = FLists.find(cid);
    if (it == FLists.end()) RaiseError(QStringLiteral("AttributeDataList(%1)不存在").arg(cid));
    return it->second.get();
}

void TACollect::CreateItem(int cid)
{
    auto list = std::make_unique<TAttributeDataList>();
    list->SetCID(cid);
    FLists[cid] = std::move(list);
    if (DPLists.Find(cid)) return;
    TDPList& dps = DPLists.Add(cid);
    TCompanyDM& dm = CurrentCompanyDM();
    QSqlQuery& q = dm.qryTemp();
    q.finish();
    const QString sql = QStringLiteral("Select a.DPID, b.DPCode, b.DPName from L_AControlItemDP as  a, "
                                       "L_Defectphenomenon as b  where a.DPID = b.DPID and a.CID = :CID "
                                       "order by b.DPCode, a.DPID");
    dm.PrepareQuery(q, sql);
    BindParams(q, {{QStringLiteral("CID"), cid}});
    dm.ExecPrepared(q, sql);
    while (q.next())
        dps.Items << RDPItem{VariantToInt(q.value(0)), VariantToString(q.value(1)), VariantToString(q.value(2))};
    q.finish();
}

void TACollect::ItemRefreshed()
{
    FLastBatch.clear();
    FLastInspected.clear();
}

int TACollect::SNOfPoint(int cid, int index) const
{
    TAttributeDataList* list = DataList(cid);
    return index >= 0 && index < list->Count() ? list->Item(index).SN : NullValue;
}

int TACollect::RowCount(int row) const
{
    const auto v = ParseInteger(RowField(row, fData).toString());
    return v ? *v : NullValue;
}

QString TACollect::BlockProblem(int first, int last) const
{
    int inspected = NullValue;
    int rejected = NullValue;
    bool defectRows = false;
    bool anyDefect = false;
    for (int r = first; r <= last; ++r) {
        const int kind = RowInt(r, fItemID);
        const bool empty = RowField(r, fData).toString().trimmed().isEmpty();
        if (kind == kInspected) {
            if (empty) return QStringLiteral("请输入检验数！");
            inspected = RowCount(r);
        } else if (kind == kRejected) {
            rejected = empty ? NullValue : RowCount(r);
        } else if (kind == kDefect) {
            defectRows = true;
            anyDefect = anyDefect || !empty;
        }
    }
    if (rejected == NullValue && !defectRows) return QStringLiteral("请输入不良数！");
    if (rejected == NullValue && !anyDefect) return QStringLiteral("请输入不良数或缺点数！");
    if (rejected != NullValue && inspected != NullValue && rejected > inspected)
        return QStringLiteral("不良数不能大于检验数！");
    return {};
}

bool TACollect::AppendBlock()
{
    if (FCurCID == NullValue) RaiseError(QStringLiteral("请先选择质量特性！"));
    if (CDSAData.State() != TDataSetState::Browse) CDSAData.Post();
    const int current = CDSAData.CurrentRow();
    if (current >= 0) {
        const auto [first, last] = BlockOf(current);
        const QString problem = BlockProblem(first, last);
        if (!problem.isEmpty()) {
            ShowInfo(problem);
            return false;
        }
    }
    if (!Tags.CheckTagsComplete()) return false;
    const TDPList* dps = DPLists.Find(FCurCID);
    {
        TBusyScope busy(FBusy);
        const int sn = DrawSampleNumber();
        const QVariant none;
        auto row = [&](int dpid, int kind, const QString& name, const QString& data) {
            CDSAData.AppendRecord({FCurCID, sn, dpid == NullValue ? none : QVariant(dpid), kind, name,
                                   data.isEmpty() ? none : QVariant(data), 1});
        };
        // The time is the window's proposal and the two counts are the ones entered last: none of
        // them makes the block a subgroup until the user enters a count.
        row(NullValue, kTime, QStringLiteral("检验时间"), DateTimeText(QDateTime::currentDateTime()));
        row(NullValue, kBatch, QStringLiteral("批量数"), FLastBatch);
        row(NullValue, kInspected, QStringLiteral("检验数"), FLastInspected);
        row(NullValue, kRejected, QStringLiteral("不良数"), QString());
        if (dps && !dps->Items.isEmpty()) {
            row(NullValue, kTotal, QStringLiteral("缺点数合计"), QString());
            for (const RDPItem& dp : dps->Items) row(dp.DPID, kDefect, dp.DPName, QString());
        }
        FLastSGNo = sn;
        GoToRow(current < 0 ? 0 : current);
        Tags.SetCurCID(FCurCID);
        Tags.SetCurSGNo(sn);
        Tags.ApplyTemplate();
    }
    return true;
}

void TACollect::EnterPressed()
{
    if (CDSAData.State() != TDataSetState::Browse) CDSAData.Post();
    const int row = CDSAData.CurrentRow();
    if (row < 0) return;
    if (row == CDSAData.RecordCount() - 1 && !AppendBlock()) return;
    int next = row + 1;
    if (next < CDSAData.RecordCount() && RowInt(next, fItemID) == kTotal) ++next;
    if (next < CDSAData.RecordCount()) GoToRow(next);
    FollowCurrentRow();
}

bool TACollect::CellEditable(int row, const QString& fieldName) const
{
    const TField* f = CDSAData.FindField(fieldName);
    return f && f->Index() == fData && row >= 0 && row < CDSAData.RecordCount() && RowInt(row, fItemID) != kTotal;
}

void TACollect::SetCellText(int row, const QString& fieldName, const QString& text)
{
    if (!CellEditable(row, fieldName)) return;
    const int kind = RowInt(row, fItemID);
    const QString t = text.trimmed();
    QVariant value;
    if (kind == kTime) {
        // The inspection time is never left empty.
        const auto dt = ParseDateTime(t);
        if (!dt)
            RaiseError(QStringLiteral("请输入正确的") + RowField(row, fItemName).toString() + QStringLiteral("!"));
        value = DateTimeText(*dt);
    } else if (!t.isEmpty()) {
        const auto v = ParseInteger(t);
        if (!v) RaiseError(QStringLiteral("请输入正确的整数！"));
        if (*v < 0) RaiseError(QStringLiteral("数量不能为负数！"));
        value = QString::number(*v);
    }
    GoToRow(row);
    CDSAData.Edit();
    CDSAData.Fields(fData)->SetValue(value);
    try {
        CDSAData.Post();
    } catch (...) {
        CDSAData.Cancel();
        throw;
    }
    FollowCurrentRow();
}

void TACollect::CDSADataAfterPost(TDataSet*)
{
    if (!FBusy) StageRow();
}

bool TACollect::BlockEntered(int first, int last) const
{
    for (int r = first; r <= last; ++r) {
        const int kind = RowInt(r, fItemID);
        if (kind == kTime || kind == kTotal) continue;
        if (RowInt(r, fFlag) == 2 && !RowField(r, fData).toString().isEmpty()) return true;
    }
    return false;
}

void TACollect::StageRow()
{
    const int row = CDSAData.CurrentRow();
    if (row < 0) return;
    const int kind = RowInt(row, fItemID);
    if (kind == kTotal) return;
    const int cid = RowInt(row, fCID);
    const int sn = RowInt(row, fSGNo);
    const QString text = RowField(row, fData).toString();
    if (RowInt(row, fFlag) == 1 && !text.isEmpty()) SetBusyFields({{fFlag, 2}});
    if (kind == kBatch) FLastBatch = text;
    if (kind == kInspected) FLastInspected = text;

    const auto [first, last] = BlockOf(row);
    const bool entered = BlockEntered(first, last);
    TAttributeDataList* list = DataList(cid);
    if (!HasMaster(cid, sn)) {
        if (!entered) return;
        list->NewData().SN = sn;
        qryADM.Append();
        qryADM.FieldByName(QStringLiteral("CID"))->SetValue(cid);
        qryADM.FieldByName(QStringLiteral("SN"))->SetValue(sn);
        qryADM.Post();
        AddMaster(cid, sn);
        Tags.StageSubgroupTags(cid, sn);
    }
    SyncBlock(cid, sn, first, last);
    GoToRow(row);
    // A block whose counts were all taken out again before it was ever saved is no subgroup.
    if (!entered && GotoMaster(cid, sn) && qryADM.UpdateStatus() == TUpdateStatus::Inserted) {
        for (int r = first; r <= last; ++r) {
            const TDefectKey key{Key(cid, sn), RowInt(r, fDPID)};
            const auto it = FDefects.constFind(key);
            if (RowInt(r, fItemID) != kDefect || it == FDefects.constEnd()) continue;
            if (qryADD.GotoBookmark(*it)) qryADD.Delete();
            FDefects.remove(key);
        }
        const int index = list->IndexOfSN(sn);
        if (index >= 0) list->Delete(index);
        list->NotifyChange();
        RemoveMaster(cid, sn);
        Tags.UnstageSubgroupTags(cid, sn);
    }
}

void TACollect::SyncBlock(int cid, int sn, int first, int last)
{
    TAttributeDataList* list = DataList(cid);
    TAttributeData* data = list->FindBySN(sn);
    if (!data || !GotoMaster(cid, sn)) return;
    list->Updating = true;
    try {
        qryADM.Edit();
        int totalRow = -1;
        bool anyDefect = false;
        for (int r = first; r <= last; ++r) {
            const int kind = RowInt(r, fItemID);
            const int count = RowCount(r);
            const QVariant stored = count == NullValue ? QVariant() : QVariant(count);
            switch (kind) {
            case kTime: {
                const auto dt = ParseDateTime(RowField(r, fData).toString());
                qryADM.FieldByName(QStringLiteral("WDate"))->SetValue(dt ? QVariant(*dt) : QVariant());
                break;
            }
            case kBatch:
                qryADM.FieldByName(QStringLiteral("Batch"))->SetValue(stored);
                data->SetBatch(count);
                break;
            case kInspected:
                qryADM.FieldByName(QStringLiteral("Inspected"))->SetValue(stored);
                data->SetInspected(count);
                break;
            case kRejected:
                qryADM.FieldByName(QStringLiteral("Rejected"))->SetValue(stored);
                data->SetRejected(count);
                break;
            case kTotal:
                totalRow = r;
                break;
            case kDefect: {
                const int dpid = RowInt(r, fDPID);
                const TDefectKey key{Key(cid, sn), dpid};
                const auto it = FDefects.constFind(key);
                const bool inList = data->Defects().IndexOfDefect(dpid) >= 0;
                if (count != NullValue) {
                    anyDefect = true;
                    if (it != FDefects.constEnd() && qryADD.GotoBookmark(*it)) {
                        qryADD.Edit();
                    } else {
                        qryADD.Append();
                        qryADD.FieldByName(QStringLiteral("CID"))->SetValue(cid);
                        qryADD.FieldByName(QStringLiteral("SN"))->SetValue(sn);
                        qryADD.FieldByName(QStringLiteral("DPID"))->SetValue(dpid);
                    }
                    qryADD.FieldByName(QStringLiteral("Defected"))->SetValue(count);
                    qryADD.Post();
                    FDefects.insert(key, qryADD.GetBookmark());
                    if (inList) data->SetDefectCount(dpid, count);
                    else data->AddDefect(dpid, count);
                } else {
                    // An emptied count takes its phenomenon out of the subgroup and its row out.
                    if (it != FDefects.constEnd()) {
                        if (qryADD.GotoBookmark(*it)) qryADD.Delete();
                        FDefects.remove(key);
                    }
                    if (inList) data->RemoveDefect(dpid);
                }
                break;
            }
            default:
                break;
            }
        }
        qryADM.Post();
        if (totalRow >= 0) {
            GoToRow(totalRow);
            SetBusyFields({{fData, anyDefect ? QVariant(QString::number(data->RecountDefects())) : QVariant()}});
        }
    } catch (...) {
        list->Updating = false;
        throw;
    }
    list->Updating = false;
    list->NotifyChange();
}

void TACollect::CheckBeforeSave()
{
    const int original = FCurCID;
    const int originalSN = CurrentSubgroup();
    auto fail = [](const QString& message) {
        ShowInfo(message);
        RaiseError(QStringLiteral("保存失败！"));
    };
    for (const int cid : std::as_const(FItems)) {
        if (DataList(cid)->Count() == 0) continue;
        if (cid != FCurCID) SetControlItem(cid, FItemNames.value(cid), false);
        for (int r = 0; r < CDSAData.RecordCount(); ++r) {
            if (RowInt(r, fItemID) != kTime) continue;
            const int sn = RowInt(r, fSGNo);
            if (!HasMaster(cid, sn)) continue;
            const auto [first, last] = BlockOf(r);
            const QString problem = BlockProblem(first, last);
            if (!problem.isEmpty() || !Tags.TagsComplete(cid, sn)) {
                LocateSubgroup(cid, sn);
                fail(problem.isEmpty() ? QStringLiteral("标签未指定取值，请检查！") : problem);
            }
        }
    }
    if (original != NullValue && original != FCurCID) {
        SetControlItem(original, FItemNames.value(original), false);
        LocateSubgroup(original, originalSN);
    }
}

void TACollect::RemoveSubgroup(int cid, int sn)
{
    TAttributeDataList* list = DataList(cid);
    const int index = list->IndexOfSN(sn);
    if (index >= 0) {
        list->Delete(index);
        list->NotifyChange();
    }
    const int row = CDSAData.CurrentRow();
    if (row < 0) return;
    const auto [first, last] = BlockOf(row);
    for (int r = last; r >= first; --r) {
        if (RowInt(r, fItemID) != kDefect) continue;
        const TDefectKey key{Key(cid, sn), RowInt(r, fDPID)};
        const auto it = FDefects.constFind(key);
        if (it == FDefects.constEnd()) continue;
        if (qryADD.GotoBookmark(*it)) qryADD.Delete();
        FDefects.remove(key);
    }
    RemoveMaster(cid, sn);
    for (int r = last; r >= first; --r) {
        GoToRow(r);
        CDSAData.Delete();
    }
}

void TACollect::DeleteStored(int cid, int sn)
{
    DeleteASubgroup(cid, sn);
}
