#include "engine/windows/AChartFrm.h"

#include "engine/windows/ChartPanel.h"

TAChartFrm::TAChartFrm(QWidget* parent) : TChartFrmOf(parent)
{
    FDataView->DefaultColumnWidth = 62;
}

TAChartFrm::TAChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent) : TAChartFrm(parent)
{
    Create(list, embedded);
}

void TAChartFrm::ListBound()
{
    FData->SetDataList(FList);
    MakeFiller();
}

void TAChartFrm::SetChartType(TChartType type)
{
    FData->SetChartType(type);
    TBaseChartFrm::SetChartType(type);
    MakeFiller();
}

void TAChartFrm::MakeFiller()
{
    if (ChartType() == ctNone) return;
    FDataAgent = std::make_unique<TAttributeDataViewAgent>(FList, ChartType(), &DataGrid);
}

void TAChartFrm::ActivateDataFiller(bool flag)
{
    if (FDataAgent) FDataAgent->SetActive(flag);
}

void TAChartFrm::FillDataGrid()
{
    if (FDataAgent) FDataAgent->Fill();
}

void TAChartFrm::ShowChart()
{
    FChart->Draw();
    FChartPanel->update();
}
