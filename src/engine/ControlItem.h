#pragma once
// The header of one control item as the engine needs it, and the current control limits of one
// item and chart type with their history in D_CLL.
#include "engine/SPCTypes.h"

#include <QString>

class TCharacterInfo {
public:
    TCharacterInfo() = default;

    int CID() const { return FCID; }
    // A new identifier resets the header and loads it from L_VControlItem, else L_AControlItem.
    // The current identifier, and NullValue, touch no database.
    void SetCID(int cid);

    TItemKind Kind = ikVariable;
    QString CCode;
    QString CName;
    double LSL = 0;
    double SL = 0;
    double USL = 0;
    int SampleSize = 0;  // planned subgroup size n: decides the factors
    int Step = 0;        // moving-range step
    int nSigma = 0;      // carried for the windows; the limits use fixed 3-sigma factors

private:
    void Load();
    int FCID = NullValue;
};

class TLimitInfo {
public:
    TLimitInfo() = default;

    TChartType ChartType() const { return FChartType; }
    int CID() const { return FCID; }
    // Each reloads when the value changes.
    void SetChartType(TChartType type);
    void SetCID(int cid);

    // Sets the nine limits to −1 and reads the current stored row, if any, into the fields of
    // the chart family (six main/secondary fields for variable charts, three for attribute).
    void Reload();
    // Appends the nine limits as the current row and retires the earlier ones, in one
    // transaction. A failure rolls back and shows "控制限保存错误"; the caller continues.
    // NullValue limits are stored as NULL.
    void SaveLimits();

    bool Loaded = false;  // the last Reload found a stored row
    double MCL = 0;
    double MLCL = 0;
    double MUCL = 0;
    double SCL = 0;
    double SLCL = 0;
    double SUCL = 0;
    double CL = 0;
    double UCL = 0;
    double LCL = 0;

private:
    TChartType FChartType = ctNone;
    int FCID = NullValue;
};
