#pragma once
// "计量型质量特性选择": the variable control item to key in.
#include "masterdata/windows/ControlItemSSelectFrm.h"

class TVControlItemSSelectFrm : public TControlItemSSelectFrm {
    Q_OBJECT
public:
    explicit TVControlItemSSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};
