#include "engine/AttributeData.h"

#include "engine/DataChange.h"
#include "foundation/RecordUtils.h"

#include <algorithm>
#include <cmath>

// ---- TDefectDetail ----

int TDefectDetail::Find(int dpid) const
{
    for (int i = 0; i < Count(); ++i)
        if (FEntries[static_cast<std::size_t>(i)].DPID == dpid) return i;
    return -1;
}

int TDefectDetail::IndexOfDefect(int dpid) const
{
    return Find(dpid);
}

void TDefectDetail::AddDefect(int dpid, int count)
{
    if (Find(dpid) >= 0) throw ESystemError(QStringLiteral("DefectID'%1' already exists").arg(dpid));
    FEntries.push_back({dpid, count});
    ChangeStep();
}

void TDefectDetail::RemoveDefect(int dpid)
{
    const int i = Find(dpid);
    if (i < 0) throw ESystemError(QStringLiteral("DefectID'%1' not Found").arg(dpid));
    FEntries.erase(FEntries.begin() + i);
    ChangeStep();
}

void TDefectDetail::SetDefectCount(int dpid, int count)
{
    const int i = Find(dpid);
    if (i < 0) throw ESystemError(QStringLiteral("DefectID'%1' not Found").arg(dpid));
    FEntries[static_cast<std::size_t>(i)].Count = count;
    ChangeStep();
}

const TDefectDetail::TEntry& TDefectDetail::Entry(int i) const
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
    return FEntries[static_cast<std::size_t>(i)];
}

int TDefectDetail::Total() const
{
    int total = 0;
    for (const TEntry& e : FEntries)
        if (e.Count != NullValue) total += e.Count;
    return total;
}

void TDefectDetail::ChangeStep()
{
    const bool first = !FChanged;
    FChanged = true;
    if (FOwner) FOwner->DefectsChanged(first);
}

// ---- TAttributeData ----

void TAttributeData::SetBatch(int x)
{
    if (x == FBatch) return;
    FBatch = x;
    NotifyTest();
}

void TAttributeData::SetInspected(int x)
{
    if (x == FInspected) return;
    FInspected = x;
    if (FList) ++FList->FRevision;
    NotifyTest();
}

void TAttributeData::SetRejected(int x)
{
    if (x == FRejected) return;
    FRejected = x;
    if (FList) ++FList->FRevision;
    NotifyTest();
}

void TAttributeData::DefectsChanged(bool first)
{
    if (FList) ++FList->FRevision;
    // Only the first change of the defect list reaches the notification test.
    if (!first || FDetailChanged) return;
    FDetailChanged = true;
    NotifyTest();
}

void TAttributeData::NotifyTest()
{
    FNotifyEnabled = true;
    if (FList && FInspected > 0 && (FRejected >= 0 || DefectTotal() >= 0)) FList->NotifyChange();
}

int TAttributeData::RecountDefects()
{
    Defected = DefectTotal();
    return Defected;
}

double TAttributeData::FractionRejected() const
{
    if (FInspected == 0 || FInspected == NullValue || FRejected == NullValue) return NullValue;
    return static_cast<double>(FRejected) / FInspected;
}

double TAttributeData::DefectsPerUnit() const
{
    if (FInspected == 0 || FInspected == NullValue) return NullValue;
    return static_cast<double>(DefectTotal()) / FInspected;
}

// ---- TAttributeDataList ----

TAttributeDataList::~TAttributeDataList()
{
    Clear();
}

void TAttributeDataList::SetCID(int cid)
{
    FCID = cid;
    Info.SetCID(cid);
}

TAttributeData& TAttributeDataList::NewData()
{
    FItems.push_back(std::unique_ptr<TAttributeData>(new TAttributeData(this)));
    TAttributeData& data = *FItems.back();
    data.FIndex = Count() - 1;
    ++FRevision;
    return data;
}

void TAttributeDataList::Delete(int i)
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
    FItems.erase(FItems.begin() + i);
    for (int j = i; j < Count(); ++j) FItems[static_cast<std::size_t>(j)]->FIndex = j;
    ++FRevision;
}

void TAttributeDataList::Clear()
{
    while (!FItems.empty()) FItems.pop_back();
    ++FRevision;
}

TAttributeData& TAttributeDataList::Item(int i) const
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
    return *FItems[static_cast<std::size_t>(i)];
}

int TAttributeDataList::IndexOfSN(int sn) const
{
    // Sample numbers are unique in a list; the search starts at the end, where keying and
    // loading in order work, so a subgroup just added is found at once.
    for (int i = Count() - 1; i >= 0; --i)
        if (FItems[static_cast<std::size_t>(i)]->SN == sn) return i;
    return -1;
}

TAttributeData* TAttributeDataList::FindBySN(int sn) const
{
    const int i = IndexOfSN(sn);
    return i < 0 ? nullptr : FItems[static_cast<std::size_t>(i)].get();
}

