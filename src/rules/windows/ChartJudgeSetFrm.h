#pragma once
// "指定检测规则": before a check, the rules of a template or an own pick. The rows live in the
// shared template detail query of the look-up module, which OK hands to the caller.
#include "component/BaseFrm.h"

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TDataSet;
class TDataSetModel;
class TKQCommonDM;

class TChartJudgeSetFrm : public TBaseDialog {
    Q_OBJECT
public:
    // The rule-load callback: the owner and the rows the dialog shows.
    using TCallback = std::function<void(QWidget* owner, TDataSet& rules)>;

    explicit TChartJudgeSetFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
    ~TChartJudgeSetFrm() override;

    // Shows the dialog modally; after OK calls the callback and returns 1, otherwise 2.
    static int ExecuteDialog(const TCallback& callback, QWidget* owner);

    TDataSet* ResultDataSet() const;

    QLabel* lblTemplate;
    QComboBox* cmbTemplate;  // "检测规则模板：", keyed by JRTName
    QPushButton* btnSelect;  // "自选(&D)"
    QTableView* grdRule;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // The operations behind the controls.
    void ChooseTemplate(int index);
    void SelectOwnRules();

protected:
    virtual void InitDialog();
    virtual void DoneDialog();

private:
    TKQCommonDM* FDM;
    TDataSetModel* FModel;
};
