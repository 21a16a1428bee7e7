#pragma once
// The Pareto window: the defects of an attribute item by phenomenon, with a display-count field.
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class QSpinBox;
class QPushButton;

class TParetoChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit TParetoChartFrm(QWidget* parent = nullptr);
    TParetoChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent = nullptr);
    ~TParetoChartFrm() override;

    TAttributeDataList* DataList() const { return FList; }
    void SetDataList(TAttributeDataList* list);

    void FillDataGrid() override;
    void ShowStatistics(bool) override {}
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return nullptr; }
    QString ReportFileName() const override { return QStringLiteral("ParetoChart.rls"); }
    void ShowChart() override;
    TParetoChart* Chart() const { return FChart.get(); }
    TParetoData* Data() const { return FData.get(); }
    QSpinBox* ShowCountEdit;
    QPushButton* RefreshButton;
    void RefreshShowCount();

protected:
    const TCharacterInfo* ItemInfo() const override { return FList ? &FList->Info : nullptr; }
    void ActivateDataFiller(bool flag) override;

private:
    TAttributeDataList* FList = nullptr;
    std::unique_ptr<TParetoData> FData;
    std::unique_ptr<TParetoChart> FChart;
    std::unique_ptr<TParetoDataViewAgent> FDataAgent;
};
