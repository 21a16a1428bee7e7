#pragma once
// The Pareto window: the defects of an attribute item by phenomenon, with a display-count field.
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class QSpinBox;
class QPushButton;

class TParetoChartFrm : public TChartFrmOf<TAttributeDataList, TParetoData, TParetoChart> {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit TParetoChartFrm(QWidget* parent = nullptr);
    TParetoChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent = nullptr);

    void FillDataGrid() override;
    void ShowStatistics(bool) override {}
    TSPCChartData* GetChartData() const override { return nullptr; }
    QString ReportFileName() const override { return QStringLiteral("ParetoChart.rls"); }
    void ShowChart() override;
    QSpinBox* ShowCountEdit;
    QPushButton* RefreshButton;
    void RefreshShowCount();

protected:
    const TCharacterInfo* ItemInfo() const override { return FList ? &FList->Info : nullptr; }
    void ActivateDataFiller(bool flag) override;

private:
    std::unique_ptr<TParetoDataViewAgent> FDataAgent;
};
