#pragma once
// "标签模板浏览": the tag templates above, the tags of the current template below. The template
// opens TLTagTemplateMasterEditFrm, a row TLTagTemplateDetailEditFrm.
#include "masterdata/windows/BaseListMDGridFrm.h"

class TLTagTemplateListFrm : public TBaseListMDGridFrm {
    Q_OBJECT
public:
    explicit TLTagTemplateListFrm(QWidget* parent = nullptr);
    // The grids let go of the data sets while the template and its rows are deleted and saved,
    // and show them again afterwards, also when the deletion fails.
    bool MasterDelete() override;

protected:
    void BindControls() override;
};
