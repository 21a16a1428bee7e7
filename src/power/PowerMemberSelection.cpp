#include "power/PowerMemberSelection.h"

#include "foundation/Types.h"

TPowerMemberSelection::TPowerMemberSelection(TUserPowerDM& dm, TPowerEntryKind owner, int ownerID)
    : FDM(dm), FOwner(owner), FOwnerID(ownerID), FCandidates(std::make_unique<TQuery>()),
      FAssigned(owner == TPowerEntryKind::Duty ? dm.qryDutyUser() : dm.qryUserDuty())
{
    const bool duty = owner == TPowerEntryKind::Duty;
    FMemberField = duty ? QStringLiteral("UserID") : QStringLiteral("DutyID");
    TUserPowerDM::OpenWith(FAssigned, duty ? QStringLiteral("DutyID") : QStringLiteral("UserID"), ownerID);
    FCandidates->SetDatabase(&dm.Database());
    // Only active users are offered as members.
    FCandidates->SetSQL(duty ? QStringLiteral("select * from SP_User where Stop = 0") : QStringLiteral("select * from SP_Duty"));
    FCandidates->SetFilter([this](TDataSet& ds) { return !FAssignedIDs.contains(VariantToInt(ds.Value(QStringLiteral("ID")))); });
    FCandidates->SetFiltered(true);
    Refilter();
    FCandidates->Open();
}

TPowerMemberSelection::~TPowerMemberSelection()
{
    try {
        Cancel();
    } catch (...) {
    }
}

void TPowerMemberSelection::Refilter()
{
    FAssignedIDs.clear();
    for (int row = 0; row < FAssigned.RecordCount(); ++row)
        FAssignedIDs.insert(VariantToInt(FAssigned.RowValue(row, FAssigned.FieldByName(FMemberField)->Index())));
    if (FCandidates->Active()) FCandidates->Refilter();
}

bool TPowerMemberSelection::AddCurrent()
{
    TDataSet& c = *FCandidates;
    if (c.IsEmpty() || c.CurrentRow() < 0) return false;
    const int id = VariantToInt(c.Value(QStringLiteral("ID")));
    FAssigned.Append();
    FAssigned.SetValue(FOwner == TPowerEntryKind::Duty ? QStringLiteral("DutyID") : QStringLiteral("UserID"), FOwnerID);
    FAssigned.SetValue(FMemberField, id);
    for (const char* field : {"Code", "Name", "Describe"})
        FAssigned.SetValue(QLatin1String(field), c.Value(QLatin1String(field)));
    FAssigned.Post();
    Refilter();
    return true;
}

bool TPowerMemberSelection::RemoveCurrent()
{
    if (FAssigned.IsEmpty() || FAssigned.CurrentRow() < 0) return false;
    FAssigned.Delete();
    Refilter();
    return true;
}

void TPowerMemberSelection::Apply()
{
    FDM.ApplyMemberships(FAssigned);
}

void TPowerMemberSelection::Cancel()
{
    if (!FAssigned.Active()) return;
    FAssigned.CancelUpdates();
    Refilter();
}
