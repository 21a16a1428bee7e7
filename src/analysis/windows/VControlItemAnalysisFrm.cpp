#include "analysis/windows/VControlItemAnalysisFrm.h"

#include "analysis/SampleProvider.h"
#include "analysis/windows/AdjustVLimitFrm.h"
#include "analysis/windows/VAnalysisConditionSelectFrm.h"
#include "engine/windows/ChartFormManager.h"
#include "engine/windows/HChartFrm.h"
#include "engine/windows/VChartFrm.h"

#include <QAction>
#include <QSpinBox>

TVControlItemAnalysisFrm::TVControlItemAnalysisFrm(QWidget* parent)
    : TVControlItemAnalysisFrm(true, QStringLiteral("计量型特性分析"), parent)
{
}

TVControlItemAnalysisFrm::TVControlItemAnalysisFrm(bool analysis, const QString& caption, QWidget* parent)
    : TBaseControlItemFrm(ikVariable, analysis, caption, parent)
{
}

std::unique_ptr<TConditionSSelectFrm> TVControlItemAnalysisFrm::CreateCondition(int taskID)
{
    return std::make_unique<TVAnalysisConditionSelectFrm>(taskID, this);
}

TSampleLoadResult TVControlItemAnalysisFrm::LoadSamples(TSampleProvider& provider, const TLoadProgress& progress)
{
    const TConditionSSelectFrm& dlg = *ConditionDialog();
    TSampleLoadOptions options;
    options.CID = dlg.SelectedCID();
    options.Progress = progress;
    return provider.LoadVariableSamples(dlg.TaskID(), dlg.MandatoryTags(), FList, dlg.OptionalTags(), options);
}

int TVControlItemAnalysisFrm::CreateChartForm(TChartType type)
{
    switch (type) {
    case ctXBarR:
    case ctXBarS:
    case ctXRm: return Charts().AddVChartForm(&FList, type, true);
    case ctHistogram: return Charts().AddHChartForm(&FList, true);
    default: return -1;
    }
}

void TVControlItemAnalysisFrm::Activate(TBaseChartFrm* frm)
{
    HideCurrent();
    frm->show();
    frm->SetTagsText(TagText());
    FStatisticsShown = frm->StatisticsShown();
    FDataShown = frm->DataShown();
    if (auto* v = qobject_cast<TVChartFrm*>(frm)) {
        actSpecLimits->setVisible(true);
        FSpecLimitsShown = v->Chart()->ShowSpecLines();
        SetCheckEnabled(true);
    } else {
        actSpecLimits->setVisible(false);
        SetCheckEnabled(false);
    }
    UpdateCaptions();
    auto* h = qobject_cast<THChartFrm*>(frm);
    SetCountVisible(h != nullptr, h ? h->GroupCountEdit->value() : 0);
}

void TVControlItemAnalysisFrm::BindJudge()
{
    if (auto* v = qobject_cast<TVChartFrm*>(CurrentChart())) ChartJudge().SetVariableData(v->Data());
}

bool TVControlItemAnalysisFrm::RunLimitDialog()
{
    auto* v = qobject_cast<TVChartFrm*>(CurrentChart());
    return v && AdjustVariableLimits(*v->Data(), this);
}

void TVControlItemAnalysisFrm::SetCountOf(TBaseChartFrm* frm, int value)
{
    if (auto* h = qobject_cast<THChartFrm*>(frm)) {
        h->GroupCountEdit->setValue(value);
        h->RefreshGroupCount();
    }
}

void TVControlItemAnalysisFrm::ApplySpecLimits(TBaseChartFrm* frm, bool flag)
{
    if (auto* v = qobject_cast<TVChartFrm*>(frm)) v->ShowSpecLines(flag);
}
