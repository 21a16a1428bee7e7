#include "analysis/windows/DataCleanupProc.h"

#include "analysis/DataCleanup.h"
#include "analysis/windows/AConditionSSelectFrm.h"
#include "analysis/windows/VConditionSSelectFrm.h"
#include "component/DialogRunner.h"
#include "foundation/RecordUtils.h"

namespace {
template <class TDialog>
void ClearData(QWidget* owner, bool variable)
{
    // The dialog's task rows are deleted with it, whatever the outcome.
    TDialog dialog(GetNewTaskID(), owner);
    if (RunDialog(dialog) != QDialog::Accepted) return;
    // The item's name is read from the task's queries, before they are closed.
    const QString item = dialog.SelectedCName();
    dialog.CloseTaskQueries();
    CleanUpTaskSubgroups(CurrentCompanyDM(), variable, dialog.TaskID(), item, dialog.MandatoryTags(), dialog.OptionalTags());
}
} // namespace

void ClearVariableData(QWidget* owner)
{
    ClearData<TVConditionSSelectFrm>(owner, true);
}

void ClearAttributeData(QWidget* owner)
{
    ClearData<TAConditionSSelectFrm>(owner, false);
}
