#include "analysis/BaseCondition.h"

#include "engine/ControlItem.h"
#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

namespace {
const QString kTaskIDParam = QStringLiteral("TaskID");

QStringList TaskItemSQL(TItemKind kind)
{
    if (kind == ikAttribute)
        return {"select  a.*, b.CCode,b.CName, ",
                "  (Select distinct c.ProName from L_Process c where b.ProID = c.ProID) as ProName",
                "from m_C a, L_AControlItem b",
                "where a.CID = b.CID and TaskID = :TaskID",
                "order by b.CCode"};
    return {"select  a.*, b.CCode,b.CName,",
            "  (Select distinct c.ProName from L_Process c where b.ProID = c.ProID) as ProName",
            "from m_C a, L_VControlItem b",
            "where a.CID = b.CID and TaskID = :TaskID",
            "order by b.CCode"};
}

QStringList AllItemsSQL(TItemKind kind, bool analysis)
{
    if (kind == ikAttribute)
        return {"Select 0 as Selected, 0 as Changed, a.*, b.ProName ",
                "from L_AControlItem a left join L_Process b ",
                "  on (a.ProID = b.ProId)",
                "order by CCode"};
    if (analysis)
        return {"Select 0 as Selected, 0 as Changed, a.*, b.ProName ",
                "from L_VControlItem a left join L_Process b ",
                "on (a.ProID = b.ProId)",
                "order by CCode"};
    return {"Select 0 as Selected, 0 as Changed, a.*, b.ProName ",
            "from L_VControlItem a Left Join L_Process b",
            "on( a.ProID = b.ProID)",
            "order by CCode"};
}

// Every value of every tag that occurs on a subgroup of the task's item. The item is bound
// directly (rather than read from m_C), so the offer follows the item chosen in the dialog before
// anything is written, and never sees other tasks' items.
const QStringList kAllTagValuesSQL = {
    "Select 0 as Selected, 0 as Changed,1 as Mandatory, a.*,d.TagCode, d.TagName ",
    "from L_TagValue a, L_Tag d",
    "where a.TagID = d.TagID and a.TagID in ",
    "  (Select c.TagID from D_Tag c where c.CID = :CID)",
    "  order by a.TagID, a.TagValueID"};

int IntOf(const TDataSet& ds, const char* field)
{
    return ds.FieldByName(QLatin1String(field))->AsInteger();
}

// A new row at its place in the order the task's queries read (TagID, then TagValueID), so that
// the grids and the tag text read the same before and after the task is read again.
void InsertInOrder(TDataSet& ds, int tagID, int tagValueID)
{
    const int tagField = ds.FieldByName(QStringLiteral("TagID"))->Index();
    const TField* valueField = ds.FindField(QStringLiteral("TagValueID"));
    for (int r = 0; r < ds.RecordCount(); ++r) {
        const int t = VariantToInt(ds.RowValue(r, tagField));
        const int v = valueField ? VariantToInt(ds.RowValue(r, valueField->Index())) : NullValue;
        if (t > tagID || (t == tagID && v > tagValueID)) {
            ds.SetRecNo(r + 1);
            ds.Insert();
            return;
        }
    }
    ds.Append();
}

// Shows every row of a data set while it lives (a view of one tag must not hide the others from
// the walks over all of them); the filter and the cursor's row number come back afterwards.
class TUnfiltered {
public:
    explicit TUnfiltered(TDataSet& ds) : FDS(ds), FFiltered(ds.Filtered()), FRecNo(ds.RecNo())
    {
        FDS.SetFiltered(false);
    }
    ~TUnfiltered()
    {
        try {
            FDS.SetFiltered(FFiltered);
            if (FRecNo > 0 && FRecNo <= FDS.RecordCount()) FDS.SetRecNo(FRecNo);
        } catch (const std::exception&) {
        }
    }
    TUnfiltered(const TUnfiltered&) = delete;
    TUnfiltered& operator=(const TUnfiltered&) = delete;

private:
    TDataSet& FDS;
    bool FFiltered;
    int FRecNo;
};
} // namespace

