#include "collect/windows/AModifyFrm.h"

#include "analysis/windows/AConditionSSelectFrm.h"
#include "collect/CollectModify.h"
#include "collect/windows/ModifyFrmSupport.h"
#include "foundation/RecordUtils.h"

#include <QToolButton>

TAModifyFrm::TAModifyFrm(QWidget* parent) : TACollectFrm(parent)
{
    setObjectName(QStringLiteral("AModifyFrm"));
    setWindowTitle(QStringLiteral("计数型数据编辑"));
    disconnect(btnItem, &QToolButton::clicked, this, nullptr);
    connect(btnItem, &QToolButton::clicked, this, [this] { LoadData(); });
    FollowItemChoice(*this);
}

TAModifyFrm::~TAModifyFrm() = default;

bool TAModifyFrm::LoadData()
{
    if (!FCondition) FCondition = new TAConditionSSelectFrm(GetNewTaskID(), this);
    return RunModifyLoad(
        *this, *FCondition,
        [this](int cid, const QString& name, int taskID, const QStringList& mandatory, const QStringList& optional) {
            return TCollectModify::LoadAttribute(ACollect(), cid, name, taskID, mandatory, optional);
        },
        [this] { ItemChanged(); });
}
