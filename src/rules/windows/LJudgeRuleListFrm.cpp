#include "rules/windows/LJudgeRuleListFrm.h"

#include "component/DataSetModel.h"
#include "rules/JudgeRuleForm.h"

#include <QTableView>

TLJudgeRuleListFrm::TLJudgeRuleListFrm(QWidget* parent) : TBaseListGridFrm(parent)
{
    setWindowTitle(QStringLiteral("检测规则浏览"));
    SetupJudgeRuleForm(*this);
    GridModel->AddColumn(QStringLiteral("JRCode"), QStringLiteral("编码"));
    GridModel->AddColumn(QStringLiteral("JRName"), QStringLiteral("名称"));
    GridModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}

void TLJudgeRuleListFrm::BindControls()
{
    TBaseListGridFrm::BindControls();
    DBGrid->setColumnWidth(0, 100);
    DBGrid->setColumnWidth(1, 180);
}
