#include "engine/windows/VChartFrm.h"

#include "engine/windows/ChartPanel.h"

TVChartFrm::TVChartFrm(QWidget* parent) : TChartFrmOf(parent) {}

TVChartFrm::TVChartFrm(TVariableDataList* list, bool embedded, QWidget* parent) : TVChartFrm(parent)
{
    Create(list, embedded);
}

void TVChartFrm::ListBound()
{
    FData->SetDataList(FList);
    MakeFillers();
}

void TVChartFrm::SetChartType(TChartType type)
{
    FData->SetChartType(type);
    TBaseChartFrm::SetChartType(type);
    MakeFillers();
}

void TVChartFrm::MakeFillers()
{
    if (ChartType() == ctNone) return;
    FStatAgent = std::make_unique<TStatisticViewAgent>(FList, ChartType(), &StatisticsGrid, &FData->LimitInfo);
    FDataAgent = std::make_unique<TVariableDataViewAgent>(FList, ChartType(), &DataGrid);
}

void TVChartFrm::ActivateStatistics(bool flag)
{
    if (FStatAgent) FStatAgent->SetActive(flag);
}

void TVChartFrm::ActivateDataFiller(bool flag)
{
    if (FDataAgent) FDataAgent->SetActive(flag);
}

void TVChartFrm::FillDataGrid()
{
    if (FDataAgent) FDataAgent->Fill();
}

void TVChartFrm::ShowChart()
{
    FChart->Draw();
    FChartPanel->update();
}

void TVChartFrm::ShowSpecLines(bool flag)
{
    FChart->SetShowSpecLines(flag);
}
