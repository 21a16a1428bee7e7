#include "engine/VariableData.h"

#include "engine/DataChange.h"
#include "foundation/RecordUtils.h"

#include <algorithm>
#include <cmath>

// ---- TVariableData ----

void TVariableData::AddValue(double x)
{
    FValues.Add(x);
    Changed();
}

void TVariableData::DeleteValue(int i)
{
    FValues.Delete(i);
    Changed();
}

void TVariableData::SetValue(int i, double x)
{
    if (FValues.Item(i) == x) return;
    FValues.SetItem(i, x);
    Changed();
}

void TVariableData::Changed()
{
    FNeedsCalc = true;
    FMeanStale = FRStale = FSStale = true;
    NotifyTest();
}

void TVariableData::NotifyTest()
{
    FNotifyEnabled = true;
    if (FList && ValueCount() == FList->Info.SampleSize) FList->NotifyChange(FIndex);
}

double TVariableData::GetMean() const
{
    if (FNeedsCalc && FMeanStale) {
        FMean = TVariableCalc::CalcMean(*this);
        FMeanStale = false;
    }
    return FMean;
}

double TVariableData::GetR() const
{
    if (FNeedsCalc && FRStale) {
        FR = TVariableCalc::CalcRange(*this);
        FRStale = false;
    }
    return FR;
}

double TVariableData::GetS() const
{
    if (FNeedsCalc && FSStale) {
        FS = TVariableCalc::CalcStdDev(*this);
        FSStale = false;
    }
    return FS;
}

double TVariableData::GetRm() const
{
    // Never stored and dependent on the partner subgroup and the position: always computed.
    FRm = TVariableCalc::CalcMovingRange(*this);
    return FRm;
}

void TVariableData::SetMean(double x)
{
    if (x == FMean) return;
    FMean = x;
    FMeanStale = FNeedsCalc;
    NotifyTest();
}

void TVariableData::SetR(double x)
{
    if (x == FR) return;
    FR = x;
    FRStale = FNeedsCalc;
    NotifyTest();
}

void TVariableData::SetS(double x)
{
    if (x == FS) return;
    FS = x;
    FSStale = FNeedsCalc;
    NotifyTest();
}

// ---- TVariableDataList ----

TVariableDataList::~TVariableDataList()
{
    Clear();
}

void TVariableDataList::SetCID(int cid)
{
    FCID = cid;
    Info.SetCID(cid);
}

TVariableData& TVariableDataList::NewData()
{
    FItems.push_back(std::unique_ptr<TVariableData>(new TVariableData(this)));
    TVariableData& data = *FItems.back();
    data.FIndex = Count() - 1;
    return data;
}

void TVariableDataList::Delete(int i)
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
    FItems.erase(FItems.begin() + i);
    for (int j = i; j < Count(); ++j) FItems[static_cast<std::size_t>(j)]->FIndex = j;
}

void TVariableDataList::Clear()
{
    while (!FItems.empty()) FItems.pop_back();
}

TVariableData& TVariableDataList::Item(int i) const
{
    if (i < 0 || i >= Count()) RaiseIndexError(i);
    return *FItems[static_cast<std::size_t>(i)];
}

int TVariableDataList::IndexOfSN(int sn) const
{
    // Sample numbers are unique in a list; the search starts at the end, where keying and
    // loading in order work, so a subgroup just added is found at once.
    for (int i = Count() - 1; i >= 0; --i)
        if (FItems[static_cast<std::size_t>(i)]->SN == sn) return i;
    return -1;
}

TVariableData* TVariableDataList::FindBySN(int sn) const
{
    const int i = IndexOfSN(sn);
    return i < 0 ? nullptr : FItems[static_cast<std::size_t>(i)].get();
}

void TVariableDataList::AddValueBySN(int sn, double x)
{
    TVariableData* data = FindBySN(sn);
    if (!data) throw ESPCDataError(QStringLiteral("样本号为%1的值组不存在").arg(sn));
    data->AddValue(x);
}

void TVariableDataList::NotifyChange(int)
{
    if (Updating) return;
    Charts.RefreshAll();
    AnnounceDataChange(QStringLiteral("VDataChange"), FCID);
}

// ---- TVariableCalc ----

double TVariableCalc::CalcMean(const TVariableData& data)
{
    const std::vector<double>& v = data.Values().Items();
    if (v.empty()) return NullValue;
    double sum = 0;
    for (double x : v) sum += x;
    return sum / static_cast<double>(v.size());
}

double TVariableCalc::CalcRange(const TVariableData& data)
{
    const std::vector<double>& v = data.Values().Items();
    if (v.empty()) return NullValue;
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return *hi - *lo;
}

double TVariableCalc::CalcStdDev(const TVariableData& data)
{
    const std::vector<double>& v = data.Values().Items();
    if (v.size() < 2) return NullValue;
    const double m = data.GetMean();
    double ss = 0;
    for (double x : v) ss += (x - m) * (x - m);
    return std::sqrt(ss / static_cast<double>(v.size() - 1));
}

double TVariableCalc::CalcMovingRange(const TVariableData& data)
{
    if (data.ValueCount() == 0) return NullValue;
    const TVariableDataList* list = data.List();
    if (!list) return NullValue;
    const int step = list->Info.Step;
    if (step <= 0) throw ESystemError(QStringLiteral("移动极差的步长应大于或等于1"));
    if (data.Index() < step) return NullValue;
    const TVariableData& partner = list->Item(data.Index() - step);
    if (partner.ValueCount() == 0) return NullValue;
    return std::fabs(data.Value(0) - partner.Value(0));
}

