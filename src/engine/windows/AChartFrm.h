#pragma once
// The chart window of the attribute charts (P, nP, U, C).
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class TAChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit TAChartFrm(QWidget* parent = nullptr);
    TAChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent = nullptr);
    ~TAChartFrm() override;

    TAttributeDataList* DataList() const { return FList; }
    void SetDataList(TAttributeDataList* list);

    void SetChartType(TChartType type) override;
    void FillDataGrid() override;
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("AChart.rls"); }
    void ShowChart() override;
    TAttributeChart* Chart() const { return FChart.get(); }
    TAttributeChartData* Data() const { return FData.get(); }

protected:
    void ActivateDataFiller(bool flag) override;

private:
    // The grid filler follows the list and the chart type.
    void MakeFiller();

    TAttributeDataList* FList = nullptr;
    std::unique_ptr<TAttributeChartData> FData;
    std::unique_ptr<TAttributeChart> FChart;
    std::unique_ptr<TAttributeDataViewAgent> FDataAgent;
};
