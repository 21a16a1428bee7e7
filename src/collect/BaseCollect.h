#pragma once
// What the variable and attribute collection share without a window: the current control item and
// the control items met, the value rows in blocks per subgroup (filtered to the current item), the
// pending subgroup rows, the tag panel's logic, deleting a subgroup and the save of every pending
// change of every control item in one transaction.
#include "collect/TagInput.h"
#include "engine/SPCTypes.h"
#include "foundation/DataSet.h"
#include "foundation/Types.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <utility>

class TCompanyDM;

class TBaseCollect {
public:
    // Everything is written through dm (nullptr: the current connection).
    explicit TBaseCollect(TCompanyDM* dm = nullptr);
    virtual ~TBaseCollect();
    TBaseCollect(const TBaseCollect&) = delete;
    TBaseCollect& operator=(const TBaseCollect&) = delete;

    int CurCID() const { return FCurCID; }
    const QString& CurName() const { return FCurName; }
    bool Busy() const { return FBusy; }
    // The sample number of the block appended last (0 before the first).
    int LastSGNo() const { return FLastSGNo; }

    // "质量特性(&C)": the item selection command; true when another control item became current.
    bool SelectControlItem();
    // Makes a control item current (the first time its data list is created) and shows its rows;
    // with append, a control item without rows gets its first block.
    void SetControlItem(int cid, const QString& name, bool append = true);

    // The value rows of the grid (only the current control item's are visible).
    virtual TDataSet& ValueRows() = 0;
    // A new block for the next subgroup of the current control item; false when the checks
    // before it failed (their message has been shown).
    virtual bool AppendBlock() = 0;
    // Sample numbers for the next count blocks of the current control item, drawn at once (an
    // import knows how many it needs); numbers left unused are a gap, as an abandoned block is.
    void ReserveSampleNumbers(int count);
    // Enter in the grid on the current row.
    virtual void EnterPressed() = 0;
    // What the user typed into a cell of a visible row (0-based): checked, stored and staged.
    // Refused text raises the message and leaves the cell as it was.
    virtual void SetCellText(int row, const QString& fieldName, const QString& text) = 0;
    // Whether a cell of a visible row takes input.
    virtual bool CellEditable(int row, const QString& fieldName) const = 0;

    // The grid's current row moved (0-based visible row): the tag panel follows.
    void SetCurrentRow(int row);
    // The subgroup of the current row; NullValue when there is none.
    int CurrentSubgroup() const;
    // Makes the control item current if it is not, and moves to the subgroup's first row.
    bool LocateSubgroup(int cid, int sn);
    // Whether a subgroup has been written to the database (by an earlier save).
    bool SubgroupStored(int cid, int sn);
    // "删除子组": the subgroup leaves the data list, the grid and the pending rows; a stored one is
    // deleted with its tags, exceptions, causes and actions at the next save.
    void DeleteSubgroup(int cid, int sn);
    // The sample number of the subgroup a chart of the control item shows as point index.
    virtual int SNOfPoint(int cid, int index) const = 0;

    // Chart types of the chart menu and whether the current control item offers each.
    virtual QList<TChartType> ChartTypes() const = 0;
    virtual bool ChartAvailable(TChartType type) const = 0;

    // Changes not yet written (a row being edited counts).
    bool HasPendingChanges() const;
    // Checks every staged subgroup of every control item, then writes everything in one
    // transaction. A refused check or a failed write raises; the changes then stay pending.
    void Save();

    TTagInput Tags;

protected:
    static quint64 Key(int cid, int sn) { return (quint64(quint32(cid)) << 32) | quint32(sn); }

    virtual QString SelectCommandName() const = 0;
    // The first choice of a control item in this window: its data list and what else it needs.
    virtual void CreateItem(int cid) = 0;
    virtual void ItemRefreshed() {}
    // Where keying goes on when an item's rows are shown again: the first empty value row of
    // its last block (the last row when there is none).
    virtual int ResumeRow() const;
    // The field of the value rows that holds the keyed figure.
    virtual int DataField() const = 0;
    // The checks of the save; raise with the message.
    virtual void CheckBeforeSave() = 0;
    // The pending sets in the order they are written, the pending subgroup rows first.
    virtual QList<TDataSet*> PendingSets() = 0;
    virtual TDataSet& MasterSet() = 0;
    // Removes the subgroup's rows, pending rows and data-list entry (the current item's).
    virtual void RemoveSubgroup(int cid, int sn) = 0;
    // Deletes a stored subgroup with everything that hangs on it (inside the save transaction).
    virtual void DeleteStored(int cid, int sn) = 0;

    // Visible rows of the value table: the first and last row (0-based) of the block of a row.
    std::pair<int, int> BlockOf(int row) const;
    int RowInt(int row, int field) const;
    QVariant RowField(int row, int field) const { return ValueRowsConst().RowValue(row, field); }
    const TDataSet& ValueRowsConst() const { return const_cast<TBaseCollect*>(this)->ValueRows(); }
    // Opens the value table with its filter on the current control item (CID is field 0, SGNo 1).
    void InitValueRows(TMemTable& rows);
    // The sample number of a new block of the current control item: from the reserve, else drawn.
    int DrawSampleNumber();
    // Edits fields of the current value row without staging anything.
    void SetBusyFields(const QList<QPair<int, QVariant>>& values);
    // The tag panel shows the current row's subgroup.
    void FollowCurrentRow();
    // Moves the value rows' cursor to a visible row (0-based).
    void GoToRow(int row);

    // The pending subgroup row of (cid, sn), positioned on; false when there is none.
    bool GotoMaster(int cid, int sn);
    void AddMaster(int cid, int sn);
    void RemoveMaster(int cid, int sn);
    bool HasMaster(int cid, int sn) const { return FMaster.contains(Key(cid, sn)); }

    TCompanyDM* FDM;
    int FCurCID = NullValue;
    QString FCurName;
    int FLastSGNo = 0;
    bool FBusy = false;
    QList<int> FItems;  // control items met, in order
    QHash<int, QString> FItemNames;
    QHash<quint64, TDataSet::TBookmark> FMaster;
    QList<QPair<int, int>> FStoredDeletions;
    int FReservedCID = NullValue;
    int FReservedNext = 0, FReservedEnd = 0;  // numbers [next, end) of the reserve
};

// Sets the busy flag for a scope.
class TBusyScope {
public:
    explicit TBusyScope(bool& flag) : FFlag(flag), FOld(flag) { FFlag = true; }
    ~TBusyScope() { FFlag = FOld; }

private:
    bool& FFlag;
    bool FOld;
};
