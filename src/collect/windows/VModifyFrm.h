#pragma once
// "计量型数据编辑": the collection window filled with stored subgroups chosen through the condition
// dialog (the item edit's button); editing, deleting and saving are the collection's.
#include "collect/windows/VCollectFrm.h"

class TVConditionSSelectFrm;

class TVModifyFrm : public TVCollectFrm {
    Q_OBJECT
public:
    explicit TVModifyFrm(QWidget* parent = nullptr);
    ~TVModifyFrm() override;

    // The item edit's button: the condition dialog and the load; true when subgroups were loaded.
    bool LoadData();
    // Created on first use, kept with its settings while the window lives.
    TVConditionSSelectFrm* ConditionDialog() const { return FCondition; }

private:
    TVConditionSSelectFrm* FCondition = nullptr;  // a child of the window
};
