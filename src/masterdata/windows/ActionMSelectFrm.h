#pragma once
// "措施选择": the corrective actions of an out-of-control subgroup.
#include "masterdata/windows/BaseMulSelectFrm.h"

class TActionMSelectFrm : public TBaseMulSelectFrm {
    Q_OBJECT
public:
    explicit TActionMSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};
