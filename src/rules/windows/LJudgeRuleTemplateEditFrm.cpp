#include "rules/windows/LJudgeRuleTemplateEditFrm.h"

#include "component/DataSetModel.h"
#include "foundation/DataSet.h"
#include "masterdata/windows/BaseListGridFrm.h"
#include "rules/JudgeRuleForm.h"
#include "rules/windows/JudgeRuleMSelectFrm.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QTableView>
#include <QVBoxLayout>

TLJudgeRuleTemplateEditFrm::TLJudgeRuleTemplateEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    setWindowTitle(QStringLiteral("检测规则模板编辑"));
    SetupJudgeRuleTemplateForm(*this);
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
    btnSelect = new QPushButton(QStringLiteral("选择(&D)..."), this);
    btnSelect->setObjectName(QStringLiteral("btnSelect"));
    btnSelect->setAutoDefault(false);
    auto* selectRow = new QHBoxLayout;
    selectRow->addWidget(btnSelect);
    selectRow->addStretch(1);
    AddRow(QStringLiteral("检测规则："), selectRow);
    RuleGrid = new QTableView(this);
    RuleGrid->setObjectName(QStringLiteral("RuleGrid"));
    RuleModel = new TDataSetModel(this);
    RuleModel->AddColumn(QStringLiteral("JRCode"), QStringLiteral("规则编码"));
    RuleModel->AddColumn(QStringLiteral("JRName"), QStringLiteral("规则名称"));
    RuleModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("规则描述"));
    auto* gridBox = new QVBoxLayout;
    gridBox->setContentsMargins(16, 0, 16, 8);
    gridBox->addWidget(RuleGrid);
    MainLayout->addLayout(gridBox, 1);
    connect(btnSelect, &QPushButton::clicked, this, [this] { Run([this] { SelectRules(); }); });
    FinishLayout();
    resize(640, 460);
}

void TLJudgeRuleTemplateEditFrm::BindControls()
{
    TDataSet* master = MasterDataSet();
    Bind(master, QStringLiteral("JRTCode"), edtCode, TFieldLink::TKind::Text);
    Bind(master, QStringLiteral("JRTName"), edtName, TFieldLink::TKind::Text);
    Bind(master, QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
    RuleModel->SetDataSet(DetailDataSet());
    ConnectGridToDataSet(RuleGrid, RuleModel);
    RuleGrid->setColumnWidth(0, 90);
    RuleGrid->setColumnWidth(1, 160);
}

void TLJudgeRuleTemplateEditFrm::SelectRules()
{
    TDataSet* master = MasterDataSet();
    TDataSet* detail = DetailDataSet();
    if (master->RecNo() < 0) return;
    const QVariant templateID = master->Value(QStringLiteral("JRTID"));
    MSelectJudgeRule(detail, QStringLiteral("JRID"),
                     TMultiSelectCallback::FromCallable([detail, templateID](TDataSet* rules, const QString& key) {
                         ReplaceTemplateRules(*detail, templateID, *rules, key);
                     }),
                     this);
}
