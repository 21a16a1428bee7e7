#include "collect/TagInput.h"

#include "collect/CollectInput.h"
#include "collect/InfoProvider.h"
#include "foundation/CommandCentre.h"
#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>

TTagInput::TTagInput(TCompanyDM* dm, QObject* parent) : QObject(parent)
{
    CDSDataTag.setObjectName(QStringLiteral("CDSDataTag"));
    CDSDataTag.AddFieldDef(QStringLiteral("CID"), TFieldType::Integer);
    CDSDataTag.AddFieldDef(QStringLiteral("SGNo"), TFieldType::Integer);
    CDSDataTag.AddFieldDef(QStringLiteral("TagID"), TFieldType::Integer);
    CDSDataTag.AddFieldDef(QStringLiteral("TagName"), TFieldType::String, TextSize);
    CDSDataTag.AddFieldDef(QStringLiteral("TagValueID"), TFieldType::Integer);
    CDSDataTag.AddFieldDef(QStringLiteral("TagValue"), TFieldType::String, TextSize);
    CDSDataTag.CreateDataSet();

    qryDataTag.setObjectName(QStringLiteral("qryDataTag"));
    qryDataTag.SetDatabase(dm);
    qryDataTag.SetSQL(QStringLiteral("select * from D_Tag where 1=0"));
    TUpdateSQL* uds = qryDataTag.InternalUpdateSQL();
    uds->SetInsertSQL(QStringList{"insert into D_Tag", "(CID, SN, TagID, TagValueID)", "values",
                                  "(:CID, :SN, :TagID, :TagValueID)"});
    uds->SetModifySQL(QStringList{"update D_Tag", "set", "CID = :CID,", "SN = :SN,", "TagID = :TagID,",
                                  "TagValueID = :TagValueID", "where", "CID = :OLD_CID and", "SN = :OLD_SN and",
                                  "TagID = :OLD_TagID"});
    uds->SetDeleteSQL(QStringList{"delete from D_Tag", "where", "CID = :OLD_CID and", "SN = :OLD_SN and",
                                  "TagID = :OLD_TagID"});
    qryDataTag.Open();
}

TTagInput::~TTagInput() = default;

quint64 TTagInput::Key(int cid, int sn)
{
    return (quint64(quint32(cid)) << 32) | quint32(sn);
}

void TTagInput::SetCurCID(int cid)
{
    if (cid == FCurCID) return;
    if (!FRegistry.contains(cid)) FRegistry.insert(cid, TTemplateEntry{});
    FCurCID = cid;
    RefreshVisible();
}

void TTagInput::SetCurSGNo(int sn)
{
    if (sn == FCurSGNo) return;
    FCurSGNo = sn;
    RefreshVisible();
}

void TTagInput::SetTemplate(int templateID)
{
    auto it = FRegistry.find(FCurCID);
    if (it == FRegistry.end()) return;
    if (it->TagTemplateID != templateID) it->DetailLoaded = false;
    it->TagTemplateID = templateID;
}

int TTagInput::TemplateOf(int cid) const
{
    const auto it = FRegistry.constFind(cid);
    return it == FRegistry.constEnd() ? NullValue : it->TagTemplateID;
}

void TTagInput::LoadTemplateDetail()
{
    auto it = FRegistry.find(FCurCID);
    if (it == FRegistry.end() || it->TagTemplateID == NullValue) return;
    if (it->DetailLoaded) return;
    QList<TTagRow>& rows = FDetail[FCurCID];
    rows.clear();
    QSqlQuery q = CurrentCompanyDM().Exec(
        QStringLiteral("Select a.TagID, a.TagValueID, (select TagName from L_Tag b where a.TagID = b.TagID) as TagName, "
                       "(Select TagValue from L_TagValue c where c.TagID = a.TagID and c.TagValueID = a.TagValueID) "
                       "as TagValue From L_TagTemplateDetail a where a.TagTemplateID = :TagTemplateID "
                       "order by a.TagTemplateDetailID"),
        {{QStringLiteral("TagTemplateID"), it->TagTemplateID}});
    while (q.next()) {
        TTagRow row;
        row.TagID = VariantToInt(q.value(0));
        row.TagValueID = VariantToInt(q.value(1));
        row.TagName = VariantToString(q.value(2)).left(TextSize);
        row.TagValue = row.TagValueID == NullValue ? QString() : VariantToString(q.value(3)).left(TextSize);
        rows << row;
    }
    it->DetailLoaded = true;
}

