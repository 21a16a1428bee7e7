#pragma once
// "原因选择": the causes of an out-of-control subgroup.
#include "masterdata/windows/BaseMulSelectFrm.h"

class TCaseMSelectFrm : public TBaseMulSelectFrm {
    Q_OBJECT
public:
    explicit TCaseMSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};
