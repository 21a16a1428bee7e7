#pragma once
// The histogram window: the classes of all values of a variable item, with a group-count field.
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class QSpinBox;
class QPushButton;

class THChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit THChartFrm(QWidget* parent = nullptr);
    THChartFrm(TVariableDataList* list, bool embedded, QWidget* parent = nullptr);
    ~THChartFrm() override;

    TVariableDataList* DataList() const { return FList; }
    void SetDataList(TVariableDataList* list);

    void FillDataGrid() override;
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("HChart.rls"); }
    void ShowChart() override;
    THistogramChart* Chart() const { return FChart.get(); }
    THistogramChartData* Data() const { return FData.get(); }
    QSpinBox* GroupCountEdit;
    QPushButton* RefreshButton;
    void RefreshGroupCount();

protected:
    void ActivateStatistics(bool flag) override;
    void ActivateDataFiller(bool flag) override;

private:
    TVariableDataList* FList = nullptr;
    std::unique_ptr<THistogramChartData> FData;
    std::unique_ptr<THistogramChart> FChart;
    std::unique_ptr<TStatisticViewAgent> FStatAgent;
    std::unique_ptr<THistogramDataViewAgent> FDataAgent;
};
