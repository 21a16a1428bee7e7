#include "collect/VCollect.h"

#include "collect/CollectInput.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <algorithm>
#include <cmath>

TVCollect::TVCollect(TCompanyDM* dm) : TBaseCollect(dm)
{
    CDSVData.setObjectName(QStringLiteral("CDSVData"));
    CDSVData.AddFieldDef(QStringLiteral("CID"), TFieldType::Integer);
    CDSVData.AddFieldDef(QStringLiteral("SGNo"), TFieldType::Integer);
    CDSVData.AddFieldDef(QStringLiteral("No"), TFieldType::Integer);
    CDSVData.AddFieldDef(QStringLiteral("Data"), TFieldType::Float);
    CDSVData.AddFieldDef(QStringLiteral("Date"), TFieldType::Date);
    CDSVData.AddFieldDef(QStringLiteral("Time"), TFieldType::Time);
    CDSVData.AddFieldDef(QStringLiteral("Flag"), TFieldType::Integer);
    InitValueRows(CDSVData);
    CDSVData.SetEvent(TDataSetEvent::BeforePost, TDataSetNotifyEvent(this, &TVCollect::CDSVDataBeforePost));
    CDSVData.SetEvent(TDataSetEvent::AfterPost, TDataSetNotifyEvent(this, &TVCollect::CDSVDataAfterPost));

    qryVDM.setObjectName(QStringLiteral("qryVDM"));
    qryVDM.SetDatabase(dm);
    qryVDM.SetSQL(QStringLiteral("Select * from D_VDM where 1=0"));
    TUpdateSQL* vdm = qryVDM.InternalUpdateSQL();
    vdm->SetInsertSQL(QStringList{"insert into D_VDM",
                                  "(CID, SN, VCount, VSum, VAvg, R, S, State, TagTemplateID, UID, DID, WDate, ",
                                  "ExceptionNote)", "values",
                                  "(:CID, :SN, :VCount, :VSum, :VAvg, :R, :S, :State, :TagTemplateID, :UID, ",
                                  ":DID, :WDate, :ExceptionNote)"});
    vdm->SetModifySQL(QStringList{"update D_VDM", "set", "CID = :CID,", "SN = :SN,", "VCount = :VCount,",
                                  "VSum = :VSum,", "VAvg = :VAvg,", "R = :R,", "S = :S,", "State = :State,",
                                  "TagTemplateID = :TagTemplateID,", "UID = :UID,", "DID = :DID,", "WDate = :WDate,",
                                  "ExceptionNote = :ExceptionNote", "where", "CID = :OLD_CID and", "SN = :OLD_SN"});
    vdm->SetDeleteSQL(QStringList{"delete from D_VDM", "where", "CID = :OLD_CID and", "SN = :OLD_SN"});
    qryVDM.Open();

    qryVDD.setObjectName(QStringLiteral("qryVDD"));
    qryVDD.SetDatabase(dm);
    qryVDD.SetSQL(QStringLiteral("select * from D_VDD where 1=0"));
    TUpdateSQL* vdd = qryVDD.InternalUpdateSQL();
    vdd->SetInsertSQL(QStringList{"insert into D_VDD", "(CID, SN, SSN, VResult, WDate)", "values",
                                  "(:CID, :SN, :SSN, :VResult, :WDate)"});
    // A stored value is changed or removed only while it still holds what this window wrote: a
    // value another workstation changed meanwhile is reported, not overwritten.
    vdd->SetModifySQL(QStringList{"update D_VDD", "set", "CID = :CID,", "SN = :SN,", "SSN = :SSN,",
                                  "VResult = :VResult,", "WDate = :WDate", "where", "CID = :OLD_CID and",
                                  "SN = :OLD_SN and", "SSN = :OLD_SSN and", "VResult = :OLD_VResult"});
    vdd->SetDeleteSQL(QStringList{"delete from D_VDD", "where", "CID = :OLD_CID and", "SN = :OLD_SN and",
                                  "SSN = :OLD_SSN and", "VResult = :OLD_VResult"});
    qryVDD.Open();
}

TVCollect::~TVCollect() = default;

TVariableDataList* TVCollect::DataList(int cid) const
{
    const auto it = FLists.find(cid);
    if (it == FLists.end()) RaiseError(QStringLiteral("VariableDataList(%1)不存在").arg(cid));
    return it->second.get();
}

