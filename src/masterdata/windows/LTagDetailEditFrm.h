#pragma once
// "标签预设值编辑": one preset value of the current tag (shown as a dialog by the tag browse window).
// A new value takes the tag's next value number and UserInput 1.
#include "masterdata/windows/BaseListMDEditFrm.h"

class QLineEdit;

class TLTagDetailEditFrm : public TBaseListMDEditFrm {
    Q_OBJECT
public:
    explicit TLTagDetailEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtValue;

protected:
    void BindControls() override;
};
