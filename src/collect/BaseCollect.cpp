#include "collect/BaseCollect.h"

#include "collect/CollectInput.h"
#include "foundation/CommandCentre.h"
#include "foundation/CompanyDM.h"
#include "foundation/RecordUtils.h"

TBaseCollect::TBaseCollect(TCompanyDM* dm) : Tags(dm), FDM(dm)
{
    Tags.SubgroupStaged = [this](int cid, int sn) { return HasMaster(cid, sn); };
}

TBaseCollect::~TBaseCollect() = default;

void TBaseCollect::InitValueRows(TMemTable& rows)
{
    rows.SetFilter([this](TDataSet& ds) { return ds.Fields(0)->AsInteger() == FCurCID; });
    rows.SetFiltered(true);
    rows.CreateDataSet();
}

bool TBaseCollect::SelectControlItem()
{
    TCommand& command = CollectCommand(SelectCommandName());
    command.SetParamValue(QStringLiteral("ID"), FCurCID);
    command.Execute();
    if (command.GetParamValue(QStringLiteral("UnSelected")).toBool()) return false;
    const int id = VariantToInt(command.GetParamValue(QStringLiteral("ID")));
    if (id == NullValue || id == FCurCID) return false;
    SetControlItem(id, VariantToString(command.GetParamValue(QStringLiteral("Name"))));
    return true;
}

void TBaseCollect::SetControlItem(int cid, const QString& name, bool append)
{
    if (!FItems.contains(cid)) {
        CreateItem(cid);
        FItems << cid;
    }
    FItemNames.insert(cid, name);
    FCurCID = cid;
    FCurName = name;
    ItemRefreshed();
    TDataSet& rows = ValueRows();
    if (rows.State() != TDataSetState::Browse) rows.Post();
    rows.Refilter();
    GoToRow(ResumeRow());
    Tags.SetCurCID(cid);
    FollowCurrentRow();
    if (append && rows.IsEmpty() && AppendBlock()) {
        GoToRow(ResumeRow());
        FollowCurrentRow();
    }
}

int TBaseCollect::RowInt(int row, int field) const
{
    return VariantToInt(ValueRowsConst().RowValue(row, field));
}

std::pair<int, int> TBaseCollect::BlockOf(int row) const
{
    const TDataSet& rows = ValueRowsConst();
    const int sn = RowInt(row, 1);
    int first = row;
    int last = row;
    while (first > 0 && RowInt(first - 1, 1) == sn) --first;
    while (last + 1 < rows.RecordCount() && RowInt(last + 1, 1) == sn) ++last;
    return {first, last};
}

void TBaseCollect::GoToRow(int row)
{
    TDataSet& rows = ValueRows();
    if (row >= 0 && row < rows.RecordCount() && rows.CurrentRow() != row) rows.SetRecNo(row + 1);
}

void TBaseCollect::ReserveSampleNumbers(int count)
{
    if (FCurCID == NullValue) RaiseError(QStringLiteral("请先选择质量特性！"));
    if (count < 1) return;
    FReservedCID = FCurCID;
    FReservedNext = GetModulePrimaryKeys(FCurCID, count);
    FReservedEnd = FReservedNext + count;
}

int TBaseCollect::DrawSampleNumber()
{
    if (FReservedCID == FCurCID && FReservedNext < FReservedEnd) return FReservedNext++;
    return GetModulePrimaryKey(FCurCID);
}

void TBaseCollect::SetBusyFields(const QList<QPair<int, QVariant>>& values)
{
    TBusyScope busy(FBusy);
    TDataSet& rows = ValueRows();
    rows.Edit();
    for (const auto& v : values) rows.Fields(v.first)->SetValue(v.second);
    rows.Post();
}

void TBaseCollect::FollowCurrentRow()
{
    const TDataSet& rows = ValueRows();
    const int row = rows.CurrentRow();
    if (row < 0) return;
    const int cid = RowInt(row, 0);
    if (cid == NullValue) return;
    Tags.SetCurCID(cid);
    Tags.SetCurSGNo(RowInt(row, 1));
}

