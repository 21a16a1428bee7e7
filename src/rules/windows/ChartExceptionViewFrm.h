#pragma once
// "检测结果": the exception rows of the judge's last check, stored on request. The judge belongs
// to the window that ran the check; that window closes its result windows before the judge, its
// chart data or its task change.
#include "component/BaseFrm.h"
#include "foundation/Types.h"

class QPushButton;
class QTableView;
class TChartJudge;
class TDataSetModel;

class TChartExceptionViewFrm : public TBaseFrm {
    Q_OBJECT
public:
    explicit TChartExceptionViewFrm(QWidget* parent = nullptr);
    ~TChartExceptionViewFrm() override;

    TChartJudge* Judge() const { return FJudge; }
    // Shows the judge's exception rows; nullptr detaches the window (its save then says so).
    void SetJudge(TChartJudge* judge);
    int TaskID = NullValue;
    int BaseJudgeSN = NullValue;

    QTableView* Grid;
    QPushButton* btnSave;
    QPushButton* btnClose;

    // "保存"; shows its own errors. True when the rows were stored.
    bool Save();

private:
    TChartJudge* FJudge = nullptr;
    TDataSetModel* FModel;
};
