#include "analysis/DataCleanup.h"

#include "analysis/SampleProvider.h"
#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

int CleanUpTaskSubgroups(TCompanyDM& dm, bool variable, int taskID, const QString& itemName,
                         const QStringList& mandatoryTags, const QStringList& optionalTags)
{
    TSampleProvider provider(&dm);
    if (variable)
        provider.FillVariableTask(taskID, mandatoryTags, optionalTags);
    else
        provider.FillAttributeTask(taskID, mandatoryTags, optionalTags);
    // A subgroup listed twice (a mandatory and an optional tag) is one subgroup.
    const int n = GetSQLValue(QStringLiteral("select count(*) from (select distinct CID, SN from m_CTemp "
                                             "where TaskID = :TaskID) listed"),
                              {{QStringLiteral("TaskID"), taskID}})
                      .toInt();
    if (n == 0) {
        TMessageService::Current().Show(QStringLiteral("没有符合条件的记录！"), QStringLiteral("提示"),
                                        TMsgIcon::Information, TMsgButtons::Ok);
        return 0;
    }
    const QString question = QStringLiteral("质量特性【%1】共有%2组符合条件的记录\r\n确实要删除这些记录吗？").arg(itemName).arg(n);
    if (AskQuestion(question) != TMsgResult::Yes) return 0;
    if (variable)
        DeleteVTaskSubgroups(taskID);
    else
        DeleteATaskSubgroups(taskID);
    return n;
}