TBaseCondition::TBaseCondition(TItemKind kind, bool analysis, int taskID, TCompanyDM* dm)
    : FDM(dm ? *dm : CurrentCompanyDM()), FKind(kind), FAnalysis(analysis), FTaskID(taskID),
      FOfferCID(NullValue), FCurrentTag(NullValue)
{
    for (TQuery* q : {static_cast<TQuery*>(&FTaskDate), static_cast<TQuery*>(&FTaskItem), &FTaskTag,
                      static_cast<TQuery*>(&FTaskTagValue), &FAllItems, &FAllTagValues})
        q->SetDatabase(&FDM);
    FTaskDate.setObjectName(QStringLiteral("qryTaskDate"));
    FTaskItem.setObjectName(QStringLiteral("qryTaskItem"));
    FTaskTag.setObjectName(QStringLiteral("qryTaskTag"));
    FTaskTagValue.setObjectName(QStringLiteral("qryTaskTagValue"));
    FAllItems.setObjectName(QStringLiteral("qryAllItems"));
    FAllTagValues.setObjectName(QStringLiteral("qryAllTagValues"));

    FTaskDate.SetSQL(QStringList{"select * from m_Date", "where TaskID = :TaskID"});
    FTaskDate.InternalUpdateSQL()->SetInsertSQL(QStringList{
        "insert into m_Date", "  (TaskID, SN, StartDate, EndDate)", "values", "  (:TaskID, :SN, :StartDate, :EndDate)"});
    FTaskDate.InternalUpdateSQL()->SetModifySQL(QStringList{
        "update m_Date", "set", "  StartDate = :StartDate,", "  EndDate = :EndDate", "where",
        "  TaskID = :OLD_TaskID and", "  SN = :OLD_SN"});

    FTaskItem.SetSQL(TaskItemSQL(kind));
    FTaskItem.InternalUpdateSQL()->SetInsertSQL(QStringList{"insert into m_C", "  (TaskID, CID)", "values", "  (:TaskID, :CID)"});
    FTaskItem.InternalUpdateSQL()->SetDeleteSQL(QStringList{"delete from m_C", "where", "  TaskID = :OLD_TaskID and", "  CID = :OLD_CID"});

    // Display only: tags are added and removed in memory, m_Tag is written from the value rows.
    FTaskTag.SetSQL(QStringList{"select distinct a.TagID, b.TagCode,b.TagName, Mandatory",
                                "from m_Tag a, L_Tag b",
                                "where a.TagID = b.TagID and TaskID = :TaskID",
                                "order by a.TagID"});
    FTaskTag.SetLogChanges(false);

    FTaskTagValue.SetSQL(QStringList{"select a.* ,b.TagValue",
                                     "from m_Tag a, L_TagValue b",
                                     "where a.TagID = b.TagID and a.TagValueID = b.TagValueID",
                                     "  and TaskID = :TaskID",
                                     "order by a.TagID, a.TagValueID"});
    const QStringList tagKey{"where", "  TaskID = :OLD_TaskID and", "  TagID = :OLD_TagID and", "  TagValueID = :OLD_TagValueID"};
    FTaskTagValue.InternalUpdateSQL()->SetInsertSQL(QStringList{
        "insert into m_Tag", "  (TaskID, TagID, TagValueID, Mandatory)", "values", "  (:TaskID, :TagID, :TagValueID, :Mandatory)"});
    FTaskTagValue.InternalUpdateSQL()->SetModifySQL(
        QStringList{"update m_Tag", "set", "  TaskID = :TaskID,", "  TagID = :TagID,", "  TagValueID = :TagValueID,",
                    "  Mandatory = :Mandatory"} + tagKey);
    FTaskTagValue.InternalUpdateSQL()->SetDeleteSQL(QStringList{"delete from m_Tag"} + tagKey);
    FTaskTagValue.SetFilter([this](TDataSet& ds) { return IntOf(ds, "TagID") == FCurrentTag; });
    FTaskTagValue.SetFiltered(true);

    for (TQuery* q : {static_cast<TQuery*>(&FTaskDate), static_cast<TQuery*>(&FTaskItem), &FTaskTag,
                      static_cast<TQuery*>(&FTaskTagValue)})
        q->SetParamValue(kTaskIDParam, taskID);
    const TDataSetNotifyEvent created(this, &TBaseCondition::TaskRowCreated);
    FTaskDate.SetEvent(TDataSetEvent::OnNewRecord, created);
    FTaskItem.SetEvent(TDataSetEvent::OnNewRecord, created);
    FTaskTagValue.SetEvent(TDataSetEvent::OnNewRecord, created);
    FTaskTag.SetEvent(TDataSetEvent::AfterScroll, TDataSetNotifyEvent(this, &TBaseCondition::TaskTagScrolled));
    FTaskTag.SetEvent(TDataSetEvent::AfterClose, TDataSetNotifyEvent(this, &TBaseCondition::TaskTagScrolled));

    FAllItems.SetSQL(AllItemsSQL(kind, analysis));
    FAllItems.SetLogChanges(false);
    FAllTagValues.SetSQL(kAllTagValuesSQL);
    FAllTagValues.SetLogChanges(false);

    InitCondition();
}

