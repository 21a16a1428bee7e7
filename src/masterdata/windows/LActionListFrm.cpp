#include "masterdata/windows/LActionListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"

TLActionListFrm::TLActionListFrm(QWidget* parent) : TBaseListGridFrm(parent)
{
    setWindowTitle(QStringLiteral("改善措施浏览"));
    SetupActionForm(*this);
    GridModel->AddColumn(QStringLiteral("ActionCode"), QStringLiteral("编码"));
    GridModel->AddColumn(QStringLiteral("ActionName"), QStringLiteral("名称"));
    GridModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
