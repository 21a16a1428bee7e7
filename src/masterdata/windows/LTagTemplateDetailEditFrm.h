#pragma once
// "标签模板明细编辑": one row of a tag template (shown as a dialog by the template browse window):
// "标签：" offers every tag, "预设值：" the values of the tag chosen there. A template lists a tag
// once.
#include "masterdata/windows/BaseListMDEditFrm.h"

class QComboBox;

class TLTagTemplateDetailEditFrm : public TBaseListMDEditFrm {
    Q_OBJECT
public:
    explicit TLTagTemplateDetailEditFrm(QWidget* parent = nullptr);
    ~TLTagTemplateDetailEditFrm() override;
    QComboBox* cbTag;
    QComboBox* cbValue;
    // "预设值：" offers the values of the current row's tag (read again after every move).
    void LoadValueChoices();

protected:
    void BindControls() override;
};