TBaseCondition::~TBaseCondition()
{
    // The rows of a task that cannot be deleted now stay behind, as after a program that was
    // killed; nothing reads another task's rows.
    try {
        DoneCondition();
    } catch (const std::exception&) {
    }
    // The data sets go one by one: none may call back into this object meanwhile.
    FTaskTag.SetEvent(TDataSetEvent::AfterScroll, {});
    FTaskTag.SetEvent(TDataSetEvent::AfterClose, {});
    FTaskTagValue.SetFilter({});
}

void TBaseCondition::InitCondition()
{
    StartDate = EndDate = QDate::currentDate();
    StartTime = QTime(0, 0, 0);
    EndTime = QTime(23, 59, 59);
    OpenTaskQueries();
    MandatoryTags.clear();
    OptionalTags.clear();
    TagsChanged = false;
    if (FAnalysis && HasCharacteristic()) FillChartTypes(SelectedCID());
}

void TBaseCondition::DoneCondition()
{
    for (TDataSet* ds : {static_cast<TDataSet*>(&FTaskDate), static_cast<TDataSet*>(&FTaskItem),
                         static_cast<TDataSet*>(&FTaskTag), static_cast<TDataSet*>(&FTaskTagValue),
                         static_cast<TDataSet*>(&FAllItems), static_cast<TDataSet*>(&FAllTagValues)})
        while (ds->Active()) ds->Close();
    TTransactionGuard guard(FDM);
    const TSqlParams params{{kTaskIDParam, FTaskID}};
    for (const char* table : {"m_Date", "m_C", "m_Tag", "m_CTemp"})
        FDM.Exec(QStringLiteral("delete from %1 where TaskID = :TaskID").arg(QLatin1String(table)), params);
    guard.Commit();
}

void TBaseCondition::OpenIfClosed(TDataSet& dataSet)
{
    if (!dataSet.Active()) dataSet.Open();
}

void TBaseCondition::OpenTaskQueries()
{
    OpenIfClosed(FTaskDate);
    OpenIfClosed(FTaskItem);
    OpenIfClosed(FTaskTag);
    OpenIfClosed(FTaskTagValue);
    TaskTagScrolled(&FTaskTag);
}

void TBaseCondition::CloseTaskQueries()
{
    for (TDataSet* ds : {static_cast<TDataSet*>(&FTaskDate), static_cast<TDataSet*>(&FTaskItem),
                         static_cast<TDataSet*>(&FTaskTag), static_cast<TDataSet*>(&FTaskTagValue)})
        while (ds->Active()) ds->Close();
}

void TBaseCondition::TaskRowCreated(TDataSet* dataSet)
{
    dataSet->FieldByName(kTaskIDParam)->SetAsInteger(FTaskID);
}

void TBaseCondition::TaskTagScrolled(TDataSet*)
{
    const int tag = FTaskTag.Active() && !FTaskTag.IsEmpty() ? IntOf(FTaskTag, "TagID") : NullValue;
    if (tag == FCurrentTag) return;
    FCurrentTag = tag;
    FTaskTagValue.Refilter();
}

