#include "engine/windows/ChartFormManager.h"

#include "engine/windows/AChartFrm.h"
#include "engine/windows/HChartFrm.h"
#include "engine/windows/ParetoChartFrm.h"
#include "engine/windows/VChartFrm.h"

TChartFormList::~TChartFormList()
{
    Clear();
}

int TChartFormList::Append(TBaseChartFrm* frm)
{
    FItems.push_back(frm);
    connect(frm, &TBaseChartFrm::Closed, this, [this](TBaseChartFrm* closed) {
        for (auto it = FItems.begin(); it != FItems.end(); ++it)
            if (*it == closed) {
                FItems.erase(it);
                break;
            }
    });
    return Count() - 1;
}

int TChartFormList::FindChartForm(int cid, TChartType type) const
{
    for (int i = 0; i < Count(); ++i) {
        TBaseChartFrm* f = FItems[static_cast<size_t>(i)];
        if (!f || f->ChartType() != type) continue;
        const TSPCChartData* data = f->GetChartData();
        if (!data)
            if (auto* pareto = qobject_cast<TParetoChartFrm*>(f)) data = pareto->Data();
        if (data && data->GetCID() == cid) return i;
    }
    return -1;
}

int TChartFormList::AddVChartForm(TVariableDataList* list, TChartType type, bool embedded)
{
    auto* frm = new TVChartFrm(list, embedded);
    frm->SetChartType(type);
    return Append(frm);
}

int TChartFormList::AddAChartForm(TAttributeDataList* list, TChartType type, bool embedded)
{
    auto* frm = new TAChartFrm(list, embedded);
    frm->SetChartType(type);
    return Append(frm);
}

int TChartFormList::AddHChartForm(TVariableDataList* list, bool embedded)
{
    return Append(new THChartFrm(list, embedded));
}

int TChartFormList::AddParetoChartForm(TAttributeDataList* list, bool embedded)
{
    return Append(new TParetoChartFrm(list, embedded));
}

TBaseChartFrm* TChartFormList::Item(int i) const
{
    return FItems.at(static_cast<size_t>(i));
}

void TChartFormList::Clear()
{
    while (!FItems.empty()) {
        QPointer<TBaseChartFrm> f = FItems.back();
        FItems.pop_back();
        delete f.data();
    }
}
