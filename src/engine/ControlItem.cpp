#include "engine/ControlItem.h"

#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
QVariant Field(const QSqlQuery& q, const char* name)
{
    return q.value(QLatin1String(name));
}
} // namespace

void TCharacterInfo::SetCID(int cid)
{
    if (cid == FCID) return;
    FCID = cid;
    CCode.clear();
    CName.clear();
    SampleSize = NullValue;
    Step = NullValue;
    LSL = NullValue;
    SL = NullValue;
    USL = NullValue;
    if (cid != NullValue) Load();
}

void TCharacterInfo::Load()
{
    TCompanyDM& dm = CurrentCompanyDM();
    const TSqlParams params{{QStringLiteral("CID"), FCID}};
    QSqlQuery q = dm.Exec(QStringLiteral("Select * from L_VControlItem where CID = :CID"), params);
    if (q.next()) {
        Kind = ikVariable;
        CCode = VariantToString(Field(q, "CCode"));
        CName = VariantToString(Field(q, "CName"));
        SampleSize = VariantToInt(Field(q, "SampleSize"));
        Step = VariantToInt(Field(q, "Step"));
        nSigma = VariantToInt(Field(q, "nSigma"));
        USL = VariantToFloat(Field(q, "USL"));
        SL = VariantToFloat(Field(q, "SL"));
        LSL = VariantToFloat(Field(q, "LSL"));
        return;
    }
    q.finish();
    q = dm.Exec(QStringLiteral("Select * from L_AControlItem where CID = :CID"), params);
    if (q.next()) {
        Kind = ikAttribute;
        CCode = VariantToString(Field(q, "CCode"));
        CName = VariantToString(Field(q, "CName"));
        SampleSize = NullValue;
        Step = NullValue;
        nSigma = NullValue;
        USL = NullValue;
        SL = NullValue;
        LSL = NullValue;
    }
}

void TLimitInfo::SetChartType(TChartType type)
{
    if (type == FChartType) return;
    FChartType = type;
    Reload();
}

void TLimitInfo::SetCID(int cid)
{
    if (cid == FCID) return;
    FCID = cid;
    Reload();
}

void TLimitInfo::Reload()
{
    Loaded = false;
    MCL = MLCL = MUCL = SCL = SLCL = SUCL = CL = UCL = LCL = -1.0;
    if (FCID == NullValue || FChartType == ctNone) return;
    const TSqlParams params{{QStringLiteral("CID"), FCID}, {QStringLiteral("ChartType"), ChartTypeCode(FChartType)}};
    QSqlQuery q = CurrentCompanyDM().Exec(
        QStringLiteral("Select * from D_CLL where IsCurrent = 1 and CID = :CID and ChartType = :ChartType"), params);
    if (!q.next()) return;
    if (IsVariableChartType(FChartType)) {
        MUCL = VariantToFloat(Field(q, "MUCL"));
        MCL = VariantToFloat(Field(q, "MCL"));
        MLCL = VariantToFloat(Field(q, "MLCL"));
        SUCL = VariantToFloat(Field(q, "SUCL"));
        SCL = VariantToFloat(Field(q, "SCL"));
        SLCL = VariantToFloat(Field(q, "SLCL"));
    } else {
        CL = VariantToFloat(Field(q, "CL"));
        UCL = VariantToFloat(Field(q, "UCL"));
        LCL = VariantToFloat(Field(q, "LCL"));
    }
    Loaded = true;
}

namespace {
// The stored value keeps the four decimals the limits are shown with; NullValue is bound as NULL.
double LimitValue(double v)
{
    return v == NullValue ? v : FormatNumber(v).toDouble();
}
} // namespace

void TLimitInfo::SaveLimits()
{
    const int code = ChartTypeCode(FChartType);  // before any transaction starts
    try {
        TCompanyDM& dm = CurrentCompanyDM();
        TTransactionGuard guard(dm);
        const TSqlParams key{{QStringLiteral("CID"), FCID}, {QStringLiteral("ChartType"), code}};
        dm.Exec(QStringLiteral("Update D_CLL Set IsCurrent = 0 where CID = :CID and ChartType = :ChartType"), key);
        TSqlParams row = key;
        row.insert(QStringLiteral("MUCL"), LimitValue(MUCL));
        row.insert(QStringLiteral("MCL"), LimitValue(MCL));
        row.insert(QStringLiteral("MLCL"), LimitValue(MLCL));
        row.insert(QStringLiteral("SUCL"), LimitValue(SUCL));
        row.insert(QStringLiteral("SCL"), LimitValue(SCL));
        row.insert(QStringLiteral("SLCL"), LimitValue(SLCL));
        row.insert(QStringLiteral("CL"), LimitValue(CL));
        row.insert(QStringLiteral("UCL"), LimitValue(UCL));
        row.insert(QStringLiteral("LCL"), LimitValue(LCL));
        row.insert(QStringLiteral("SDate"), QDateTime::currentDateTime());
        dm.Exec(QStringLiteral("insert into D_CLL(CID,ChartType,MUCL,MCL,MLCL,SUCL,SCL,SLCL,CL,UCL,LCL,SDate,IsCurrent) "
                               "Values(:CID,:ChartType,:MUCL,:MCL,:MLCL,:SUCL,:SCL,:SLCL,:CL,:UCL,:LCL,:SDate,1)"),
                row);
        guard.Commit();
    } catch (const ESystemError&) {
        ShowInfo(QStringLiteral("控制限保存错误"));
    }
}
