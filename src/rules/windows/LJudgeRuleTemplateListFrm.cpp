#include "rules/windows/LJudgeRuleTemplateListFrm.h"

#include "component/DataSetModel.h"
#include "rules/JudgeRuleForm.h"

#include <QTableView>

TLJudgeRuleTemplateListFrm::TLJudgeRuleTemplateListFrm(QWidget* parent) : TBaseListMDGridFrm(parent)
{
    setWindowTitle(QStringLiteral("检测规则模板浏览"));
    SetupJudgeRuleTemplateForm(*this);
    MasterModel->AddColumn(QStringLiteral("JRTCode"), QStringLiteral("模板编号"));
    MasterModel->AddColumn(QStringLiteral("JRTName"), QStringLiteral("模板名称"));
    MasterModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("模板描述"));
    DetailModel->AddColumn(QStringLiteral("JRCode"), QStringLiteral("检测规则编号"));
    DetailModel->AddColumn(QStringLiteral("JRName"), QStringLiteral("检测规则名称"));
    DetailModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("检测规则描述"));
    HideDetailActions();
}

void TLJudgeRuleTemplateListFrm::OpenMasterEditor()
{
    OpenEditor(QStringLiteral("EditFrm"));
}

void TLJudgeRuleTemplateListFrm::BindControls()
{
    TBaseListMDGridFrm::BindControls();
    for (QTableView* grid : {MasterGrid, DetailGrid}) {
        grid->setColumnWidth(0, 110);
        grid->setColumnWidth(1, 180);
    }
}
