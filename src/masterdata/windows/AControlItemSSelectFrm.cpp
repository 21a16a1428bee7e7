#include "masterdata/windows/AControlItemSSelectFrm.h"

TAControlItemSSelectFrm::TAControlItemSSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TControlItemSSelectFrm(dm ? &dm->qryAControlItem() : nullptr, QStringLiteral("计数型质量特性选择"), parent)
{
}

void TAControlItemSSelectFrm::WriteSelection(TCommandParams& params, const TSingleSelection& selection)
{
    TBaseSingleSelectFrm::WriteSelection(params, selection);
    if (selection.ID == NullValue) return;
    const TField* lotSize = DataSet()->FieldByName(QStringLiteral("LotSize"));
    SetOutParam(params, QStringLiteral("LotSize"), DisplayTextOf(DataSet()->RowValue(selection.Row, lotSize->Index())));
}
