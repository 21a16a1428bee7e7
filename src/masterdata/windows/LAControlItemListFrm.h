#pragma once
// "计数型质量特性浏览": the attribute control items above, the phenomena of the current item below.
// Phenomena are assigned only in the item's edit window, so the detail actions are hidden.
#include "masterdata/windows/BaseListMDGridFrm.h"

class TLAControlItemListFrm : public TBaseListMDGridFrm {
    Q_OBJECT
public:
    explicit TLAControlItemListFrm(QWidget* parent = nullptr);
    // The item's edit window is TLAControlItemEditFrm ("ListFrm" → "EditFrm").
    void OpenMasterEditor() override;
    void OpenDetailEditor() override {}

protected:
    void BindControls() override;
};
