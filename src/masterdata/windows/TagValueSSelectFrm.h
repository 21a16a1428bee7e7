#pragma once
// "标签值选择": one value of a given tag, whether kept in the tag list or keyed during collection.
// Parameters: in "TagID" and "TagValueID"; out "UnSelected", "TagValueID" and "TagValue".
#include "masterdata/windows/BaseSingleSelectFrm.h"

class TTagValueSSelectFrm : public TBaseSingleSelectFrm {
    Q_OBJECT
public:
    explicit TTagValueSSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);

protected:
    QString IDParamName() const override { return QStringLiteral("TagValueID"); }
    QString NameParamName() const override { return QStringLiteral("TagValue"); }
    void PrepareDataSet(const TCommandParams& params) override;
};
