#pragma once
// The multiple-choice dialogs: the grid's first column "选中" is a tick box (Selected 1 or 0), the
// caller's current selections start ticked, and OK hands every row of the data set, ticked or
// not and whatever the filter shows, to the caller's callback.
#include "foundation/CommandCentre.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/windows/BaseSelectFrm.h"

class TBaseMulSelectFrm : public TBaseSelectFrm {
    Q_OBJECT
public:
    // The class-level selection routine a command runs: data is the caller's TMultiSelectData
    // (may be null); "SelectedKeyField" names the key field of its data set (empty or missing:
    // the dialog's key field).
    template <class T>
    static void SelectCommand(TCommandParams& params, void* data)
    {
        T dialog(TKQCommonDM::Current(), DialogParent());
        dialog.Execute(params, static_cast<const TMultiSelectData*>(data));
    }

    void Execute(const TCommandParams& params, const TMultiSelectData* data);
    // Opens the data set with the rows of current ticked (matched by currentKeyFieldName, empty:
    // the dialog's key field), runs the dialog and on OK calls the callback with the data set and
    // the dialog's key field name. True after OK.
    bool Execute(const TDataSet* current, const QString& currentKeyFieldName, const TMultiSelectCallback& callback);

protected:
    TBaseMulSelectFrm(TDataSet* dataSet, const QString& caption, const QString& keyFieldName, QWidget* parent);
    void DataSetOpened() override;

private:
    const TDataSet* FCurrent = nullptr;
    QString FCurrentKeyFieldName;
};