int TVCollect::SampleSize() const
{
    return FCurCID == NullValue ? 0 : CurrentList()->SampleSize();
}

void TVCollect::CreateItem(int cid)
{
    auto list = std::make_unique<TVariableDataList>();
    list->SetCID(cid);
    FLists[cid] = std::move(list);
}

QList<TChartType> TVCollect::ChartTypes() const
{
    return {ctXBarR, ctXBarS, ctXRm, ctHistogram};
}

bool TVCollect::ChartAvailable(TChartType type) const
{
    const int n = SampleSize();
    switch (type) {
    case ctXBarR: return n != 1 && n < 26;
    case ctXBarS: return n != 1;
    case ctXRm: return n == 1;
    case ctHistogram: return true;
    default: return false;
    }
}

int TVCollect::SNOfPoint(int cid, int index) const
{
    TVariableDataList* list = DataList(cid);
    return index >= 0 && index < list->Count() ? list->Item(index).SN : NullValue;
}

bool TVCollect::AppendBlock()
{
    return AppendFilledBlock(nullptr, {});
}

bool TVCollect::AppendFilledBlock(const QList<double>* values, const QList<QDateTime>& times)
{
    if (FCurCID == NullValue) RaiseError(QStringLiteral("请先选择质量特性！"));
    if (CDSVData.State() != TDataSetState::Browse) CDSVData.Post();
    if (!Tags.CheckTagsComplete()) return false;
    const int n = SampleSize();
    if (n < 1) RaiseError(QStringLiteral("质量特性的样本容量无效！"));
    {
        TBusyScope busy(FBusy);
        const int remembered = CDSVData.CurrentRow();
        // The number is drawn at once, in a statement of its own: an abandoned block leaves a gap.
        const int sn = DrawSampleNumber();
        for (int p = 1; p <= n; ++p) {
            if (!values) {
                CDSVData.AppendRecord({FCurCID, sn, p, QVariant(), QVariant(), QVariant(), 1});
                continue;
            }
            const QDateTime& when = times[p - 1];
            CDSVData.AppendRecord({FCurCID, sn, p, (*values)[p - 1], when.date(), when.time(), 2});
        }
        FLastSGNo = sn;
        GoToRow(values ? CDSVData.RecordCount() - 1 : std::max(remembered, 0));
        Tags.SetCurCID(FCurCID);
        Tags.SetCurSGNo(sn);
        Tags.ApplyTemplate();
    }
    return true;
}

void TVCollect::EnterPressed()
{
    if (CDSVData.State() != TDataSetState::Browse) CDSVData.Post();
    const int row = CDSVData.CurrentRow();
    if (row < 0) return;
    const int n = SampleSize();
    const bool hasValue = !RowField(row, fData).isNull();
    const int p = RowInt(row, fNo);
    const bool inLastBlock = CDSVData.RecordCount() - (row + 1) < n;
    if (p == n && inLastBlock && hasValue) {
        if (!AppendBlock()) return;
    } else if (p == 1 && !hasValue) {
        return;
    }
    if (row + 1 < CDSVData.RecordCount()) GoToRow(row + 1);
    FollowCurrentRow();
}

bool TVCollect::CellEditable(int, const QString& fieldName) const
{
    const TField* f = CDSVData.FindField(fieldName);
    return f && (f->Index() == fData || f->Index() == fDate || f->Index() == fTime);
}

void TVCollect::SetCellText(int row, const QString& fieldName, const QString& text)
{
    if (row < 0 || row >= CDSVData.RecordCount() || !CellEditable(row, fieldName)) return;
    const int field = CDSVData.FieldByName(fieldName)->Index();
    const QString t = text.trimmed();
    QVariant value;
    if (!t.isEmpty()) {
        if (field == fData) {
            const auto x = ParseNumber(t);
            if (!x) RaiseError(QStringLiteral("请输入正确的数值！"));
            value = *x;
        } else if (field == fDate) {
            const auto d = ParseDate(t);
            if (!d) RaiseError(QStringLiteral("请输入正确的日期！"));
            value = *d;
        } else {
            const auto time = ParseTime(t);
            if (!time) RaiseError(QStringLiteral("请输入正确的时间！"));
            value = *time;
        }
    }
    GoToRow(row);
    CDSVData.Edit();
    CDSVData.Fields(field)->SetValue(value);
    try {
        CDSVData.Post();
    } catch (...) {
        CDSVData.Cancel();
        throw;
    }
    FollowCurrentRow();
}

