#include "masterdata/windows/LCaseListFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/MasterDataForms.h"

TLCaseListFrm::TLCaseListFrm(QWidget* parent) : TBaseListGridFrm(parent)
{
    setWindowTitle(QStringLiteral("异常原因浏览"));
    SetupCaseForm(*this);
    GridModel->AddColumn(QStringLiteral("CaseCode"), QStringLiteral("编码"));
    GridModel->AddColumn(QStringLiteral("CaseName"), QStringLiteral("名称"));
    GridModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
