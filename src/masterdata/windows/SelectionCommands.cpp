#include "masterdata/windows/SelectionCommands.h"

#include "foundation/CommandCentre.h"
#include "masterdata/windows/AControlItemSSelectFrm.h"
#include "masterdata/windows/ActionMSelectFrm.h"
#include "masterdata/windows/CaseMSelectFrm.h"
#include "masterdata/windows/DefectItemSSelectFrm.h"
#include "masterdata/windows/ProcessSSelectFrm.h"
#include "masterdata/windows/TagTemplateSSelectFrm.h"
#include "masterdata/windows/TagValueSSelectFrm.h"
#include "masterdata/windows/VControlItemSSelectFrm.h"

namespace {
const char* const kSingleCommands[] = {"SelectProcess", "SelectDefectItem", "SelectVControlItem",
                                       "SelectAControlItem", "SelectTagValue", "SelectTagTemplate"};

// The handler is the dialog class's selection routine, bound to the class itself.
template <class T>
void Register(TCommandCenter& center, const char* name)
{
    center.RegisterCommand(nullptr, QString::fromLatin1(name), true,
                           TCommandEvent(&T::template SelectCommand<T>, &T::staticMetaObject));
}
} // namespace

void RegisterSelectionCommands(TCommandCenter& center)
{
    Register<TProcessSSelectFrm>(center, "SelectProcess");
    Register<TDefectItemSSelectFrm>(center, "SelectDefectItem");
    Register<TVControlItemSSelectFrm>(center, "SelectVControlItem");
    Register<TAControlItemSSelectFrm>(center, "SelectAControlItem");
    Register<TTagValueSSelectFrm>(center, "SelectTagValue");
    Register<TTagTemplateSSelectFrm>(center, "SelectTagTemplate");
    Register<TCaseMSelectFrm>(center, "MSelectCase");
    Register<TActionMSelectFrm>(center, "MSelectAction");
}

void UnregisterSelectionCommands(TCommandCenter& center)
{
    for (const char* name : kSingleCommands) center.UnregisterCommand(QString::fromLatin1(name));
}
