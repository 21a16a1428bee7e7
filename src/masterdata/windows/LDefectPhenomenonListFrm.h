#pragma once
// "缺点项目浏览": the browse window of the table.
#include "masterdata/windows/BaseListGridFrm.h"

class TLDefectPhenomenonListFrm : public TBaseListGridFrm {
    Q_OBJECT
public:
    explicit TLDefectPhenomenonListFrm(QWidget* parent = nullptr);
};