void TBaseCollect::SetCurrentRow(int row)
{
    GoToRow(row);
    FollowCurrentRow();
}

int TBaseCollect::CurrentSubgroup() const
{
    const int row = ValueRowsConst().CurrentRow();
    return row < 0 ? NullValue : RowInt(row, 1);
}

int TBaseCollect::ResumeRow() const
{
    const TDataSet& rows = ValueRowsConst();
    const int last = rows.RecordCount() - 1;
    if (last < 0) return -1;
    const QString field = rows.Fields(DataField())->FieldName();
    const auto [first, end] = BlockOf(last);
    for (int r = first; r <= end; ++r)
        if (CellEditable(r, field) && RowField(r, DataField()).toString().isEmpty()) return r;
    return last;
}

bool TBaseCollect::LocateSubgroup(int cid, int sn)
{
    if (cid != FCurCID) {
        if (!FItems.contains(cid)) return false;
        SetControlItem(cid, FItemNames.value(cid), false);
    }
    TDataSet& rows = ValueRows();
    for (int r = 0; r < rows.RecordCount(); ++r)
        if (RowInt(r, 1) == sn) {
            GoToRow(r);
            FollowCurrentRow();
            return true;
        }
    return false;
}

bool TBaseCollect::GotoMaster(int cid, int sn)
{
    const auto it = FMaster.constFind(Key(cid, sn));
    return it != FMaster.constEnd() && MasterSet().GotoBookmark(*it);
}

void TBaseCollect::AddMaster(int cid, int sn)
{
    FMaster.insert(Key(cid, sn), MasterSet().GetBookmark());
}

void TBaseCollect::RemoveMaster(int cid, int sn)
{
    if (GotoMaster(cid, sn)) MasterSet().Delete();
    FMaster.remove(Key(cid, sn));
}

bool TBaseCollect::SubgroupStored(int cid, int sn)
{
    return GotoMaster(cid, sn) && MasterSet().UpdateStatus() != TUpdateStatus::Inserted;
}

void TBaseCollect::DeleteSubgroup(int cid, int sn)
{
    if (cid == NullValue || sn == NullValue) return;
    if (!LocateSubgroup(cid, sn)) return;
    const bool stored = SubgroupStored(cid, sn);
    {
        TBusyScope busy(FBusy);
        Tags.ClearSubgroupTags(cid, sn);
        RemoveSubgroup(cid, sn);
    }
    if (stored) FStoredDeletions.append({cid, sn});
    // An item left without rows gets a fresh block, so that keying can go on.
    if (ValueRows().IsEmpty()) AppendBlock();
    FollowCurrentRow();
}

bool TBaseCollect::HasPendingChanges() const
{
    auto* self = const_cast<TBaseCollect*>(this);
    const TDataSetState state = ValueRowsConst().State();
    if (state == TDataSetState::Edit || state == TDataSetState::Insert) return true;
    if (Tags.UpdatesPending() || !FStoredDeletions.isEmpty()) return true;
    for (TDataSet* ds : self->PendingSets())
        if (ds->UpdatesPending()) return true;
    return false;
}

void TBaseCollect::Save()
{
    TDataSet& rows = ValueRows();
    if (rows.State() != TDataSetState::Browse) rows.Post();
    CheckBeforeSave();
    TCompanyDM& dm = FDM ? *FDM : CurrentCompanyDM();
    {
        TTransactionGuard guard(dm);
        for (TDataSet* ds : PendingSets()) ds->ApplyUpdates();
        Tags.ApplyTagUpdates();
        // What hangs on a deleted stored subgroup (exceptions, causes, actions) goes with it.
        for (const auto& [cid, sn] : std::as_const(FStoredDeletions)) DeleteStored(cid, sn);
        guard.Commit();
    }
    FStoredDeletions.clear();
}