void TVCollect::CDSVDataBeforePost(TDataSet*)
{
    if (FBusy || CDSVData.Fields(fData)->IsNull()) return;
    // Values are keyed in order: the row above (of any subgroup) must have its value first.
    const int row = CDSVData.CurrentRow();
    if (row > 0 && RowField(row - 1, fData).isNull())
        RaiseError(QStringLiteral("请先输入完上面的数据后，再在本行输入数据"));
}

void TVCollect::CDSVDataAfterPost(TDataSet*)
{
    if (!FBusy) StageRow();
}

void TVCollect::StageRow()
{
    const int row = CDSVData.CurrentRow();
    if (row < 0) return;
    const int cid = RowInt(row, fCID);
    const int sn = RowInt(row, fSGNo);
    const int p = RowInt(row, fNo);
    const bool hasValue = !RowField(row, fData).isNull();
    if (RowInt(row, fFlag) == 1) {
        if (!hasValue) return;
        SetBusyFields({{fFlag, 2}});
    }
    if (hasValue) {
        // Date and time from one reading of the clock: two readings could straddle midnight.
        const bool noDate = RowField(row, fDate).isNull(), noTime = RowField(row, fTime).isNull();
        if (noDate || noTime) {
            const QDateTime now = QDateTime::currentDateTime();
            QList<QPair<int, QVariant>> fields;
            if (noDate) fields.append({fDate, now.date()});
            if (noTime) fields.append({fTime, now.time()});
            SetBusyFields(fields);
        }
    }
    const QDate date = RowField(row, fDate).toDate();
    const QDateTime wdate = date.isValid() ? QDateTime(date, RowField(row, fTime).toTime()) : QDateTime();
    TVariableDataList* list = DataList(cid);
    if (!StageMaster(cid, sn, p, wdate, hasValue)) return;
    StageValue(cid, sn, p, RowField(row, fData), wdate);

    const auto [first, last] = BlockOf(row);
    SyncSubgroup(*list, sn, first, last);
    // A block emptied again before it was ever saved is no subgroup any more.
    const TVariableData* data = list->FindBySN(sn);
    if (data && data->ValueCount() == 0 && GotoMaster(cid, sn) && qryVDM.UpdateStatus() == TUpdateStatus::Inserted) {
        const int index = data->Index();
        list->Delete(index);
        list->NotifyChange(index);
        RemoveMaster(cid, sn);
        Tags.UnstageSubgroupTags(cid, sn);
    }
}

bool TVCollect::StageMaster(int cid, int sn, int p, const QDateTime& wdate, bool hasValue)
{
    if (!HasMaster(cid, sn)) {
        if (!hasValue) return false;
        DataList(cid)->NewData().SN = sn;
        qryVDM.Append();
        qryVDM.FieldByName(QStringLiteral("CID"))->SetValue(cid);
        qryVDM.FieldByName(QStringLiteral("SN"))->SetValue(sn);
        qryVDM.FieldByName(QStringLiteral("WDate"))->SetValue(wdate);
        qryVDM.Post();
        AddMaster(cid, sn);
        Tags.StageSubgroupTags(cid, sn);
    } else if (p == 1 && GotoMaster(cid, sn)) {
        qryVDM.Edit();
        qryVDM.FieldByName(QStringLiteral("WDate"))->SetValue(wdate);
        qryVDM.Post();
    }
    return true;
}

void TVCollect::StageValue(int cid, int sn, int p, const QVariant& value, const QDateTime& wdate)
{
    const TValueKey key = ValueKey(cid, sn, p);
    const auto existing = FValues.constFind(key);
    if (!value.isNull()) {
        if (existing != FValues.constEnd() && qryVDD.GotoBookmark(*existing)) {
            qryVDD.Edit();
        } else {
            qryVDD.Append();
            qryVDD.FieldByName(QStringLiteral("CID"))->SetValue(cid);
            qryVDD.FieldByName(QStringLiteral("SN"))->SetValue(sn);
            qryVDD.FieldByName(QStringLiteral("SSN"))->SetValue(p);
        }
        qryVDD.FieldByName(QStringLiteral("VResult"))->SetValue(value);
        qryVDD.FieldByName(QStringLiteral("WDate"))->SetValue(wdate);
        qryVDD.Post();
        FValues.insert(key, qryVDD.GetBookmark());
    } else if (existing != FValues.constEnd()) {
        // An emptied value is taken out, never stored as 0.
        if (qryVDD.GotoBookmark(*existing)) qryVDD.Delete();
        FValues.remove(key);
    }
}

