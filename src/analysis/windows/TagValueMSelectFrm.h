#pragma once
// "选择标签值": the values of one tag at a time, each with a tick box, and whether the tag must be
// satisfied ("必须满足"). Works on the condition's tag offer; OK leaves the ticks in the offer for
// the condition to take.
#include "analysis/BaseCondition.h"
#include "component/BaseFrm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TDataSetModel;

class TTagValueMSelectFrm : public TBaseDialog {
    Q_OBJECT
public:
    TTagValueMSelectFrm(TDataSet& offer, QWidget* parent = nullptr);
    ~TTagValueMSelectFrm() override;

    TTagValueChoice& Choice() { return FChoice; }
    // Shows that tag's values (nothing when the offer has no such tag).
    void SelectTag(int tagID);

    QLabel* lblTag;
    QComboBox* cmbTag;
    QTableView* Grid;
    QCheckBox* chkMandatory;
    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    void TagChosen(int index);

    TTagValueChoice FChoice;
    TDataSetModel* FModel;
};
