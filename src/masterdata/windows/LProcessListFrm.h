#pragma once
// "过程资料浏览": the browse window of the table.
#include "masterdata/windows/BaseListGridFrm.h"

class TLProcessListFrm : public TBaseListGridFrm {
    Q_OBJECT
public:
    explicit TLProcessListFrm(QWidget* parent = nullptr);
};
