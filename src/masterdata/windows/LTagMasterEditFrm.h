#pragma once
// "标签编辑": a tag's code, name and description (shown as a dialog by the tag browse window).
#include "masterdata/windows/BaseListMDEditFrm.h"

class QLineEdit;

class TLTagMasterEditFrm : public TBaseListMDEditFrm {
    Q_OBJECT
public:
    explicit TLTagMasterEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtDescribe;

protected:
    void BindControls() override;
};
