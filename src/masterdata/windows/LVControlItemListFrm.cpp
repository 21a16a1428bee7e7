#include "masterdata/windows/LVControlItemListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/windows/MasterDataTexts.h"

TLVControlItemListFrm::TLVControlItemListFrm(QWidget* parent) : TBaseListGridFrm(parent)
{
    setWindowTitle(QStringLiteral("计量型质量特性浏览"));
    SetupVControlItemForm(*this);
    GridModel->AddColumn(QStringLiteral("CCode"), QStringLiteral("编码"));
    GridModel->AddColumn(QStringLiteral("CName"), QStringLiteral("名称"));
    GridModel->AddColumn(QStringLiteral("USL"), QStringLiteral("规格上限"));
    GridModel->AddColumn(QStringLiteral("SL"), QStringLiteral("规格限"));
    GridModel->AddColumn(QStringLiteral("LSL"), QStringLiteral("规格下限"));
    GridModel->AddColumn(QStringLiteral("SampleSize"), QStringLiteral("样本容量"));
    GridModel->AddColumn(QStringLiteral("nSigma"), QStringLiteral("控制限水平"));
    GridModel->AddColumn(QStringLiteral("DefChart"), QStringLiteral("缺省控制图")).Display = [](int, const QVariant& v) { return DefChartText(v); };
    GridModel->AddColumn(QStringLiteral("Unit"), QStringLiteral("计量单位"));
    GridModel->AddColumn(QStringLiteral("DecPoint"), QStringLiteral("数据精度"));
    GridModel->AddColumn(QStringLiteral("Step"), QStringLiteral("移动步长"));
    GridModel->AddColumn(QStringLiteral("ProName"), QStringLiteral("所属过程"));
    GridModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
