#include "rules/windows/ChartExceptionViewFrm.h"

#include "component/DataSetModel.h"
#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"
#include "rules/ChartJudge.h"
#include "rules/ExceptionReview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TChartExceptionViewFrm::TChartExceptionViewFrm(QWidget* parent) : TBaseFrm(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("检测结果"));
    resize(760, 380);
    auto* layout = new QVBoxLayout(this);
    Grid = new QTableView(this);
    FModel = new TDataSetModel(this);
    FModel->AddColumn(QStringLiteral("JudgeSN"), QStringLiteral("检测序号"), true);
    FModel->AddColumn(QStringLiteral("CCode"), QStringLiteral("特性编码"), true);
    FModel->AddColumn(QStringLiteral("CName"), QStringLiteral("特性名称"), true);
    FModel->AddColumn(QStringLiteral("SN"), QStringLiteral("序号"), true);
    FModel->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"), true);
    FModel->AddColumn(QStringLiteral("JudgeDate"), QStringLiteral("检测时间"), true);
    FModel->SetReadOnly(true);
    Grid->setModel(FModel);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setDefaultSectionSize(20);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    layout->addWidget(Grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnSave = new QPushButton(QStringLiteral("保存"), this);
    btnClose = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    connect(btnSave, &QPushButton::clicked, this, [this] { Save(); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

TChartExceptionViewFrm::~TChartExceptionViewFrm() = default;

void TChartExceptionViewFrm::SetJudge(TChartJudge* judge)
{
    FJudge = judge;
    FModel->SetDataSet(judge ? judge->ExceptionData : nullptr);
    if (judge) {
        Grid->resizeColumnsToContents();
    } else {
        TaskID = NullValue;
        BaseJudgeSN = NullValue;
    }
}

bool TChartExceptionViewFrm::Save()
{
    if (!FJudge || TaskID == NullValue || BaseJudgeSN == NullValue) {
        ShowInfo(QStringLiteral("参数不足！"));
        return false;
    }
    TCompanyDM* dm = TCompanyDM::Current();
    if (!dm) {
        ShowInfo(QStringLiteral("参数不足！"));
        return false;
    }
    const bool wasSaved = FJudge->Saved;
    try {
        SaveCheckResult(*FJudge, *dm, TaskID, BaseJudgeSN);
    } catch (const std::exception& e) {
        ShowException(e);
        return false;
    }
    return !wasSaved && FJudge->Saved;
}
