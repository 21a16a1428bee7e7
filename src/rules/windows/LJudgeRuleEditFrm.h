#pragma once
// "检测规则编辑": the edit window of one judge rule (shown as a dialog by its browse window). The
// rule expression is composed from radio buttons, number fields and drop-down lists, and the
// description can follow it by itself ("自动描述").
#include "masterdata/windows/BaseListEditFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>

class TEventManager;

class TLJudgeRuleEditFrm : public TBaseListEditFrm {
    Q_OBJECT
public:
    explicit TLJudgeRuleEditFrm(QWidget* parent = nullptr);
    ~TLJudgeRuleEditFrm() override;

    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtDescribe;
    QCheckBox* chkAutoDescribe;
    QGroupBox* grpExpression;  // "规则表达式"
    QRadioButton* rbMain;      // "主控制图"
    QRadioButton* rbSub;       // "副控制图"
    QRadioButton* rbTrend;     // "趋势型"
    QRadioButton* rbRun;       // "运行型"
    TOptionalSpinBox* spnAreaTrend;
    QComboBox* cbTrend;
    TOptionalSpinBox* spnAreaRun;
    TOptionalSpinBox* spnExceptionRun;
    QComboBox* cbRun;

    void InitForm() override;
    void DoneForm() override;

    // The radio buttons and the enabled controls after the rule data set moved to a row.
    void ShowRuleRecord();

public slots:
    // Hooked on the rule data set's AfterScroll while the window lives.
    void qryJudgeRuleAfterScroll(TDataSet* DataSet);

protected:
    void BindControls() override;

private:
    // The controls of the checked type enabled, those of the other disabled.
    void EnableTypeControls();
    // The check box and the description's edit as the row holds AutoDescribe.
    void ShowAutoDescribe();
    void DescribeUpdate();
    std::unique_ptr<TEventManager> FEvents;
};
