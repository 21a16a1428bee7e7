#pragma once
// "缺点项目选择": the defect phenomena of a defect category or an attribute control item.
#include "masterdata/windows/BaseMulSelectFrm.h"

class TDefectPhenomenonMSelectFrm : public TBaseMulSelectFrm {
    Q_OBJECT
public:
    explicit TDefectPhenomenonMSelectFrm(TKQCommonDM* dm, QWidget* parent = nullptr);
};

// Opens the dialog directly over the current look-up module: the rows of selected (matched on
// keyFieldName) start ticked; after OK the callback receives every phenomenon with its Selected
// and the key field name "DPID". True after OK.
bool MSelectDefectPhenomenon(const TDataSet* selected, const QString& keyFieldName,
                             const TMultiSelectCallback& callback, QWidget* parent = nullptr);
