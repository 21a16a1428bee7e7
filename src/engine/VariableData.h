#pragma once
// Variable (measured) data in memory: the values of a subgroup, the subgroups of one control
// item, their statistics, and the limits and per-point values of the XBar-R, XBar-S and X-Rm
// charts.
#include "engine/ChartBase.h"
#include "engine/ChartData.h"
#include "engine/StringGrid.h"

#include <memory>
#include <vector>

class TVariableDataList;

// The values of one subgroup in entry order; positions run from 0.
using TVariableDetail = TCheckedList<double>;

// One subgroup, owned by its list.
class TVariableData {
public:
    TVariableData(const TVariableData&) = delete;
    TVariableData& operator=(const TVariableData&) = delete;

    int SN = NullValue;                  // sample number, unique within the item
    TSubgroupState State = ssUnchecked;  // rule-check state

    int Index() const { return FIndex; }  // current position in the list
    TVariableDataList* List() const { return FList; }

    // Each change of the values makes the statistics follow the values from then on and runs the
    // notification test.
    void AddValue(double x);
    void DeleteValue(int i);
    void SetValue(int i, double x);  // an equal value changes nothing
    int ValueCount() const { return FValues.Count(); }
    double Value(int i) const { return FValues.Item(i); }
    const TVariableDetail& Values() const { return FValues; }

    // Until the first value change these are the stored statistics put in place by the loader
    // (SetMean/SetR/SetS); afterwards they are computed from the values. NullValue where there is
    // nothing to compute (no values; S of fewer than two values; Rm without a partner value).
    double GetMean() const;
    double GetR() const;
    double GetS() const;
    double GetRm() const;
    // For loaders: a different value is stored and the notification test runs.
    void SetMean(double x);
    void SetR(double x);
    void SetS(double x);

    QString StateName() const { return ::StateName(State); }
    bool NeedsCalc() const { return FNeedsCalc; }
    bool NotifyEnabled() const { return FNotifyEnabled; }

private:
    friend class TVariableDataList;
    explicit TVariableData(TVariableDataList* list) : FList(list) {}
    void Changed();
    void NotifyTest();

    TVariableDataList* FList;
    int FIndex = 0;
    TVariableDetail FValues;
    // The cached statistics; while FNeedsCalc a stale one is recomputed on its next read.
    mutable double FMean = NullValue;
    mutable double FR = NullValue;
    mutable double FS = NullValue;
    mutable double FRm = 0;
    mutable bool FMeanStale = false;
    mutable bool FRStale = false;
    mutable bool FSStale = false;
    bool FNeedsCalc = false;
    bool FNotifyEnabled = false;
};

// The subgroups of one control item in plotting order.
class TVariableDataList {
public:
    TVariableDataList() = default;
    ~TVariableDataList();
    TVariableDataList(const TVariableDataList&) = delete;
    TVariableDataList& operator=(const TVariableDataList&) = delete;

    int CID() const { return FCID; }
    // Loads the item header; the subgroups are not touched.
    void SetCID(int cid);

    TVariableData& NewData();
    // Later subgroups move down one position. Out of range: ESPCDataError.
    void Delete(int i);
    void Clear();  // last first
    int Count() const { return static_cast<int>(FItems.size()); }
    TVariableData& Item(int i) const;
    int IndexOfSN(int sn) const;  // the subgroup with that SN (unique in a list), −1 if none
    TVariableData* FindBySN(int sn) const;
    // ESPCDataError when no subgroup has that SN.
    void AddValueBySN(int sn, double x);
    int SampleSize() const { return Info.SampleSize; }

    // Refreshes the charts and announces "VDataChange", unless Updating.
    void NotifyChange(int index);

    TCharacterInfo Info;
    TSPCChartList Charts;  // not owned
    bool Updating = false;  // set around bulk clearing and loading

private:
    int FCID = NullValue;
    std::vector<std::unique_ptr<TVariableData>> FItems;
};

// The subgroup formulas (stateless).
class TVariableCalc {
public:
    static double CalcMean(const TVariableData& data);
    static double CalcRange(const TVariableData& data);
    // Divisor n − 1, as the A3, B3, B4 and c4 factors assume; NullValue below two values.
    static double CalcStdDev(const TVariableData& data);
    // |first value − first value of the subgroup Step positions earlier|. A step below 1
    // raises ESystemError "移动极差的步长应大于或等于1".
    static double CalcMovingRange(const TVariableData& data);
};

// The data behind one XBar-R, XBar-S or X-Rm chart.
class TVariableChartData : public TListChartData<TVariableDataList> {
public:
    TVariableChartData() = default;

    // Centre lines and limits from the data (planned subgroup size n of the item). A missing
    // factor raises before anything is written; no subgroups leave LimitInfo unchanged.
    void CalcLimits() override;

    double MainCL() const { return LimitInfo.MCL; }
    double MainUCL() const { return LimitInfo.MUCL; }
    double MainLCL(int) const { return LimitInfo.MLCL; }
    double SubCL() const { return LimitInfo.SCL; }
    double SubUCL() const { return LimitInfo.SUCL; }
    double SubLCL(int) const { return LimitInfo.SLCL; }
    double MainValue(int i) const;
    double SubValue(int i) const;

    // Results of the last CalcLimits.
    int TotalValues = 0;
    double XBarBar = NullValue;
    double RBar = NullValue;
    double SBar = NullValue;
    double RmBar = NullValue;
};

// Fills the data grid under a variable chart: one column per subgroup with its values and
// statistics.
class TVariableDataViewAgent {
public:
    TVariableDataViewAgent(TVariableDataList* list, TChartType chartType, TStringGrid* grid)
        : FList(list), FChartType(chartType), FGrid(grid) {}
    bool Active() const { return FActive; }
    void SetActive(bool flag);
    void Fill();

private:
    TVariableDataList* FList;
    TChartType FChartType;
    TStringGrid* FGrid;
    bool FActive = false;
};
