#pragma once
// "计数型质量特性选择": the attribute control item to key in; its lot size goes back as "LotSize".
#include "masterdata/windows/ControlItemSSelectFrm.h"

class TAControlItemSSelectFrm : public TControlItemSSelectFrm {
    Q_OBJECT
public:
    explicit TAControlItemSSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);

protected:
    void WriteSelection(TCommandParams& params, const TSingleSelection& selection) override;
};
