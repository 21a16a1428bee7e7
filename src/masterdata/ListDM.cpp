#include "masterdata/ListDM.h"

#include "foundation/CompanyDM.h"

namespace {
TListDM* g_current = nullptr;

// The widths of the text columns of the master tables (as the schema declares them).
const QHash<QString, int>& ColumnWidths()
{
    static const QHash<QString, int> widths = {
        {"procode", 15}, {"proname", 32}, {"parentname", 32},
        {"ccode", 15}, {"cname", 32}, {"unit", 255},
        {"dcode", 15}, {"dname", 32}, {"dpcode", 15}, {"dpname", 32},
        {"casecode", 15}, {"casename", 32}, {"actioncode", 15}, {"actionname", 32},
        {"tagcode", 15}, {"tagname", 32}, {"tagvalue", 128},
        {"tagtemplatecode", 15}, {"tagtemplatename", 32},
        {"jrcode", 15}, {"jrname", 32}, {"jrtcode", 15}, {"jrtname", 32},
        {"describe", 200},
    };
    return widths;
}
} // namespace

void TListQuery::InternalOpen()
{
    TZCQuery::InternalOpen();
    std::vector<TFieldDef> defs;
    for (int i = 0; i < FieldCount(); ++i) {
        const TField* f = Fields(i);
        TFieldDef d{f->FieldName(), f->DataType(), f->Size()};
        const auto it = FieldSizes.constFind(f->FieldName().toLower());
        if (it != FieldSizes.constEnd()) {
            d.Size = *it;
            if (d.DataType == TFieldType::Unknown) d.DataType = TFieldType::String;
        }
        defs.push_back(d);
    }
    DefineFields(defs, false);
}

TListDM::TListDM(TCompanyDM& dm, QObject* parent) : QObject(parent), FDM(dm)
{
    setObjectName(QStringLiteral("ListDM"));
    qryProcess = Make("qryProcess", {"select a.*, ", "(Select ProName from L_Process b where b.ProID = a.ParentID) as ParentName ",
                                     "from L_Process a", "Order by a.ProCode"});
    qryVControlItem = Make("qryVControlItem", {"Select a.*, b.ProName", "from L_VControlItem a left join L_Process b ",
                                               "on (a.ProID = b.ProID)", "order by a.CCode"});
    qryAControlItem = Make("qryAControlItem", {"Select a.*, b.ProName", "from L_AControlItem a Left join L_Process b",
                                               "on( a.ProID = b.ProID)", "Order by a.CCode"});
    qryAControlItemDP = Make("qryAControlItemDP", {"Select a.CID, a.DPID, b.DPCode,b.DPName",
                                                   "from L_AControlItemDP a, L_DefectPhenomenon b",
                                                   "where a.DPID = b.DPID and a.CID = :CID", "order by b.DPCode"},
                             qryAControlItem);
    qryDefectItem = Make("qryDefectItem", {"select * from L_DefectItem", "Order by DCode"});
    qryDefectItemDP = Make("qryDefectItemDP", {"Select a.DID, a.DPID, b.DPCode,b.DPName",
                                               "from L_DefectItemDP a, L_DefectPhenomenon b",
                                               "where a.DPID = b.DPID and a.DID = :DID", "order by b.DPCode"},
                           qryDefectItem);
    qryDefectPhenomenon = Make("qryDefectPhenomenon", {"select a.*", "from L_DefectPhenomenon a", "Order By a.DPCode"});
    qryCase = Make("qryCase", {"select * from L_Case", "order by CaseCode"});
    qryAction = Make("qryAction", {"select * from L_Action", "order by ActionCode"});
    qryTag = Make("qryTag", {"select * from L_Tag", "order by TagCode"});
    qryTagValue = Make("qryTagValue", {"select * from L_TagValue ", "where UserInput = 1 and TagID = :TagID",
                                       "order by TagValueID"},
                       qryTag);
    qryTagTemplate = Make("qryTagTemplate", {"select * from L_TagTemplate", "order by TagTemplateCode"});
    qryTagTemplateDetail = Make("qryTagTemplateDetail",
                                {"Select a.*, ", "(select TagName from L_Tag b where a.TagID = b.TagID) as TagName, ",
                                 "(Select TagValue from L_TagValue c where c.TagID = a.TagID and c.TagValueID = a.TagValueID) as TagValue",
                                 "From L_TagTemplateDetail a ", "where a.TagTemplateID = :TagTemplateID",
                                 "order by a.TagTemplateDetailID"},
                                qryTagTemplate);
    qryJudgeRule = Make("qryJudgeRule", {"select * from L_JudgeRule", "order by JRCode"});
    qryJudgeRuleTemplate = Make("qryJudgeRuleTemplate", {"select * from L_JudgeRuleTemplate", "order by JRTCode"});
    qryJudgeRuleTemplateDetail = Make("qryJudgeRuleTemplateDetail",
                                      {"select a.JRTID, a.JRID, b.JRCode, b.JRName, b.Describe",
                                       "from L_JudgeRuleTemplateDetail  as a, L_JudgeRule b",
                                       "where a.JRID = b.JRID and a.JRTID = :JRTID", "order by b.JRCode"},
                                      qryJudgeRuleTemplate);
    // Rule descriptions are long texts; a template's description holds 64 characters.
    qryJudgeRule->FieldSizes.remove(QStringLiteral("describe"));
    qryJudgeRuleTemplateDetail->FieldSizes.remove(QStringLiteral("describe"));
    qryJudgeRuleTemplate->FieldSizes.insert(QStringLiteral("describe"), 64);
    g_current = this;
}

TListDM::~TListDM()
{
    for (TListQuery* q : FQueries)
        for (int i = q->OpenCount(); i > 0 && q->Active(); --i) q->Close();
    if (g_current == this) g_current = nullptr;
}

TListDM* TListDM::Current()
{
    return g_current;
}

TListQuery* TListDM::Make(const QString& name, const QStringList& sql, TDataSet* master)
{
    auto* q = new TListQuery(this);
    q->setObjectName(name);
    q->SetDatabase(&FDM);
    q->SetSQL(sql);
    q->FieldSizes = ColumnWidths();
    if (master) q->SetMasterSource(master);
    FQueries << q;
    return q;
}
