#pragma once
// The chart windows one host has opened; a window the user closes leaves the list on its own.
#include "engine/SPCChart.h"

#include <QObject>
#include <QPointer>
#include <vector>

class TBaseChartFrm;

class TChartFormList : public QObject {
    Q_OBJECT
public:
    TChartFormList() = default;
    ~TChartFormList() override;

    // Position of the window showing (cid, type); -1 if none.
    int FindChartForm(int cid, TChartType type) const;
    int AddVChartForm(TVariableDataList* list, TChartType type, bool embedded);
    int AddAChartForm(TAttributeDataList* list, TChartType type, bool embedded);
    int AddHChartForm(TVariableDataList* list, bool embedded);
    int AddParetoChartForm(TAttributeDataList* list, bool embedded);
    TBaseChartFrm* Item(int i) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    // Destroys every window, last first.
    void Clear();

private:
    int Append(TBaseChartFrm* frm);
    std::vector<QPointer<TBaseChartFrm>> FItems;
};
