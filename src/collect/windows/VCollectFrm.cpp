#include "collect/windows/VCollectFrm.h"

#include "component/DataSetModel.h"
#include "engine/windows/ChartFormManager.h"

#include <QHeaderView>
#include <QTableView>

#include "collect/windows/CollectGrid.h"

TVCollectFrm::TVCollectFrm(QWidget* parent)
    : TBaseCollectFrm(std::make_unique<TVCollect>(), QStringLiteral("计量型数据采集"), parent)
{
    setObjectName(QStringLiteral("VCollectFrm"));
    Setup();
}

void TVCollectFrm::AddColumns(TDataSetModel& model)
{
    const TDataSet& rows = VCollect().CDSVData;
    // The sample number heads its block.
    model.AddColumn(QStringLiteral("SGNo"), QStringLiteral("样本号"), true).Display =
        [&rows](int row, const QVariant& value) {
            return VariantToInt(rows.RowValue(row, TVCollect::fNo)) == 1 ? value.toString() : QString();
        };
    model.AddColumn(QStringLiteral("No"), QStringLiteral("序号"), true);
    model.AddColumn(QStringLiteral("Data"), QStringLiteral("取值"));
    model.AddColumn(QStringLiteral("Date"), QStringLiteral("日期"));
    model.AddColumn(QStringLiteral("Time"), QStringLiteral("时间"));
    Grid->setColumnWidth(0, 48);
    Grid->setColumnWidth(1, 34);
    Grid->setColumnWidth(2, 62);
    Grid->setColumnWidth(3, 84);
    Grid->setColumnWidth(4, 64);
}

QColor TVCollectFrm::RowColor(int row) const
{
    return VariantToInt(VCollect().CDSVData.RowValue(row, TVCollect::fNo)) == 1 ? QColor(0, 255, 0) : QColor(Qt::white);
}

int TVCollectFrm::CreateChart(TChartType type)
{
    TVariableDataList* list = VCollect().CurrentList();
    if (type == ctHistogram) return Charts().AddHChartForm(list, false);
    return Charts().AddVChartForm(list, type, false);
}
