#include "masterdata/windows/BasePhenomenonEditFrm.h"

#include "component/DataSetModel.h"
#include "foundation/DataSet.h"
#include "masterdata/MasterDataRules.h"
#include "masterdata/windows/BaseListGridFrm.h"
#include "masterdata/windows/DefectPhenomenonMSelectFrm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TBasePhenomenonEditFrm::TBasePhenomenonEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    ReleasesDetail = true;
    btnSelect = new QPushButton(QStringLiteral("选择(&D)..."), this);
    btnSelect->setObjectName(QStringLiteral("btnSelect"));
    btnSelect->setAutoDefault(false);
    PhenomenonGrid = new QTableView(this);
    PhenomenonGrid->setObjectName(QStringLiteral("PhenomenonGrid"));
    PhenomenonModel = new TDataSetModel(this);
    PhenomenonModel->AddColumn(QStringLiteral("DPCode"), QStringLiteral("项目编码"));
    PhenomenonModel->AddColumn(QStringLiteral("DPName"), QStringLiteral("项目名称"));
    connect(btnSelect, &QPushButton::clicked, this, [this] { Run([this] { SelectPhenomena(); }); });
}

void TBasePhenomenonEditFrm::AddPhenomenonRows()
{
    auto* selectRow = new QHBoxLayout;
    selectRow->addWidget(btnSelect);
    selectRow->addStretch(1);
    AddRow(QStringLiteral("缺点项目："), selectRow);
    auto* gridBox = new QVBoxLayout;
    gridBox->setContentsMargins(16, 0, 16, 8);
    gridBox->addWidget(PhenomenonGrid);
    MainLayout->addLayout(gridBox, 1);
}

void TBasePhenomenonEditFrm::BindControls()
{
    PhenomenonModel->SetDataSet(DetailDataSet());
    ConnectGridToDataSet(PhenomenonGrid, PhenomenonModel);
    PhenomenonGrid->setColumnWidth(0, 110);
}

void TBasePhenomenonEditFrm::SelectPhenomena()
{
    TDataSet* master = MasterDataSet();
    TDataSet* detail = DetailDataSet();
    if (master->RecNo() < 0) return;
    const QString keyField = MasterKeyFields.value(0);
    const QVariant id = master->Value(keyField);
    MSelectDefectPhenomenon(detail, QStringLiteral("DPID"),
                            TMultiSelectCallback::FromCallable([detail, keyField, id](TDataSet* choice, const QString& key) {
                                ReplaceDefectPhenomena(*detail, keyField, id, *choice, key);
                            }),
                            this);
}
