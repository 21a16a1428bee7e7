#pragma once
// "计量型质量特性浏览": the browse window of the table.
#include "masterdata/windows/BaseListGridFrm.h"

class TLVControlItemListFrm : public TBaseListGridFrm {
    Q_OBJECT
public:
    explicit TLVControlItemListFrm(QWidget* parent = nullptr);
};
