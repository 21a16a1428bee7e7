#include "masterdata/KQCommonDM.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"

#include <QSet>
#include <iterator>

namespace {
struct TQueryDef {
    const char* Name;
    const char* Select;
};

// In the order of the module's query enumeration. Lists without an order of their own are read
// by code, so the dialogs show them the same way on both engines.
const TQueryDef kQueries[] = {
    {"qryProcess",
     "select ProID,ProCode,ProName from L_Process\n"
     "order by ProCode"},
    {"qryVControlItem",
     "select a.CID, a.CCode, a.CName, a.ProID, b.ProCode, b.ProName \n"
     "from L_VControlItem a left join L_Process b\n"
     "on( a.ProID = b.ProID)\n"
     "order by a.CCode"},
    {"qryAControlItem",
     "select a.CID, a.CCode, a.CName, a.ProID, b.ProCode, b.ProName, a.LotSize \n"
     "from L_AControlItem a left join L_Process b\n"
     "on( a.ProID = b.ProID)\n"
     "order by a.CCode"},
    {"qryDefectItem",
     "select DID,DCode,DName from L_DefectItem\n"
     "order by DCode"},
    {"qryTagValue",
     "select a.* from L_TagValue a where a.TagID = :TagID\n"
     "order by a.TagValueID"},
    {"qryTagTemplate",
     "select * from L_TagTemplate\n"
     "order by TagTemplateCode"},
    {"qryDefectPhenomenon",
     "select 0 as Selected,DPID,DPCode,DPName from L_DefectPhenomenon\n"
     "order by DPCode"},
    {"qryMAction",
     "select 0 as Selected,ActionID,ActionCode,ActionName, Describe \n"
     "from L_Action\n"
     "order by ActionCode"},
    {"qryMCase",
     "select 0 as Selected,CaseID,CaseCode,CaseName,Describe \n"
     "from L_Case\n"
     "order by CaseCode"},
    {"qryJudgeRuleTemplate",
     "select * from L_JudgeRuleTemplate\n"
     "order by JRTCode"},
    {"qryJudgeRuleTemplateDetail",
     "select a.JRTID, a.JRID, b.JRCode, b.JRName, b.Describe,\n"
     "   b.TargetType, b.JudgeType, b.Area_Trend, b.ExceptionType_Trend, \n"
     "   b.Area_Run, b.Exception_Run ,b.ExceptionType_Run\n"
     "from L_JudgeRuleTemplateDetail  as a, L_JudgeRule b\n"
     "where a.JRID = b.JRID and a.JRTID = :JRTID\n"
     "order by b.JRCode"},
    {"qryMJudgeRule",
     "select 0 as Selected, JRID,JRCode,JRName,Describe,\n"
     "  TargetType, JudgeType, Area_Trend, ExceptionType_Trend, \n"
     "  Area_Run, Exception_Run ,ExceptionType_Run\n"
     "from L_JudgeRule\n"
     "order by JRCode"},
    {"qryException",
     "select a.*\n"
     "from D_Exception as a\n"
     "where a.CID = :CID and a.SN = :SN\n"
     "order by a.JudgeSN"},
};

TKQCommonDM* g_current = nullptr;

QString KeyText(const QVariant& value)
{
    return DisplayTextOf(value);
}
} // namespace

QString TKQCommonDM::SelectText(int query)
{
    return QString::fromUtf8(kQueries[query].Select);
}

TKQCommonDM::TKQCommonDM(TCompanyDM& database) : FDatabase(database)
{
    static_assert(std::size(kQueries) == QueryCount);
    for (int i = 0; i < QueryCount; ++i) {
        FQueries[i] = std::make_unique<TZCQuery>();
        FQueries[i]->setObjectName(QLatin1String(kQueries[i].Name));
        FQueries[i]->SetDatabase(&FDatabase);
        FQueries[i]->SetSQL(SelectText(i));
    }
    // Until a tag is given the value list shows nothing.
    qryTagValue().SetParamValue(QStringLiteral("TagID"), -1);
}

TKQCommonDM::~TKQCommonDM()
{
    if (g_current == this) g_current = nullptr;
}

TKQCommonDM* TKQCommonDM::Current()
{
    return g_current;
}

void TKQCommonDM::SetCurrent(TKQCommonDM* dm)
{
    g_current = dm;
}

void OpenSelectDataSet(TDataSet* dataSet, const QString& caption)
{
    if (!dataSet) throw ESystemError(QStringLiteral("%1的数据集未指定或丢失").arg(caption));
    const bool wasActive = dataSet->Active();
    dataSet->Open();
    if (wasActive) dataSet->Refresh();
}

void CloseSelectDataSet(TDataSet* dataSet)
{
    if (!dataSet || !dataSet->Active()) return;
    dataSet->CancelUpdates();
    dataSet->Close();
}

bool LocateSelectKey(TDataSet& dataSet, const QString& keyFieldName, const QVariant& id)
{
    const bool none = !id.isValid() || id.isNull() || VariantToInt(id) == NullValue;
    if (!none && dataSet.Locate(keyFieldName, id)) return true;
    dataSet.First();
    return false;
}

TSingleSelection SingleSelection(const TDataSet& dataSet, int row, const QString& keyFieldName,
                                 const QString& nameFieldName, bool accepted, bool unselected)
{
    TSingleSelection s;
    if (!accepted) return s;
    s.UnSelected = unselected;
    if (unselected || row < 0 || row >= dataSet.RecordCount()) return s;
    const TField* key = dataSet.FieldByName(keyFieldName);
    const int id = VariantToInt(dataSet.RowValue(row, key->Index()));
    // A row without an identifier cannot be stored by the caller.
    if (id == NullValue) return s;
    s.ID = id;
    s.Row = row;
    if (!nameFieldName.isEmpty())
        s.Name = VariantToString(dataSet.RowValue(row, dataSet.FieldByName(nameFieldName)->Index()));
    return s;
}

int MarkSelectedRows(TDataSet& rows, const QString& keyFieldName, const TDataSet* current,
                     const QString& currentKeyFieldName)
{
    if (!current || !current->Active() || current->IsEmpty()) return 0;
    const int currentKey = current->FieldByName(currentKeyFieldName)->Index();
    QSet<QString> keys;
    for (int r = 0; r < current->RecordCount(); ++r) {
        const QVariant v = current->RowValue(r, currentKey);
        if (!v.isNull()) keys.insert(KeyText(v));
    }
    const int key = rows.FieldByName(keyFieldName)->Index();
    TField* selected = rows.FieldByName(QStringLiteral("Selected"));
    const int recNo = rows.RecNo();
    int marked = 0;
    rows.DisableControls();
    try {
        for (int r = 0; r < rows.RecordCount(); ++r) {
            const QVariant v = rows.RowValue(r, key);
            if (v.isNull() || !keys.contains(KeyText(v))) continue;
            rows.SetRecNo(r + 1);
            rows.Edit();
            selected->SetValue(1);
            rows.Post();
            ++marked;
        }
    } catch (...) {
        rows.EnableControls();
        throw;
    }
    if (recNo > 0) rows.SetRecNo(recNo);
    rows.EnableControls();
    return marked;
}