void TAttributeDataList::AddDefectBySN(int sn, int dpid, int count)
{
    TAttributeData* data = FindBySN(sn);
    if (!data) throw ESPCDataError(QStringLiteral("样本号为%1的值组不存在").arg(sn));
    data->AddDefect(dpid, count);
}

void TAttributeDataList::NotifyChange()
{
    if (Updating) return;
    Charts.RefreshAll();
    AnnounceDataChange(QStringLiteral("ADataChange"), FCID);
}

// ---- TAttributeChartData ----

void TAttributeChartData::DataListChanged()
{
    TListChartData::DataListChanged();
    FTotalsOf = nullptr;
}

void TAttributeChartData::UpdateTotals(bool force) const
{
    const TAttributeDataList* list = DataList();
    if (!list) {
        FTotalInspected = FTotalRejected = FTotalDefects = NullValue;
        FTotalsOf = nullptr;
        return;
    }
    if (!force && FTotalsOf == list && FTotalsRevision == list->Revision()) return;
    long long inspected = 0, rejected = 0, defects = 0;
    for (int i = 0; i < list->Count(); ++i) {
        const TAttributeData& d = list->Item(i);
        if (d.Inspected() != NullValue) inspected += d.Inspected();
        if (d.Rejected() != NullValue) rejected += d.Rejected();
        defects += d.DefectTotal();
    }
    FTotalInspected = inspected;
    FTotalRejected = rejected;
    FTotalDefects = defects;
    FTotalsOf = list;
    FTotalsRevision = list->Revision();
}

long long TAttributeChartData::TotalInspected() const
{
    UpdateTotals(false);
    return FTotalInspected;
}

long long TAttributeChartData::TotalRejected() const
{
    UpdateTotals(false);
    return FTotalRejected;
}

long long TAttributeChartData::TotalDefects() const
{
    UpdateTotals(false);
    return FTotalDefects;
}

void TAttributeChartData::CalcLimits()
{
    if (!DataList()) return;
    if (ChartType() == ctNone) throw ESPCDataError(QStringLiteral("控制图类型未指定"));
    UpdateTotals(true);
    if (FTotalInspected <= 0) return;
    const double k = Count();
    const double inspected = static_cast<double>(FTotalInspected);
    const double rejected = static_cast<double>(FTotalRejected);
    const double defects = static_cast<double>(FTotalDefects);
    switch (ChartType()) {
    case ctP:
        PBar = rejected / inspected;
        LimitInfo.CL = PBar;
        break;
    case ctNP: {
        NPBar = rejected / k;
        PBar = rejected / inspected;
        const double width = 3 * std::sqrt((1 - PBar) * NPBar);
        LimitInfo.CL = NPBar;
        LimitInfo.UCL = NPBar + width;
        LimitInfo.LCL = std::max(NPBar - width, 0.0);
        break;
    }
    case ctU:
        UBar = defects / inspected;
        LimitInfo.CL = UBar;
        break;
    case ctC:
        CBar = defects / k;
        LimitInfo.CL = CBar;
        break;
    default:
        break;
    }
}

double TAttributeChartData::CL() const
{
    return LimitInfo.CL >= 0 ? LimitInfo.CL : 0.0;
}

namespace {
// The inspected count a stepped limit is computed for; 0 when there is none.
double InspectedOf(const TAttributeData& d)
{
    return d.Inspected() == NullValue || d.Inspected() < 0 ? 0.0 : d.Inspected();
}
} // namespace

bool TAttributeChartData::HalfWidthAt(int i, double cl, double& width) const
{
    switch (ChartType()) {
    case ctP: {
        const double n = InspectedOf(Data(i));
        if (n == 0) return false;
        width = 3 * std::sqrt(cl * (1 - cl) / n);
        return true;
    }
    case ctU: {
        const double n = InspectedOf(Data(i));
        if (n == 0) return false;
        width = 3 * std::sqrt(cl / n);
        return true;
    }
    case ctC:
        width = 3 * std::sqrt(cl);
        return true;
    default: return false;
    }
}

double TAttributeChartData::UCLAt(int i) const
{
    const long long total = TotalInspected();
    if (total == 0 || total == NullValue) return 0;
    if (ChartType() == ctNP) return LimitInfo.UCL;
    // A half-width of 0 (p̄ = 0 or 1, ū = 0) puts the limits on the centre line, not at 0.
    const double cl = CL();
    double h = 0;
    return HalfWidthAt(i, cl, h) ? cl + h : 0;
}

double TAttributeChartData::LCLAt(int i) const
{
    const long long total = TotalInspected();
    if (total == 0 || total == NullValue) return 0;
    if (ChartType() == ctNP) return LimitInfo.LCL;
    const double cl = CL();
    double h = 0;
    return HalfWidthAt(i, cl, h) ? std::max(cl - h, 0.0) : 0;
}

double TAttributeChartData::ValueAt(int i) const
{
    const TAttributeData& d = Data(i);
    switch (ChartType()) {
    case ctP: return d.FractionRejected();
    case ctNP: return d.Rejected();
    case ctU: return d.DefectsPerUnit();
    case ctC: return d.DefectTotal();
    default: return NullValue;
    }
}

