#include "collect/windows/CollectWindows.h"

#include "collect/windows/ACollectFrm.h"
#include "collect/windows/VCollectFrm.h"
#include "component/FormFactory.h"

void RegisterCollectWindowClasses(TClassFactory& factory)
{
    factory.RegisterFormClasses({FormClassOf<TVCollectFrm>(), FormClassOf<TACollectFrm>()});
}
