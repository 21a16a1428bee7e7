#pragma once
// One subgroup under review: its exception rows, tags, causes, actions, note and samples, read
// for the point windows, and the OK step that stores causes, actions and note with the
// subgroup's state.
#include "engine/SPCTypes.h"
#include "foundation/ZCDb.h"

#include <QString>

class TCompanyDM;

class TExceptionPoint {
public:
    // kind: ikVariable reads D_VDM and D_VDD, ikAttribute D_ADM and D_ADD.
    TExceptionPoint(TItemKind kind, TCompanyDM& database);
    ~TExceptionPoint();
    TExceptionPoint(const TExceptionPoint&) = delete;
    TExceptionPoint& operator=(const TExceptionPoint&) = delete;

    TItemKind Kind() const { return FKind; }
    int CID() const { return FCID; }
    int SN() const { return FSN; }

    // Binds every query to the subgroup and opens it; the note, cause and action queries get
    // their update statements.
    void Open(int cid, int sn);
    void Close();

    TZCQuery qryException;
    TZCQuery qryTag;
    TZCQuery qryCase;
    TZCQuery qryAction;
    TZCQuery qryNote;
    TZCQuery qrySample;

    // The descriptions of the subgroup's exception rows, in query order, joined by ";   ".
    QString ViolationText() const;

    // The replace callbacks of "MSelectCase" and "MSelectAction", and "清空".
    void ReplaceCases(TDataSet* choice, const QString& keyFieldName);
    void ReplaceActions(TDataSet* choice, const QString& keyFieldName);
    void ClearCases();
    void ClearActions();

    // The state the subgroup gets when the window's changes are stored. With causes or actions
    // it is handled; without, a handled subgroup is abnormal while it has exception rows and
    // normal otherwise; any other stored state stays.
    static TSubgroupState StateAfterEdit(TSubgroupState stored, bool hasCausesOrActions, bool hasExceptions);

    // The OK step: in one transaction the stored row is read again (a subgroup deleted meanwhile
    // raises ESPCDataError "记录已被删除！" and nothing is written), its state set as
    // StateAfterEdit says when causes or actions decide it, then the pending note, causes and
    // actions are written. Returns the state the point shows afterwards: shown is the chart's
    // state, kept when nothing decided otherwise. Any other failure rolls back, keeps every
    // pending change and raises ESPCDataError "数据保存失败！".
    TSubgroupState Save(TSubgroupState shown);

private:
    TItemKind FKind;
    TCompanyDM& FDatabase;
    int FCID = NullValue;
    int FSN = NullValue;
};
