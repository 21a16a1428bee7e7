#include "engine/windows/AChartFrm.h"

#include "engine/windows/ChartPanel.h"

TAChartFrm::TAChartFrm(QWidget* parent)
    : TBaseChartFrm(parent), FData(std::make_unique<TAttributeChartData>()), FChart(std::make_unique<TAttributeChart>())
{
    FChart->SetChartData(FData.get());
    FDataView->DefaultColumnWidth = 62;
    AfterCreate();
}

TAChartFrm::TAChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent) : TAChartFrm(parent)
{
    SetDataList(list);
    PlaceWindow(embedded);
}

TAChartFrm::~TAChartFrm()
{
    FChartPanel->SetChart(nullptr);
    FChart.reset();
}

void TAChartFrm::SetDataList(TAttributeDataList* list)
{
    FList = list;
    FData->SetDataList(list);
    MakeFiller();
    UpdateTitle();
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
