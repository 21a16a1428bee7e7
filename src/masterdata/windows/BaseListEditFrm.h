#pragma once
// The edit window of one table: works on its browse window's main data set (the shared query of
// the list data module) with its own controls laid out in a form.
#include "masterdata/windows/BaseDataFrm.h"
#include "masterdata/windows/DataEditDialog.h"

class QLineEdit;
class QFormLayout;
class QVBoxLayout;

class TBaseListEditFrm : public TBaseListDataFrm, public TEditWindowSupport {
    Q_OBJECT
public:
    explicit TBaseListEditFrm(QWidget* parent = nullptr);
    TDataSet* EditedDataSet() override { return MainDataSet(); }
    bool StartNewRecord() override { return New(); }
    void InitForm() override;
    void AfterNew() override;

protected:
    QVBoxLayout* MainLayout;
    QFormLayout* FieldLayout;
    // Adds a labelled control to the form.
    void AddRow(const QString& label, QWidget* control);
    // A labelled text field named objectName, added as the next row.
    QLineEdit* AddTextRow(const QString& label, const QString& objectName);
    void AddRow(const QString& label, QLayout* controls);
    // Call at the end of the concrete constructor: the button row under the fields.
    void FinishLayout();
};
