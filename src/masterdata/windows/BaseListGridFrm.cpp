#include "masterdata/windows/BaseListGridFrm.h"

#include "component/DataSetModel.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

void ConnectGridToDataSet(QTableView* grid, TDataSetModel* model)
{
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setAlternatingRowColors(true);
    model->SetReadOnly(true);
    auto select = [grid, model](int row) {
        if (row >= 0 && row < model->rowCount()) grid->selectRow(row);
        else grid->clearSelection();
    };
    QObject::connect(model, &TDataSetModel::CurrentRowChanged, grid, select);
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [model](const QModelIndex& current) {
                         TDataSet* ds = model->DataSet();
                         if (!ds || !current.isValid() || ds->CurrentRow() == current.row()) return;
                         TBaseDataFrm::Run([&] { ds->SetRecNo(current.row() + 1); });
                     });
    if (model->DataSet()) select(model->DataSet()->CurrentRow());
}

TBaseListGridFrm::TBaseListGridFrm(QWidget* parent) : TBaeListViewFrm(parent)
{
    DBGrid = new QTableView(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    GridModel = new TDataSetModel(this);
    MainLayout->addWidget(DBGrid, 1);
    MainLayout->addLayout(BottomPanel);
    connect(DBGrid, &QTableView::doubleClicked, this, [this] {
        if (MainDataSet() && !MainDataSet()->IsEmpty()) actEdit->trigger();
    });
    connect(DBGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu->popup(DBGrid->viewport()->mapToGlobal(p)); });
}

void TBaseListGridFrm::BindControls()
{
    GridModel->SetDataSet(MainDataSet());
    ConnectGridToDataSet(DBGrid, GridModel);
}
