#pragma once
// What the exception review does around the chart judge, without widgets: the rules a check
// runs with (a template's rules or an own pick), one check run into the judge's exception query,
// and storing its rows under serial numbers drawn while the save holds the database.
#include "foundation/Types.h"

#include <QString>
#include <QStringList>

class TChartJudge;
class TCompanyDM;
class TDataSet;
class TZCQuery;

// Replaces the rows of target (in memory) by one row per ticked row (Selected = 1) of choice,
// copying the fields named (those target has); the cursor ends on the first row. Returns the
// number of rows appended.
int ReplaceBySelection(TDataSet& target, TDataSet& choice, const QStringList& fields);
// Deletes every row of the data set (in memory).
void ClearRows(TDataSet& dataSet);

// The columns of a rule row the rule dialog copies from an own pick.
QStringList JudgeRuleFields();
// Shows the rules of a template in the detail query (parameter JRTID): an own pick is dropped.
// An empty template leaves the query empty.
void ShowTemplateRules(TZCQuery& detail, const QVariant& templateID);

// One check run: the base serial number is the highest stored one, the judge's exception query
// is opened empty and becomes its ExceptionData, and every point is judged. Returns the base.
// A judge without rules changes nothing and returns NullValue.
int RunChartCheck(TChartJudge& judge, TZCQuery& exceptionQuery, TCompanyDM& database);

// Stores the run in one transaction. The serial numbers are drawn there: the save first holds
// the judge's counter (so two workstations saving at once wait for each other), reads the
// highest stored number and renumbers the run's rows after it; baseJudgeSN is updated to it.
// A failure rolls back, keeps the rows pending and raises the judge's message.
void SaveCheckResult(TChartJudge& judge, TCompanyDM& database, int taskID, int& baseJudgeSN);
