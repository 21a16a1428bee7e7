#include "app/WindowClasses.h"

#include "app/Navigate.h"
#include "component/FormFactory.h"
#include "engine/windows/AChartFrm.h"
#include "engine/windows/VChartFrm.h"

void RegisterWindowClasses(TClassFactory& factory)
{
    factory.RegisterFormClasses({
        FormClassOf<TNavigateFrm>(),
        FormClassOf<TVChartFrm>(),
        FormClassOf<TAChartFrm>(),
    });
}
