#include "rules/windows/JudgeRuleWindows.h"

#include "component/FormFactory.h"
#include "rules/windows/LJudgeRuleEditFrm.h"
#include "rules/windows/LJudgeRuleListFrm.h"
#include "rules/windows/LJudgeRuleTemplateEditFrm.h"
#include "rules/windows/LJudgeRuleTemplateListFrm.h"

void RegisterJudgeRuleWindowClasses(TClassFactory& factory)
{
    factory.RegisterFormClasses({
        FormClassOf<TLJudgeRuleListFrm>(),
        FormClassOf<TLJudgeRuleEditFrm>(),
        FormClassOf<TLJudgeRuleTemplateListFrm>(),
        FormClassOf<TLJudgeRuleTemplateEditFrm>(),
    });
}
