#pragma once
// The edit window of a master or a detail record: it edits the detail data set when its component
// name contains "Detail" (TLTagDetailEditFrm), otherwise the master.
#include "masterdata/windows/BaseDataFrm.h"
#include "masterdata/windows/DataEditDialog.h"

class QFormLayout;
class QVBoxLayout;

class TBaseListMDEditFrm : public TBaseListMDDataFrm, public TEditWindowSupport {
    Q_OBJECT
public:
    explicit TBaseListMDEditFrm(QWidget* parent = nullptr);
    bool EditsDetail() const;
    TDataSet* EditedDataSet() override { return EditsDetail() ? DetailDataSet() : MasterDataSet(); }
    bool StartNewRecord() override { return EditsDetail() ? DetailNew() : MasterNew(); }
    void InitForm() override;

protected:
    QVBoxLayout* MainLayout;
    QFormLayout* FieldLayout;
    void AddRow(const QString& label, QWidget* control);
    void AddRow(const QString& label, QLayout* controls);
    void FinishLayout();
};
