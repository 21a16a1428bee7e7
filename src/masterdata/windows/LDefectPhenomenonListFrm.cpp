#include "masterdata/windows/LDefectPhenomenonListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/windows/MasterDataTexts.h"

TLDefectPhenomenonListFrm::TLDefectPhenomenonListFrm(QWidget* parent) : TBaseListGridFrm(parent)
{
    setWindowTitle(QStringLiteral("缺点项目浏览"));
    SetupDefectPhenomenonForm(*this);
    GridModel->AddColumn(QStringLiteral("DPCode"), QStringLiteral("编码"));
    GridModel->AddColumn(QStringLiteral("DPName"), QStringLiteral("名称"));
    GridModel->AddColumn(QStringLiteral("Ponderance"), QStringLiteral("严重级别")).Display = [](int, const QVariant& v) { return PonderanceText(v); };
    GridModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
