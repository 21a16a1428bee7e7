#include "masterdata/MasterDataForms.h"

#include "foundation/DataSet.h"
#include "foundation/RecordUtils.h"
#include "masterdata/DataForm.h"
#include "masterdata/ListDM.h"
#include "masterdata/MasterDataRules.h"

namespace {
TListDM* DM()
{
    return TListDM::Current();
}

void RequireCodeAndName(TDataForm& form, TDataSet& ds, const QString& code, const QString& name)
{
    form.CheckRequired(ds, code, QStringLiteral("编码"));
    form.CheckRequired(ds, name, QStringLiteral("名称"));
}

void SetupSingle(TListDataForm& form, TListQuery* query, const QString& key, const QString& code, const QString& name)
{
    form.SetMainDataSet(query);
    form.KeyFieldName = key;
    form.Rules = [code, name](TListDataForm& f) { RequireCodeAndName(f, *f.MainDataSet(), code, name); };
}

void SetupMD(TListMDDataForm& form, TListQuery* master, TListQuery* detail, const QStringList& masterKeys,
             const QStringList& detailKeys, const QString& code, const QString& name)
{
    form.SetMasterDataSet(master);
    form.SetDetailDataSet(detail);
    form.MasterKeyFields = masterKeys;
    form.DetailKeyFields = detailKeys;
    form.MasterRules = [code, name](TListMDDataForm& f) { RequireCodeAndName(f, *f.MasterDataSet(), code, name); };
}
} // namespace

void SetupProcessForm(TListDataForm& form)
{
    SetupSingle(form, DM() ? DM()->qryProcess : nullptr, QStringLiteral("ProID"), QStringLiteral("ProCode"),
                QStringLiteral("ProName"));
    form.ReadOnlyFields = {QStringLiteral("ParentName")};
    form.References = MasterReferences::Process();
    form.Rules = [](TListDataForm& f) {
        TDataSet& ds = *f.MainDataSet();
        RequireCodeAndName(f, ds, QStringLiteral("ProCode"), QStringLiteral("ProName"));
        // A new process has no children yet.
        if (ds.UpdateStatus() != TUpdateStatus::Inserted)
            CheckProcessHierarchy(ds, ds.Value(QStringLiteral("ProID")), ds.Value(QStringLiteral("ParentID")));
    };
}

void SetupVControlItemForm(TListDataForm& form)
{
    SetupSingle(form, DM() ? DM()->qryVControlItem : nullptr, QStringLiteral("CID"), QStringLiteral("CCode"),
                QStringLiteral("CName"));
    form.ReadOnlyFields = {QStringLiteral("ProName")};
    form.References = MasterReferences::VControlItem();
    if (form.MainDataSet()) form.SetDefaultDefinition(QStringLiteral("nSigma:=3"));
    form.Rules = [](TListDataForm& f) {
        TDataSet& ds = *f.MainDataSet();
        RequireCodeAndName(f, ds, QStringLiteral("CCode"), QStringLiteral("CName"));
        f.CheckRequired(ds, QStringLiteral("SL"), QStringLiteral("规格限"));
        f.CheckRequired(ds, QStringLiteral("SampleSize"), QStringLiteral("样本容量"));
        f.CheckRequired(ds, QStringLiteral("nSigma"), QStringLiteral("控制限水平"));
        f.CheckRequired(ds, QStringLiteral("DefChart"), QStringLiteral("缺省控制图"));
        if (ds.FieldByName(QStringLiteral("SampleSize"))->AsInteger() == 1)
            f.CheckRequired(ds, QStringLiteral("Step"), QStringLiteral("移动步长"));
        f.CheckCompare(ds, QStringLiteral("USL"), QStringLiteral("SL"), QStringLiteral(">="), true,
                       QStringLiteral("规格限"), QStringLiteral("规格上限"));
        f.CheckCompare(ds, QStringLiteral("LSL"), QStringLiteral("SL"), QStringLiteral("<="), true,
                       QStringLiteral("规格限"), QStringLiteral("规格下限"));
    };
}

void SetupCaseForm(TListDataForm& form)
{
    SetupSingle(form, DM() ? DM()->qryCase : nullptr, QStringLiteral("CaseID"), QStringLiteral("CaseCode"),
                QStringLiteral("CaseName"));
    form.References = MasterReferences::Case();
}

void SetupActionForm(TListDataForm& form)
{
    SetupSingle(form, DM() ? DM()->qryAction : nullptr, QStringLiteral("ActionID"), QStringLiteral("ActionCode"),
                QStringLiteral("ActionName"));
    form.References = MasterReferences::Action();
}

