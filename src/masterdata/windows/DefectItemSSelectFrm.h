#pragma once
// "缺点类别选择": one defect category.
#include "masterdata/windows/BaseSingleSelectFrm.h"

class TDefectItemSSelectFrm : public TBaseSingleSelectFrm {
    Q_OBJECT
public:
    explicit TDefectItemSSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};
