#include "analysis/windows/BaseControlItemFrm.h"

#include "analysis/SampleProvider.h"
#include "analysis/windows/ConditionSSelectFrm.h"
#include "analysis/windows/SampleLoadProgress.h"
#include "component/ChildWindowHost.h"
#include "component/DialogRunner.h"
#include "engine/windows/BaseChartFrm.h"
#include "engine/windows/ChartFormManager.h"
#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "foundation/ZCDb.h"
#include "masterdata/KQCommonDM.h"
#include "power/UserPowerCommon.h"
#include "rules/ExceptionReview.h"
#include "rules/windows/ChartExceptionViewFrm.h"
#include "rules/windows/ChartJudgeSetFrm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kNoPower = QStringLiteral("你没有执行本项功能得权限，请联系系统管理员！");
const QString kAutoLimits =
    QStringLiteral("控制限未指定，系统将自动计算出控制限，若要修改请点击控制限修改按钮");

// Runs an operation of the window and shows what it raises; the window stays as it is.
template <class F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}
} // namespace

TBaseControlItemFrm::TBaseControlItemFrm(TItemKind kind, bool analysis, const QString& caption, QWidget* parent)
    : TBaseFrm(parent), FKind(kind), FAnalysis(analysis), FCharts(std::make_unique<TChartFormList>()),
      FProvider(std::make_unique<TSampleProvider>()), FExceptionQuery(std::make_unique<TZCQuery>())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    resize(1000, 680);
    SetupExceptionQuery(*FExceptionQuery);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    btnSelect = new QPushButton(QStringLiteral("选择特性"), this);
    btnSelect->setToolTip(QStringLiteral("选择质量特性"));
    btnLimit = new QPushButton(QStringLiteral("控制限设置"), this);
    btnJudge = new QPushButton(QStringLiteral("检测"), this);
    btnShow = new QToolButton(this);
    btnShow->setText(QStringLiteral("显示"));
    btnShow->setPopupMode(QToolButton::MenuButtonPopup);
    ShowMenu = new QMenu(btnShow);
    actStatistics = ShowMenu->addAction(QStringLiteral("显示统计量"));
    actSpecLimits = ShowMenu->addAction(QStringLiteral("显示规格限"));
    actData = ShowMenu->addAction(QStringLiteral("显示数据"));
    btnShow->setMenu(ShowMenu);
    btnOutput = new QToolButton(this);
    btnOutput->setText(QStringLiteral("输出"));
    btnOutput->setPopupMode(QToolButton::MenuButtonPopup);
    OutputMenu = new QMenu(btnOutput);
    actPreview = OutputMenu->addAction(QStringLiteral("预览"));
    actPreviewBW = OutputMenu->addAction(QStringLiteral("预览（黑白）"));
    OutputMenu->addSeparator();
    actDesign = OutputMenu->addAction(QStringLiteral("设计"));
    btnOutput->setMenu(OutputMenu);
    btnClose = new QPushButton(QStringLiteral("关闭"), this);
    lblChartType = new QLabel(QStringLiteral("控制图类型："), this);
    cmbChartType = new QComboBox(this);
    cmbChartType->setMinimumWidth(150);
    lblChartType->setBuddy(cmbChartType);
    lblCount = new QLabel(kind == ikVariable ? QStringLiteral("分组数：") : QStringLiteral("显示项目数："), this);
    edtCount = new QSpinBox(this);
    edtCount->setRange(1, 999);
    btnRefresh = new QPushButton(QStringLiteral("刷新"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{btnSelect, btnLimit, btnJudge, btnShow, btnOutput, btnClose})
        bar->addWidget(w);
    bar->addSpacing(12);
    for (QWidget* w : std::initializer_list<QWidget*>{lblChartType, cmbChartType, lblCount, edtCount, btnRefresh})
        bar->addWidget(w);
    bar->addStretch();
    layout->addLayout(bar);
    ChartPanel = new QWidget(this);
    ChartPanel->setObjectName(QStringLiteral("ChartPanel"));
    ChartPanel->setAutoFillBackground(true);
    QPalette pal = ChartPanel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    ChartPanel->setPalette(pal);
    FPanelLayout = new QVBoxLayout(ChartPanel);
    FPanelLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ChartPanel, 1);

    btnLimit->setVisible(analysis);
    actSpecLimits->setVisible(kind == ikVariable);
    actStatistics->setVisible(kind == ikVariable);
    SetCountVisible(false, 0);
    SetChartControlsEnabled(false);

    connect(btnSelect, &QPushButton::clicked, this, [this] { Select(); });
    connect(btnLimit, &QPushButton::clicked, this, [this] { AdjustLimits(); });
    connect(btnJudge, &QPushButton::clicked, this, [this] { RunJudge(); });
    connect(btnShow, &QToolButton::clicked, this, [this] {
        if (FKind == ikVariable)
            SetStatisticsShown(!FStatisticsShown);
        else
            SetDataShown(!FDataShown);
    });
    connect(actStatistics, &QAction::triggered, this, [this] { SetStatisticsShown(!FStatisticsShown); });
    connect(actSpecLimits, &QAction::triggered, this, [this] { SetSpecLimitsShown(!FSpecLimitsShown); });
    connect(actData, &QAction::triggered, this, [this] { SetDataShown(!FDataShown); });
    connect(btnOutput, &QToolButton::clicked, this, [this] { Preview(true); });
    connect(actPreview, &QAction::triggered, this, [this] { Preview(true); });
    connect(actPreviewBW, &QAction::triggered, this, [this] { Preview(false); });
    connect(actDesign, &QAction::triggered, this, [this] { Design(); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cmbChartType, &QComboBox::activated, this, [this](int index) {
        const QString text = cmbChartType->itemText(index);
        if (text.isEmpty()) return;
        Guarded([&] { ShowChart(ChartTypeFromName(text)); });
    });
    connect(btnRefresh, &QPushButton::clicked, this, [this] { RefreshCount(); });
    connect(edtCount, &QSpinBox::editingFinished, this, [this] {
        if (edtCount->hasFocus()) RefreshCount();
    });
}

