#include "masterdata/MasterDataRules.h"

#include "foundation/CommandCentre.h"
#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/RecordUtils.h"
#include "foundation/Types.h"

#include <QSet>
#include <QSqlQuery>

bool ChooseProcess(TDataSet& dataSet, const QString& idField, const QString& nameField)
{
    TCommandCenter* centre = TCommandCenter::Instance();
    if (!centre) throw EAFCError(QStringLiteral("Command:SelectProcess not find"));
    TCommand* command = centre->CommandByName(QStringLiteral("SelectProcess"));
    TField* id = dataSet.FieldByName(idField);
    TField* name = dataSet.FieldByName(nameField);
    command->SetParamValue(QStringLiteral("ID"), id->IsNull() ? 0 : id->AsInteger());
    command->Execute();
    const QVariant unselected = command->Params().FindParam(QStringLiteral("UnSelected"))
                                    ? command->GetParamValue(QStringLiteral("UnSelected")) : QVariant(false);
    if (unselected.toBool()) {
        if (dataSet.State() == TDataSetState::Browse) dataSet.Edit();
        id->Clear();
        name->Clear();
        return true;
    }
    const int chosen = VariantToInt(command->GetParamValue(QStringLiteral("ID")));
    if (chosen == NullValue) return false;
    if (dataSet.State() == TDataSetState::Browse) dataSet.Edit();
    id->SetValue(chosen);
    name->SetValue(command->GetParamValue(QStringLiteral("Name")));
    return true;
}

void CheckProcessHierarchy(const TDataSet& processes, const QVariant& proID, const QVariant& parentID)
{
    if (proID.isNull() || parentID.isNull()) return;
    QSet<int> visited;
    QVariant current = parentID;
    while (!current.isNull() && !visited.contains(current.toInt())) {
        visited.insert(current.toInt());
        if (VariantsEqual(current, proID))
            throw ERuleError(QStringLiteral("错误，所指定的“所属过程”是本过程的子过程！"), TRuleErrorKind::Error);
        const QVariant found = processes.Lookup(QStringLiteral("ProID"), current, QStringLiteral("ProID"));
        if (found.isNull()) break;
        const QVariant parent = processes.Lookup(QStringLiteral("ProID"), current, QStringLiteral("ParentID"));
        if (VariantsEqual(parent, proID))
            throw ERuleError(QStringLiteral("错误，所指定的“所属过程”是本过程的子过程！"), TRuleErrorKind::Error);
        current = parent;
    }
}

TSampleSizeFollowUp FollowSampleSize(int n)
{
    TSampleSizeFollowUp f;
    if (n == 1) {
        f.StepEnabled = true;
        f.Step = 1;
        f.DefChart = 3;
    } else if (n >= 2 && n <= 8) {
        f.DefChart = 1;
    } else if (n >= 9) {
        f.DefChart = 2;
    }
    return f;
}

namespace MasterReferences {
QList<TRecordReference> Process()
{
    return {{"L_Process", "ParentID"}, {"L_VControlItem", "ProID"}, {"L_AControlItem", "ProID"}};
}
QList<TRecordReference> VControlItem()
{
    return {{"D_VDM", "CID"}, {"D_CLL", "CID"}};
}
QList<TRecordReference> AControlItem()
{
    return {{"D_ADM", "CID"}, {"D_CLL", "CID"}};
}
QList<TRecordReference> DefectItem()
{
    return {{"L_DefectPhenomenon", "DID"}};
}
QList<TRecordReference> DefectPhenomenon()
{
    return {{"L_AControlItemDP", "DPID"}, {"L_DefectItemDP", "DPID"}, {"D_ADD", "DPID"}};
}
QList<TRecordReference> Case()
{
    return {{"D_Case", "CaseID"}};
}
QList<TRecordReference> Action()
{
    return {{"D_Action", "ActionID"}};
}
QList<TRecordReference> Tag()
{
    return {{"D_Tag", "TagID"}, {"L_TagTemplateDetail", "TagID"}, {"m_Tag", "TagID"}};
}
QList<TRecordReference> TagTemplate()
{
    return {{"D_VDM", "TagTemplateID"}, {"D_ADM", "TagTemplateID"}};
}

void CheckTagValueDeletable(const QVariant& tagID, const QVariant& tagValueID)
{
    for (const char* table : {"D_Tag", "L_TagTemplateDetail", "m_Tag"}) {
        const QVariant n = GetSQLValue(QStringLiteral("select count(*) from %1 where TagID = :TagID and TagValueID = :TagValueID")
                                           .arg(QLatin1String(table)),
                                       {{"TagID", tagID}, {"TagValueID", tagValueID}});
        if (n.toInt() > 0) throw ERuleError(RecordInUseMessage(), TRuleErrorKind::Hint);
    }
}
} // namespace MasterReferences

