#pragma once
// The edit window of a master or a detail record: it edits the detail data set when its component
// name contains "Detail" (TLTagDetailEditFrm), otherwise the master.
#include "masterdata/windows/BaseDataFrm.h"
#include "masterdata/windows/DataEditDialog.h"

class QLineEdit;
class QFormLayout;
class QVBoxLayout;

class TBaseListMDEditFrm : public TBaseListMDDataFrm, public TEditWindowSupport {
    Q_OBJECT
public:
    explicit TBaseListMDEditFrm(QWidget* parent = nullptr);
    ~TBaseListMDEditFrm() override;
    bool EditsDetail() const;
    TDataSet* EditedDataSet() override { return EditsDetail() ? DetailDataSet() : MasterDataSet(); }
    bool StartNewRecord() override { return EditsDetail() ? DetailNew() : MasterNew(); }
    void InitForm() override;

protected:
    // A master edit window of a browse window: it lets go of the browse window's hold on the
    // shared detail once it is open and takes it up again when it is destroyed, so the detail is
    // read again afterwards and shows what was saved (the browse window keeps it open meanwhile).
    bool ReleasesDetail = false;
    QVBoxLayout* MainLayout;
    QFormLayout* FieldLayout;
    void AddRow(const QString& label, QWidget* control);
    // A labelled text field named objectName, added as the next row.
    QLineEdit* AddTextRow(const QString& label, const QString& objectName);
    void AddRow(const QString& label, QLayout* controls);
    void FinishLayout();

private:
    bool FDetailReleased = false;
};