// --- The control item ---------------------------------------------------------------------------

bool TBaseCondition::HasCharacteristic() const
{
    return FTaskItem.Active() && !FTaskItem.IsEmpty();
}

int TBaseCondition::SelectedCID() const
{
    if (!HasCharacteristic()) return NullValue;
    return VariantToInt(FTaskItem.RowValue(0, FTaskItem.FieldByName(QStringLiteral("CID"))->Index()));
}

QString TBaseCondition::SelectedCName() const
{
    if (!HasCharacteristic()) return {};
    return VariantToString(FTaskItem.RowValue(0, FTaskItem.FieldByName(QStringLiteral("CName"))->Index()));
}

bool TBaseCondition::CheckCharacteristicChosen() const
{
    if (HasCharacteristic()) return true;
    ShowInfo(QStringLiteral("请先选择质量特性！"));
    return false;
}

bool TBaseCondition::ChooseCharacteristic(int cid)
{
    OpenIfClosed(FTaskItem);
    if (cid != NullValue) {
        OpenIfClosed(FAllItems);
        // An item created since the list was read is found after reading it again.
        if (!FAllItems.Locate(QStringLiteral("CID"), cid)) {
            FAllItems.Refresh();
            if (!FAllItems.Locate(QStringLiteral("CID"), cid)) return false;
        }
    }
    // One item per task: every other row goes.
    FTaskItem.First();
    while (!FTaskItem.Eof()) {
        if (IntOf(FTaskItem, "CID") != cid) FTaskItem.Delete();
        else FTaskItem.Next();
    }
    if (cid != NullValue && FTaskItem.IsEmpty()) {
        FTaskItem.Append();
        FTaskItem.FieldByName(QStringLiteral("CID"))->SetAsInteger(cid);
        for (const char* f : {"CCode", "CName", "ProName"})
            FTaskItem.FieldByName(QLatin1String(f))->SetValue(FAllItems.Value(QLatin1String(f)));
        FTaskItem.Post();
    }
    FTaskItem.First();
    if (FAnalysis) FillChartTypes(cid);
    return true;
}

void TBaseCondition::FillChartTypes(int cid)
{
    FChartTypes.clear();
    if (cid != NullValue) {
        TCharacterInfo info;
        info.SetCID(cid);
        ::FillChartTypes(FKind, FKind == ikVariable ? info.SampleSize : 0, FChartTypes);
    }
    // A type the item does not offer (one preset by the window for another item) is no choice.
    if (!FChartTypes.isEmpty() && !FChartTypes.contains(ChartTypeText)) ChartTypeText.clear();
}

TChartType TBaseCondition::ChosenChartType() const
{
    return ChartTypeText.isEmpty() ? ctNone : ChartTypeFromName(ChartTypeText);
}

// --- Tags -----------------------------------------------------------------------------------------

int TBaseCondition::FindTagValue(int tagID, int tagValueID)
{
    const int tagField = FTaskTagValue.FieldByName(QStringLiteral("TagID"))->Index();
    const int valueField = FTaskTagValue.FieldByName(QStringLiteral("TagValueID"))->Index();
    for (int r = 0; r < FTaskTagValue.RecordCount(); ++r)
        if (VariantToInt(FTaskTagValue.RowValue(r, tagField)) == tagID &&
            VariantToInt(FTaskTagValue.RowValue(r, valueField)) == tagValueID)
            return r;
    return -1;
}