void CheckTemplateTagsUnique(TDataSet& templateRows)
{
    QSet<int> seen;
    const int tagField = templateRows.FieldByName(QStringLiteral("TagID"))->Index();
    for (int row = 0; row < templateRows.RecordCount(); ++row) {
        const QVariant tag = templateRows.RowValue(row, tagField);
        if (tag.isNull()) continue;
        if (seen.contains(tag.toInt()))
            throw ERuleError(QStringLiteral("同一标签在模板中只能出现一次！"), TRuleErrorKind::Hint);
        seen.insert(tag.toInt());
    }
}

int ReplaceDefectPhenomena(TDataSet& detail, const QString& masterKeyField, const QVariant& masterID,
                           TDataSet& choice, const QString& keyFieldName)
{
    choice.Post();
    detail.Cancel();
    while (!detail.IsEmpty()) {
        detail.First();
        detail.Delete();
    }
    const int selected = choice.FieldByName(QStringLiteral("Selected"))->Index();
    const int key = choice.FieldByName(keyFieldName)->Index();
    const int code = choice.FieldByName(QStringLiteral("DPCode"))->Index();
    const int name = choice.FieldByName(QStringLiteral("DPName"))->Index();
    int appended = 0;
    for (int row = 0; row < choice.RecordCount(); ++row) {
        if (VariantToInt(choice.RowValue(row, selected)) != 1) continue;
        detail.Append();
        detail.SetValue(masterKeyField, masterID);
        detail.SetValue(QStringLiteral("DPID"), choice.RowValue(row, key));
        detail.SetValue(QStringLiteral("DPCode"), choice.RowValue(row, code));
        detail.SetValue(QStringLiteral("DPName"), choice.RowValue(row, name));
        detail.Post();
        ++appended;
    }
    if (!detail.IsEmpty()) detail.First();
    return appended;
}

namespace {
QList<TChoiceItem> ReadChoices(const QString& sql, const TSqlParams& params = {})
{
    TCompanyDM* dm = TCompanyDM::Current();
    if (!dm) throw ESystemError(QStringLiteral("数据库没有连接！"));
    QSqlQuery q = dm->Exec(sql, params);
    QList<TChoiceItem> items;
    while (q.next()) items.append({q.value(0), q.value(1).toString()});
    return items;
}

void EditRow(TDataSet& row)
{
    if (row.State() == TDataSetState::Browse) row.Edit();
}
} // namespace

QList<TChoiceItem> TemplateTagChoices()
{
    return ReadChoices(QStringLiteral("select TagID, TagName from L_Tag order by TagCode"));
}

QList<TChoiceItem> TemplateValueChoices(const QVariant& tagID)
{
    if (tagID.isNull()) return {};
    return ReadChoices(QStringLiteral("select TagValueID, TagValue from L_TagValue "
                                      "where UserInput = 1 and TagID = :TagID order by TagValueID"),
                       {{QStringLiteral("TagID"), tagID}});
}

void ChooseTemplateRowTag(TDataSet& row, const QVariant& tagID, const QString& tagName)
{
    EditRow(row);
    if (!VariantsEqual(row.Value(QStringLiteral("TagID")), tagID)) {
        row.SetValue(QStringLiteral("TagValueID"), QVariant());
        row.SetValue(QStringLiteral("TagValue"), QVariant());
    }
    row.SetValue(QStringLiteral("TagID"), tagID);
    row.SetValue(QStringLiteral("TagName"), tagID.isNull() ? QVariant() : QVariant(tagName));
}

void ChooseTemplateRowValue(TDataSet& row, const QVariant& valueID, const QString& value)
{
    EditRow(row);
    row.SetValue(QStringLiteral("TagValueID"), valueID);
    row.SetValue(QStringLiteral("TagValue"), valueID.isNull() ? QVariant() : QVariant(value));
}
