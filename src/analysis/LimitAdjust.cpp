#include "analysis/LimitAdjust.h"

#include "engine/AttributeData.h"
#include "engine/VariableData.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <cmath>

namespace {
// The upper limit, centre line and lower limit of each chart a dialog shows.
struct TLimitTriple {
    TLimitField Upper, Centre, Lower;
};
constexpr TLimitTriple kVariableTriples[] = {{lfMUCL, lfMCL, lfMLCL}, {lfSUCL, lfSCL, lfSLCL}};
constexpr TLimitTriple kNPTriple{lfUCL, lfCL, lfLCL};
} // namespace

TLimitAdjust::TLimitAdjust(TSPCChartData& data, bool variable) : FData(data), FVariable(variable)
{
    for (int f = 0; f < LimitFieldCount; ++f) FOpened[f] = Ref(static_cast<TLimitField>(f));
}

TLimitAdjust::TLimitAdjust(TVariableChartData& data) : TLimitAdjust(static_cast<TSPCChartData&>(data), true) {}

TLimitAdjust::TLimitAdjust(TAttributeChartData& data) : TLimitAdjust(static_cast<TSPCChartData&>(data), false) {}

double& TLimitAdjust::Ref(TLimitField field) const
{
    TLimitInfo& l = FData.LimitInfo;
    switch (field) {
    case lfMUCL: return l.MUCL;
    case lfMCL: return l.MCL;
    case lfMLCL: return l.MLCL;
    case lfSUCL: return l.SUCL;
    case lfSCL: return l.SCL;
    case lfSLCL: return l.SLCL;
    case lfCL: return l.CL;
    case lfUCL: return l.UCL;
    case lfLCL:
    default: return l.LCL;
    }
}

QString TLimitAdjust::CName() const
{
    const TCharacterInfo* info = FData.GetCharacterInfo();
    return info ? info->CName : QString();
}

QString TLimitAdjust::ChartTypeName() const
{
    return ::ChartTypeName(FData.LimitInfo.ChartType());
}

bool TLimitAdjust::IsShown(TLimitField field) const
{
    if (FVariable) return field <= lfSLCL;
    if (field == lfCL) return true;
    return (field == lfUCL || field == lfLCL) && FData.ChartType() == ctNP;
}

double TLimitAdjust::Value(TLimitField field) const
{
    return Ref(field);
}

TLimitAdjust::TTexts TLimitAdjust::Texts() const
{
    TTexts texts;
    for (int f = 0; f < LimitFieldCount; ++f)
        if (IsShown(static_cast<TLimitField>(f))) texts[f] = FormatOptionalNumber(Ref(static_cast<TLimitField>(f)));
    return texts;
}

void TLimitAdjust::CalcLimits()
{
    FData.CalcLimits();
}

bool TLimitAdjust::Read(TLimitField field, const QString& text, double& value) const
{
    const QString t = text.trimmed();
    const double current = Ref(field);
    if (current != NullValue && t == FormatOptionalNumber(current)) {
        value = current;
        return true;
    }
    bool ok = false;
    value = t.toDouble(&ok);
    // Typing the no-value marker would store no limit at all.
    return ok && std::isfinite(value) && value != NullValue;
}

QString TLimitAdjust::Check(const TTexts& texts) const
{
    std::array<double, LimitFieldCount> v{};
    for (int f = 0; f < LimitFieldCount; ++f) {
        const auto field = static_cast<TLimitField>(f);
        if (IsShown(field) && !Read(field, texts[f], v[f])) return QStringLiteral("请输入正确的控制限");
    }
    const TChartType type = FData.ChartType();
    // A fraction lies in 0..1, and rates and counts cannot be negative.
    if (type == ctP && (v[lfCL] < 0 || v[lfCL] > 1)) return QStringLiteral("P图的控制限应在0和1之间");
    if ((type == ctU || type == ctC) && v[lfCL] < 0) return QStringLiteral("控制限不能小于0");
    const TLimitTriple* first = FVariable ? kVariableTriples : type == ctNP ? &kNPTriple : nullptr;
    const int count = FVariable ? 2 : first ? 1 : 0;
    for (int t = 0; t < count; ++t)
        if (!(v[first[t].Upper] > v[first[t].Centre])) return QStringLiteral("控制上限应大于控制限");
    for (int t = 0; t < count; ++t)
        if (!(v[first[t].Centre] > v[first[t].Lower])) return QStringLiteral("控制限应大于控制下限");
    return {};
}

bool TLimitAdjust::Apply(const TTexts& texts)
{
    const QString message = Check(texts);
    if (!message.isEmpty()) {
        ShowInfo(message);
        return false;
    }
    std::array<double, LimitFieldCount> v{};
    for (int f = 0; f < LimitFieldCount; ++f) {
        const auto field = static_cast<TLimitField>(f);
        if (IsShown(field)) Read(field, texts[f], v[f]);
    }
    // Hidden fields keep the record's own values.
    for (int f = 0; f < LimitFieldCount; ++f)
        if (IsShown(static_cast<TLimitField>(f))) Ref(static_cast<TLimitField>(f)) = v[f];
    return true;
}

bool TLimitAdjust::Save(const TTexts& texts)
{
    if (!Apply(texts)) return false;
    FData.LimitInfo.SaveLimits();
    // The record now holds the item's current limits: a cancel keeps them.
    for (int f = 0; f < LimitFieldCount; ++f) FOpened[f] = Ref(static_cast<TLimitField>(f));
    FSaved = true;
    return true;
}

void TLimitAdjust::Restore()
{
    for (int f = 0; f < LimitFieldCount; ++f) Ref(static_cast<TLimitField>(f)) = FOpened[f];
}
