#pragma once
// Attribute (counted) data in memory: the defects of a subgroup by defect phenomenon, the
// subgroups of one attribute control item, and the limits and per-point values of the P, nP, U
// and C charts.
#include "engine/ChartBase.h"
#include "engine/ChartData.h"
#include "engine/StringGrid.h"

#include <QHash>
#include <memory>
#include <vector>

class TAttributeData;
class TAttributeDataList;

// The defect counts of one subgroup, in insertion order, at most one entry per DPID.
class TDefectDetail {
public:
    struct TEntry {
        int DPID;
        int Count;
    };

    // ESystemError "DefectID'<dpid>' already exists".
    void AddDefect(int dpid, int count);
    // ESystemError "DefectID'<dpid>' not Found" (also SetDefectCount).
    void RemoveDefect(int dpid);
    void SetDefectCount(int dpid, int count);
    int IndexOfDefect(int dpid) const;
    int Count() const { return static_cast<int>(FEntries.size()); }
    const TEntry& Entry(int i) const;
    // Sum of the counts, leaving out counts that are NullValue.
    int Total() const;
    bool Changed() const { return FChanged; }

private:
    friend class TAttributeData;
    explicit TDefectDetail(TAttributeData* owner) : FOwner(owner) {}
    int Find(int dpid) const;
    void ChangeStep();

    TAttributeData* FOwner;
    std::vector<TEntry> FEntries;
    bool FChanged = false;
};

// One subgroup, owned by its list.
class TAttributeData {
public:
    TAttributeData(const TAttributeData&) = delete;
    TAttributeData& operator=(const TAttributeData&) = delete;

    int SN = NullValue;
    int Defected = 0;  // stored defect total; refreshed by RecountDefects
    TSubgroupState State = ssUnchecked;

    int Index() const { return FIndex; }
    TAttributeDataList* List() const { return FList; }

    int Batch() const { return FBatch; }
    int Inspected() const { return FInspected; }
    int Rejected() const { return FRejected; }
    // A different value is stored and the notification test runs.
    void SetBatch(int x);
    void SetInspected(int x);
    void SetRejected(int x);

    void AddDefect(int dpid, int count) { FDefects.AddDefect(dpid, count); }
    void RemoveDefect(int dpid) { FDefects.RemoveDefect(dpid); }
    void SetDefectCount(int dpid, int count) { FDefects.SetDefectCount(dpid, count); }
    const TDefectDetail& Defects() const { return FDefects; }

    int DefectTotal() const { return FDefects.Total(); }
    int RecountDefects();
    // NullValue when nothing was inspected (or a count is missing).
    double FractionRejected() const;
    double DefectsPerUnit() const;

    QString StateName() const { return ::StateName(State); }
    bool NotifyEnabled() const { return FNotifyEnabled; }
    bool DetailChanged() const { return FDetailChanged; }

private:
    friend class TAttributeDataList;
    friend class TDefectDetail;
    explicit TAttributeData(TAttributeDataList* list) : FList(list), FDefects(this) {}
    void DefectsChanged(bool first);
    void NotifyTest();

    TAttributeDataList* FList;
    int FIndex = 0;
    int FBatch = 0;
    int FInspected = 0;
    int FRejected = 0;
    TDefectDetail FDefects;
    bool FNotifyEnabled = false;
    bool FDetailChanged = false;
};

// The subgroups of one attribute control item in plotting order.
class TAttributeDataList {
public:
    TAttributeDataList() = default;
    ~TAttributeDataList();
    TAttributeDataList(const TAttributeDataList&) = delete;
    TAttributeDataList& operator=(const TAttributeDataList&) = delete;

    int CID() const { return FCID; }
    void SetCID(int cid);

    TAttributeData& NewData();
    void Delete(int i);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TAttributeData& Item(int i) const;
    int IndexOfSN(int sn) const;
    TAttributeData* FindBySN(int sn) const;
    // ESPCDataError when no subgroup has that SN.
    void AddDefectBySN(int sn, int dpid, int count);

    // Refreshes the charts and announces "ADataChange", unless Updating.
    void NotifyChange();

    // Counts every change of the counts of any subgroup (also while Updating), so that chart
    // data can tell whether its totals still hold.
    unsigned Revision() const { return FRevision; }

