#pragma once
// "过程选择": one process, for a control item or as the parent of a process.
#include "masterdata/windows/BaseSingleSelectFrm.h"

class TProcessSSelectFrm : public TBaseSingleSelectFrm {
    Q_OBJECT
public:
    explicit TProcessSSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};
