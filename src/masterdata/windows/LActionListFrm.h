#pragma once
// "改善措施浏览": the browse window of the table.
#include "masterdata/windows/BaseListGridFrm.h"

class TLActionListFrm : public TBaseListGridFrm {
    Q_OBJECT
public:
    explicit TLActionListFrm(QWidget* parent = nullptr);
};