    TCharacterInfo Info;
    TSPCChartList Charts;  // not owned
    bool Updating = false;

private:
    friend class TAttributeData;
    int FCID = NullValue;
    unsigned FRevision = 0;
    std::vector<std::unique_ptr<TAttributeData>> FItems;
};

// The data behind one P, nP, U or C chart.
class TAttributeChartData : public TListChartData<TAttributeDataList> {
public:
    TAttributeChartData() = default;

    // The centre line from the data (and the nP limits); the totals are recomputed each time, so
    // a computed centre line follows the data.
    void CalcLimits() override;

    // The sums over the subgroups (counts that are NullValue left out); NullValue while nothing
    // is bound. They follow the data. 64-bit, so that long histories cannot overflow them.
    long long TotalInspected() const;
    long long TotalRejected() const;
    long long TotalDefects() const;

    double PBar = NullValue;
    double NPBar = NullValue;
    double UBar = NullValue;
    double CBar = NullValue;

    // LimitInfo.CL clamped at 0: the centre line drawn and checked.
    double CL() const;
    // The limits at point i: stepped with the inspected count for P and U (a subgroup with nothing
    // inspected has none: 0), the stored ones for nP, around the centre for C; 0 for any other
    // type and while nothing at all is inspected.
    double UCLAt(int i) const;
    double LCLAt(int i) const;
    double ValueAt(int i) const;

protected:
    void DataListChanged() override;

private:
    void UpdateTotals(bool force) const;
    // Whether point i has limits of its own; if so, the three-sigma half-width around cl.
    bool HalfWidthAt(int i, double cl, double& width) const;

    mutable long long FTotalInspected = NullValue;
    mutable long long FTotalRejected = NullValue;
    mutable long long FTotalDefects = NullValue;
    // The list and revision the totals were summed over; none until first asked.
    mutable const TAttributeDataList* FTotalsOf = nullptr;
    mutable unsigned FTotalsRevision = 0;
};

// One row of counted data as loaders read it (the command line's CSV files, the test data sets).
// Without a phenomenon, Count is the rejected units (P, nP) or the defects (U, C, phenomenon 1)
// of a subgroup of its own; with one, Count is that phenomenon's defects, and the rows of one SN
// make one subgroup (inspected as its first row says).
struct TAttributeRow {
    int SN = NullValue;
    int Inspected = 0;
    int Count = 0;
    int DPID = NullValue;
};

enum class TAttributeRowResult {
    Added,
    DuplicateSN,             // a second row for a subgroup that takes one row
    RejectedAboveInspected,  // more rejected units than inspected
    DuplicateDefect,         // a phenomenon given twice for one subgroup
};

// Adds rows to a list as the loading windows fill a subgroup (the stored defect total is
// recounted). The list's Updating is set while the loader lives; a refused row changes nothing.
class TAttributeRowLoader {
public:
    TAttributeRowLoader(TAttributeDataList& list, bool defects);
    ~TAttributeRowLoader();
    TAttributeRowLoader(const TAttributeRowLoader&) = delete;
    TAttributeRowLoader& operator=(const TAttributeRowLoader&) = delete;

    [[nodiscard]] TAttributeRowResult Add(const TAttributeRow& row);

private:
    TAttributeDataList& FList;
    bool FDefects;
    bool FUpdating;
    QHash<int, TAttributeData*> FBySN;  // the list's subgroups by SN, so long files load in linear time
};

// The rows in order; the position of the first refused row (which ends the load), −1 when every
// row was added.
int AddAttributeRows(TAttributeDataList& list, const std::vector<TAttributeRow>& rows, bool defects,
                     TAttributeRowResult* refusal = nullptr);

// The name of a defect phenomenon; empty when there is no such row.
QString DefectPhenomenonName(int dpid);

// Fills the data grid under an attribute chart.
class TAttributeDataViewAgent {
public:
    TAttributeDataViewAgent(TAttributeDataList* list, TChartType chartType, TStringGrid* grid)
        : FList(list), FChartType(chartType), FGrid(grid) {}
    bool Active() const { return FActive; }
    void SetActive(bool flag);
    void Fill();

    static constexpr int MaxPhenomenonRows = 50;

private:
    TAttributeDataList* FList;
    TChartType FChartType;
    TStringGrid* FGrid;
    bool FActive = false;
};
