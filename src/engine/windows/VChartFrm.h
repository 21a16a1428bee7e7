#pragma once
// The chart window of the variable charts (XBar-R, XBar-S, X-Rm).
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class TVChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit TVChartFrm(QWidget* parent = nullptr);
    TVChartFrm(TVariableDataList* list, bool embedded, QWidget* parent = nullptr);
    ~TVChartFrm() override;

    TVariableDataList* DataList() const { return FList; }
    void SetDataList(TVariableDataList* list);

    void SetChartType(TChartType type) override;
    void FillDataGrid() override;
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("VChart.rls"); }
    void ShowChart() override;
    void ShowSpecLines(bool flag);
    TVariableChart* Chart() const { return FChart.get(); }
    TVariableChartData* Data() const { return FData.get(); }

protected:
    void ActivateStatistics(bool flag) override;
    void ActivateDataFiller(bool flag) override;

private:
    // The grid fillers follow the list and the chart type.
    void MakeFillers();

    TVariableDataList* FList = nullptr;
    std::unique_ptr<TVariableChartData> FData;
    std::unique_ptr<TVariableChart> FChart;
    std::unique_ptr<TStatisticViewAgent> FStatAgent;
    std::unique_ptr<TVariableDataViewAgent> FDataAgent;
};
