#pragma once
// The special rules of the master-data windows, without widgets: the process choice through the
// command centre, the process hierarchy check, the subgroup-size follow-up of variable control
// items, and which rows refer to a master record.
#include "masterdata/DataForm.h"

#include <QVariant>

class TDataSet;

// Runs the command "SelectProcess" with the process in idField (0 when empty): "UnSelected"
// empties both fields, a returned ID other than NullValue stores it and its name. False when the
// choice was cancelled.
bool ChooseProcess(TDataSet& dataSet, const QString& idField, const QString& nameField);

// Walks up from the edited process's parent through the processes of the data set; a parent
// whose own parent is the edited process raises "错误，所指定的“所属过程”是本过程的子过程！"
// (kind error). The walk stops at a process already visited, so a stored cycle ends.
void CheckProcessHierarchy(const TDataSet& processes, const QVariant& proID, const QVariant& parentID);

// What the subgroup size n (0 when empty) implies: the moving step is enabled (and set to 1) for
// n = 1 only; the default chart is none (0), "XBar-R" (1), "XBar-S" (2) or "X-Rm" (3).
struct TSampleSizeFollowUp {
    bool StepEnabled = false;
    QVariant Step;  // 1, or null (emptied)
    QVariant DefChart;  // null for none
};
TSampleSizeFollowUp FollowSampleSize(int n);

// The rows that refer to a master record, by table; deletion is refused while one exists.
namespace MasterReferences {
QList<TRecordReference> Process();
QList<TRecordReference> VControlItem();
QList<TRecordReference> AControlItem();
QList<TRecordReference> DefectItem();
QList<TRecordReference> DefectPhenomenon();
QList<TRecordReference> Case();
QList<TRecordReference> Action();
QList<TRecordReference> Tag();
QList<TRecordReference> TagTemplate();
// A tag value (TagID, TagValueID) used by subgroups, task conditions or templates.
void CheckTagValueDeletable(const QVariant& tagID, const QVariant& tagValueID);
} // namespace MasterReferences

// "同一标签在模板中只能出现一次！" when the template's rows list one tag twice.
void CheckTemplateTagsUnique(TDataSet& templateRows);

// The phenomena of a defect category or an attribute control item replaced by the ticked rows
// (Selected = 1) of the phenomenon choice: every row of detail is deleted (pending until the
// save), then each ticked phenomenon is appended with masterKeyField = masterID and its DPID,
// DPCode and DPName. keyFieldName is the choice's key field (DPID). Returns the rows appended.
int ReplaceDefectPhenomena(TDataSet& detail, const QString& masterKeyField, const QVariant& masterID,
                           TDataSet& choice, const QString& keyFieldName);

// One entry of a drop-down: the identifier stored and the text shown.
struct TChoiceItem {
    QVariant ID;
    QString Text;
};
// "标签：" of a tag template row: every tag by code (TagID, TagName).
QList<TChoiceItem> TemplateTagChoices();
// "预设值：": the values maintained in the tag window (UserInput = 1) of one tag, as the tag
// window lists them (TagValueID, TagValue); none for an empty tag.
QList<TChoiceItem> TemplateValueChoices(const QVariant& tagID);
// A template row's tag chosen: TagID and the shown TagName; a value of the previous tag does not
// belong to the new one and is emptied.
void ChooseTemplateRowTag(TDataSet& row, const QVariant& tagID, const QString& tagName);
// A template row's preset value chosen: TagValueID and the shown TagValue.
void ChooseTemplateRowValue(TDataSet& row, const QVariant& valueID, const QString& value);
