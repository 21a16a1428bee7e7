#pragma once
// What the two "控制限调整" dialogs share: the read-only item and chart-type fields, the limit
// fields (disabled until "手工设定") and the five buttons, over the adjustment of their chart data.
#include "analysis/LimitAdjust.h"
#include "component/BaseFrm.h"

#include <array>

class QFormLayout;
class QLineEdit;
class QPushButton;

class TAdjustLimitFrm : public TBaseDialog {
    Q_OBJECT
public:
    TLimitAdjust& Adjust() { return FAdjust; }
    // The limit field of a TLimitField; nullptr for a field the dialog does not have.
    QLineEdit* LimitEdit(TLimitField field) const { return FEdits[field]; }
    // Cancel and closing the window both restore the limits as they were.
    void reject() override;

    QLineEdit* edtCName;
    QLineEdit* edtChartType;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QPushButton* btnCalc;
    QPushButton* btnManual;
    QPushButton* btnSave;

protected:
    TAdjustLimitFrm(TLimitAdjust adjust, QWidget* parent);
    // Adds the three rows of one chart's limits (hidden ones are not added).
    void AddLimitRows(QFormLayout* form, TLimitField upper, TLimitField centre, TLimitField lower);
    // Lays out the header form, the limit groups the subclass built and the buttons.
    void Finish(QWidget* limits);

private:
    void btnOKClick();
    void btnCalcClick();
    void btnManualClick();
    void btnSaveClick();
    void ShowLimits();
    void SetLimitsEnabled(bool enabled);
    TLimitAdjust::TTexts Texts() const;

    TLimitAdjust FAdjust;
    std::array<QLineEdit*, LimitFieldCount> FEdits{};
};
