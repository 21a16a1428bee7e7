#include "app/Application.h"

#include "app/Navigate.h"
#include "app/RunMode.h"
#include "app/Splash.h"
#include "app/WindowClasses.h"
#include "app/ZIDIZMain.h"
#include "foundation/DBUpgrade.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/ListDM.h"
#include "masterdata/windows/SelectionCommands.h"
#include "power/windows/Login.h"

#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

TSPCApplication::TSPCApplication(int& argc, char** argv) : QApplication(argc, argv)
{
}

bool TSPCApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowErrorBox(QStringLiteral("未知错误"));
    }
    return false;
}

void SetupApplicationLook(QApplication& app)
{
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    app.setFont(font);
    app.setApplicationName(QStringLiteral("启衡SPC"));
    app.setApplicationDisplayName(QStringLiteral("启衡SPC"));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

TApplicationShell::TApplicationShell()
{
    TClassFactory::SetCurrent(&Factory);
    RegisterWindowClasses(Factory);
    RegisterSelectionCommands(Commands);
}

TApplicationShell::~TApplicationShell()
{
    MainWindow.reset();
    UnregisterSelectionCommands(Commands);
    CommonDM.reset();
    ListDM.reset();
    PowerDM.reset();
    if (TWBUserPower::Current() == &Power) TWBUserPower::SetCurrent(nullptr);
    if (TClassFactory::Current() == &Factory) TClassFactory::SetCurrent(nullptr);
    if (TCompanyDM::Current() == &DM) TCompanyDM::SetCurrent(nullptr);
}

TApplicationShell::TStartResult TApplicationShell::Start()
{
    // The splash stays up while the database is opened and upgraded and the user logs in.
    FSplash = std::make_unique<TSplashFrm>();
    FSplash->show();
    FSplash->repaint();
    QCoreApplication::processEvents();

    if (!SelectRunMode(Settings, false)) return TStartResult::RunModeCancelled;

    ApplyConnectionSettings(Settings, DM.Params);
    try {
        DM.ConnectWithFallback();
        DM.SetPrivateDir(GetTempPath());
    } catch (const ESystemError&) {
        FSplash.reset();
        ShowErrorBox(QStringLiteral("数据连接失败，程序将关闭！"));
        return TStartResult::ConnectionFailed;
    }
    TCompanyDM::SetCurrent(&DM);

    try {
        UpgradeDatabase();
    } catch (const ESystemError& e) {
        FSplash.reset();
        ShowException(e);
        return TStartResult::UpgradeFailed;
    }

    PowerDM = std::make_unique<TUserPowerDM>(DM);
    TUserPowerDM::SetCurrent(PowerDM.get());
    TWBUserPower::SetCurrent(&Power);

    if (!Login(Power, Settings, FSplash.get())) {
        FSplash.reset();
        return TStartResult::LoginCancelled;
    }

    ListDM = std::make_unique<TListDM>(DM);
    CommonDM = std::make_unique<TKQCommonDM>(DM);
    TKQCommonDM::SetCurrent(CommonDM.get());

    FSplash.reset();
    MainWindow = std::make_unique<TZEDAVAdevAzu>(Power, Settings, DM);
    MainWindow->PowerDM = PowerDM.get();
    MainWindow->Commands = &Commands;
    MainWindow->Events = &Events;
    MainWindow->FormInstance = [this](const QString& name) -> QWidget* {
        auto* widget = qobject_cast<QWidget*>(Factory.GetFormInstance(name));
        if (!widget) throw EClassFactoryError(QStringLiteral("%1 not Find").arg(name));
        return widget;
    };
    MainWindow->showMaximized();
    MainWindow->ShowNavigate();
    return TStartResult::Started;
}

int TApplicationShell::Run()
{
    if (!MainWindow) return 1;
    MainWindow->setAttribute(Qt::WA_QuitOnClose);
    return QApplication::exec();
}
