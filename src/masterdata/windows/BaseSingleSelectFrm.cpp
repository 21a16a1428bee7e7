#include "masterdata/windows/BaseSingleSelectFrm.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>

void TBaseSingleSelectFrm::SetOutParam(TCommandParams& params, const QString& name, const QVariant& value)
{
    TCommandParam* p = params.FindParam(name);
    if (!p) {
        p = &params.Add();
        p->Name = name;
    }
    p->Value = value;
}

TBaseSingleSelectFrm::TBaseSingleSelectFrm(TDataSet* dataSet, const QString& caption, const QString& keyFieldName,
                                           const QString& nameFieldName, QWidget* parent)
    : TBaseSelectFrm(dataSet, caption, keyFieldName, parent), FNameFieldName(nameFieldName)
{
    Model()->SetReadOnly(true);
    btnUnSelect = new QPushButton(QStringLiteral("不选"), BottomPanel);
    ButtonLayout()->insertWidget(ButtonLayout()->indexOf(btnCancel), btnUnSelect);
    connect(btnUnSelect, &QPushButton::clicked, this, &TBaseSingleSelectFrm::btnUnSelectClick);
    connect(Grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) accept();
    });
}

void TBaseSingleSelectFrm::btnUnSelectClick()
{
    FUnSelected = true;
    accept();
}

TSingleSelection TBaseSingleSelectFrm::Selection(bool accepted) const
{
    return SingleSelection(*DataSet(), accepted ? CurrentRow() : -1, KeyFieldName(), FNameFieldName, accepted,
                           FUnSelected);
}

void TBaseSingleSelectFrm::Execute(TCommandParams& params)
{
    PrepareDataSet(params);
    OpenDataSet();
    const TCommandParam* id = params.FindParam(IDParamName());
    LocateSelectKey(*DataSet(), KeyFieldName(), id ? id->Value : QVariant());
    const bool accepted = RunDialog(*this) == QDialog::Accepted;
    WriteSelection(params, Selection(accepted));
}

void TBaseSingleSelectFrm::WriteSelection(TCommandParams& params, const TSingleSelection& selection)
{
    SetOutParam(params, QStringLiteral("UnSelected"), selection.UnSelected);
    SetOutParam(params, IDParamName(), selection.ID);
    if (selection.ID != NullValue) SetOutParam(params, NameParamName(), selection.Name);
}
