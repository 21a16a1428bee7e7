#include "analysis/windows/AControlItemAnalysisFrm.h"

#include "analysis/SampleProvider.h"
#include "analysis/windows/AAnalysisConditionSelectFrm.h"
#include "analysis/windows/AdjustALimitFrm.h"
#include "engine/windows/AChartFrm.h"
#include "engine/windows/ChartFormManager.h"
#include "engine/windows/ParetoChartFrm.h"

#include <QSpinBox>

TAControlItemAnalysisFrm::TAControlItemAnalysisFrm(QWidget* parent)
    : TAControlItemAnalysisFrm(true, QStringLiteral("计数型特性分析"), parent)
{
}

TAControlItemAnalysisFrm::TAControlItemAnalysisFrm(bool analysis, const QString& caption, QWidget* parent)
    : TBaseControlItemFrm(ikAttribute, analysis, caption, parent)
{
}

std::unique_ptr<TConditionSSelectFrm> TAControlItemAnalysisFrm::CreateCondition(int taskID)
{
    return std::make_unique<TAAnalysisConditionSelectFrm>(taskID, this);
}

TSampleLoadResult TAControlItemAnalysisFrm::LoadSamples(TSampleProvider& provider, const TLoadProgress& progress)
{
    const TConditionSSelectFrm& dlg = *ConditionDialog();
    TSampleLoadOptions options;
    options.CID = dlg.SelectedCID();
    options.Progress = progress;
    return provider.LoadAttributeSamples(dlg.TaskID(), dlg.MandatoryTags(), FList, dlg.OptionalTags(), options);
}

int TAControlItemAnalysisFrm::CreateChartForm(TChartType type)
{
    switch (type) {
    case ctP:
    case ctNP:
    case ctU:
    case ctC: return Charts().AddAChartForm(&FList, type, true);
    case ctPareto: return Charts().AddParetoChartForm(&FList, true);
    default: return -1;
    }
}

void TAControlItemAnalysisFrm::Activate(TBaseChartFrm* frm)
{
    // A chart left behind shows neither statistics nor data when it comes back.
    SetStatisticsShown(false);
    SetDataShown(false);
    HideCurrent();
    frm->show();
    frm->SetTagsText(TagText());
    auto* pareto = qobject_cast<TParetoChartFrm*>(frm);
    SetCountVisible(pareto != nullptr, pareto ? pareto->ShowCountEdit->value() : 0);
    SetCheckEnabled(pareto == nullptr);
}

void TAControlItemAnalysisFrm::BindJudge()
{
    if (auto* a = qobject_cast<TAChartFrm*>(CurrentChart())) ChartJudge().SetAttributeData(a->Data());
}

bool TAControlItemAnalysisFrm::RunLimitDialog()
{
    auto* a = qobject_cast<TAChartFrm*>(CurrentChart());
    return a && AdjustAttributeLimits(*a->Data(), this);
}

void TAControlItemAnalysisFrm::SetCountOf(TBaseChartFrm* frm, int value)
{
    if (auto* p = qobject_cast<TParetoChartFrm*>(frm)) {
        p->ShowCountEdit->setValue(value);
        p->RefreshShowCount();
    }
}
