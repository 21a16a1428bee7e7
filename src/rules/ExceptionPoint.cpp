#include "rules/ExceptionPoint.h"

#include "foundation/CompanyDM.h"
#include "foundation/ParseSQL.h"
#include "rules/ExceptionReview.h"

namespace {
const QStringList kCaseFields{QStringLiteral("CaseID"), QStringLiteral("CaseCode"), QStringLiteral("CaseName"),
                              QStringLiteral("Describe")};
const QStringList kActionFields{QStringLiteral("ActionID"), QStringLiteral("ActionCode"),
                                QStringLiteral("ActionName"), QStringLiteral("Describe")};

[[noreturn]] void Fail(const char* message)
{
    throw ESPCDataError(QString::fromUtf8(message));
}

// The new rows carry the subgroup's key besides what the choice gives.
void StampKeys(TDataSet& rows, int cid, int sn)
{
    rows.DisableControls();
    for (rows.First(); !rows.Eof(); rows.Next()) {
        if (!rows.FieldByName(QStringLiteral("CID"))->IsNull()) continue;
        rows.Edit();
        rows.SetValue(QStringLiteral("CID"), cid);
        rows.SetValue(QStringLiteral("SN"), sn);
        rows.Post();
    }
    rows.First();
    rows.EnableControls();
}
} // namespace

TExceptionPoint::TExceptionPoint(TItemKind kind, TCompanyDM& database) : FKind(kind), FDatabase(database)
{
    const bool variable = kind == ikVariable;
    qryException.SetSQL(QStringList{QStringLiteral("select a.*"), QStringLiteral("from D_Exception as a"),
                                    QStringLiteral("where a.CID = :CID and a.SN = :SN"), QStringLiteral("order by a.JudgeSN")});
    qryTag.SetSQL(QStringList{
        QStringLiteral("select b.TagCode, b.TagName, "), QStringLiteral("  (Select c.TagValue from L_TagValue as c "),
        QStringLiteral("   where  a.TagID = c.TagID and a.TagValueID = c.TagValueID)"), QStringLiteral("  as TagValue"),
        QStringLiteral("from D_Tag as a, L_Tag as b"), QStringLiteral("where a.TagID = b.TagID"),
        QStringLiteral("  and a.CID = :CID and a.SN = :SN"), QStringLiteral("order by b.TagCode")});
    qryCase.SetSQL(QStringList{QStringLiteral("Select a.CID, a.SN, a.CaseID, b.CaseCode, b.CaseName, b.Describe,"),
                               QStringLiteral("  a.WDate"), QStringLiteral("from D_Case as a, L_Case as b"),
                               QStringLiteral("where a.CaseID = b.CaseID and"),
                               QStringLiteral("      a.CID = :CID and a.SN = :SN"), QStringLiteral("order by b.CaseCode")});
    qryAction.SetSQL(QStringList{QStringLiteral("Select a.CID, a.SN, a.ActionID, b.ActionCode, b.ActionName, b.Describe,"),
                                 QStringLiteral("  a.WDate"), QStringLiteral("from D_Action as a, L_Action as b"),
                                 QStringLiteral("where a.ActionID = b.ActionID"),
                                 QStringLiteral("  and a.CID = :CID and a.SN = :SN"), QStringLiteral("order by b.ActionCode")});
    qryNote.SetSQL(QStringList{variable ? QStringLiteral("Select CID, SN, ExceptionNote, State from D_VDM ")
                                        : QStringLiteral("Select CID, SN, ExceptionNote, State from D_ADM "),
                               QStringLiteral("where CID = :CID and SN = :SN")});
    if (variable) {
        qrySample.SetSQL(QStringList{QStringLiteral("Select * "), QStringLiteral("from D_VDD as a"),
                                     QStringLiteral("where a.CID = :CID and a.SN = :SN"), QStringLiteral("order by a.SSN")});
    } else {
        // Labelled rows of one text column, so both engines accept the union.
        auto row = [](int no, const char* item, const char* value, int n) {
            return QStringLiteral("select %1 as No, '%2' as Item, cast(%3 as varchar(32)) as ItemValue from D_ADM "
                                  "where CID = :CID%4 and SN = :SN%4")
                .arg(no).arg(QString::fromUtf8(item), QLatin1String(value), n == 0 ? QString() : QString::number(n));
        };
        qrySample.SetSQL(QStringList{
            row(-10, "检验时间", "WDate", 0), QStringLiteral("union all"), row(-9, "批量数", "Batch", 2),
            QStringLiteral("union all"), row(-8, "检验数", "Inspected", 3), QStringLiteral("union all"),
            row(-7, "不良数", "Rejected", 4), QStringLiteral("union all"),
            QStringLiteral("select -6 as No, '缺点数合计' as Item, cast(coalesce(sum(Defected), 0) as varchar(32)) as ItemValue "
                           "from D_ADD where CID = :CID5 and SN = :SN5"),
            QStringLiteral("union all"),
            QStringLiteral("select 1 as No, p.DPName as Item, cast(d.Defected as varchar(32)) as ItemValue "
                           "from D_ADD as d, L_DefectPhenomenon as p where d.DPID = p.DPID and d.CID = :CID6 and d.SN = :SN6"),
            QStringLiteral("order by 1")});
    }
    for (TZCQuery* q : {&qryException, &qryTag, &qryCase, &qryAction, &qryNote, &qrySample}) q->SetDatabase(&FDatabase);
}

