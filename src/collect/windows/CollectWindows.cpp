#include "collect/windows/CollectWindows.h"

#include "collect/windows/ACollectFrm.h"
#include "collect/windows/AModifyFrm.h"
#include "collect/windows/VCollectFrm.h"
#include "collect/windows/VModifyFrm.h"
#include "component/FormFactory.h"

void RegisterCollectWindowClasses(TClassFactory& factory)
{
    factory.RegisterFormClasses({FormClassOf<TVCollectFrm>(), FormClassOf<TACollectFrm>(), FormClassOf<TVModifyFrm>(),
                                 FormClassOf<TAModifyFrm>()});
}
