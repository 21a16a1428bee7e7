#include "masterdata/windows/LTagTemplateListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"

#include <QTableView>

TLTagTemplateListFrm::TLTagTemplateListFrm(QWidget* parent) : TBaseListMDGridFrm(parent)
{
    setWindowTitle(QStringLiteral("标签模板浏览"));
    SetupTagTemplateForm(*this);
    MasterModel->AddColumn(QStringLiteral("TagTemplateCode"), QStringLiteral("编号"));
    MasterModel->AddColumn(QStringLiteral("TagTemplateName"), QStringLiteral("名称"));
    MasterModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
    DetailModel->AddColumn(QStringLiteral("TagName"), QStringLiteral("标签名称"));
    DetailModel->AddColumn(QStringLiteral("TagValue"), QStringLiteral("标签取值"));
}

bool TLTagTemplateListFrm::MasterDelete()
{
    DetachGrids();
    bool deleted = false;
    try {
        deleted = TBaseListMDGridFrm::MasterDelete();
    } catch (...) {
        AttachGrids();
        throw;
    }
    AttachGrids();
    return deleted;
}

void TLTagTemplateListFrm::BindControls()
{
    TBaseListMDGridFrm::BindControls();
    MasterGrid->setColumnWidth(0, 110);
    MasterGrid->setColumnWidth(1, 180);
    DetailGrid->setColumnWidth(0, 180);
}