TExceptionPoint::~TExceptionPoint() = default;

void TExceptionPoint::Open(int cid, int sn)
{
    Close();
    FCID = cid;
    FSN = sn;
    for (TZCQuery* q : {&qryException, &qryTag, &qryCase, &qryAction, &qryNote, &qrySample}) {
        for (const QString& name : q->ParamNames()) {
            if (name.startsWith(QLatin1String("CID"), Qt::CaseInsensitive)) q->SetParamValue(name, cid);
            if (name.startsWith(QLatin1String("SN"), Qt::CaseInsensitive)) q->SetParamValue(name, sn);
        }
        q->Open();
    }
    SetupUpdateSQL(qryNote, {}, {QStringLiteral("CID"), QStringLiteral("SN")});
    SetupUpdateSQL(qryCase, {QStringLiteral("CaseCode"), QStringLiteral("CaseName"), QStringLiteral("Describe")},
                   {QStringLiteral("CID"), QStringLiteral("SN"), QStringLiteral("CaseID")});
    SetupUpdateSQL(qryAction, {QStringLiteral("ActionCode"), QStringLiteral("ActionName"), QStringLiteral("Describe")},
                   {QStringLiteral("CID"), QStringLiteral("SN"), QStringLiteral("ActionID")});
}

void TExceptionPoint::Close()
{
    for (TZCQuery* q : {&qryException, &qryTag, &qryCase, &qryAction, &qryNote, &qrySample})
        while (q->Active()) q->Close();
}

QString TExceptionPoint::ViolationText() const
{
    QStringList texts;
    if (!qryException.Active()) return {};
    const int describe = qryException.FieldByName(QStringLiteral("Describe"))->Index();
    for (int r = 0; r < qryException.RecordCount(); ++r) texts << qryException.RowValue(r, describe).toString();
    return texts.join(QStringLiteral(";   "));
}

void TExceptionPoint::ReplaceCases(TDataSet* choice, const QString&)
{
    if (!choice) return;
    ReplaceBySelection(qryCase, *choice, kCaseFields);
    StampKeys(qryCase, FCID, FSN);
}

void TExceptionPoint::ReplaceActions(TDataSet* choice, const QString&)
{
    if (!choice) return;
    ReplaceBySelection(qryAction, *choice, kActionFields);
    StampKeys(qryAction, FCID, FSN);
}

void TExceptionPoint::ClearCases()
{
    ClearRows(qryCase);
}

void TExceptionPoint::ClearActions()
{
    ClearRows(qryAction);
}

TSubgroupState TExceptionPoint::StateAfterEdit(TSubgroupState stored, bool hasCausesOrActions, bool hasExceptions)
{
    if (hasCausesOrActions) return ssHandled;
    if (stored == ssHandled) return hasExceptions ? ssAbnormal : ssNormal;
    return stored;
}

TSubgroupState TExceptionPoint::Save(TSubgroupState shown)
{
    for (TZCQuery* q : {&qryNote, &qryCase, &qryAction}) q->Post();
    const bool hasRows = qryCase.RecordCount() > 0 || qryAction.RecordCount() > 0;
    const QString table = FKind == ikVariable ? QStringLiteral("D_VDM") : QStringLiteral("D_ADM");
    const TSqlParams key{{QStringLiteral("CID"), FCID}, {QStringLiteral("SN"), FSN}};
    TSubgroupState result = shown;
    bool gone = false;
    try {
        TTransactionGuard guard(FDatabase);
        QSqlQuery row = FDatabase.Exec(QStringLiteral("select State from %1 where CID = :CID and SN = :SN").arg(table), key);
        if (!row.next()) {
            gone = true;
            Fail("记录已被删除！");
        }
        const TSubgroupState stored = StateFromCode(VariantToInt(row.value(0)));
        row.finish();
        if (hasRows || stored == ssHandled) {
            QSqlQuery ex = FDatabase.Exec(QStringLiteral("select count(*) from D_Exception where CID = :CID and SN = :SN"), key);
            const bool hasExceptions = ex.next() && VariantToInt(ex.value(0)) > 0;
            result = StateAfterEdit(stored, hasRows, hasExceptions);
        } else if (shown == ssHandled) {
            result = stored;  // handled elsewhere meanwhile: the stored state stands
        }
        // The note row writes its State too: it carries the state just read, never a stale one.
        if (qryNote.IsEmpty()) {
            gone = true;
            Fail("记录已被删除！");
        }
        const int code = StateToCode(hasRows || stored == ssHandled ? result : stored);
        if (VariantToInt(qryNote.Value(QStringLiteral("State"))) != code || qryNote.UpdatesPending()) {
            qryNote.First();
            qryNote.Edit();
            qryNote.SetValue(QStringLiteral("State"), code);
            qryNote.Post();
        }
        for (TZCQuery* q : {&qryNote, &qryCase, &qryAction})
            if (q->UpdatesPending()) q->ApplyUpdates();
        guard.Commit();
    } catch (const ESPCDataError&) {
        if (gone) throw;
        Fail("数据保存失败！");
    } catch (...) {
        Fail("数据保存失败！");
    }
    return result;
}
