#pragma once
// The condition dialog of one control item: the read-outs of the chosen item and, in the analysis
// dialogs, the chart-type choice ("控制图类型："), which opens only once an item is chosen.
#include "analysis/windows/BaseConditionFrm.h"

class QComboBox;

class TConditionSSelectFrm : public TBaseConditionFrm {
    Q_OBJECT
public:
    int SelectedCID() const { return Condition().SelectedCID(); }
    QString SelectedCName() const { return Condition().SelectedCName(); }

    // Analysis dialogs only (hidden otherwise).
    QLabel* lblChartType;
    QComboBox* cmbChartType;
    TChartType ChosenChartType() const { return Condition().ChosenChartType(); }
    void PresetChartType(TChartType type);

protected:
    TConditionSSelectFrm(TItemKind kind, bool analysis, int taskID, QWidget* parent);

    void CharacteristicChanged() override;
    void ReadControls() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillChartTypeList();
};