// ---- TVariableChartData ----

namespace {
// Running mean that leaves out subgroups without the statistic (no values, or one value for S).
struct TMeanOf {
    double Sum = 0;
    int Count = 0;
    void Add(double v)
    {
        if (v == NullValue) return;
        Sum += v;
        ++Count;
    }
    double Mean(double none = NullValue) const { return Count > 0 ? Sum / Count : none; }
};

double Clamp0(double v)
{
    return v == NullValue ? v : std::max(v, 0.0);
}
} // namespace

void TVariableChartData::CalcLimits()
{
    if (!DataList()) return;
    const TChartType type = ChartType();
    if (type == ctNone) throw ESPCDataError(QStringLiteral("控制图类型未指定"));
    const int k = Count();
    if (k == 0) return;

    // Every factor is looked up before anything is written.
    const int n = DataList()->Info.SampleSize;
    const int step = DataList()->Info.Step;
    double mainFactor = 0, lowFactor = 0, highFactor = 0;
    switch (type) {
    case ctXBarR:
        mainFactor = CoefA2(n);
        lowFactor = CoefD3(n);
        highFactor = CoefD4(n);
        break;
    case ctXBarS:
        mainFactor = CoefA3(n);
        lowFactor = CoefB3(n);
        highFactor = CoefB4(n);
        break;
    case ctXRm:
        if (step <= 0) throw ESystemError(QStringLiteral("移动极差的步长应大于或等于1"));
        mainFactor = CoefE2(step + 1);
        lowFactor = CoefD3(step + 1);
        highFactor = CoefD4(step + 1);
        break;
    default:
        break;
    }

    TMeanOf x, r, s, rm;
    int total = 0;
    for (int i = 0; i < k; ++i) {
        const TVariableData& d = DataList()->Item(i);
        x.Add(d.GetMean());
        if (type == ctXBarR) r.Add(d.GetR());
        if (type == ctXBarS) s.Add(d.GetS());
        if (type == ctXRm && i >= step) rm.Add(d.GetRm());
        total += d.ValueCount();
    }
    if (x.Count == 0) return;  // no subgroup has a mean: nothing to centre on
    TotalValues = total;
    XBarBar = x.Mean();
    RBar = r.Mean();
    SBar = s.Mean();
    RmBar = rm.Mean(0.0);

    double spread;
    switch (type) {
    case ctXBarR: spread = RBar; break;
    case ctXBarS: spread = SBar; break;
    case ctXRm: spread = RmBar; break;
    default: return;
    }
    TLimitInfo& l = LimitInfo;
    l.MCL = XBarBar;
    if (spread == NullValue) {
        l.MUCL = l.MLCL = l.SUCL = l.SCL = l.SLCL = NullValue;
        return;
    }
    // Measurements may be negative: the lower limit of the means is not clamped at 0.
    l.MUCL = XBarBar + mainFactor * spread;
    l.MLCL = XBarBar - mainFactor * spread;
    l.SUCL = highFactor * spread;
    l.SCL = spread;
    l.SLCL = Clamp0(lowFactor * spread);
}

double TVariableChartData::MainValue(int i) const
{
    switch (ChartType()) {
    case ctXBarR:
    case ctXBarS:
    case ctXRm: return Data(i).GetMean();
    default: return NullValue;
    }
}

double TVariableChartData::SubValue(int i) const
{
    switch (ChartType()) {
    case ctXBarR: return Data(i).GetR();
    case ctXBarS: return Data(i).GetS();
    case ctXRm: return Data(i).GetRm();
    default: return NullValue;
    }
}

// ---- TVariableDataViewAgent ----

void TVariableDataViewAgent::SetActive(bool flag)
{
    FActive = flag;
    if (flag) Fill();
}

void TVariableDataViewAgent::Fill()
{
    if (!FList || !FGrid) return;
    QString subCaption;
    switch (FChartType) {
    case ctXBarR: subCaption = QStringLiteral("R"); break;
    case ctXBarS: subCaption = QStringLiteral("S"); break;
    case ctXRm: subCaption = QStringLiteral("Rm"); break;
    default: throw ESPCDataError(QStringLiteral("控制图类型错误！"));
    }
    const int k = FList->Count();
    // One row per planned value; a subgroup holding more values than planned widens the grid
    // instead of writing over its statistics.
    int rows = std::max(FList->SampleSize(), 0);
    for (int i = 0; i < k; ++i) rows = std::max(rows, FList->Item(i).ValueCount());

    TStringGrid& g = *FGrid;
    g.SetSize(k + 1, rows + 3);
    g.ClearCells();
    g.FixedCols = 1;
    g.FixedRows = 1;
    for (int r = 1; r <= rows; ++r) g.SetCell(0, r, QString::number(r));
    g.SetCell(0, rows + 1, QStringLiteral("XBar"));
    g.SetCell(0, rows + 2, subCaption);
    for (int i = 0; i < k; ++i) {
        const TVariableData& d = FList->Item(i);
        const int col = i + 1;
        g.SetCell(col, 0, QString::number(d.SN));
        for (int j = 0; j < d.ValueCount(); ++j) g.SetCell(col, j + 1, FormatNumber(d.Value(j)));
        g.SetCell(col, rows + 1, FormatNumber(d.GetMean()));
        double sub = NullValue;
        switch (FChartType) {
        case ctXBarR: sub = d.GetR(); break;
        case ctXBarS: sub = d.GetS(); break;
        default: sub = d.GetRm(); break;
        }
        g.SetCell(col, rows + 2, FormatNumber(sub));
    }
}
