#include "engine/ParetoData.h"

#include "foundation/CompanyDM.h"
#include "foundation/RecordUtils.h"

#include <QSqlQuery>
#include <algorithm>

TDefectNameLookup DatabaseDefectNames()
{
    auto cache = std::make_shared<QHash<int, std::optional<QString>>>();
    return [cache](int dpid) -> std::optional<QString> {
        const auto it = cache->constFind(dpid);
        if (it != cache->constEnd()) return it.value();
        QSqlQuery q = CurrentCompanyDM().Exec(QStringLiteral("Select DPName from L_DefectPhenomenon where DPID = :DPID"),
                                              {{QStringLiteral("DPID"), dpid}});
        std::optional<QString> name;
        if (q.next()) name = VariantToString(q.value(0));
        cache->insert(dpid, name);
        return name;
    };
}

void TParetoData::AddAmount(const QString& name, double amount)
{
    if (RParetoItem* item = FByName.value(name)) {
        item->Total += amount;
    } else {
        FItems.push_back(std::make_unique<RParetoItem>(RParetoItem{name, amount, 0}));
        FByName.insert(name, FItems.back().get());
    }
    FComputed = false;
}

int TParetoData::IndexOfName(const QString& name) const
{
    const RParetoItem* item = FByName.value(name);
    if (!item) return -1;
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].get() == item) return i;
    return -1;
}

const RParetoItem& TParetoData::Item(int i) const
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
    return *FItems[static_cast<std::size_t>(i)];
}

const RParetoItem& TParetoData::DisplayItem(int i) const
{
    if (i < 0 || i >= DisplayCount()) RaiseIndexError(i);
    return *FDisplay[static_cast<std::size_t>(i)];
}

void TParetoData::ClearDisplay()
{
    FDisplay.clear();
    FRemainder.reset();
}

void TParetoData::Clear()
{
    ClearDisplay();
    FByName.clear();
    FItems.clear();
    FComputed = false;
    FShowCount = 0;
    FGrandTotal = 0;
}

void TParetoData::LoadFromList(const TAttributeDataList& list)
{
    LoadFromList(list, DatabaseDefectNames());
}

void TParetoData::LoadFromList(const TAttributeDataList& list, const TDefectNameLookup& nameOf)
{
    FCID = list.CID();
    Clear();
    for (int i = 0; i < list.Count(); ++i) {
        const TDefectDetail& defects = list.Item(i).Defects();
        for (int j = 0; j < defects.Count(); ++j) {
            const TDefectDetail::TEntry& e = defects.Entry(j);
            if (e.Count == NullValue) continue;  // no count keyed: not a number of defects
            const std::optional<QString> name = nameOf(e.DPID);
            if (name) AddAmount(*name, e.Count);
        }
    }
}

void TParetoData::SetShowCount(int n)
{
    if (n == FShowCount) return;
    FShowCount = n;
    FComputed = false;
    ClearDisplay();
}

void TParetoData::Compute()
{
    if (FComputed) return;
    if (FShowCount == 0) FShowCount = Count();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const auto& a, const auto& b) { return a->Total > b->Total; });
    FGrandTotal = 0;
    for (const auto& item : FItems) FGrandTotal += item->Total;
    ClearDisplay();

    double c = 0;
    for (int p = 0; p < Count(); ++p) {
        RParetoItem* item = FItems[static_cast<std::size_t>(p)].get();
        // Past ShowCount only items tied with the one before are still shown.
        if (p >= FShowCount && p > 0 && item->Total < FItems[static_cast<std::size_t>(p - 1)]->Total) break;
        FDisplay.push_back(item);
        c += item->Total;
        item->Percent = FGrandTotal != 0 ? c / FGrandTotal * 100 : 0;
    }
    if (c < FGrandTotal) {
        FRemainder = std::make_unique<RParetoItem>(RParetoItem{RemainderName(), FGrandTotal - c, 100});
        const auto at = std::find_if(FDisplay.begin(), FDisplay.end(),
                                     [this](const RParetoItem* item) { return item->Total < FRemainder->Total; });
        FDisplay.insert(at, FRemainder.get());
    }
    FComputed = true;
}

void TParetoDataViewAgent::SetActive(bool flag)
{
    FActive = flag;
    if (flag) Fill();
}

void TParetoDataViewAgent::Fill()
{
    if (!FData || !FGrid) return;
    FData->Compute();
    TStringGrid& g = *FGrid;
    const int n = FData->DisplayCount();
    g.SetSize(n + 1, 3);
    g.ClearCells();
    g.FixedCols = 1;
    g.FixedRows = 0;
    g.SetCell(0, 0, QStringLiteral("项目"));
    g.SetCell(0, 1, QStringLiteral("缺陷数"));
    g.SetCell(0, 2, QStringLiteral("百分比"));
    for (int i = 0; i < n; ++i) {
        const RParetoItem& item = FData->DisplayItem(i);
        g.SetCell(i + 1, 0, item.Name);
        g.SetCell(i + 1, 1, FormatNumber(item.Total));
        g.SetCell(i + 1, 2, FormatNumber(item.Percent));
    }
}
