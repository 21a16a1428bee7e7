#pragma once
// What the two editing windows share around their load: the question about unsaved changes, the
// condition dialog's run and read-outs, and the controls that follow what was loaded.
#include <QString>
#include <QStringList>
#include <functional>

class TBaseCollectFrm;
class TConditionSSelectFrm;

// Loads a confirmed condition's subgroups (item, its name, task, tag lists); the number loaded.
using TModifyLoad = std::function<int(int cid, const QString& name, int taskID, const QStringList& MandatoryTags,
                                      const QStringList& OptionalTags)>;

// The load of an editing window: unsaved changes are asked about first ("数据没有保存，保存数据？";
// Cancel, or a failed save, stops), then the dialog; after OK the load, the window's item and the
// controls. False when nothing was loaded (stopped or cancelled). Errors are shown.
bool RunModifyLoad(TBaseCollectFrm& frm, TConditionSSelectFrm& dialog, const TModifyLoad& load,
                   const std::function<void()>& itemChanged);
// Saving, tags, charts and both grids are offered only while the window holds subgroups or keys.
void EnableModifyControls(TBaseCollectFrm& frm, bool enabled);
// "质量特性(&C)" of an editing window: another item chosen opens keying for it again.
void FollowItemChoice(TBaseCollectFrm& frm);
