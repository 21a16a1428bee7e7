#include "masterdata/windows/TagValueSSelectFrm.h"

#include <QLabel>
#include <QLineEdit>

TTagValueSSelectFrm::TTagValueSSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseSingleSelectFrm(dm ? &dm->qryTagValue() : nullptr, QStringLiteral("标签值选择"),
                           QStringLiteral("TagValueID"), QStringLiteral("TagValue"), parent)
{
    lblCode->setVisible(false);
    edtCode->setVisible(false);
    lblName->setText(QStringLiteral("取值："));
    SetFilterField(edtName, QStringLiteral("TagValue"));
    AddColumn(QStringLiteral("TagValue"), QStringLiteral("取值"));
    resize(360, 360);
}

void TTagValueSSelectFrm::PrepareDataSet(const TCommandParams& params)
{
    auto* query = qobject_cast<TQuery*>(DataSet());
    if (!query) return;
    // Only the given tag's values; no tag lists none.
    const TCommandParam* tag = params.FindParam(QStringLiteral("TagID"));
    const int tagID = tag ? VariantToInt(tag->Value) : NullValue;
    query->SetParamValue(QStringLiteral("TagID"), tagID == NullValue ? -1 : tagID);
}
