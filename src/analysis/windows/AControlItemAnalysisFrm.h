#pragma once
// "计数型特性分析": one attribute control item on its p, np, u or c chart and its Pareto chart.
#include "analysis/windows/BaseControlItemFrm.h"
#include "engine/AttributeData.h"

class TAControlItemAnalysisFrm : public TBaseControlItemFrm {
    Q_OBJECT
public:
    explicit TAControlItemAnalysisFrm(QWidget* parent = nullptr);
    // The chart windows, result windows and the judge go before the list they read.
    ~TAControlItemAnalysisFrm() override { ReleaseCharts(); }
    TAttributeDataList& DataList() { return FList; }

protected:
    TAControlItemAnalysisFrm(bool analysis, const QString& caption, QWidget* parent);
    std::unique_ptr<TConditionSSelectFrm> CreateCondition(int taskID) override;
    int SubgroupCount() const override { return FList.Count(); }
    int ItemSampleSize() const override { return 1; }
    void HoldNotifications(bool hold) override { FList.Updating = hold; }
    TSampleLoadResult LoadSamples(TSampleProvider& provider, const TLoadProgress& progress) override;
    int CreateChartForm(TChartType type) override;
    void Activate(TBaseChartFrm* frm) override;
    void BindJudge() override;
    bool RunLimitDialog() override;
    bool IsCountChart(TChartType type) const override { return type == ctPareto; }
    void SetCountOf(TBaseChartFrm* frm, int value) override;

private:
    TAttributeDataList FList;
};