TBaseControlItemFrm::~TBaseControlItemFrm()
{
    ReleaseCharts();
    if (FRulesOpened) {
        if (TKQCommonDM* dm = TKQCommonDM::Current()) {
            dm->qryJudgeRuleTemplateDetail().Close();
            dm->qryJudgeRuleTemplate().Close();
        }
    }
}

void TBaseControlItemFrm::ReleaseCharts()
{
    CloseResultWindows();
    FJudge.SetVariableData(nullptr);
    FJudge.ExceptionData = nullptr;
    FCurrentChart = nullptr;
    FCharts->Clear();
}

QList<TChartExceptionViewFrm*> TBaseControlItemFrm::ResultWindows() const
{
    QList<TChartExceptionViewFrm*> windows;
    for (const auto& w : FResults)
        if (w) windows << w.data();
    return windows;
}

void TBaseControlItemFrm::showEvent(QShowEvent* event)
{
    TBaseFrm::showEvent(event);
    if (FOpened) return;
    FOpened = true;
    // The first activation asks for the item at once; without one the window has nothing to show.
    if (!FCondition && !Select()) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TBaseControlItemFrm::closeEvent(QCloseEvent* event)
{
    CloseResultWindows();
    TBaseFrm::closeEvent(event);
}

bool TBaseControlItemFrm::Select()
{
    try {
        if (!FCondition) FCondition = CreateCondition(GetNewTaskID());
        FCondition->PresetChartType(FCurrentChartType);
        if (RunDialog(*FCondition) != QDialog::Accepted) return false;
        const int before = SubgroupCount();
        HoldNotifications(true);
        TSampleLoadResult result;
        try {
            result = RunSampleLoad(this, [this](const TLoadProgress& p) { return LoadSamples(*FProvider, p); });
        } catch (...) {
            HoldNotifications(false);
            FCondition->CloseTaskQueries();
            throw;
        }
        if (result == TSampleLoadResult::Cancelled) {
            // The list and the charts still show the previous load.
            HoldNotifications(false);
            FCondition->CloseTaskQueries();
            return true;
        }
        // Whatever referred to the previous load goes before its charts.
        CloseResultWindows();
        DiscardCharts();
        FTagText = FCondition->TagText();
        FCondition->CloseTaskQueries();
        QStringList types;
        FillChartTypes(FKind, ItemSampleSize(), types);
        cmbChartType->addItems(types);
        cmbChartType->setCurrentIndex(-1);
        if (SubgroupCount() != before) FDataChanged = true;
        HoldNotifications(false);
        if (SubgroupCount() > 0) {
            SetChartControlsEnabled(true);
            ShowChart(FCondition->ChosenChartType());
        } else {
            SetChartControlsEnabled(false);  // RunSampleLoad has said so
        }
    } catch (const std::exception& e) {
        ShowException(e);
    }
    return true;
}

TBaseChartFrm* TBaseControlItemFrm::FindChart(TChartType type) const
{
    for (int i = 0; i < FCharts->Count(); ++i)
        if (TBaseChartFrm* f = FCharts->Item(i); f && f->ChartType() == type) return f;
    return nullptr;
}

void TBaseControlItemFrm::DiscardCharts()
{
    FJudge.SetVariableData(nullptr);  // drops the rules together with the data they read
    FCurrentChart = nullptr;
    FCurrentChartType = ctNone;
    FCharts->Clear();
    FTagText.clear();
    cmbChartType->clear();
    FStatisticsShown = FDataShown = FSpecLimitsShown = false;
    UpdateCaptions();
    SetCountVisible(false, 0);
}

void TBaseControlItemFrm::CloseResultWindows()
{
    for (const auto& w : FResults) {
        if (!w) continue;
        w->SetJudge(nullptr);
        w->close();
    }
    FResults.clear();
}

void TBaseControlItemFrm::SetChartControlsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{btnLimit, btnJudge, btnShow, btnOutput, cmbChartType})
        w->setEnabled(enabled);
}

