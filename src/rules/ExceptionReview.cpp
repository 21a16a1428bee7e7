#include "rules/ExceptionReview.h"

#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/RecordUtils.h"
#include "foundation/ZCDb.h"
#include "rules/ChartJudge.h"

int ReplaceBySelection(TDataSet& target, TDataSet& choice, const QStringList& fields)
{
    choice.Post();
    ClearRows(target);
    const int selected = choice.FieldByName(QStringLiteral("Selected"))->Index();
    QList<QPair<QString, int>> copied;
    for (const QString& f : fields) {
        const TField* source = choice.FindField(f);
        if (source && target.FindField(f)) copied.append({f, source->Index()});
    }
    int appended = 0;
    for (int row = 0; row < choice.RecordCount(); ++row) {
        if (VariantToInt(choice.RowValue(row, selected)) != 1) continue;
        target.Append();
        for (const auto& c : copied) target.SetValue(c.first, choice.RowValue(row, c.second));
        target.Post();
        ++appended;
    }
    if (!target.IsEmpty()) target.First();
    return appended;
}

void ClearRows(TDataSet& dataSet)
{
    dataSet.Cancel();
    while (!dataSet.IsEmpty()) {
        dataSet.First();
        dataSet.Delete();
    }
}

QStringList JudgeRuleFields()
{
    return {QStringLiteral("JRID"),       QStringLiteral("JRCode"),     QStringLiteral("JRName"),
            QStringLiteral("Describe"),   QStringLiteral("TargetType"), QStringLiteral("JudgeType"),
            QStringLiteral("Area_Trend"), QStringLiteral("ExceptionType_Trend"), QStringLiteral("Area_Run"),
            QStringLiteral("Exception_Run"), QStringLiteral("ExceptionType_Run")};
}

void ShowTemplateRules(TZCQuery& detail, const QVariant& templateID)
{
    // A template without a key shows nothing: NullValue matches no template.
    const int id = templateID.isNull() || !templateID.isValid() ? int(NullValue) : VariantToInt(templateID);
    detail.SetParamValue(QStringLiteral("JRTID"), id);
    // The query is shared and opened by count: read it again rather than close it under others.
    if (detail.Active())
        detail.Refresh();
    else
        detail.Open();
}

int RunChartCheck(TChartJudge& judge, TZCQuery& exceptionQuery, TCompanyDM& database)
{
    if (judge.Rules.Count() == 0) return NullValue;
    const int base = GetLastJudgeSN(database);
    judge.JudgeSN = base;
    if (judge.VariableData())
        judge.SetVariableData(judge.VariableData());
    else
        judge.SetAttributeData(judge.AttributeData());
    ReopenExceptionQuery(exceptionQuery);
    judge.ExceptionData = &exceptionQuery;
    judge.JudgeChart();
    return base;
}

void SaveCheckResult(TChartJudge& judge, TCompanyDM& database, int taskID, int& baseJudgeSN)
{
    if (judge.Saved) {
        // The judge says so itself.
        judge.SaveResult(database, taskID, baseJudgeSN);
        return;
    }
    TDataSet* rows = judge.ExceptionData;
    TCompanyDM* previous = TCompanyDM::Current();
    TCompanyDM::SetCurrent(&database);
    try {
        TTransactionGuard guard(database);
        // Holding the counter row keeps a second saver waiting until this save has ended, so
        // the highest number read next is final for this save.
        GetPrimaryKey(QStringLiteral("JudgeSN"));
        const int base = GetLastJudgeSN(database);
        // The rows are numbered after the base their check read; whichever result window saves,
        // they move behind the highest number stored now.
        int first = NullValue;
        if (rows && rows->Active() && !rows->IsEmpty()) {
            const int field = rows->FieldByName(QStringLiteral("JudgeSN"))->Index();
            for (int r = 0; r < rows->RecordCount(); ++r) {
                const int v = VariantToInt(rows->RowValue(r, field));
                if (first == NullValue || v < first) first = v;
            }
        }
        const int shift = first == NullValue ? 0 : base - (first - 1);
        if (shift != 0) {
            rows->DisableControls();
            TField* sn = rows->FieldByName(QStringLiteral("JudgeSN"));
            for (rows->First(); !rows->Eof(); rows->Next()) {
                rows->Edit();
                sn->SetValue(sn->AsInteger() + shift);
                rows->Post();
            }
            rows->First();
            rows->EnableControls();
            judge.JudgeSN += shift;
        }
        baseJudgeSN = base;
        judge.SaveResult(database, taskID, baseJudgeSN);
        guard.Commit();
    } catch (...) {
        TCompanyDM::SetCurrent(previous);
        throw;
    }
    TCompanyDM::SetCurrent(previous);
}
