#pragma once
// "异常点编辑": one subgroup's values, tags and rule violations, with its causes, actions and
// note. What the variable and attribute windows share; the reading and the OK step are the
// subgroup's (TExceptionPoint).
#include "component/BaseFrm.h"
#include "rules/ExceptionPoint.h"

#include <QMap>
#include <memory>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class TDataSetModel;
class TSPCChartData;

class TBaseExceptionModifyFrm : public TBaseDialog {
    Q_OBJECT
public:
    ~TBaseExceptionModifyFrm() override;

    TExceptionPoint& Point() const { return *FPoint; }

    // The read-outs by their titles ("序号：", "X：", "UCL：" ...).
    QMap<QString, QLabel*> Values;
    QPlainTextEdit* memRules;  // "违反规则："
    QTableView* grdSample;
    QTableView* grdTag;
    QTableView* grdCase;
    QTableView* grdAction;
    QPushButton* btnCaseEdit;
    QPushButton* btnCaseClear;
    QPushButton* btnActionEdit;
    QPushButton* btnActionClear;
    QLineEdit* edtNote;  // "备注："
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // The operations behind the buttons.
    void EditCases();
    void EditActions();
    // The OK step: stores the changes; true when the point's state changed. Errors are raised.
    bool SaveExceptionPoint();
    // Whether the last OK changed the point's state.
    bool StateChanged() const { return FChanged; }

protected:
    TBaseExceptionModifyFrm(TItemKind kind, QWidget* parent);
    // Opens the subgroup and fills every read-out; data is the chart data of the point.
    void Load(TSPCChartData& data, int index, int sn, int cid);
    virtual void FillValues(int index) = 0;
    virtual void AddSampleColumns(TDataSetModel& model) = 0;
    virtual TSubgroupState PointState() const = 0;
    virtual void SetPointState(TSubgroupState state) = 0;
    void AddValue(int row, int column, const QString& title, const QString& text);
    int FIndex = -1;

private:
    void RunSelection(const QString& command, const QString& key, TDataSet* rows, bool cases);
    void btnOKClick();

    std::unique_ptr<TExceptionPoint> FPoint;
    QGridLayout* FValueGrid;
    TDataSetModel* FSampleModel;
    bool FChanged = false;
};
