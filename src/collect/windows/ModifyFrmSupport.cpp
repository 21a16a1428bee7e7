#include "collect/windows/ModifyFrmSupport.h"

#include "analysis/SampleProvider.h"
#include "analysis/windows/ConditionSSelectFrm.h"
#include "collect/windows/BaseCollectFrm.h"
#include "collect/windows/CollectGrid.h"
#include "collect/windows/TagInputFrm.h"
#include "component/DialogRunner.h"
#include "foundation/MessageService.h"

#include <QAction>
#include <QToolButton>

namespace {
// Nothing the user keyed in is replaced without the question.
bool MayReplace(TBaseCollectFrm& frm)
{
    if (!frm.Grid->CommitEdit()) return false;
    if (!frm.Collect().HasPendingChanges()) return true;
    switch (AskQuestion(QStringLiteral("数据没有保存，保存数据？"), TMsgButtons::YesNoCancel)) {
    case TMsgResult::Yes: return frm.Save();
    case TMsgResult::No: return true;
    default: return false;
    }
}
} // namespace

bool RunModifyLoad(TBaseCollectFrm& frm, TConditionSSelectFrm& dialog, const TModifyLoad& load,
                   const std::function<void()>& itemChanged)
{
    try {
        if (!MayReplace(frm)) return false;
        if (RunDialog(dialog) != QDialog::Accepted) return false;
        // The name is read from the task's queries, before they are closed.
        const int cid = dialog.SelectedCID();
        const QString name = dialog.SelectedCName();
        dialog.CloseTaskQueries();
        const int loaded = load(cid, name, dialog.TaskID(), dialog.MandatoryTags(), dialog.OptionalTags());
        itemChanged();
        EnableModifyControls(frm, loaded > 0);
        if (loaded == 0) ShowInfo(NoSamplesText());
        return loaded > 0;
    } catch (const std::exception& e) {
        itemChanged();
        ShowException(e);
        return false;
    }
}

void EnableModifyControls(TBaseCollectFrm& frm, bool enabled)
{
    frm.actSave->setEnabled(enabled);
    frm.actTag->setEnabled(enabled);
    frm.btnChart->setEnabled(enabled);
    frm.TagInput->setEnabled(enabled);
    frm.Grid->setEnabled(enabled);
}

void FollowItemChoice(TBaseCollectFrm& frm)
{
    // The action runs the window's choice; a new item opens the controls for keying again.
    QObject::disconnect(frm.actItem, &QAction::triggered, &frm, nullptr);
    QObject::connect(frm.actItem, &QAction::triggered, &frm, [&frm] {
        const int before = frm.Collect().CurCID();
        frm.SelectItem();
        if (frm.Collect().CurCID() != before) EnableModifyControls(frm, true);
    });
}
