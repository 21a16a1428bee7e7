#include "masterdata/windows/LTagListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"

#include <QTableView>

TLTagListFrm::TLTagListFrm(QWidget* parent) : TBaseListMDGridFrm(parent)
{
    setWindowTitle(QStringLiteral("标签浏览"));
    SetupTagForm(*this);
    MasterModel->AddColumn(QStringLiteral("TagCode"), QStringLiteral("编码"));
    MasterModel->AddColumn(QStringLiteral("TagName"), QStringLiteral("名称"));
    MasterModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
    DetailModel->AddColumn(QStringLiteral("TagValue"), QStringLiteral("预设值"));
}

void TLTagListFrm::BindControls()
{
    TBaseListMDGridFrm::BindControls();
    MasterGrid->setColumnWidth(0, 110);
    MasterGrid->setColumnWidth(1, 180);
}
