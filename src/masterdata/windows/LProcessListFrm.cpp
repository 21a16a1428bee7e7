#include "masterdata/windows/LProcessListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"

TLProcessListFrm::TLProcessListFrm(QWidget* parent) : TBaseListGridFrm(parent)
{
    setWindowTitle(QStringLiteral("过程资料浏览"));
    SetupProcessForm(*this);
    GridModel->AddColumn(QStringLiteral("ProCode"), QStringLiteral("编码"));
    GridModel->AddColumn(QStringLiteral("ProName"), QStringLiteral("名称"));
    GridModel->AddColumn(QStringLiteral("ParentName"), QStringLiteral("所属过程"));
    GridModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
