#pragma once
// "异常原因编辑": the edit window of the table (shown as a dialog by its browse window).
#include "masterdata/windows/BaseListEditFrm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

class TLCaseEditFrm : public TBaseListEditFrm {
    Q_OBJECT
public:
    explicit TLCaseEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtDescribe;


protected:
    void BindControls() override;
};
