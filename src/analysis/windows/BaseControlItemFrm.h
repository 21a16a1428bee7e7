#pragma once
// What the four analysis and control windows share: the bar (选择特性, 控制限设置, 检测, 显示,
// 输出, 关闭, the chart-type list and the count field of the histogram or Pareto chart), the white
// panel holding the current chart window, the chart windows made on the window's data list, the
// judge with its exception query and result windows, and the report output with its rights.
#include "analysis/SampleProvider.h"
#include "component/BaseFrm.h"
#include "engine/SPCTypes.h"
#include "engine/windows/BaseChartFrm.h"
#include "rules/ChartJudge.h"
#include "rules/windows/ChartExceptionViewFrm.h"

#include <QList>
#include <QPointer>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolButton;
class QVBoxLayout;
class TChartFormList;
class TConditionSSelectFrm;
class TDataSet;
class TSPCChartData;
class TZCQuery;

class TBaseControlItemFrm : public TBaseFrm {
    Q_OBJECT
public:
    ~TBaseControlItemFrm() override;

    // The bar.
    QPushButton* btnSelect;   // "选择特性"
    QPushButton* btnLimit;    // "控制限设置" (analysis windows only)
    QPushButton* btnJudge;    // "检测"
    QToolButton* btnShow;     // "显示"
    QToolButton* btnOutput;   // "输出"
    QPushButton* btnClose;    // "关闭"
    QLabel* lblChartType;     // "控制图类型："
    QComboBox* cmbChartType;
    QLabel* lblCount;         // "分组数：" / "显示项目数："
    QSpinBox* edtCount;
    QPushButton* btnRefresh;  // "刷新"
    QMenu* ShowMenu;
    QAction* actStatistics;   // "显示统计量"
    QAction* actSpecLimits;   // "显示规格限" (variable windows)
    QAction* actData;         // "显示数据"
    QMenu* OutputMenu;
    QAction* actPreview;      // "预览"
    QAction* actPreviewBW;    // "预览（黑白）"
    QAction* actDesign;       // "设计"
    QWidget* ChartPanel;

    TChartType CurrentChartType() const { return FCurrentChartType; }
    TBaseChartFrm* CurrentChart() const { return FCurrentChart; }
    QString TagText() const { return FTagText; }
    bool DataChanged() const { return FDataChanged; }
    bool RulesOpened() const { return FRulesOpened; }
    bool StatisticsShown() const { return FStatisticsShown; }
    bool DataShown() const { return FDataShown; }
    bool SpecLimitsShown() const { return FSpecLimitsShown; }
    TChartFormList& Charts() const { return *FCharts; }
    TChartJudge& ChartJudge() { return FJudge; }
    TConditionSSelectFrm* ConditionDialog() const { return FCondition.get(); }
    // The result windows of this window's checks that are still open.
    QList<TChartExceptionViewFrm*> ResultWindows() const;

    // The user's operations; each shows its own errors.
    // "选择特性": false when the condition dialog was cancelled.
    bool Select();
    void ShowChart(TChartType type);
    void SetStatisticsShown(bool flag);
    void SetDataShown(bool flag);
    void SetSpecLimitsShown(bool flag);
    void RefreshCount();
    void AdjustLimits();
    // "检测": the result window it opened, or nullptr.
    TChartExceptionViewFrm* RunJudge();
    void Preview(bool color = true);
    void Design();

protected:
    TBaseControlItemFrm(TItemKind kind, bool analysis, const QString& caption, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // What the variable and attribute windows do their own way.
    virtual std::unique_ptr<TConditionSSelectFrm> CreateCondition(int taskID) = 0;
    virtual int SubgroupCount() const = 0;
    virtual int ItemSampleSize() const = 0;
    virtual void HoldNotifications(bool hold) = 0;
    virtual TSampleLoadResult LoadSamples(TSampleProvider& provider, const TLoadProgress& progress) = 0;
    // The chart window of the type on the data list (its position in Charts()), or -1.
    virtual int CreateChartForm(TChartType type) = 0;
    virtual void Activate(TBaseChartFrm* frm) = 0;
    // Binds the chart data of the current chart to the judge.
    virtual void BindJudge() = 0;
    // The limit dialog for the current chart's data; true when the chart is to be redrawn.
    virtual bool RunLimitDialog() = 0;
    virtual bool IsCountChart(TChartType type) const = 0;
    // Gives the histogram's group count or the Pareto chart's display count and refreshes it.
    virtual void SetCountOf(TBaseChartFrm* frm, int value) = 0;
    // Shows or hides the specification lines of a control chart window (variable windows).
    virtual void ApplySpecLimits(TBaseChartFrm*, bool) {}

    void HideCurrent();
    // Frees everything that reads the data list; the windows owning a list call it first thing
    // in their destructors.
    void ReleaseCharts();
    void SetCountVisible(bool visible, int value);
    void SetCheckEnabled(bool enabled);
    void UpdateCaptions();

    TItemKind FKind;
    bool FAnalysis;
    TChartType FCurrentChartType = ctNone;
    QPointer<TBaseChartFrm> FCurrentChart;
    bool FStatisticsShown = false;
    bool FDataShown = false;
    bool FSpecLimitsShown = false;

private:
    TBaseChartFrm* FindChart(TChartType type) const;
    void DiscardCharts();
    void CloseResultWindows();
    void SetChartControlsEnabled(bool enabled);
    void LoadRules(TDataSet& rules);
    void CheckPower(int kind) const;

    std::unique_ptr<TChartFormList> FCharts;
    std::unique_ptr<TSampleProvider> FProvider;
    std::unique_ptr<TConditionSSelectFrm> FCondition;
    std::unique_ptr<TZCQuery> FExceptionQuery;
    TChartJudge FJudge;
    QList<QPointer<TChartExceptionViewFrm>> FResults;
    QVBoxLayout* FPanelLayout;
    QString FTagText;
    bool FDataChanged = false;
    bool FRulesOpened = false;
    bool FOpened = false;
};