// ---- loading rows ----

TAttributeRowLoader::TAttributeRowLoader(TAttributeDataList& list, bool defects)
    : FList(list), FDefects(defects), FUpdating(list.Updating)
{
    list.Updating = true;
    for (int i = list.Count() - 1; i >= 0; --i) FBySN.insert(list.Item(i).SN, &list.Item(i));  // the first wins
}

TAttributeRowLoader::~TAttributeRowLoader()
{
    FList.Updating = FUpdating;
}

TAttributeRowResult TAttributeRowLoader::Add(const TAttributeRow& row)
{
    const bool byPhenomenon = row.DPID != NullValue;
    TAttributeData* d = FBySN.value(row.SN);
    if (d && !byPhenomenon) return TAttributeRowResult::DuplicateSN;
    if (!byPhenomenon && !FDefects && row.Count > row.Inspected) return TAttributeRowResult::RejectedAboveInspected;
    const int dpid = byPhenomenon ? row.DPID : 1;
    if (d && d->Defects().IndexOfDefect(dpid) >= 0) return TAttributeRowResult::DuplicateDefect;
    if (!d) {
        d = &FList.NewData();
        d->SN = row.SN;
        d->SetInspected(row.Inspected);
        FBySN.insert(row.SN, d);
    }
    if (byPhenomenon || FDefects) {
        d->AddDefect(dpid, row.Count);
        d->RecountDefects();
    } else {
        d->SetRejected(row.Count);
    }
    return TAttributeRowResult::Added;
}

int AddAttributeRows(TAttributeDataList& list, const std::vector<TAttributeRow>& rows, bool defects,
                     TAttributeRowResult* refusal)
{
    TAttributeRowLoader loader(list, defects);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TAttributeRowResult result = loader.Add(rows[i]);
        if (result == TAttributeRowResult::Added) continue;
        if (refusal) *refusal = result;
        return static_cast<int>(i);
    }
    return -1;
}

// ---- grid ----

QString DefectPhenomenonName(int dpid)
{
    return GetSQLString(QStringLiteral("Select DPName from L_DefectPhenomenon where DPID = :DPID"),
                        {{QStringLiteral("DPID"), dpid}});
}

void TAttributeDataViewAgent::SetActive(bool flag)
{
    FActive = flag;
    if (flag) Fill();
}

void TAttributeDataViewAgent::Fill()
{
    if (!FList || !FGrid) return;
    const TChartType type = FChartType;
    if (type == ctNone) throw ESPCDataError(QStringLiteral("控制图类型未指定！"));
    if (type != ctP && type != ctNP && type != ctU && type != ctC)
        throw ESPCDataError(QStringLiteral("控制图类型错误！"));
    const bool defects = type == ctU || type == ctC;
    const bool ratioRow = type == ctP || type == ctU;
    const int k = FList->Count();

    TStringGrid& g = *FGrid;
    g.SetSize(k + 1, ratioRow ? 5 : 4);
    g.ClearCells();
    g.FixedCols = 1;
    g.FixedRows = 1;
    g.SetCell(0, 1, QStringLiteral("批量数"));
    g.SetCell(0, 2, QStringLiteral("检验数"));
    g.SetCell(0, 3, defects ? QStringLiteral("缺点数") : QStringLiteral("不良数"));
    if (type == ctP) g.SetCell(0, 4, QStringLiteral("不良率"));
    if (type == ctU) g.SetCell(0, 4, QStringLiteral("单位缺点数"));

    QHash<int, int> phenomenonRow;  // DPID → row; entries of phenomena beyond the last row are not shown
    for (int i = 0; i < k; ++i) {
        const TAttributeData& d = FList->Item(i);
        const int col = i + 1;
        g.SetCell(col, 0, QString::number(d.SN));
        g.SetCell(col, 1, FormatNumber(d.Batch()));
        g.SetCell(col, 2, FormatNumber(d.Inspected()));
        g.SetCell(col, 3, FormatNumber(defects ? d.DefectTotal() : d.Rejected()));
        if (type == ctP) g.SetCell(col, 4, FormatNumber(d.FractionRejected()));
        if (type == ctU) g.SetCell(col, 4, FormatNumber(d.DefectsPerUnit()));
        if (!defects) continue;
        for (int j = 0; j < d.Defects().Count(); ++j) {
            const TDefectDetail::TEntry& e = d.Defects().Entry(j);
            auto it = phenomenonRow.constFind(e.DPID);
            if (it == phenomenonRow.constEnd()) {
                if (phenomenonRow.size() >= MaxPhenomenonRows) continue;
                const int row = g.RowCount();
                g.SetRowCount(row + 1);
                g.SetCell(0, row, DefectPhenomenonName(e.DPID));
                it = phenomenonRow.insert(e.DPID, row);
            }
            g.SetCell(col, it.value(), FormatNumber(e.Count));
        }
    }
}
