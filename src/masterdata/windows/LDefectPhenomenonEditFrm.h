#pragma once
// "缺点项目编辑": the edit window of the table (shown as a dialog by its browse window).
#include "masterdata/windows/BaseListEditFrm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

class TLDefectPhenomenonEditFrm : public TBaseListEditFrm {
    Q_OBJECT
public:
    explicit TLDefectPhenomenonEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QComboBox* cbPonderance;
    QLineEdit* edtDescribe;


protected:
    void BindControls() override;
};
