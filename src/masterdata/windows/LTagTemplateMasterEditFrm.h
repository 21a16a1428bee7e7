#pragma once
// "标签模板编辑": a tag template's code, name and description (shown as a dialog by the template
// browse window).
#include "masterdata/windows/BaseListMDEditFrm.h"

class QLineEdit;

class TLTagTemplateMasterEditFrm : public TBaseListMDEditFrm {
    Q_OBJECT
public:
    explicit TLTagTemplateMasterEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtDescribe;

protected:
    void BindControls() override;
};
