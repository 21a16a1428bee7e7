// qiheng-spc: the desktop program.
#include "app/Application.h"
#include "component/WidgetMessageService.h"
#include "foundation/Types.h"

int main(int argc, char** argv)
{
    PinLocalTimeZone();
    TSPCApplication app(argc, argv);
    SetupApplicationLook(app);
    TWidgetMessageService messages;
    TMessageService::SetCurrent(&messages);
    int code = 0;
    {
        TApplicationShell shell;
        if (shell.Start() == TApplicationShell::TStartResult::Started) code = shell.Run();
    }
    TMessageService::SetCurrent(nullptr);
    return code;
}
