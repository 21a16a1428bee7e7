#include "collect/windows/VModifyFrm.h"

#include "analysis/windows/VConditionSSelectFrm.h"
#include "collect/CollectModify.h"
#include "collect/windows/ModifyFrmSupport.h"
#include "foundation/RecordUtils.h"

#include <QToolButton>

TVModifyFrm::TVModifyFrm(QWidget* parent) : TVCollectFrm(parent)
{
    setObjectName(QStringLiteral("VModifyFrm"));
    setWindowTitle(QStringLiteral("计量型数据编辑"));
    disconnect(btnItem, &QToolButton::clicked, this, nullptr);
    connect(btnItem, &QToolButton::clicked, this, [this] { LoadData(); });
    FollowItemChoice(*this);
}

TVModifyFrm::~TVModifyFrm() = default;

bool TVModifyFrm::LoadData()
{
    if (!FCondition) FCondition = new TVConditionSSelectFrm(GetNewTaskID(), this);
    return RunModifyLoad(
        *this, *FCondition,
        [this](int cid, const QString& name, int taskID, const QStringList& mandatory, const QStringList& optional) {
            return TCollectModify::LoadVariable(VCollect(), cid, name, taskID, mandatory, optional);
        },
        [this] { ItemChanged(); });
}
