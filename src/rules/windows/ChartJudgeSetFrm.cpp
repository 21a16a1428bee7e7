#include "rules/windows/ChartJudgeSetFrm.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "masterdata/KQCommonDM.h"
#include "rules/ExceptionReview.h"
#include "rules/windows/JudgeRuleMSelectFrm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TChartJudgeSetFrm::TChartJudgeSetFrm(TKQCommonDM* dm, QWidget* parent) : TBaseDialog(parent), FDM(dm)
{
    setWindowTitle(QStringLiteral("指定检测规则"));
    resize(560, 360);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    lblTemplate = new QLabel(QStringLiteral("检测规则模板："), this);
    cmbTemplate = new QComboBox(this);
    cmbTemplate->setObjectName(QStringLiteral("cmbTemplate"));
    cmbTemplate->setMinimumWidth(220);
    lblTemplate->setBuddy(cmbTemplate);
    btnSelect = new QPushButton(QStringLiteral("自选(&D)"), this);
    top->addWidget(lblTemplate);
    top->addWidget(cmbTemplate, 1);
    top->addWidget(btnSelect);
    layout->addLayout(top);
    grdRule = new QTableView(this);
    FModel = new TDataSetModel(this);
    FModel->AddColumn(QStringLiteral("JRCode"), QStringLiteral("规则编码"), true);
    FModel->AddColumn(QStringLiteral("JRName"), QStringLiteral("规则名称"), true);
    FModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("规则描述"), true);
    FModel->SetReadOnly(true);
    grdRule->setModel(FModel);
    grdRule->horizontalHeader()->setStretchLastSection(true);
    grdRule->verticalHeader()->hide();
    grdRule->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(grdRule, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnOK->setDefault(true);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnSelect, &QPushButton::clicked, this, &TChartJudgeSetFrm::SelectOwnRules);
    InitDialog();
    connect(cmbTemplate, &QComboBox::activated, this, &TChartJudgeSetFrm::ChooseTemplate);
}

TChartJudgeSetFrm::~TChartJudgeSetFrm()
{
    DoneDialog();
}

void TChartJudgeSetFrm::InitDialog()
{
    if (!FDM) return;
    TZCQuery& templates = FDM->qryJudgeRuleTemplate();
    TZCQuery& detail = FDM->qryJudgeRuleTemplateDetail();
    // The owner opened both; a detail never chosen yet shows no rules.
    if (!templates.Active()) templates.Open();
    if (!detail.Active()) ShowTemplateRules(detail, QVariant());
    cmbTemplate->addItem(QString(), QVariant());
    const int id = templates.FieldByName(QStringLiteral("JRTID"))->Index();
    const int code = templates.FieldByName(QStringLiteral("JRTCode"))->Index();
    const int name = templates.FieldByName(QStringLiteral("JRTName"))->Index();
    for (int r = 0; r < templates.RecordCount(); ++r) {
        cmbTemplate->addItem(templates.RowValue(r, name).toString(), templates.RowValue(r, id));
        cmbTemplate->setItemData(cmbTemplate->count() - 1, templates.RowValue(r, code).toString(), Qt::ToolTipRole);
    }
    // The template whose rules the shared detail query still shows.
    const QVariant shown = detail.ParamValue(QStringLiteral("JRTID"));
    for (int i = 1; i < cmbTemplate->count(); ++i)
        if (VariantToInt(cmbTemplate->itemData(i)) == VariantToInt(shown)) cmbTemplate->setCurrentIndex(i);
    FModel->SetDataSet(&detail);
}

void TChartJudgeSetFrm::DoneDialog()
{
    FModel->SetDataSet(nullptr);
}

TDataSet* TChartJudgeSetFrm::ResultDataSet() const
{
    return FDM ? &FDM->qryJudgeRuleTemplateDetail() : nullptr;
}

void TChartJudgeSetFrm::ChooseTemplate(int index)
{
    if (!FDM) return;
    const QVariant id = cmbTemplate->itemData(index);
    if (!id.isValid() || id.isNull()) return;
    ShowTemplateRules(FDM->qryJudgeRuleTemplateDetail(), id);
}

void TChartJudgeSetFrm::SelectOwnRules()
{
    TDataSet* detail = ResultDataSet();
    if (!detail) return;
    MSelectJudgeRule(detail, QStringLiteral("JRID"),
                     TMultiSelectCallback::FromCallable([detail](TDataSet* rules, const QString&) {
                         if (rules) ReplaceBySelection(*detail, *rules, JudgeRuleFields());
                     }),
                     this);
}

int TChartJudgeSetFrm::ExecuteDialog(const TCallback& callback, QWidget* owner)
{
    TChartJudgeSetFrm dialog(TKQCommonDM::Current(), owner);
    if (RunDialog(dialog) != QDialog::Accepted) return 2;
    if (callback && dialog.ResultDataSet()) callback(owner, *dialog.ResultDataSet());
    return 1;
}
