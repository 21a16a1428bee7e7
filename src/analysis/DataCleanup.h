#pragma once
// Data clean-up: every subgroup of one control item in a time window and tag filter deleted in one
// go, with everything attached to it (tags, exceptions, causes, actions, values or defects).
#include <QString>
#include <QStringList>

class TCompanyDM;

// The steps after the condition dialog's OK, for variable or attribute data: the task's subgroups
// are selected and counted; none: "没有符合条件的记录！"; otherwise, after the question, they are
// deleted in one transaction. Returns the number deleted (0: none matched or the user said No).
int CleanUpTaskSubgroups(TCompanyDM& dm, bool variable, int taskID, const QString& itemName,
                         const QStringList& mandatoryTags, const QStringList& optionalTags);
