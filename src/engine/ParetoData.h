#pragma once
// The defects of an attribute item ranked by defect phenomenon, with the cumulative share.
#include "engine/AttributeData.h"
#include "engine/ChartData.h"
#include "engine/StringGrid.h"

#include <QHash>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct RParetoItem {
    QString Name;      // defect phenomenon name, or "<其他>" for the remainder
    double Total = 0;  // number of defects
    double Percent = 0;  // cumulative share up to and including this item, in percent
};

// Turns a defect phenomenon identifier into its name; no value when there is no such phenomenon.
using TDefectNameLookup = std::function<std::optional<QString>(int dpid)>;
// The names of L_DefectPhenomenon, each identifier read once for the lifetime of the lookup.
TDefectNameLookup DatabaseDefectNames();

class TParetoData : public TSPCChartData {
public:
    TParetoData() = default;

    int GetCID() const override { return FCID; }
    TCharacterInfo* GetCharacterInfo() const override { return nullptr; }

    // Adds to the item of exactly this name (case-sensitive), or appends a new one.
    void AddAmount(const QString& name, double amount);
    int IndexOfName(const QString& name) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    const RParetoItem& Item(int i) const;
    int DisplayCount() const { return static_cast<int>(FDisplay.size()); }
    const RParetoItem& DisplayItem(int i) const;

    // Empties the items and the display; ShowCount returns to 0 (all).
    void Clear();
    // The defect counts of every subgroup, in list order, by phenomenon name. Entries whose
    // phenomenon is unknown, and counts that are NullValue, are left out.
    void LoadFromList(const TAttributeDataList& list);
    void LoadFromList(const TAttributeDataList& list, const TDefectNameLookup& nameOf);

    int ShowCount() const { return FShowCount; }
    void SetShowCount(int n);
    bool Computed() const { return FComputed; }
    double GrandTotal() const { return FGrandTotal; }
    // Sorts (largest first; equal totals keep their order), cuts after ShowCount items keeping
    // ties, and sums the rest into a remainder item. Nothing happens while Computed.
    void Compute();

    static QString RemainderName() { return QStringLiteral("<其他>"); }

private:
    void ClearDisplay();

    int FCID = NullValue;
    std::vector<std::unique_ptr<RParetoItem>> FItems;
    QHash<QString, RParetoItem*> FByName;
    std::vector<RParetoItem*> FDisplay;  // into FItems, plus the remainder
    std::unique_ptr<RParetoItem> FRemainder;
    int FShowCount = 0;
    bool FComputed = false;
    double FGrandTotal = 0;
};

class TParetoDataViewAgent {
public:
    TParetoDataViewAgent(TParetoData* data, TStringGrid* grid) : FData(data), FGrid(grid) {}
    bool Active() const { return FActive; }
    void SetActive(bool flag);
    void Fill();

private:
    TParetoData* FData;
    TStringGrid* FGrid;
    bool FActive = false;
};
