#pragma once
// "计量型数据采集": measured values of variable control items, subgroup by subgroup.
#include "collect/VCollect.h"
#include "collect/windows/BaseCollectFrm.h"

class TVCollectFrm : public TBaseCollectFrm {
    Q_OBJECT
public:
    explicit TVCollectFrm(QWidget* parent = nullptr);
    TVCollect& VCollect() const { return static_cast<TVCollect&>(Collect()); }

protected:
    void AddColumns(TDataSetModel& model) override;
    QColor RowColor(int row) const override;
    int CreateChart(TChartType type) override;
};
