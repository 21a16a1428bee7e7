#pragma once
// The sample provider turns a confirmed task into data: the selection step writes the task's
// subgroups into m_CTemp (item, time window, tag filter), the load reads them with their values
// or defects into a data list of the engine, in two ordered passes merged in step.
//
// A load replaces the list's subgroups only when it has read everything: a cancelled or failed
// load leaves the list, and the task's m_CTemp rows, as they were.
#include "foundation/Types.h"

#include <QStringList>
#include <functional>
#include <vector>

class TAttributeDataList;
class TCompanyDM;
class TVariableDataList;

// Called while a load reads: done of total steps; false cancels the load.
using TLoadProgress = std::function<bool(int done, int total)>;

// One D_Tag row of a loaded subgroup.
struct TSubgroupTag {
    int CID;
    int SN;
    int TagID;
    int TagValueID;  // NullValue when the tag has no value
};

struct TSampleLoadOptions {
    // The control item the list is bound to (SetCID) when the load completes; NullValue: the list
    // keeps its own.
    int CID = NullValue;
    TLoadProgress Progress;
    // When given, filled with the D_Tag rows of the loaded subgroups, ordered by CID, SN, TagID.
    std::vector<TSubgroupTag>* Tags = nullptr;
};

enum class TSampleLoadResult {
    Loaded,     // the list holds the task's subgroups
    NoData,     // nothing matches: the list is empty (the window says so, NoSamplesText)
    Cancelled,  // the list and m_CTemp are as they were before the load
};

// "没有符合条件的数据，请选择其他特性或重新设置条件！": what a window shows for NoData.
QString NoSamplesText();

class TSampleProvider {
public:
    // dm: the connection (nullptr: the current one).
    explicit TSampleProvider(TCompanyDM* dm = nullptr);

    // The selection step and the load. The tag lists are the condition's MandatoryTags and
    // OptionalTags: only whether they are empty counts, the chosen values are read from m_Tag.
    // When everything has been read, the list's subgroups are replaced (plotting order: ascending
    // SN) and the list is bound to options.CID, its notifications held meanwhile; so the caller
    // need not empty the list first, and a cancelled load leaves it showing what it showed.
    TSampleLoadResult LoadVariableSamples(int TaskID, const QStringList& MandatoryTags, TVariableDataList& list,
                                          const QStringList& OptionalTags, const TSampleLoadOptions& options = {});
    TSampleLoadResult LoadAttributeSamples(int TaskID, const QStringList& MandatoryTags, TAttributeDataList& list,
                                           const QStringList& OptionalTags, const TSampleLoadOptions& options = {});

    // The selection step alone, in one transaction: the task's m_CTemp rows are replaced by the
    // subgroups of its item in its time window (both ends inclusive) that satisfy every mandatory
    // tag or carry a value of an optional tag (no tags: all of them). Each subgroup is listed once.
    // Returns the number of subgroups listed.
    int FillVariableTask(int TaskID, const QStringList& MandatoryTags, const QStringList& OptionalTags);
    int FillAttributeTask(int TaskID, const QStringList& MandatoryTags, const QStringList& OptionalTags);

private:
    int FillTask(const char* table, int taskID, const QStringList& mandatory, const QStringList& optional);
    TCompanyDM& FDM;
};

// The task's selected rows, joined with m_CTemp of the task and ordered by CID, SN (values by SSN,
// defects by DPID, tags by TagID); each row once, however often m_CTemp lists its subgroup.
QString VariableMasterSQL(int TaskID);
QString VariableDetailSQL(int TaskID);
QString VariableTagSQL(int TaskID);
QString AttributeMasterSQL(int TaskID);
QString AttributeDetailSQL(int TaskID);
QString AttributeTagSQL(int TaskID);
