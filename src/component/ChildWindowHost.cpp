#include "component/ChildWindowHost.h"

namespace {
TChildWindowHost* g_host = nullptr;
}

TChildWindowHost* TChildWindowHost::Current()
{
    return g_host;
}

void TChildWindowHost::SetCurrent(TChildWindowHost* host)
{
    g_host = host;
}