TQuery& TBaseCondition::OpenTagOffer()
{
    const int cid = SelectedCID();
    if (!FAllTagValues.Active() || FOfferCID != cid) {
        FAllTagValues.Close();
        FAllTagValues.SetParamValue(QStringLiteral("CID"), cid);
        FAllTagValues.Open();
        FOfferCID = cid;
    }
    // The offer shows the task's choice as it stands: what an earlier, cancelled choice ticked is
    // not taken for chosen.
    OpenIfClosed(FTaskTagValue);
    OpenIfClosed(FTaskTag);
    TUnfiltered allValues(FTaskTagValue);
    TUnfiltered allOffered(FAllTagValues);
    FAllTagValues.DisableControls();
    for (FAllTagValues.First(); !FAllTagValues.Eof(); FAllTagValues.Next()) {
        const int tag = IntOf(FAllTagValues, "TagID");
        const int row = FindTagValue(tag, IntOf(FAllTagValues, "TagValueID"));
        const QVariant tagMandatory = FTaskTag.Lookup(QStringLiteral("TagID"), tag, QStringLiteral("Mandatory"));
        int mandatory = tagMandatory.isNull() ? 1 : VariantToInt(tagMandatory);
        if (row >= 0)
            mandatory = VariantToInt(FTaskTagValue.RowValue(row, FTaskTagValue.FieldByName(QStringLiteral("Mandatory"))->Index()));
        FAllTagValues.Edit();
        FAllTagValues.FieldByName(QStringLiteral("Selected"))->SetAsInteger(row >= 0 ? 1 : 0);
        FAllTagValues.FieldByName(QStringLiteral("Mandatory"))->SetAsInteger(mandatory == 1 ? 1 : 0);
        FAllTagValues.FieldByName(QStringLiteral("Changed"))->SetAsInteger(0);
        FAllTagValues.Post();
    }
    FAllTagValues.First();
    FAllTagValues.EnableControls();
    return FAllTagValues;
}

void TBaseCondition::ApplyTagOffer()
{
    TagsChanged = true;
    OpenIfClosed(FTaskTag);
    OpenIfClosed(FTaskTagValue);
    {
        TUnfiltered allValues(FTaskTagValue);
        TUnfiltered allOffered(FAllTagValues);
        for (FAllTagValues.First(); !FAllTagValues.Eof(); FAllTagValues.Next()) {
            if (IntOf(FAllTagValues, "Changed") != 1) continue;
            const int tag = IntOf(FAllTagValues, "TagID");
            const int value = IntOf(FAllTagValues, "TagValueID");
            const int mandatory = IntOf(FAllTagValues, "Mandatory") == 1 ? 1 : 0;
            const int row = FindTagValue(tag, value);
            if (IntOf(FAllTagValues, "Selected") == 1) {
                if (!FTaskTag.Locate(QStringLiteral("TagID"), tag)) {
                    InsertInOrder(FTaskTag, tag, NullValue);
                    FTaskTag.FieldByName(QStringLiteral("TagID"))->SetAsInteger(tag);
                    FTaskTag.FieldByName(QStringLiteral("TagCode"))->SetValue(FAllTagValues.Value(QStringLiteral("TagCode")));
                    FTaskTag.FieldByName(QStringLiteral("TagName"))->SetValue(FAllTagValues.Value(QStringLiteral("TagName")));
                    FTaskTag.FieldByName(QStringLiteral("Mandatory"))->SetAsInteger(mandatory);
                    FTaskTag.Post();
                }
                if (row >= 0) {
                    FTaskTagValue.SetRecNo(row + 1);
                    if (IntOf(FTaskTagValue, "Mandatory") != mandatory) {
                        FTaskTagValue.Edit();
                        FTaskTagValue.FieldByName(QStringLiteral("Mandatory"))->SetAsInteger(mandatory);
                        FTaskTagValue.Post();
                    }
                } else {
                    InsertInOrder(FTaskTagValue, tag, value);
                    FTaskTagValue.FieldByName(QStringLiteral("TagID"))->SetAsInteger(tag);
                    FTaskTagValue.FieldByName(QStringLiteral("TagValueID"))->SetAsInteger(value);
                    FTaskTagValue.FieldByName(QStringLiteral("TagValue"))->SetValue(FAllTagValues.Value(QStringLiteral("TagValue")));
                    FTaskTagValue.FieldByName(QStringLiteral("Mandatory"))->SetAsInteger(mandatory);
                    FTaskTagValue.Post();
                }
            } else if (row >= 0) {
                FTaskTagValue.SetRecNo(row + 1);
                FTaskTagValue.Delete();
            }
            FAllTagValues.Edit();
            FAllTagValues.FieldByName(QStringLiteral("Changed"))->SetAsInteger(0);
            FAllTagValues.Post();
        }
        // Each tag takes the flag of its values; a tag left without values goes.
        const int tagField = FTaskTagValue.FieldByName(QStringLiteral("TagID"))->Index();
        const int mandatoryField = FTaskTagValue.FieldByName(QStringLiteral("Mandatory"))->Index();
        for (FTaskTag.First(); !FTaskTag.Eof();) {
            const int tag = IntOf(FTaskTag, "TagID");
            int mandatory = -1;
            for (int r = 0; r < FTaskTagValue.RecordCount() && mandatory < 0; ++r)
                if (VariantToInt(FTaskTagValue.RowValue(r, tagField)) == tag)
                    mandatory = VariantToInt(FTaskTagValue.RowValue(r, mandatoryField)) == 1 ? 1 : 0;
            if (mandatory < 0) {
                FTaskTag.Delete();
                continue;
            }
            if (IntOf(FTaskTag, "Mandatory") != mandatory) {
                FTaskTag.Edit();
                FTaskTag.FieldByName(QStringLiteral("Mandatory"))->SetAsInteger(mandatory);
                FTaskTag.Post();
            }
            FTaskTag.Next();
        }
    }
    FTaskTag.First();
    FCurrentTag = NullValue;
    TaskTagScrolled(&FTaskTag);
    FAllTagValues.First();
}

