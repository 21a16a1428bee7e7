#pragma once
// "缺点类别浏览": the defect categories above, the phenomena of the current category below.
// Phenomena are assigned only in the category's edit window, so the detail actions are hidden.
#include "masterdata/windows/BaseListMDGridFrm.h"

class TLDefectItemListFrm : public TBaseListMDGridFrm {
    Q_OBJECT
public:
    explicit TLDefectItemListFrm(QWidget* parent = nullptr);
    // The category's edit window is TLDefectItemEditFrm ("ListFrm" → "EditFrm").
    void OpenMasterEditor() override;
    void OpenDetailEditor() override {}

protected:
    void BindControls() override;
};
