#include "engine/windows/ParetoChartFrm.h"

#include "engine/windows/ChartPanel.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>

TParetoChartFrm::TParetoChartFrm(QWidget* parent) : TChartFrmOf(parent)
{
    auto* row = FToolRow->layout();
    row->addWidget(new QLabel(QStringLiteral("显示项数："), FToolRow));
    ShowCountEdit = new QSpinBox(FToolRow);
    ShowCountEdit->setRange(0, 500);
    row->addWidget(ShowCountEdit);
    RefreshButton = new QPushButton(QStringLiteral("刷新"), FToolRow);
    row->addWidget(RefreshButton);
    connect(RefreshButton, &QPushButton::clicked, this, [this] { RefreshShowCount(); });
    FDataAgent = std::make_unique<TParetoDataViewAgent>(FData.get(), &DataGrid);
    SetChartType(ctPareto);
}

TParetoChartFrm::TParetoChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent) : TParetoChartFrm(parent)
{
    Create(list, embedded);
}

void TParetoChartFrm::ActivateDataFiller(bool flag)
{
    FDataAgent->SetActive(flag);
}

void TParetoChartFrm::FillDataGrid()
{
    FDataAgent->Fill();
}

void TParetoChartFrm::ShowChart()
{
    if (FList) FData->LoadFromList(*FList);
    FChart->Draw();
    ShowCountEdit->setValue(FChart->ShowCount());
    FChartPanel->update();
}

void TParetoChartFrm::RefreshShowCount()
{
    const int n = ShowCountEdit->value();
    FChart->SetShowCount(n);
    ShowCountEdit->setValue(n);
    FChart->Redraw();
    if (DataShown()) {
        ShowData(false);
        ShowData(true);
    }
}
