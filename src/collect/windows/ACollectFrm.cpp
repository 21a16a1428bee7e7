#include "collect/windows/ACollectFrm.h"

#include "collect/windows/CollectGrid.h"
#include "component/DataSetModel.h"
#include "engine/windows/ChartFormManager.h"

TACollectFrm::TACollectFrm(QWidget* parent)
    : TBaseCollectFrm(std::make_unique<TACollect>(), QStringLiteral("计数型数据采集"), parent)
{
    setObjectName(QStringLiteral("ACollectFrm"));
    Setup();
}

void TACollectFrm::AddColumns(TDataSetModel& model)
{
    const TDataSet& rows = ACollect().CDSAData;
    model.AddColumn(QStringLiteral("SGNo"), QStringLiteral("样本号"), true).Display =
        [&rows](int row, const QVariant& value) {
            return VariantToInt(rows.RowValue(row, TACollect::fItemID)) == TACollect::kTime ? value.toString() : QString();
        };
    model.AddColumn(QStringLiteral("ItemName"), QStringLiteral("项目"), true);
    model.AddColumn(QStringLiteral("Data"), QStringLiteral("取值"));
    Grid->setColumnWidth(0, 52);
    Grid->setColumnWidth(1, 90);
    Grid->setColumnWidth(2, 140);
}

QColor TACollectFrm::RowColor(int row) const
{
    return VariantToInt(ACollect().CDSAData.RowValue(row, TACollect::fItemID)) == TACollect::kTime ? QColor(0, 255, 0)
                                                                                                   : QColor(Qt::white);
}

int TACollectFrm::CreateChart(TChartType type)
{
    return Charts().AddAChartForm(ACollect().CurrentList(), type, false);
}
