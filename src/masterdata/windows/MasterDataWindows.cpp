#include "masterdata/windows/MasterDataWindows.h"

#include "component/FormFactory.h"
#include "masterdata/windows/LActionEditFrm.h"
#include "masterdata/windows/LActionListFrm.h"
#include "masterdata/windows/LCaseEditFrm.h"
#include "masterdata/windows/LCaseListFrm.h"
#include "masterdata/windows/LDefectPhenomenonEditFrm.h"
#include "masterdata/windows/LDefectPhenomenonListFrm.h"
#include "masterdata/windows/LProcessEditFrm.h"
#include "masterdata/windows/LProcessListFrm.h"
#include "masterdata/windows/LVControlItemEditFrm.h"
#include "masterdata/windows/LVControlItemListFrm.h"

void RegisterMasterDataWindowClasses(TClassFactory& factory)
{
    factory.RegisterFormClasses({
        FormClassOf<TLVControlItemListFrm>(),
        FormClassOf<TLVControlItemEditFrm>(),
        FormClassOf<TLActionListFrm>(),
        FormClassOf<TLActionEditFrm>(),
        FormClassOf<TLCaseListFrm>(),
        FormClassOf<TLCaseEditFrm>(),
        FormClassOf<TLDefectPhenomenonListFrm>(),
        FormClassOf<TLDefectPhenomenonEditFrm>(),
        FormClassOf<TLProcessListFrm>(),
        FormClassOf<TLProcessEditFrm>(),
    });
}
