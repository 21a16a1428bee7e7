#pragma once
// Choosing the members of a duty or the duties of a user without the dialog: the candidates not
// yet assigned on one side, the assigned ones (cached rows of SP_UserDuty) on the other, and the
// changes written in one transaction.
#include "foundation/SqlQuery.h"
#include "power/UserPowerDM.h"

#include <QSet>
#include <memory>

class TPowerMemberSelection {
public:
    // For a duty (owner Duty): the active users and the duty's members (qryDutyUser). For a user:
    // every duty and the user's duties (qryUserDuty).
    TPowerMemberSelection(TUserPowerDM& dm, TPowerEntryKind owner, int ownerID);
    // Whatever was not applied is discarded.
    ~TPowerMemberSelection();
    TPowerMemberSelection(const TPowerMemberSelection&) = delete;
    TPowerMemberSelection& operator=(const TPowerMemberSelection&) = delete;

    // Rows with ID, Code, Name, Describe; those already assigned are filtered out.
    TDataSet& Candidates() { return *FCandidates; }
    // Rows with DutyID, UserID, Code, Name, Describe.
    TDataSet& Assigned() { return FAssigned; }
    // The candidates' current row becomes assigned; false when there is none.
    bool AddCurrent();
    // The assigned current row goes back to the candidates; false when there is none.
    bool RemoveCurrent();
    bool Modified() const { return FAssigned.UpdatesPending(); }
    // Writes the changes in one transaction; raises (and keeps them pending) when the database
    // refuses them or no administrator would be left.
    void Apply();
    void Cancel();

private:
    void Refilter();

    TUserPowerDM& FDM;
    TPowerEntryKind FOwner;
    int FOwnerID;
    std::unique_ptr<TQuery> FCandidates;
    TZCQuery& FAssigned;
    QString FMemberField;  // the assigned rows' field that names a candidate
    QSet<int> FAssignedIDs;
};
