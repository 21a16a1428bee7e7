#pragma once
// "计数型数据编辑": the collection window filled with stored subgroups chosen through the condition
// dialog (the item edit's button); editing, deleting and saving are the collection's.
#include "collect/windows/ACollectFrm.h"

class TAConditionSSelectFrm;

class TAModifyFrm : public TACollectFrm {
    Q_OBJECT
public:
    explicit TAModifyFrm(QWidget* parent = nullptr);
    ~TAModifyFrm() override;

    // The item edit's button: the condition dialog and the load; true when subgroups were loaded.
    bool LoadData();
    // Created on first use, kept with its settings while the window lives.
    TAConditionSSelectFrm* ConditionDialog() const { return FCondition; }

private:
    TAConditionSSelectFrm* FCondition = nullptr;  // a child of the window
};