bool TVCollect::KeySubgroup(const QList<double>& values, const QList<QDateTime>& times)
{
    if (FCurCID == NullValue) RaiseError(QStringLiteral("请先选择质量特性！"));
    if (values.size() != SampleSize()) RaiseError(QStringLiteral("子组的值数与样本容量不符！"));
    for (const double v : values)
        if (!std::isfinite(v)) RaiseError(QStringLiteral("请输入正确的数值！"));
    // The order rule of keying: the rows above must have their values.
    const int count = CDSVData.RecordCount();
    if (count > 0 && RowField(count - 1, fData).isNull())
        RaiseError(QStringLiteral("请先输入完上面的数据后，再在本行输入数据"));
    const QDateTime now = QDateTime::currentDateTime();
    QList<QDateTime> when;
    for (int p = 0; p < values.size(); ++p) when << (p < times.size() && times[p].isValid() ? times[p] : now);
    if (!AppendFilledBlock(&values, when)) return false;
    const int cid = FCurCID, sn = FLastSGNo, first = count;
    for (int p = 0; p < values.size(); ++p) {
        if (p == 0) StageMaster(cid, sn, 1, when[p], true);
        StageValue(cid, sn, p + 1, values[p], when[p]);
    }
    SyncSubgroup(*DataList(cid), sn, first, first + int(values.size()) - 1);
    return true;
}

void TVCollect::SyncSubgroup(TVariableDataList& list, int sn, int first, int last)
{
    TVariableData* data = list.FindBySN(sn);
    if (!data) return;
    QList<double> values;
    for (int r = first; r <= last; ++r) {
        const QVariant v = RowField(r, fData);
        if (!v.isNull()) values << v.toDouble();
    }
    const int before = data->ValueCount();
    for (int i = 0; i < std::min<int>(before, values.size()); ++i) data->SetValue(i, values[i]);
    while (data->ValueCount() > values.size()) data->DeleteValue(data->ValueCount() - 1);
    for (int i = data->ValueCount(); i < values.size(); ++i) data->AddValue(values[i]);
    // A subgroup that lost a value is no longer complete: its charts follow it all the same.
    if (data->ValueCount() < before) list.NotifyChange(data->Index());
}

void TVCollect::CheckBeforeSave()
{
    for (const int cid : std::as_const(FItems)) {
        TVariableDataList* list = DataList(cid);
        const int n = list->SampleSize();
        for (int i = 0; i < list->Count(); ++i) {
            const int sn = list->Item(i).SN;
            if (list->Item(i).ValueCount() != n) {
                LocateSubgroup(cid, sn);
                RaiseError(QStringLiteral("样本不完整，不能保存！"));
            }
            if (!Tags.TagsComplete(cid, sn)) {
                LocateSubgroup(cid, sn);
                RaiseError(QStringLiteral("标签未指定取值，请检查！"));
            }
        }
    }
}

void TVCollect::RemoveSubgroup(int cid, int sn)
{
    TVariableDataList* list = DataList(cid);
    const int index = list->IndexOfSN(sn);
    if (index >= 0) {
        list->Delete(index);
        list->NotifyChange(index);
    }
    const int row = CDSVData.CurrentRow();
    if (row < 0) return;
    const auto [first, last] = BlockOf(row);
    for (int r = last; r >= first; --r) {
        const TValueKey key = ValueKey(cid, sn, RowInt(r, fNo));
        const auto it = FValues.constFind(key);
        if (it != FValues.constEnd()) {
            if (qryVDD.GotoBookmark(*it)) qryVDD.Delete();
            FValues.remove(key);
        }
    }
    RemoveMaster(cid, sn);
    for (int r = last; r >= first; --r) {
        GoToRow(r);
        CDSVData.Delete();
    }
}

void TVCollect::DeleteStored(int cid, int sn)
{
    DeleteVSubgroup(cid, sn);
}
