#pragma once
// "标签浏览": the tags above, the preset values of the current tag below (only those maintained
// here, UserInput = 1). The tag opens TLTagMasterEditFrm, a value TLTagDetailEditFrm.
#include "masterdata/windows/BaseListMDGridFrm.h"

class TLTagListFrm : public TBaseListMDGridFrm {
    Q_OBJECT
public:
    explicit TLTagListFrm(QWidget* parent = nullptr);

protected:
    void BindControls() override;
};
