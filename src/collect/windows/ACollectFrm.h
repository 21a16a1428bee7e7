#pragma once
// "计数型数据采集": counted results of attribute control items, one inspected lot at a time.
#include "collect/ACollect.h"
#include "collect/windows/BaseCollectFrm.h"

class TACollectFrm : public TBaseCollectFrm {
    Q_OBJECT
public:
    explicit TACollectFrm(QWidget* parent = nullptr);
    TACollect& ACollect() const { return static_cast<TACollect&>(Collect()); }

protected:
    void AddColumns(TDataSetModel& model) override;
    QColor RowColor(int row) const override;
    int CreateChart(TChartType type) override;
};
