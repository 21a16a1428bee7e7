#include "app/WindowClasses.h"

#include "analysis/windows/AnalysisWindows.h"
#include "app/Navigate.h"
#include "collect/windows/CollectWindows.h"
#include "component/FormFactory.h"
#include "engine/windows/AChartFrm.h"
#include "engine/windows/VChartFrm.h"
#include "masterdata/windows/MasterDataWindows.h"
#include "power/windows/PowerManageFrm.h"
#include "rules/windows/JudgeRuleWindows.h"

void RegisterWindowClasses(TClassFactory& factory)
{
    RegisterMasterDataWindowClasses(factory);
    RegisterJudgeRuleWindowClasses(factory);
    factory.RegisterFormClass(FormClassOf<TNavigateFrm>());
    RegisterCollectWindowClasses(factory);
    factory.RegisterFormClasses({
        FormClassOf<TVChartFrm>(),
        FormClassOf<TAChartFrm>(),
    });
    RegisterAnalysisWindowClasses(factory);
    factory.RegisterFormClass(FormClassOf<TPowerManageFrm>());
}
