#include "analysis/windows/TagValueMSelectFrm.h"

#include "component/DataSetModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TTagValueMSelectFrm::TTagValueMSelectFrm(TDataSet& offer, QWidget* parent) : TBaseDialog(parent), FChoice(offer)
{
    setWindowTitle(QStringLiteral("选择标签值"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    FModel = new TDataSetModel(this);
    FModel->AddCheckBoxColumn(QStringLiteral("Selected"), QStringLiteral("选中"));
    FModel->AddColumn(QStringLiteral("TagValue"), QStringLiteral("取值"), true);
    FModel->SetAutoPost(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    auto* tagBar = new QHBoxLayout;
    lblTag = new QLabel(QStringLiteral("标签："), this);
    cmbTag = new QComboBox(this);
    cmbTag->setObjectName(QStringLiteral("cmbTag"));
    cmbTag->setMinimumWidth(160);
    lblTag->setBuddy(cmbTag);
    for (const TTagValueChoice::TTag& tag : FChoice.Tags()) cmbTag->addItem(tag.TagName, tag.TagID);
    tagBar->addWidget(lblTag);
    tagBar->addWidget(cmbTag);
    tagBar->addStretch(1);
    layout->addLayout(tagBar);

    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->verticalHeader()->setVisible(false);
    Grid->verticalHeader()->setDefaultSectionSize(22);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->setModel(FModel);
    FModel->SetDataSet(&offer);
    Grid->setColumnWidth(0, 50);
    layout->addWidget(Grid, 1);

    chkMandatory = new QCheckBox(QStringLiteral("必须满足"), this);
    chkMandatory->setObjectName(QStringLiteral("chkMandatory"));
    chkMandatory->setChecked(true);
    layout->addWidget(chkMandatory, 0, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout;
    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(cmbTag, &QComboBox::currentIndexChanged, this, &TTagValueMSelectFrm::TagChosen);
    connect(chkMandatory, &QCheckBox::clicked, this, [this](bool checked) { FChoice.SetMandatory(checked); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    TagChosen(cmbTag->currentIndex());
    resize(340, 360);
}

TTagValueMSelectFrm::~TTagValueMSelectFrm()
{
    FModel->SetDataSet(nullptr);
}

void TTagValueMSelectFrm::SelectTag(int tagID)
{
    const int index = FChoice.IndexOfTag(tagID);
    if (index >= 0) cmbTag->setCurrentIndex(index);
}

void TTagValueMSelectFrm::TagChosen(int index)
{
    FChoice.SetTag(index);
    chkMandatory->setChecked(FChoice.Mandatory());
}