void TTagInput::ApplyTemplate()
{
    if (FCurCID == NullValue) RaiseError(QStringLiteral("CurCID未赋值"));
    LoadTemplateDetail();
    if (FCurSGNo == NullValue || TemplateOf(FCurCID) == NullValue) return;
    FBusy = true;
    QList<TTagRow>& rows = CurrentRows();
    for (const TTagRow& detail : FDetail.value(FCurCID)) rows << detail;
    FBusy = false;
    RefreshVisible();
}

QList<TTagRow>& TTagInput::CurrentRows()
{
    return FTags[Key(FCurCID, FCurSGNo)];
}

QList<TTagRow> TTagInput::Tags(int cid, int sn) const
{
    return FTags.value(Key(cid, sn));
}

bool TTagInput::Staged(int cid, int sn) const
{
    return SubgroupStaged && SubgroupStaged(cid, sn);
}

void TTagInput::StageSubgroupTags()
{
    StageSubgroupTags(FCurCID, FCurSGNo);
}

void TTagInput::StageSubgroupTags(int cid, int sn)
{
    const quint64 key = Key(cid, sn);
    const auto rows = FTags.constFind(key);
    if (rows == FTags.constEnd()) return;
    QHash<int, TDataSet::TBookmark>& pending = FPending[key];
    for (const TTagRow& row : *rows) {
        if (pending.contains(row.TagID)) continue;
        qryDataTag.Append();
        qryDataTag.FieldByName(QStringLiteral("CID"))->SetValue(cid);
        qryDataTag.FieldByName(QStringLiteral("SN"))->SetValue(sn);
        qryDataTag.FieldByName(QStringLiteral("TagID"))->SetValue(row.TagID);
        qryDataTag.FieldByName(QStringLiteral("TagValueID"))->SetValue(row.TagValueID);
        qryDataTag.Post();
        pending.insert(row.TagID, qryDataTag.GetBookmark());
    }
}

void TTagInput::UnstageSubgroupTags(int cid, int sn)
{
    auto it = FPending.find(Key(cid, sn));
    if (it == FPending.end()) return;
    for (auto p = it->begin(); p != it->end();) {
        if (qryDataTag.GotoBookmark(p.value()) && qryDataTag.UpdateStatus() == TUpdateStatus::Inserted) {
            qryDataTag.Delete();
            p = it->erase(p);
        } else {
            ++p;
        }
    }
    if (it->isEmpty()) FPending.erase(it);
}

void TTagInput::ClearSubgroupTags()
{
    ClearSubgroupTags(FCurCID, FCurSGNo);
}

void TTagInput::ClearSubgroupTags(int cid, int sn)
{
    const quint64 key = Key(cid, sn);
    auto it = FPending.find(key);
    if (it != FPending.end()) {
        for (const TDataSet::TBookmark bookmark : std::as_const(*it))
            if (qryDataTag.GotoBookmark(bookmark)) qryDataTag.Delete();
        FPending.erase(it);
    }
    FTags.remove(key);
    if (cid == FCurCID && sn == FCurSGNo) RefreshVisible();
}

bool TTagInput::TagsComplete(int cid, int sn) const
{
    for (const TTagRow& row : FTags.value(Key(cid, sn)))
        if (row.TagValueID == NullValue) return false;
    return true;
}

bool TTagInput::CheckTagsComplete()
{
    if (TagsComplete(FCurCID, FCurSGNo)) return true;
    ShowInfo(QStringLiteral("标签未指定取值，请检查！"));
    return false;
}

void TTagInput::SelectTemplate()
{
    TCommand& command = CollectCommand(QStringLiteral("SelectTagTemplate"));
    command.SetParamValue(QStringLiteral("ID"), TemplateOf(FCurCID));
    command.Execute();
    const bool unselected = command.GetParamValue(QStringLiteral("UnSelected")).toBool();
    const int id = VariantToInt(command.GetParamValue(QStringLiteral("ID")));
    if (unselected) {
        SetTemplate(NullValue);
        ClearSubgroupTags();
    } else if (id != NullValue) {
        SetTemplate(id);
        ClearSubgroupTags();
        ApplyTemplate();
        if (Staged(FCurCID, FCurSGNo)) StageSubgroupTags();
    }
}

