#pragma once
// "标签模板选择": the tag template of a collection.
#include "masterdata/windows/BaseSingleSelectFrm.h"

class TTagTemplateSSelectFrm : public TBaseSingleSelectFrm {
    Q_OBJECT
public:
    explicit TTagTemplateSSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};
