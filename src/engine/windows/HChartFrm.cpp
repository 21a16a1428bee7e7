#include "engine/windows/HChartFrm.h"

#include "engine/windows/ChartPanel.h"
#include "foundation/MessageService.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

THChartFrm::THChartFrm(QWidget* parent) : TChartFrmOf(parent)
{
    auto* row = FToolRow->layout();
    row->addWidget(new QLabel(QStringLiteral(" 分组数："), FToolRow));
    GroupCountEdit = new QSpinBox(FToolRow);
    GroupCountEdit->setRange(1, 500);
    row->addWidget(GroupCountEdit);
    RefreshButton = new QPushButton(QStringLiteral("刷新"), FToolRow);
    row->addWidget(RefreshButton);
    connect(RefreshButton, &QPushButton::clicked, this, [this] {
        try {
            RefreshGroupCount();
        } catch (const std::exception& e) {
            ShowException(e);
        }
    });
    connect(GroupCountEdit, &QSpinBox::editingFinished, this, [this] {
        if (GroupCountEdit->hasFocus()) RefreshButton->click();
    });
    FDataAgent = std::make_unique<THistogramDataViewAgent>(FData.get(), &DataGrid);
    FStatView->setMaximumHeight(60);
    resize(width() + int(std::lround(width() * 2.0 / 12)), height());
    SetChartType(ctHistogram);
}

THChartFrm::THChartFrm(TVariableDataList* list, bool embedded, QWidget* parent) : THChartFrm(parent)
{
    Create(list, embedded);
}

void THChartFrm::ListBound()
{
    FData->SetDataList(FList);
    FStatAgent = std::make_unique<TStatisticViewAgent>(FList, ctXBarS, &StatisticsGrid, &FData->LimitInfo);
    FStatAgent->ShowRange = true;
}

void THChartFrm::ActivateStatistics(bool flag)
{
    if (!FStatAgent) return;
    // The strip reads the histogram's own limit record, which the classes fill.
    if (flag) FData->EnsureCalc();
    FStatAgent->SetActive(flag);
}

void THChartFrm::ActivateDataFiller(bool flag)
{
    FDataAgent->SetActive(flag);
}

void THChartFrm::FillDataGrid()
{
    FDataAgent->Fill();
}

void THChartFrm::ShowChart()
{
    FChart->Draw();
    if (FData->GroupCount() != NullValue) GroupCountEdit->setValue(FData->GroupCount());
    else if (FData->GroupItemCount() > 0) GroupCountEdit->setValue(FData->GroupItemCount());
    FChartPanel->update();
}

void THChartFrm::RefreshGroupCount()
{
    const int k = GroupCountEdit->value();
    FData->SetGroupCount(k);
    GroupCountEdit->setValue(k);
    FChart->Redraw();
    if (DataShown()) {
        ShowData(false);
        ShowData(true);
    }
}
