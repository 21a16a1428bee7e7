#pragma once
// The special rules of the master-data windows, without widgets: the process choice through the
// command centre, the process hierarchy check, the subgroup-size follow-up of variable control
// items, and which rows refer to a master record.
#include "masterdata/DataForm.h"

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
