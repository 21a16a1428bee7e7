#include "masterdata/windows/BaseListMDGridFrm.h"

#include "component/DataSetModel.h"
#include "masterdata/windows/BaseListGridFrm.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

TBaseListMDGridFrm::TBaseListMDGridFrm(QWidget* parent) : TBaseListMDViewFrm(parent)
{
    auto* splitter = new QSplitter(Qt::Vertical, this);
    MasterGrid = new QTableView(splitter);
    MasterGrid->setObjectName(QStringLiteral("MasterGrid"));
    DetailGrid = new QTableView(splitter);
    DetailGrid->setObjectName(QStringLiteral("DetailGrid"));
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    MasterModel = new TDataSetModel(this);
    DetailModel = new TDataSetModel(this);
    MainLayout->addWidget(splitter, 1);
    MainLayout->addLayout(BottomPanel);
    connect(MasterGrid, &QTableView::doubleClicked, this, [this] {
        if (!MasterDataSet()->IsEmpty()) actMasterEdit->trigger();
    });
    connect(DetailGrid, &QTableView::doubleClicked, this, [this] {
        if (!DetailDataSet()->IsEmpty() && actDetailEdit->isEnabled()) actDetailEdit->trigger();
    });
    connect(MasterGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { MasterPopupMenu->popup(MasterGrid->viewport()->mapToGlobal(p)); });
    connect(DetailGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { DetailPopupMenu->popup(DetailGrid->viewport()->mapToGlobal(p)); });
}

void TBaseListMDGridFrm::BindControls()
{
    MasterModel->SetDataSet(MasterDataSet());
    DetailModel->SetDataSet(DetailDataSet());
    ConnectGridToDataSet(MasterGrid, MasterModel);
    ConnectGridToDataSet(DetailGrid, DetailModel);
}

void TBaseListMDGridFrm::DetachGrids()
{
    MasterModel->SetDataSet(nullptr);
    DetailModel->SetDataSet(nullptr);
}

void TBaseListMDGridFrm::AttachGrids()
{
    const std::pair<TDataSetModel*, TDataSet*> links[] = {{MasterModel, MasterDataSet()}, {DetailModel, DetailDataSet()}};
    for (const auto& [model, dataSet] : links) {
        if (model->DataSet() == dataSet) continue;
        model->SetDataSet(dataSet);
        if (dataSet) emit model->CurrentRowChanged(dataSet->CurrentRow());
    }
}

bool TBaseListMDGridFrm::GridsAttached() const
{
    return MasterModel->DataSet() == MasterDataSet() && DetailModel->DataSet() == DetailDataSet();
}
