#pragma once
// The look-up data module: the read-only lists the selection dialogs show (processes, control
// items, defect categories, tag values, tag templates, phenomena, causes, actions), the judge
// rule look-ups of the rule dialogs and the exception query of the point windows. Each dialog
// opens its data set when it starts and closes it when it ends (counted opening), so a dialog
// always shows the tables as they are.
//
// Below the module: what the selection dialogs do with these data sets, without widgets.
#include "foundation/ZCDb.h"

#include <QString>
#include <memory>

class TCompanyDM;

class TKQCommonDM {
public:
    // Every query reads through the given connection. Created after login, freed at exit.
    explicit TKQCommonDM(TCompanyDM& database);
    ~TKQCommonDM();
    TKQCommonDM(const TKQCommonDM&) = delete;
    TKQCommonDM& operator=(const TKQCommonDM&) = delete;

    TCompanyDM& Database() const { return FDatabase; }

    // The instance the selection commands show (not owned; nullptr: none). A destroyed current
    // instance takes itself off.
    static TKQCommonDM* Current();
    static void SetCurrent(TKQCommonDM* dm);

    // Selection lists.
    TZCQuery& qryProcess() { return *FQueries[Process]; }
    TZCQuery& qryVControlItem() { return *FQueries[VControlItem]; }
    TZCQuery& qryAControlItem() { return *FQueries[AControlItem]; }
    TZCQuery& qryDefectItem() { return *FQueries[DefectItem]; }
    // Parameter TagID (−1 until set: no rows).
    TZCQuery& qryTagValue() { return *FQueries[TagValue]; }
    TZCQuery& qryTagTemplate() { return *FQueries[TagTemplate]; }
    // The multiple-choice lists lead with Selected (0 as read).
    TZCQuery& qryDefectPhenomenon() { return *FQueries[DefectPhenomenon]; }
    TZCQuery& qryMAction() { return *FQueries[MAction]; }
    TZCQuery& qryMCase() { return *FQueries[MCase]; }

    // Judge rule look-ups: the templates, a template's rules with everything the judge needs
    // (parameter JRTID; its changes are never written), and every rule with a leading Selected.
    TZCQuery& qryJudgeRuleTemplate() { return *FQueries[JudgeRuleTemplate]; }
    TZCQuery& qryJudgeRuleTemplateDetail() { return *FQueries[JudgeRuleTemplateDetail]; }
    TZCQuery& qryMJudgeRule() { return *FQueries[MJudgeRule]; }
    // The exception rows of one subgroup (parameters CID, SN), in the order they were judged.
    TZCQuery& qryException() { return *FQueries[Exception]; }

    enum {
        Process, VControlItem, AControlItem, DefectItem, TagValue, TagTemplate, DefectPhenomenon, MAction, MCase,
        JudgeRuleTemplate, JudgeRuleTemplateDetail, MJudgeRule, Exception, QueryCount
    };
    // The select text of one of the queries.
    static QString SelectText(int query);

private:
    TCompanyDM& FDatabase;
    std::unique_ptr<TZCQuery> FQueries[QueryCount];
};

// --- What the selection dialogs do with the data sets ----------------------------------------

// Opens a dialog's data set for one dialog: a data set another holder kept open is read again,
// so the dialog shows the current contents (and its parameters) with nothing left from an
// earlier dialog. Raises "%s的数据集未指定或丢失" (the caption) when there is no data set.
void OpenSelectDataSet(TDataSet* dataSet, const QString& caption);
// Closes it again; ticks and other working marks of the dialog are dropped first.
void CloseSelectDataSet(TDataSet* dataSet);

// Moves to the row whose key field holds the identifier; to the first row when none does
// (NullValue, an empty value or an identifier that no longer exists). False when it was not found.
bool LocateSelectKey(TDataSet& dataSet, const QString& keyFieldName, const QVariant& id);

// The outcome of a single-choice dialog.
struct TSingleSelection {
    bool UnSelected = false;
    int ID = NullValue;  // NullValue: nothing chosen (cancelled, or no row to choose)
    QString Name;
    int Row = -1;        // the chosen row (0-based), -1 when none
};

// accepted: the dialog closed with OK (or "不选" or a double click); unselected: by "不选";
// row: the row the user is on (0-based, -1 when the list shows none). OK without a row, and
// "不选", choose no identifier.
TSingleSelection SingleSelection(const TDataSet& dataSet, int row, const QString& keyFieldName,
                                 const QString& nameFieldName, bool accepted, bool unselected);

// Ticks (Selected = 1) every row of the dialog's data set whose key text equals the key text of
// a row of the caller's current selections; the other rows keep Selected as read. The current
// row stays where it was. Returns the number of rows ticked.
int MarkSelectedRows(TDataSet& rows, const QString& keyFieldName, const TDataSet* current,
                     const QString& currentKeyFieldName);
