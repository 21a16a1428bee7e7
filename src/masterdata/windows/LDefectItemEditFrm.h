#pragma once
// "缺点类别编辑": a defect category with its phenomena (shown as a dialog by its browse window).
#include "masterdata/windows/BasePhenomenonEditFrm.h"

class QLineEdit;

class TLDefectItemEditFrm : public TBasePhenomenonEditFrm {
    Q_OBJECT
public:
    explicit TLDefectItemEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtDescribe;

protected:
    void BindControls() override;
};
