#include "analysis/windows/AnalysisWindows.h"

#include "analysis/windows/AControlItemAnalysisFrm.h"
#include "analysis/windows/AControlItemControlFrm.h"
#include "analysis/windows/VControlItemAnalysisFrm.h"
#include "analysis/windows/VControlItemControlFrm.h"
#include "component/FormFactory.h"
#include "rules/windows/ExceptionWindows.h"

void RegisterAnalysisWindowClasses(TClassFactory& factory)
{
    factory.RegisterFormClasses({
        FormClassOf<TVControlItemAnalysisFrm>(),
        FormClassOf<TAControlItemAnalysisFrm>(),
        FormClassOf<TVControlItemControlFrm>(),
        FormClassOf<TAControlItemControlFrm>(),
    });
    InstallExceptionPointHook();
}