QString TBaseCondition::TagText()
{
    if (!FTaskTag.Active() || !FTaskTagValue.Active()) return {};
    TUnfiltered allValues(FTaskTagValue);
    const int tagField = FTaskTagValue.FieldByName(QStringLiteral("TagID"))->Index();
    const int valueField = FTaskTagValue.FieldByName(QStringLiteral("TagValue"))->Index();
    const int nameField = FTaskTag.FieldByName(QStringLiteral("TagName"))->Index();
    const int idField = FTaskTag.FieldByName(QStringLiteral("TagID"))->Index();
    QStringList tags;
    for (int t = 0; t < FTaskTag.RecordCount(); ++t) {
        const int tag = VariantToInt(FTaskTag.RowValue(t, idField));
        QStringList texts;
        for (int r = 0; r < FTaskTagValue.RecordCount(); ++r)
            if (VariantToInt(FTaskTagValue.RowValue(r, tagField)) == tag)
                texts << VariantToString(FTaskTagValue.RowValue(r, valueField));
        tags << VariantToString(FTaskTag.RowValue(t, nameField)) + QLatin1Char(':') + texts.join(QLatin1Char(','));
    }
    return tags.join(QLatin1Char(';'));
}

// --- OK ---------------------------------------------------------------------------------------------

bool TBaseCondition::ValidateCondition()
{
    if (!StartDateTime().isValid() || !EndDateTime().isValid() || StartDateTime() > EndDateTime()) {
        ShowInfo(QStringLiteral("日期范围错误，请重新选择"));
        return false;
    }
    if (!HasCharacteristic()) {
        ShowInfo(QStringLiteral("请选择质量特性"));
        return false;
    }
    if (FAnalysis && (ChartTypeText.isEmpty() || (!FChartTypes.isEmpty() && !FChartTypes.contains(ChartTypeText)))) {
        ShowInfo(QStringLiteral("请选择控制图类型！"));
        return false;
    }
    return true;
}

