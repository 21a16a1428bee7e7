#pragma once
// "计数型质量特性编辑": an attribute control item with its phenomena (shown as a dialog by its
// browse window). "保存&&新增(&A)" carries the process over to the new item.
#include "masterdata/windows/BasePhenomenonEditFrm.h"

class QLineEdit;
class QPushButton;

class TLAControlItemEditFrm : public TBasePhenomenonEditFrm {
    Q_OBJECT
public:
    explicit TLAControlItemEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtLotSize;
    QLineEdit* edtProcess;  // read-only, chosen by btnProcess
    QPushButton* btnProcess;
    QLineEdit* edtDescribe;
    QStringList CarriedFields() const override { return {QStringLiteral("ProID"), QStringLiteral("ProName")}; }
    void CarryOver(const QVariantMap& saved) override;

protected:
    void BindControls() override;
};
