#include "masterdata/windows/LDefectItemListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"

#include <QTableView>

TLDefectItemListFrm::TLDefectItemListFrm(QWidget* parent) : TBaseListMDGridFrm(parent)
{
    setWindowTitle(QStringLiteral("缺点类别浏览"));
    SetupDefectItemForm(*this);
    MasterModel->AddColumn(QStringLiteral("DCode"), QStringLiteral("编码"));
    MasterModel->AddColumn(QStringLiteral("DName"), QStringLiteral("名称"));
    MasterModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
    DetailModel->AddColumn(QStringLiteral("DPCode"), QStringLiteral("缺点项目编码"));
    DetailModel->AddColumn(QStringLiteral("DPName"), QStringLiteral("缺点项目名称"));
    HideDetailActions();
}

void TLDefectItemListFrm::OpenMasterEditor()
{
    OpenEditor(QStringLiteral("EditFrm"));
}

void TLDefectItemListFrm::BindControls()
{
    TBaseListMDGridFrm::BindControls();
    for (QTableView* grid : {MasterGrid, DetailGrid}) {
        grid->setColumnWidth(0, 120);
        grid->setColumnWidth(1, 180);
    }
}