void SetupDefectPhenomenonForm(TListDataForm& form)
{
    SetupSingle(form, DM() ? DM()->qryDefectPhenomenon : nullptr, QStringLiteral("DPID"), QStringLiteral("DPCode"),
                QStringLiteral("DPName"));
    form.References = MasterReferences::DefectPhenomenon();
}

void SetupAControlItemForm(TListMDDataForm& form)
{
    SetupMD(form, DM() ? DM()->qryAControlItem : nullptr, DM() ? DM()->qryAControlItemDP : nullptr,
            {QStringLiteral("CID")}, {QStringLiteral("CID"), QStringLiteral("DPID")}, QStringLiteral("CCode"),
            QStringLiteral("CName"));
    form.MasterReadOnlyFields = {QStringLiteral("ProName")};
    form.DetailReadOnlyFields = {QStringLiteral("DPCode"), QStringLiteral("DPName")};
    form.References = MasterReferences::AControlItem();
    form.DetailTables = {{QStringLiteral("L_AControlItemDP"), QStringLiteral("CID")}};
}

void SetupDefectItemForm(TListMDDataForm& form)
{
    SetupMD(form, DM() ? DM()->qryDefectItem : nullptr, DM() ? DM()->qryDefectItemDP : nullptr,
            {QStringLiteral("DID")}, {QStringLiteral("DID"), QStringLiteral("DPID")}, QStringLiteral("DCode"),
            QStringLiteral("DName"));
    form.DetailReadOnlyFields = {QStringLiteral("DPCode"), QStringLiteral("DPName")};
    form.References = MasterReferences::DefectItem();
    form.DetailTables = {{QStringLiteral("L_DefectItemDP"), QStringLiteral("DID")}};
}

void SetupTagForm(TListMDDataForm& form)
{
    SetupMD(form, DM() ? DM()->qryTag : nullptr, DM() ? DM()->qryTagValue : nullptr, {QStringLiteral("TagID")},
            {QStringLiteral("TagID"), QStringLiteral("TagValueID")}, QStringLiteral("TagCode"), QStringLiteral("TagName"));
    form.References = MasterReferences::Tag();
    // Every value of the tag goes with it, also those not maintained here.
    form.DetailTables = {{QStringLiteral("L_TagValue"), QStringLiteral("TagID")}};
    if (form.DetailDataSet())
        form.DetailDefaultValues = std::make_unique<TDefaultValueManager>(form.DetailDataSet(), QStringLiteral("UserInput:=1"));
    form.InitDetailRow = [](TListMDDataForm& f) {
        const QVariant tag = f.MasterDataSet()->Value(QStringLiteral("TagID"));
        f.DetailDataSet()->SetValue(QStringLiteral("TagID"), tag);
        f.DetailDataSet()->SetValue(QStringLiteral("TagValueID"), GetModulePrimaryKey(tag.toInt()));
    };
    form.DetailRowRules = [](TListMDDataForm& f) {
        f.CheckRequired(*f.DetailDataSet(), QStringLiteral("TagValue"), QStringLiteral("预设值"));
    };
    form.CheckDetailDeletable = [](TDataSet& d) {
        MasterReferences::CheckTagValueDeletable(d.Value(QStringLiteral("TagID")), d.Value(QStringLiteral("TagValueID")));
    };
}

void SetupTagTemplateForm(TListMDDataForm& form)
{
    SetupMD(form, DM() ? DM()->qryTagTemplate : nullptr, DM() ? DM()->qryTagTemplateDetail : nullptr,
            {QStringLiteral("TagTemplateID")}, {QStringLiteral("TagTemplateID"), QStringLiteral("TagTemplateDetailID")},
            QStringLiteral("TagTemplateCode"), QStringLiteral("TagTemplateName"));
    form.DetailReadOnlyFields = {QStringLiteral("TagName"), QStringLiteral("TagValue")};
    form.References = MasterReferences::TagTemplate();
    form.DetailTables = {{QStringLiteral("L_TagTemplateDetail"), QStringLiteral("TagTemplateID")}};
    form.InitDetailRow = [](TListMDDataForm& f) {
        const QVariant id = f.MasterDataSet()->Value(QStringLiteral("TagTemplateID"));
        f.DetailDataSet()->SetValue(QStringLiteral("TagTemplateID"), id);
        f.DetailDataSet()->SetValue(QStringLiteral("TagTemplateDetailID"), GetModulePrimaryKey(id.toInt()));
    };
    form.MasterRules = [](TListMDDataForm& f) {
        RequireCodeAndName(f, *f.MasterDataSet(), QStringLiteral("TagTemplateCode"), QStringLiteral("TagTemplateName"));
        CheckTemplateTagsUnique(*f.DetailDataSet());
    };
    form.DetailRowRules = [](TListMDDataForm& f) {
        f.CheckRequired(*f.DetailDataSet(), QStringLiteral("TagID"), QStringLiteral("标签"));
    };
}
