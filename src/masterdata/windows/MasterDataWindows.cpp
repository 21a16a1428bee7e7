#include "masterdata/windows/MasterDataWindows.h"

#include "component/FormFactory.h"
#include "masterdata/windows/LAControlItemEditFrm.h"
#include "masterdata/windows/LAControlItemListFrm.h"
#include "masterdata/windows/LActionEditFrm.h"
#include "masterdata/windows/LActionListFrm.h"
#include "masterdata/windows/LCaseEditFrm.h"
#include "masterdata/windows/LCaseListFrm.h"
#include "masterdata/windows/LDefectItemEditFrm.h"
#include "masterdata/windows/LDefectItemListFrm.h"
#include "masterdata/windows/LDefectPhenomenonEditFrm.h"
#include "masterdata/windows/LDefectPhenomenonListFrm.h"
#include "masterdata/windows/LProcessEditFrm.h"
#include "masterdata/windows/LProcessListFrm.h"
#include "masterdata/windows/LTagDetailEditFrm.h"
#include "masterdata/windows/LTagListFrm.h"
#include "masterdata/windows/LTagMasterEditFrm.h"
#include "masterdata/windows/LTagTemplateDetailEditFrm.h"
#include "masterdata/windows/LTagTemplateListFrm.h"
#include "masterdata/windows/LTagTemplateMasterEditFrm.h"
#include "masterdata/windows/LVControlItemEditFrm.h"
#include "masterdata/windows/LVControlItemListFrm.h"

void RegisterMasterDataWindowClasses(TClassFactory& factory)
{
    factory.RegisterFormClasses({
        FormClassOf<TLVControlItemListFrm>(),
        FormClassOf<TLVControlItemEditFrm>(),
        FormClassOf<TLAControlItemListFrm>(),
        FormClassOf<TLAControlItemEditFrm>(),
        FormClassOf<TLActionListFrm>(),
        FormClassOf<TLActionEditFrm>(),
        FormClassOf<TLCaseListFrm>(),
        FormClassOf<TLCaseEditFrm>(),
        FormClassOf<TLDefectItemListFrm>(),
        FormClassOf<TLDefectItemEditFrm>(),
        FormClassOf<TLDefectPhenomenonListFrm>(),
        FormClassOf<TLDefectPhenomenonEditFrm>(),
        FormClassOf<TLProcessListFrm>(),
        FormClassOf<TLProcessEditFrm>(),
        FormClassOf<TLTagListFrm>(),
        FormClassOf<TLTagMasterEditFrm>(),
        FormClassOf<TLTagDetailEditFrm>(),
        FormClassOf<TLTagTemplateListFrm>(),
        FormClassOf<TLTagTemplateMasterEditFrm>(),
        FormClassOf<TLTagTemplateDetailEditFrm>(),
    });
}
