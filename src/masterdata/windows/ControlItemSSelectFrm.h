#pragma once
// What the variable and attribute control item choices share: the item's code and name with its
// process's code and name, each with a filter box of its own.
#include "masterdata/windows/BaseSingleSelectFrm.h"

class TControlItemSSelectFrm : public TBaseSingleSelectFrm {
    Q_OBJECT
public:
    QLabel* lblProCode;
    QLineEdit* edtProCode;  // "过程编码："
    QLabel* lblProName;
    QLineEdit* edtProName;  // "过程名称："

protected:
    TControlItemSSelectFrm(TDataSet* dataSet, const QString& caption, QWidget* parent);
};
