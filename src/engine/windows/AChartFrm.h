#pragma once
// The chart window of the attribute charts (P, nP, U, C).
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class TAChartFrm : public TChartFrmOf<TAttributeDataList, TAttributeChartData, TAttributeChart> {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit TAChartFrm(QWidget* parent = nullptr);
    TAChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent = nullptr);

    void SetChartType(TChartType type) override;
    void FillDataGrid() override;
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("AChart.rls"); }
    void ShowChart() override;

protected:
    void ListBound() override;
    void ActivateDataFiller(bool flag) override;

private:
    // The grid filler follows the list and the chart type.
    void MakeFiller();

    std::unique_ptr<TAttributeDataViewAgent> FDataAgent;
};
