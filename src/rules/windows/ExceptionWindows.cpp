#include "rules/windows/ExceptionWindows.h"

#include "engine/SPCChart.h"
#include "rules/windows/AExceptionModifyFrm.h"
#include "rules/windows/VExceptionModifyFrm.h"

void InstallExceptionPointHook()
{
    EditExceptionPointHook() = [](TSPCChartData& data, int index, int sn, int cid) {
        if (auto* v = dynamic_cast<TVariableChartData*>(&data)) return TVExceptionModifyFrm::EditExceptionPoint(*v, index, sn, cid);
        if (auto* a = dynamic_cast<TAttributeChartData*>(&data)) return TAExceptionModifyFrm::EditExceptionPoint(*a, index, sn, cid);
        return false;
    };
}