void TBaseControlItemFrm::ShowChart(TChartType type)
{
    if (type == ctNone) return;
    if (type == FCurrentChartType) {
        if (FCurrentChart && FDataChanged) {
            FCurrentChart->ShowChart();
            FDataChanged = false;
        }
    } else {
        TBaseChartFrm* frm = FindChart(type);
        if (!frm) {
            const int i = CreateChartForm(type);
            if (i < 0) return;
            frm = FCharts->Item(i);
            frm->SetToolbarVisible(false);
            frm->setParent(ChartPanel, Qt::Widget);
            FPanelLayout->addWidget(frm);
            frm->show();
            if (!IsCountChart(type)) {
                TSPCChartData* data = frm->GetChartData();
                if (data && !data->LimitInfo.Loaded) {
                    ShowInfo(kAutoLimits);
                    data->CalcLimits();
                }
            }
            frm->ShowChart();
        }
        FCurrentChartType = type;
        cmbChartType->setCurrentIndex(cmbChartType->findText(ChartTypeName(type)));
        Activate(frm);
        FCurrentChart = frm;
    }
    if (cmbChartType->currentText().isEmpty()) cmbChartType->setCurrentIndex(cmbChartType->findText(ChartTypeName(type)));
}

void TBaseControlItemFrm::HideCurrent()
{
    if (FCurrentChart) FCurrentChart->hide();
}

void TBaseControlItemFrm::SetCountVisible(bool visible, int value)
{
    if (visible) edtCount->setValue(value);
    lblCount->setVisible(visible);
    edtCount->setVisible(visible);
    btnRefresh->setVisible(visible);
}

void TBaseControlItemFrm::SetCheckEnabled(bool enabled)
{
    btnLimit->setEnabled(enabled);
    btnJudge->setEnabled(enabled);
}

void TBaseControlItemFrm::UpdateCaptions()
{
    actStatistics->setText(FStatisticsShown ? QStringLiteral("隐藏统计量") : QStringLiteral("显示统计量"));
    actData->setText(FDataShown ? QStringLiteral("隐藏数据") : QStringLiteral("显示数据"));
    actSpecLimits->setText(FSpecLimitsShown ? QStringLiteral("隐藏规格限") : QStringLiteral("显示规格限"));
}