bool TBaseCondition::SaveCondition()
{
    if (!ValidateCondition()) return false;
    OpenTaskQueries();
    try {
        TTransactionGuard guard(FDM);
        if (FTaskDate.IsEmpty()) FTaskDate.Append();
        else {
            FTaskDate.First();
            FTaskDate.Edit();
        }
        FTaskDate.FieldByName(kTaskIDParam)->SetAsInteger(FTaskID);
        FTaskDate.FieldByName(QStringLiteral("SN"))->SetAsInteger(1);
        FTaskDate.FieldByName(QStringLiteral("StartDate"))->SetAsDateTime(StartDateTime());
        FTaskDate.FieldByName(QStringLiteral("EndDate"))->SetAsDateTime(EndDateTime());
        FTaskDate.Post();
        FTaskDate.ApplyUpdates();
        FTaskItem.ApplyUpdates();
        FTaskTagValue.ApplyUpdates();
        guard.Commit();
    } catch (const std::exception&) {
        RaiseError(QStringLiteral("条件保存错，请稍后重试！"));
    }
    if (TagsChanged) {
        MandatoryTags.clear();
        OptionalTags.clear();
        const int idField = FTaskTag.FieldByName(QStringLiteral("TagID"))->Index();
        const int mandatoryField = FTaskTag.FieldByName(QStringLiteral("Mandatory"))->Index();
        for (int t = 0; t < FTaskTag.RecordCount(); ++t) {
            const QString id = QString::number(VariantToInt(FTaskTag.RowValue(t, idField)));
            (VariantToInt(FTaskTag.RowValue(t, mandatoryField)) == 1 ? MandatoryTags : OptionalTags) << id;
        }
    }
    return true;
}

// --- The tag-value chooser ------------------------------------------------------------------------

TTagValueChoice::TTagValueChoice(TDataSet& offer) : FOffer(offer)
{
    const int tagField = offer.FieldByName(QStringLiteral("TagID"))->Index();
    const int nameField = offer.FieldByName(QStringLiteral("TagName"))->Index();
    for (int r = 0; r < offer.RecordCount(); ++r) {
        const int tag = VariantToInt(offer.RowValue(r, tagField));
        if (IndexOfTag(tag) < 0) FTags.append({tag, VariantToString(offer.RowValue(r, nameField))});
    }
    // Every change the chooser makes marks its row, so that OK takes exactly those rows.
    offer.SetEvent(TDataSetEvent::BeforePost, TDataSetNotifyEvent::FromCallable([](TDataSet* ds) {
        if (ds->Modified()) ds->FieldByName(QStringLiteral("Changed"))->SetAsInteger(1);
    }, this));
    offer.SetFilter([this](TDataSet& ds) {
        return FIndex >= 0 && ds.FieldByName(QStringLiteral("TagID"))->AsInteger() == FTags[FIndex].TagID;
    });
    offer.SetFiltered(true);
    SetTag(FTags.isEmpty() ? -1 : 0);
}

TTagValueChoice::~TTagValueChoice()
{
    FOffer.SetEvent(TDataSetEvent::BeforePost, {});
    FOffer.SetFiltered(false);
    FOffer.SetFilter({});
}

int TTagValueChoice::IndexOfTag(int tagID) const
{
    for (int i = 0; i < FTags.size(); ++i)
        if (FTags[i].TagID == tagID) return i;
    return -1;
}

void TTagValueChoice::SetTag(int index)
{
    FIndex = index >= 0 && index < FTags.size() ? index : -1;
    FOffer.Refilter();
}

bool TTagValueChoice::Mandatory() const
{
    if (FOffer.IsEmpty()) return true;
    return VariantToInt(FOffer.RowValue(0, FOffer.FieldByName(QStringLiteral("Mandatory"))->Index())) == 1;
}

void TTagValueChoice::SetMandatory(bool value)
{
    const int current = FOffer.RecNo();
    for (FOffer.First(); !FOffer.Eof(); FOffer.Next()) {
        if ((FOffer.FieldByName(QStringLiteral("Mandatory"))->AsInteger() == 1) == value) continue;
        FOffer.Edit();
        FOffer.FieldByName(QStringLiteral("Mandatory"))->SetAsInteger(value ? 1 : 0);
        FOffer.Post();
    }
    if (current > 0) FOffer.SetRecNo(current);
}

void TTagValueChoice::SetSelected(int row, bool value)
{
    FOffer.SetRecNo(row + 1);
    if ((FOffer.FieldByName(QStringLiteral("Selected"))->AsInteger() == 1) == value) return;
    FOffer.Edit();
    FOffer.FieldByName(QStringLiteral("Selected"))->SetAsInteger(value ? 1 : 0);
    FOffer.Post();
}
