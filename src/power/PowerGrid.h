#pragma once
// The permission window's grid without the window: one row per module with the rights of the
// current duty or user, which cells are shaded (not offered there), the selected rows edited as one
// group by the grant buttons, and saving the rights of the current target.
#include "power/UserPowerCommon.h"

#include <QList>
#include <QString>

class TUserPowerDM;

struct TPowerGridRow {
    int TypeID = 0;
    int ModID = 0;
    QString ModName;
    bool Selected = false;
    int PowerData = 0;      // granted to the target directly
    int DutyPowerData = 0;  // what the target user has through duties; 0 for a duty
    int PowerDefData = 0;   // the kinds the module offers: its own, or its type's when its own is 0
};

class TPowerGrid {
public:
    // 模块, 选中, then the kinds in the grid's order.
    enum { ModNameColumn = 0, SelectedColumn = 1, FirstKindColumn = 2, ColumnCount = 9 };
    static bool IsKindColumn(int column) { return column >= FirstKindColumn && column < ColumnCount; }
    static TPowerKind KindOfColumn(int column);
    static int ColumnOfKind(TPowerKind kind);
    static QString ColumnTitle(int column);

    explicit TPowerGrid(TUserPowerDM& dm);

    // One row per module of qryModule, in its order, with no target.
    void LoadModules();
    int RowCount() const { return static_cast<int>(FRows.size()); }
    const TPowerGridRow& Row(int row) const { return FRows.at(row); }
    int RowOfModule(int modID) const;

    // The rights of a duty or user; the load is no change. Row selection stays.
    void LoadDuty(int dutyID);
    void LoadUser(int userID);
    // A root is selected: nothing is shown or saved. Pending changes are dropped.
    void ClearTarget();
    bool HasTarget() const { return FTargetID != 0; }
    int TargetID() const { return FTargetID; }
    bool TargetIsUser() const { return FTargetIsUser; }
    // An administrator duty or user holds everything; its grid is neither shown nor edited.
    bool TargetIsAdmin() const { return FTargetIsAdmin; }
    bool Modified() const { return FModified; }

    // Only the modules of one type are shown (0: all).
    void SetTypeFilter(int typeID) { FTypeFilter = typeID; }
    int TypeFilter() const { return FTypeFilter; }
    bool RowVisible(int row) const { return FTypeFilter == 0 || FRows.at(row).TypeID == FTypeFilter; }
    QList<int> VisibleRows() const;

    bool Defined(int row, TPowerKind kind) const;
    // The tick of a kind cell: granted directly or through a duty.
    bool Shown(int row, TPowerKind kind) const;
    // Not offered by the module, or, for a user, already granted through a duty: clicks and grant
    // buttons leave it alone.
    bool Shaded(int row, TPowerKind kind) const;

    // A click on a 选中 or kind cell; false when it changes nothing. Kind changes follow the rules
    // between kinds.
    bool ClickCell(int row, int column);
    // A grant button on every visible selected row that may take the kind; false when no visible
    // row is selected (the button springs back).
    bool Grant(TPowerKind kind, bool value);
    // Selection of the visible rows; no change of rights.
    void SelectAll();
    void SelectNone();
    void InvertSelection();
    // A grant button is down exactly when every selected row's own rights have the kind.
    bool GrantDown(TPowerKind kind);
    TWBSubAppPower& Group() { return FGroup; }

    // Writes every row's rights, filter or not, as the target's rows of SP_DutyPower or
    // SP_UserPower (creating missing ones) in one transaction; nothing without a target or a change.
    // A refused write raises with the user's message and keeps every change pending.
    void Save();

private:
    void BeginLoad(int targetID, bool isUser, bool isAdmin);
    void EndLoad();
    void SetSelected(int row, bool value);
    void SetPowerData(int row, int data);
    bool Editable(int row, TPowerKind kind) const;

    TUserPowerDM& FDM;
    QList<TPowerGridRow> FRows;
    TWBSubAppPower FGroup;
    int FTargetID = 0;
    bool FTargetIsUser = false;
    bool FTargetIsAdmin = false;
    bool FModified = false;
    int FTypeFilter = 0;
};
