#pragma once
// What the edit windows of defect categories and attribute control items share: the record's
// defect phenomena in a grid under the fields ("缺点项目："), assigned only through "选择(&D)...",
// whose choice replaces them. The rows are written with the record when the window saves.
#include "masterdata/windows/BaseListMDEditFrm.h"

class QPushButton;
class QTableView;
class TDataSetModel;

class TBasePhenomenonEditFrm : public TBaseListMDEditFrm {
    Q_OBJECT
public:
    QPushButton* btnSelect;  // "选择(&D)..."
    QTableView* PhenomenonGrid;
    TDataSetModel* PhenomenonModel;

    // "选择(&D)...": the phenomenon choice with the record's phenomena ticked; OK replaces them.
    void SelectPhenomena();

protected:
    explicit TBasePhenomenonEditFrm(QWidget* parent = nullptr);
    // The row "缺点项目：" with the button, and the grid under the fields; after the fields.
    void AddPhenomenonRows();
    void BindControls() override;
};
