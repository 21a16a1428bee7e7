#include "masterdata/windows/LAControlItemListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"

#include <QTableView>

TLAControlItemListFrm::TLAControlItemListFrm(QWidget* parent) : TBaseListMDGridFrm(parent)
{
    setWindowTitle(QStringLiteral("计数型质量特性浏览"));
    SetupAControlItemForm(*this);
    MasterModel->AddColumn(QStringLiteral("CCode"), QStringLiteral("编码"));
    MasterModel->AddColumn(QStringLiteral("CName"), QStringLiteral("名称"));
    MasterModel->AddColumn(QStringLiteral("LotSize"), QStringLiteral("批量"));
    MasterModel->AddColumn(QStringLiteral("ProName"), QStringLiteral("产品名称"));
    MasterModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
    DetailModel->AddColumn(QStringLiteral("DPCode"), QStringLiteral("缺陷现象编码"));
    DetailModel->AddColumn(QStringLiteral("DPName"), QStringLiteral("缺陷现象名称"));
    HideDetailActions();
}

void TLAControlItemListFrm::OpenMasterEditor()
{
    OpenEditor(QStringLiteral("EditFrm"));
}

void TLAControlItemListFrm::BindControls()
{
    TBaseListMDGridFrm::BindControls();
    MasterGrid->setColumnWidth(0, 90);
    MasterGrid->setColumnWidth(1, 150);
    MasterGrid->setColumnWidth(2, 70);
    MasterGrid->setColumnWidth(3, 130);
    DetailGrid->setColumnWidth(0, 120);
    DetailGrid->setColumnWidth(1, 180);
}
