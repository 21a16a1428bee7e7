#pragma once
// The histogram window: the classes of all values of a variable item, with a group-count field.
#include "engine/windows/BaseChartFrm.h"

#include <memory>

class QSpinBox;
class QPushButton;

class THChartFrm : public TChartFrmOf<TVariableDataList, THistogramChartData, THistogramChart> {
    Q_OBJECT
public:
    // A window without a list (made by class name); SetDataList binds one.
    explicit THChartFrm(QWidget* parent = nullptr);
    THChartFrm(TVariableDataList* list, bool embedded, QWidget* parent = nullptr);

    void FillDataGrid() override;
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("HChart.rls"); }
    void ShowChart() override;
    QSpinBox* GroupCountEdit;
    QPushButton* RefreshButton;
    void RefreshGroupCount();

protected:
    void ListBound() override;
    void ActivateStatistics(bool flag) override;
    void ActivateDataFiller(bool flag) override;

private:
    std::unique_ptr<TStatisticViewAgent> FStatAgent;
    std::unique_ptr<THistogramDataViewAgent> FDataAgent;
};
