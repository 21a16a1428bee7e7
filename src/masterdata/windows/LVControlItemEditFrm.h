#pragma once
// "计量型质量特性编辑": the edit window of the table (shown as a dialog by its browse window).
#include "masterdata/windows/BaseListEditFrm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

class TLVControlItemEditFrm : public TBaseListEditFrm {
    Q_OBJECT
public:
    explicit TLVControlItemEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtUSL;
    QLineEdit* edtSL;
    QLineEdit* edtLSL;
    TOptionalSpinBox* spnSampleSize;
    QSpinBox* spnSigma;
    QComboBox* cbDefChart;
    QLineEdit* edtUnit;
    TOptionalSpinBox* spnDecPoint;
    TOptionalSpinBox* spnStep;
    QLineEdit* edtDescribe;
    QLineEdit* edtProcess;
    QPushButton* btnProcess;
    QStringList CarriedFields() const override { return {QStringLiteral("ProID"), QStringLiteral("ProName")}; }
    void CarryOver(const QVariantMap& saved) override;
    // The subgroup size typed or stepped: moving step and default chart follow it.
    void SampleSizeChanged();
    bool eventFilter(QObject* watched, QEvent* event) override;
protected:
    void BindControls() override;
};
