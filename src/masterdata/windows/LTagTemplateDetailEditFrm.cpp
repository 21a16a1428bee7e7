#include "masterdata/windows/LTagTemplateDetailEditFrm.h"

#include "foundation/DataSet.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/MasterDataRules.h"

#include <QComboBox>
#include <QVBoxLayout>

TLTagTemplateDetailEditFrm::TLTagTemplateDetailEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    setWindowTitle(QStringLiteral("标签模板明细编辑"));
    SetupTagTemplateForm(*this);
    cbTag = new QComboBox(this);
    cbTag->setObjectName(QStringLiteral("cbTag"));
    AddRow(QStringLiteral("标签："), cbTag);
    cbValue = new QComboBox(this);
    cbValue->setObjectName(QStringLiteral("cbValue"));
    AddRow(QStringLiteral("预设值："), cbValue);
    for (QComboBox* c : {cbTag, cbValue}) c->setMinimumWidth(220);
    // Connected before the field links bind the boxes, so the choice is complete when they look.
    connect(cbTag, &QComboBox::activated, this, [this] {
        Run([this] {
            ChooseTemplateRowTag(*DetailDataSet(), cbTag->currentData(), cbTag->currentText());
            LoadValueChoices();
        });
    });
    connect(cbValue, &QComboBox::activated, this, [this] {
        Run([this] { ChooseTemplateRowValue(*DetailDataSet(), cbValue->currentData(), cbValue->currentText()); });
    });
    MainLayout->addStretch(1);
    FinishLayout();
    resize(420, sizeHint().height());
}

TLTagTemplateDetailEditFrm::~TLTagTemplateDetailEditFrm()
{
    // The shared rows outlive this window; closing them below must not reach its lists.
    if (TDataSet* rows = DetailDataSet()) disconnect(rows, nullptr, this, nullptr);
}

void TLTagTemplateDetailEditFrm::BindControls()
{
    for (const TChoiceItem& item : TemplateTagChoices()) cbTag->addItem(item.Text, item.ID);
    Bind(DetailDataSet(), QStringLiteral("TagID"), cbTag, TFieldLink::TKind::Combo);
    Bind(DetailDataSet(), QStringLiteral("TagValueID"), cbValue, TFieldLink::TKind::Combo);
    connect(DetailDataSet(), &TDataSet::CurrentRowChanged, this, [this] { Run([this] { LoadValueChoices(); }); });
    connect(DetailDataSet(), &TDataSet::DataSetChanged, this, [this] { Run([this] { LoadValueChoices(); }); });
    LoadValueChoices();
}

void TLTagTemplateDetailEditFrm::LoadValueChoices()
{
    TDataSet* row = DetailDataSet();
    const QVariant tag = row->Active() && row->RecNo() > 0 ? row->Value(QStringLiteral("TagID")) : QVariant();
    cbValue->clear();
    for (const TChoiceItem& item : TemplateValueChoices(tag)) cbValue->addItem(item.Text, item.ID);
    ReloadControls();
}
