#pragma once
// The single-choice dialogs: a read-only grid selecting whole rows, "确定", "不选" and "取消".
// A command's handler shows one with the identifier to start on and reads back the choice.
#include "foundation/CommandCentre.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/windows/BaseSelectFrm.h"

class TBaseSingleSelectFrm : public TBaseSelectFrm {
    Q_OBJECT
public:
    QPushButton* btnUnSelect;  // "不选"

    const QString& NameFieldName() const { return FNameFieldName; }
    // Set by "不选"; false when the dialog opens.
    bool UnSelected() const { return FUnSelected; }

    // The class-level selection routine a command runs: shows the dialog T over the current
    // look-up module and exchanges the command's parameters with it.
    template <class T>
    static void SelectCommand(TCommandParams& params, void* /*data*/)
    {
        T dialog(TKQCommonDM::Current(), DialogParent());
        dialog.Execute(params);
    }

    // Opens the data set on the row of the identifier parameter (the first row when it names
    // none), runs the dialog and writes the outcome: "UnSelected" always, the identifier
    // (NullValue unless a row was chosen) and, for a chosen row, its name.
    void Execute(TCommandParams& params);
    // The choice once the dialog has closed with the given result.
    TSingleSelection Selection(bool accepted) const;

protected:
    TBaseSingleSelectFrm(TDataSet* dataSet, const QString& caption, const QString& keyFieldName,
                         const QString& nameFieldName, QWidget* parent);

    // The parameter names of the identifier and the name.
    virtual QString IDParamName() const { return QStringLiteral("ID"); }
    virtual QString NameParamName() const { return QStringLiteral("Name"); }
    // Reads what the data set needs before it opens.
    virtual void PrepareDataSet(const TCommandParams& /*params*/) {}
    virtual void WriteSelection(TCommandParams& params, const TSingleSelection& selection);

    // Sets a parameter of the command, adding it when missing.
    static void SetOutParam(TCommandParams& params, const QString& name, const QVariant& value);

private:
    void btnUnSelectClick();
    QString FNameFieldName;
    bool FUnSelected = false;
};
