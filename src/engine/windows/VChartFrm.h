#pragma once
// The chart window of the variable charts (XBar-R, XBar-S, X-Rm).
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class TVChartFrm : public TChartFrmOf<TVariableDataList, TVariableChartData, TVariableChart> {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit TVChartFrm(QWidget* parent = nullptr);
    TVChartFrm(TVariableDataList* list, bool embedded, QWidget* parent = nullptr);

    void SetChartType(TChartType type) override;
    void FillDataGrid() override;
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("VChart.rls"); }
    void ShowChart() override;
    void ShowSpecLines(bool flag);

protected:
    void ListBound() override;
    void ActivateStatistics(bool flag) override;
    void ActivateDataFiller(bool flag) override;

private:
    // The grid fillers follow the list and the chart type.
    void MakeFillers();

    std::unique_ptr<TStatisticViewAgent> FStatAgent;
    std::unique_ptr<TVariableDataViewAgent> FDataAgent;
};