void TBaseControlItemFrm::SetStatisticsShown(bool flag)
{
    if (flag == FStatisticsShown) return;
    FStatisticsShown = flag;
    UpdateCaptions();
    if (FCurrentChart) Guarded([&] { FCurrentChart->ShowStatistics(flag); });
}

void TBaseControlItemFrm::SetDataShown(bool flag)
{
    if (flag == FDataShown) return;
    FDataShown = flag;
    UpdateCaptions();
    if (FCurrentChart) Guarded([&] { FCurrentChart->ShowData(flag); });
}

void TBaseControlItemFrm::SetSpecLimitsShown(bool flag)
{
    if (FKind != ikVariable || flag == FSpecLimitsShown) return;
    FSpecLimitsShown = flag;
    UpdateCaptions();
    if (FCurrentChart) Guarded([&] { ApplySpecLimits(FCurrentChart, flag); });
}

void TBaseControlItemFrm::RefreshCount()
{
    if (!FCurrentChart || !IsCountChart(FCurrentChartType)) return;
    Guarded([&] { SetCountOf(FCurrentChart, edtCount->value()); });
}

void TBaseControlItemFrm::AdjustLimits()
{
    if (!FCurrentChart || !FAnalysis) return;
    Guarded([&] {
        if (RunLimitDialog()) FCurrentChart->ShowChart();
    });
}

void TBaseControlItemFrm::LoadRules(TDataSet& rules)
{
    BindJudge();
    FJudge.LoadRules(rules);
}

TChartExceptionViewFrm* TBaseControlItemFrm::RunJudge()
{
    if (!FCurrentChart || IsCountChart(FCurrentChartType)) return nullptr;
    try {
        TKQCommonDM* lookups = TKQCommonDM::Current();
        if (!lookups) throw ESystemError(QStringLiteral("检测规则的数据集未指定或丢失"));
        if (!FRulesOpened) {
            lookups->qryJudgeRuleTemplate().Open();
            TZCQuery& detail = lookups->qryJudgeRuleTemplateDetail();
            if (detail.Active())
                detail.Open();  // counted: another window shows it too
            else
                ShowTemplateRules(detail, QVariant());
            FRulesOpened = true;
        }
        if (TChartJudgeSetFrm::ExecuteDialog([this](QWidget*, TDataSet& rules) { LoadRules(rules); }, this) != 1)
            return nullptr;
        TCompanyDM& dm = *TCompanyDM::Current();
        FExceptionQuery->SetDatabase(&dm);
        const int base = RunChartCheck(FJudge, *FExceptionQuery, dm);
        // A check without rules found nothing; a result window would store an empty result.
        if (base == NullValue) return nullptr;
        auto* view = new TChartExceptionViewFrm();
        view->SetJudge(&FJudge);
        view->TaskID = FCondition->TaskID();
        view->BaseJudgeSN = base;
        FResults << view;
        if (TChildWindowHost* host = TChildWindowHost::Current())
            host->ShowChildWindow(view);
        else
            view->show();
        return view;
    } catch (const std::exception& e) {
        ShowException(e);
        return nullptr;
    }
}

void TBaseControlItemFrm::CheckPower(int kind) const
{
    TWBUserPower* power = TWBUserPower::Current();
    const QString code = QString::fromLatin1(metaObject()->className());
    if (!power || !power->ModulePowerByCode(code).HasPower(static_cast<TPowerKind>(kind))) RaiseError(kNoPower);
}

void TBaseControlItemFrm::Preview(bool color)
{
    if (!FCurrentChart) return;
    Guarded([&] {
        CheckPower(static_cast<int>(TPowerKind::Print));
        TBaseChartFrm* frm = FCurrentChart;
        const bool previous = frm->ColorPrint;
        frm->ColorPrint = color ? previous : false;
        try {
            frm->PrintReport();
        } catch (...) {
            frm->ColorPrint = previous;
            throw;
        }
        frm->ColorPrint = previous;
    });
}

void TBaseControlItemFrm::Design()
{
    if (!FCurrentChart) return;
    Guarded([&] {
        CheckPower(static_cast<int>(TPowerKind::Design));
        FCurrentChart->DesignReport();
    });
}
