#include "masterdata/windows/BaseMulSelectFrm.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"

#include <QHeaderView>
#include <QTableView>

TBaseMulSelectFrm::TBaseMulSelectFrm(TDataSet* dataSet, const QString& caption, const QString& keyFieldName,
                                     QWidget* parent)
    : TBaseSelectFrm(dataSet, caption, keyFieldName, parent)
{
    Model()->AddCheckBoxColumn(QStringLiteral("Selected"), QStringLiteral("选中"));
    // A tick is final at once: no row is left half edited when the callback reads the rows.
    Model()->SetAutoPost(true);
}

void TBaseMulSelectFrm::Execute(const TCommandParams& params, const TMultiSelectData* data)
{
    const TCommandParam* key = params.FindParam(QStringLiteral("SelectedKeyField"));
    Execute(data ? data->DataSet : nullptr, key ? key->Value.toString() : QString(),
            data ? data->Callback : TMultiSelectCallback());
}

void TBaseMulSelectFrm::DataSetOpened()
{
    MarkSelectedRows(*DataSet(), KeyFieldName(), FCurrent, FCurrentKeyFieldName);
}

bool TBaseMulSelectFrm::Execute(const TDataSet* current, const QString& currentKeyFieldName,
                                const TMultiSelectCallback& callback)
{
    FCurrent = current;
    FCurrentKeyFieldName = currentKeyFieldName.trimmed().isEmpty() ? KeyFieldName() : currentKeyFieldName.trimmed();
    OpenDataSet();
    Grid->setColumnWidth(0, 44);
    if (RunDialog(*this) != QDialog::Accepted) return false;
    DataSet()->Post();
    if (callback) callback(DataSet(), KeyFieldName());
    return true;
}