void TTagInput::SelectValue(int row)
{
    QList<TTagRow>& rows = CurrentRows();
    if (row < 0 || row >= rows.size() || rows[row].TagID == NullValue) return;
    TCommand& command = CollectCommand(QStringLiteral("SelectTagValue"));
    command.SetParamValue(QStringLiteral("TagID"), rows[row].TagID);
    command.SetParamValue(QStringLiteral("TagValue"), QString());
    command.SetParamValue(QStringLiteral("TagValueID"), rows[row].TagValueID);
    command.Execute();
    if (command.GetParamValue(QStringLiteral("UnSelected")).toBool()) {
        SetTagValue(row, NullValue, QString());
        return;
    }
    const int id = VariantToInt(command.GetParamValue(QStringLiteral("TagValueID")));
    if (id == NullValue) return;
    SetTagValue(row, id, VariantToString(command.GetParamValue(QStringLiteral("TagValue"))));
}

void TTagInput::SetTagValue(int row, int tagValueID, const QString& tagValue)
{
    QList<TTagRow>& rows = CurrentRows();
    if (row < 0 || row >= rows.size()) return;
    TTagRow& tag = rows[row];
    tag.TagValueID = tagValueID;
    tag.TagValue = tagValueID == NullValue ? QString() : tagValue.left(TextSize);
    // The pending row follows the panel's row.
    const auto pending = FPending.constFind(Key(FCurCID, FCurSGNo));
    if (pending != FPending.constEnd()) {
        const auto bookmark = pending->constFind(tag.TagID);
        if (bookmark != pending->constEnd() && qryDataTag.GotoBookmark(*bookmark)) {
            qryDataTag.Edit();
            qryDataTag.FieldByName(QStringLiteral("TagValueID"))->SetValue(tagValueID);
            qryDataTag.Post();
        }
    }
    // A chosen value becomes the start value of the control item's later subgroups.
    if (tagValueID != NullValue)
        for (TTagRow& detail : FDetail[FCurCID])
            if (detail.TagID == tag.TagID) {
                detail.TagValueID = tag.TagValueID;
                detail.TagValue = tag.TagValue;
            }
    RefreshVisible(row);
}

void TTagInput::LoadStoredTags()
{
    // Loaded subgroups without tags replace what was shown before all the same.
    FBusy = true;
    FTags.clear();
    FPending.clear();
    TTagValueInfoProvider provider;
    for (qryDataTag.First(); !qryDataTag.Eof(); qryDataTag.Next()) {
        TTagRow row;
        const int cid = qryDataTag.FieldByName(QStringLiteral("CID"))->AsInteger();
        const int sn = qryDataTag.FieldByName(QStringLiteral("SN"))->AsInteger();
        row.TagID = qryDataTag.FieldByName(QStringLiteral("TagID"))->AsInteger();
        row.TagValueID = qryDataTag.FieldByName(QStringLiteral("TagValueID"))->AsInteger();
        if (provider.Lookup(QVariantList{row.TagID, row.TagValueID})) {
            row.TagName = provider.TagName().left(TextSize);
            row.TagValue = provider.TagValue().left(TextSize);
        }
        FTags[Key(cid, sn)] << row;
        FPending[Key(cid, sn)].insert(row.TagID, qryDataTag.GetBookmark());
    }
    FBusy = false;
    RefreshVisible();
}

void TTagInput::ApplyTagUpdates()
{
    qryDataTag.ApplyUpdates();
}

bool TTagInput::UpdatesPending() const
{
    return qryDataTag.UpdatesPending();
}

void TTagInput::RefreshVisible(int keepRow)
{
    FBusy = true;
    CDSDataTag.DisableControls();
    CDSDataTag.EmptyDataSet();
    for (const TTagRow& row : FTags.value(Key(FCurCID, FCurSGNo)))
        CDSDataTag.AppendRecord({FCurCID, FCurSGNo, row.TagID, row.TagName,
                                 row.TagValueID == NullValue ? QVariant() : QVariant(row.TagValueID), row.TagValue});
    CDSDataTag.EnableControls();
    if (!CDSDataTag.IsEmpty()) CDSDataTag.SetRecNo(qBound(1, keepRow + 1, CDSDataTag.RecordCount()));
    FBusy = false;
    emit TagsChanged();
}
