#pragma once
// "计量型特性分析": one variable control item on its X-bar/R, X-bar/S or X-Rm chart and its histogram.
#include "analysis/windows/BaseControlItemFrm.h"
#include "engine/VariableData.h"

class TVControlItemAnalysisFrm : public TBaseControlItemFrm {
    Q_OBJECT
public:
    explicit TVControlItemAnalysisFrm(QWidget* parent = nullptr);
    // The chart windows, result windows and the judge go before the list they read.
    ~TVControlItemAnalysisFrm() override { ReleaseCharts(); }
    TVariableDataList& DataList() { return FList; }

protected:
    TVControlItemAnalysisFrm(bool analysis, const QString& caption, QWidget* parent);
    std::unique_ptr<TConditionSSelectFrm> CreateCondition(int taskID) override;
    int SubgroupCount() const override { return FList.Count(); }
    int ItemSampleSize() const override { return FList.SampleSize(); }
    void HoldNotifications(bool hold) override { FList.Updating = hold; }
    TSampleLoadResult LoadSamples(TSampleProvider& provider, const TLoadProgress& progress) override;
    int CreateChartForm(TChartType type) override;
    void Activate(TBaseChartFrm* frm) override;
    void BindJudge() override;
    bool RunLimitDialog() override;
    bool IsCountChart(TChartType type) const override { return type == ctHistogram; }
    void SetCountOf(TBaseChartFrm* frm, int value) override;
    void ApplySpecLimits(TBaseChartFrm* frm, bool flag) override;

private:
    TVariableDataList FList;
};
