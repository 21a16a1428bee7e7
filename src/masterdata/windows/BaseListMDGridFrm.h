#pragma once
// A master-detail browse window: the master grid above the detail grid. A double click edits the
// row; a right click shows the menu of its grid's actions.
#include "masterdata/windows/BaseListMDViewFrm.h"

class QTableView;
class TDataSetModel;

class TBaseListMDGridFrm : public TBaseListMDViewFrm {
    Q_OBJECT
public:
    explicit TBaseListMDGridFrm(QWidget* parent = nullptr);
    QTableView* MasterGrid;
    QTableView* DetailGrid;
    TDataSetModel* MasterModel;
    TDataSetModel* DetailModel;
    // The grids let go of their data sets and take them up again (showing the current rows).
    void DetachGrids();
    void AttachGrids();
    bool GridsAttached() const;

protected:
    void BindControls() override;
};
