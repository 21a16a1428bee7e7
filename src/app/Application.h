#pragma once
// The start sequence: splash, run mode, connection, upgrade, login, main window and navigation.
#include "component/FormFactory.h"
#include "foundation/CommandCentre.h"
#include "foundation/CompanyDM.h"
#include "foundation/EventManager.h"
#include "foundation/Settings.h"
#include "power/UserPowerCommon.h"
#include "power/UserPowerDM.h"

#include <QApplication>
#include <memory>

class TKQCommonDM;
class TListDM;
class TSplashFrm;
class TZEDAVAdevAzu;

// Catches every exception that escapes an event handler and shows it (the program-wide error display).
class TSPCApplication : public QApplication {
public:
    TSPCApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Fonts (Chinese glyphs, 宋体 → Noto Serif CJK SC), Qt's own Chinese texts and the title.
void SetupApplicationLook(QApplication& app);

class TApplicationShell {
public:
    enum class TStartResult { Started, RunModeCancelled, ConnectionFailed, UpgradeFailed, LoginCancelled };

    // Makes the command centre and registers the window classes (before the start sequence runs).
    TApplicationShell();
    ~TApplicationShell();

    // Steps 1 to 12 of the start: leaves the main window and the navigation window shown on success.
    TStartResult Start();
    // The message loop until the main window closes.
    int Run();

    TAppSettings Settings;
    TCompanyDM DM;
    TWBUserPower Power;
    // The permission data module (start step 9).
    std::unique_ptr<TUserPowerDM> PowerDM;
    // The look-up data modules of the master lists and the selection dialogs, made after login.
    std::unique_ptr<TListDM> ListDM;
    std::unique_ptr<TKQCommonDM> CommonDM;
    // The window factory with the program's window classes, and the one command centre: the
    // selection dialogs' commands and the data-change announcements ("VDataChange", "ADataChange").
    TWidgetClassFactory Factory;
    TCommandCenter Commands;
    // Hooks on the shared look-up data sets.
    TEventManager Events;
    std::unique_ptr<TZEDAVAdevAzu> MainWindow;

private:
    std::unique_ptr<TSplashFrm> FSplash;
};
