#pragma once
// "异常原因浏览": the browse window of the table.
#include "masterdata/windows/BaseListGridFrm.h"

class TLCaseListFrm : public TBaseListGridFrm {
    Q_OBJECT
public:
    explicit TLCaseListFrm(QWidget* parent = nullptr);
};
