#include "TestDatabase.h"

#include "app/About.h"
#include "app/Application.h"
#include "app/Navigate.h"
#include "power/windows/NewPasswordFrm.h"
#include "app/RunMode.h"
#include "app/Splash.h"
#include "app/ZIDIZMain.h"
#include "component/BaseFrm.h"
#include "component/DialogRunner.h"
#include "engine/windows/AChartFrm.h"
#include "engine/windows/VChartFrm.h"
#include "foundation/CommandCentre.h"
#include "foundation/RecordUtils.h"
#include "power/PasswordHash.h"
#include "power/windows/Login.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
TScriptedDialogRunner::TScript LoginAs(const QString& name, const QString& password)
{
    return [=](QDialog& d) {
        auto& login = dynamic_cast<TLoginFrm&>(d);
        login.NameEdit->setText(name);
        login.PasswordEdit->setText(password);
        login.OkBtn->click();
    };
}

TScriptedDialogRunner::TScript RunModeOk()
{
    return [](QDialog& d) { dynamic_cast<TRunModeFrm&>(d).btnOk->click(); };
}

void SaveShot(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    w.grab().save(QStringLiteral(SCREENSHOT_DIR) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Module windows as the window factory would make them: one per class name, found when open.
class TStubFactory {
public:
    explicit TStubFactory(TZEDAVAdevAzu& main) : FMain(main)
    {
        main.FormInstance = [this](const QString& name) -> QWidget* {
            for (QMdiSubWindow* s : FMain.MdiArea->subWindowList())
                if (s->widget() && s->widget()->objectName() == name.mid(1)) return s->widget();
            auto* w = new TBaseFrm;
            w->setObjectName(name.mid(1));
            w->setWindowTitle(name);
            ++Created;
            return w;
        };
    }
    int Created = 0;

private:
    TZEDAVAdevAzu& FMain;
};

struct TShellFixture {
    TTestDatabase db{TTestDatabase::TContent::Upgraded, QStringLiteral("fixture")};
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
};

void AddUser(int id, const QString& name, const QList<QPair<int, int>>& rights)
{
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (:ID, :Code, :Name, :Pw, 0, 0)",
               {{"ID", id}, {"Code", QStringLiteral("u%1").arg(id)}, {"Name", name}, {"Pw", HashPassword("pw")}});
    for (const auto& r : rights)
        ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (:U, :M, :P)",
                   {{"U", id}, {"M", r.first}, {"P", r.second}});
}
} // namespace

TEST(AppShell, StartOutcomes)
{
    if (TestEngineIsServer()) GTEST_SKIP() << "the run modes of the embedded database file";
    {
        TShellFixture f;  // the run-mode dialog is cancelled: nothing is opened
        TApplicationShell shell;
        EXPECT_EQ(shell.Start(), TApplicationShell::TStartResult::RunModeCancelled);
        EXPECT_EQ(f.runner.Shown, QStringList{"TRunModeFrm"});
        EXPECT_FALSE(shell.DM.Connected());
    }
    {
        TShellFixture f;  // the stored database file is gone
        TApplicationShell shell;
        shell.Settings.SetRunModeNoDisplay(true);
        shell.Settings.SetDBQ(f.db.DirPath() + "/elsewhere/MainData.mdb");
        EXPECT_EQ(shell.Start(), TApplicationShell::TStartResult::ConnectionFailed);
        EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("数据连接失败，程序将关闭！"));
        EXPECT_FALSE(QFileInfo::exists(f.db.DirPath() + "/elsewhere/MainData.mdb"));
    }
    {
        TShellFixture f;  // a database the upgrade cannot read
        ExecuteSQL("update S_System set Ver = 'x'");
        TApplicationShell shell;
        f.runner.Scripts << RunModeOk();
        EXPECT_EQ(shell.Start(), TApplicationShell::TStartResult::UpgradeFailed);
        EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("数据库升级失败！"));
        EXPECT_EQ(shell.Settings.DBQ(), f.db.Path());
    }
    {
        TShellFixture f;  // login cancelled: the typed name is still remembered
        TApplicationShell shell;
        f.runner.Scripts << RunModeOk() << [](QDialog& d) {
            auto& login = dynamic_cast<TLoginFrm&>(d);
            EXPECT_EQ(login.NameEdit->text(), QStringLiteral("超级用户"));
            login.NameEdit->setText(QStringLiteral("检验员"));
            login.CancelBtn->click();
        };
        EXPECT_EQ(shell.Start(), TApplicationShell::TStartResult::LoginCancelled);
        EXPECT_EQ(TAppSettings().LastUserName(), QStringLiteral("检验员"));
        EXPECT_EQ(shell.MainWindow, nullptr);
    }
    {
        TShellFixture f;
        TApplicationShell shell;
        f.runner.Scripts << RunModeOk() << [](QDialog& d) {
            auto& login = dynamic_cast<TLoginFrm&>(d);
            login.PasswordEdit->setText(QStringLiteral("wrong"));
            login.OkBtn->click();  // stays open with its message
            EXPECT_TRUE(d.isVisible());
            login.PasswordEdit->clear();
            login.OkBtn->click();
        };
        EXPECT_EQ(shell.Start(), TApplicationShell::TStartResult::Started);
        EXPECT_TRUE(f.db.Messages.Texts().contains(QStringLiteral("密码错误，请重试！")));
        ASSERT_NE(shell.MainWindow, nullptr);
        EXPECT_EQ(shell.MainWindow->windowTitle(), QStringLiteral("启衡SPC"));
        EXPECT_EQ(shell.MainWindow->OpenWindowNames(), QStringList{"NavigateFrm"});
        EXPECT_TRUE(shell.Power.IsAdmin());
        // The navigation window is a registered class and is found open.
        EXPECT_NE(shell.Factory.FindFormClass(QStringLiteral("TNavigateFrm")), nullptr);
        EXPECT_NE(qobject_cast<TNavigateFrm*>(shell.Factory.FindFormInstance(QStringLiteral("TNavigateFrm"))), nullptr);
        // Every module window of the menus is registered: the lists and the analysis windows open.
        shell.MainWindow->findChild<QAction*>("ProcessAction")->trigger();
        shell.MainWindow->findChild<QAction*>("VControlItemAnlysisAction")->trigger();
        EXPECT_TRUE(shell.MainWindow->OpenWindowNames().contains(QStringLiteral("LProcessListFrm")));
        shell.MainWindow->AskOnClose = false;
    }
}

// The start builds the command centre and registers the window classes: a data change announced by
// a data list reaches a chart through the centre, and every registered class is made by its name.
TEST(AppShell, StartBuildsTheCommandCentreAndTheWindowRegistry)
{
    TTestDatabase db{TTestDatabase::TContent::Demo, QStringLiteral("fixture")};
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
    TApplicationShell shell;
    if (db.IsServer()) {
        // The workstation runs on the server the test database lives on.
        shell.Settings.SetRunMode(3);
        shell.Settings.SetDBQ(db.Path());
        shell.Settings.SetRunModeNoDisplay(true);
    } else {
        runner.Scripts << RunModeOk();
    }
    runner.Scripts << LoginAs(QStringLiteral("超级用户"), QString());
    ASSERT_EQ(shell.Start(), TApplicationShell::TStartResult::Started);
    EXPECT_EQ(shell.DM.Engine(), db.DM().Engine());
    ASSERT_EQ(TCommandCenter::Instance(), &shell.Commands);
    EXPECT_EQ(shell.MainWindow->Commands, &shell.Commands);

    QStringList registered;
    for (const TFormClass& c : shell.Factory.Classes()) {
        registered << c.ClassName;
        std::unique_ptr<QObject> window(c.Create());
        EXPECT_EQ(QString::fromLatin1(window->metaObject()->className()), c.ClassName);
    }
    for (const char* name : {"TLProcessListFrm", "TLVControlItemEditFrm", "TLJudgeRuleTemplateEditFrm", "TNavigateFrm",
                             "TVCollectFrm", "TVModifyFrm", "TACollectFrm", "TAModifyFrm", "TVChartFrm", "TAChartFrm",
                             "TVControlItemAnalysisFrm", "TAControlItemControlFrm", "TPowerManageFrm"})
        EXPECT_TRUE(registered.contains(QLatin1String(name))) << name;

    // A chart window opened by name on a data list, and a window elsewhere listening for the
    // item's changes (as an analysis window does while another window keys in data).
    auto* chart = qobject_cast<TVChartFrm*>(shell.Factory.GetFormInstance(QStringLiteral("TVChartFrm")));
    ASSERT_NE(chart, nullptr);
    const int cid = GetSQLValue("select min(CID) from L_VControlItem where SampleSize = 5").toInt();
    TVariableDataList list;
    list.SetCID(cid);
    chart->SetDataList(&list);
    chart->SetChartType(ctXBarR);
    QList<int> announced;
    TCommand* listener = shell.Commands.RegisterCommand(nullptr, QStringLiteral("VDataChange"), true,
        TCommandEvent::FromCallable([&](TCommandParams& params, void*) {
            announced << params.FindParam(QStringLiteral("CID"))->Value.toInt();
            chart->ShowChart();
        }));
    ASSERT_NE(listener, nullptr);
    TVariableData& d = list.NewData();
    d.SN = 1;
    for (double x : {1.0, 2.0, 3.0, 4.0, 5.0}) d.AddValue(x);
    EXPECT_EQ(announced, QList<int>{cid});
    EXPECT_EQ(chart->Chart()->MainPoints->Count(), 1);
    shell.Commands.UnregisterCommand(QStringLiteral("VDataChange"));
    delete chart;
    // A chart window that is not embedded becomes a child window of the main window.
    EXPECT_FALSE(shell.MainWindow->OpenWindowNames().contains(QStringLiteral("AChartFrm")));
    TAttributeDataList attributes;
    auto* free = new TAChartFrm(&attributes, false);
    EXPECT_TRUE(shell.MainWindow->OpenWindowNames().contains(QStringLiteral("AChartFrm")));
    delete free;
    shell.MainWindow->AskOnClose = false;
}

TEST(AppShell, RunModeDialog)
{
    TShellFixture f;
    SPC_SQLITE_ONLY(f.db);
    TAppSettings settings;
    TRunModeFrm dialog(settings);
    EXPECT_TRUE(dialog.chbSingle->isChecked());
    EXPECT_FALSE(dialog.edtDirectory->isEnabled());
    dialog.show();
    dialog.chbNetwork->click();
    EXPECT_FALSE(dialog.chbSingle->isChecked());
    EXPECT_TRUE(dialog.edtDirectory->isEnabled());
    EXPECT_TRUE(settings.Contains("DBFileNetPath"));
    dialog.btnOkClick();
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("请指定数据库在网络中的存放位置！"));
    EXPECT_EQ(dialog.focusWidget(), dialog.edtDirectory);
    dialog.edtDirectory->setText(f.db.DirPath());
    dialog.btnOkClick();
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("所选择的目录下没有数据库文件！请重新选择正确的目录。"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(settings.DBQ(), QString());
    dialog.edtDirectory->setText(f.db.DirPath() + "/Data");
    dialog.chbNoDisplay->setChecked(true);
    dialog.btnOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.DBQ(), f.db.Path());
    EXPECT_EQ(settings.RunMode(), 2);
    EXPECT_TRUE(settings.RunModeNoDisplay());
    // The folder chooser: a chosen folder without the database is refused.
    f.runner.Scripts << [&](QDialog& d) {
        auto& chooser = dynamic_cast<QFileDialog&>(d);
        chooser.selectFile(f.db.DirPath());
        static_cast<QDialog&>(chooser).accept();
    };
    dialog.sbtSelectDirClick();
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("请选择正确的目录！"));
    // With the dialog suppressed, the start shows nothing; from the menu it always shows.
    EXPECT_TRUE(SelectRunMode(settings, false));
    EXPECT_EQ(f.runner.Shown.count("TRunModeFrm"), 0);
    EXPECT_FALSE(SelectRunMode(settings, true));
    EXPECT_EQ(f.runner.Shown.count("TRunModeFrm"), 1);
}

TEST(AppShell, ActionsTestRightsAndOpenOneWindowPerClass)
{
    TShellFixture f;
    AddUser(2, QStringLiteral("检验员"), {{1001, 16}, {2001, 1}, {2002, 16}, {1008, 1}, {9005, 0}});
    TWBUserPower power;
    power.LoadUser(2);
    TAppSettings settings;
    TZEDAVAdevAzu main(power, settings, f.db.DM());
    TStubFactory factory(main);
    main.AskOnClose = false;
    auto trigger = [&](const char* name) { main.findChild<QAction*>(QLatin1String(name))->trigger(); };
    const QString denied = QStringLiteral("你没有操作本功能的权限，请与系统管理员联系。");

    trigger("ProcessAction");  // Execute without Browse in 1001
    EXPECT_EQ(f.db.Messages.LastText(), denied);
    trigger("VCollectAction");  // Browse without Execute in 2001
    EXPECT_EQ(f.db.Messages.LastText(), denied);
    f.db.Messages.Messages.clear();
    trigger("ACollectAction");
    trigger("ACollectAction");
    trigger("JudgeRuleAction");
    EXPECT_TRUE(f.db.Messages.Messages.isEmpty());
    EXPECT_EQ(factory.Created, 2);
    EXPECT_EQ(main.OpenWindowNames(), (QStringList{"ACollectFrm", "LJudgeRuleListFrm"}));
    EXPECT_EQ(ComponentNameOf(main.MdiArea->activeSubWindow()->widget()), QStringLiteral("LJudgeRuleListFrm"));
    trigger("ACollectAction");  // a second click brings the open one to the front
    EXPECT_EQ(ComponentNameOf(main.MdiArea->activeSubWindow()->widget()), QStringLiteral("ACollectFrm"));
    for (const char* action : {"RunModeSelectAction", "UserPowerAction", "BackupAction", "RestoreAction", "VBatchDeleteAction"}) {
        f.db.Messages.Messages.clear();
        trigger(action);
        EXPECT_EQ(f.db.Messages.LastText(), denied) << action;
    }
    EXPECT_TRUE(f.db.DM().Connected());

    // The navigation window runs the same actions, with the same tests.
    auto* nav = qobject_cast<TNavigateFrm*>(main.ShowNavigate());
    ASSERT_NE(nav, nullptr);
    f.db.Messages.Messages.clear();
    EXPECT_TRUE(nav->RunAction(QStringLiteral("ProcessAction")));
    EXPECT_EQ(f.db.Messages.LastText(), denied);
    EXPECT_EQ(nav->MenuOf(nav->CollectBtn)->actions().size(), 2);
    EXPECT_EQ(main.ShowNavigate(), nav);

    // Re-login is refused while a data window is open.
    trigger("ReLoginAction");
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("请关闭数据窗口后，再执行本操作！"));
    EXPECT_TRUE(f.runner.Shown.isEmpty());
}

TEST(AppShell, AdministratorReLoginPasswordAndExit)
{
    TShellFixture f;
    AddUser(2, QStringLiteral("班长"), {});
    TWBUserPower power;
    power.LoadUser(1);
    TAppSettings settings;
    TZEDAVAdevAzu main(power, settings, f.db.DM());
    TStubFactory factory(main);
    for (QAction* a : main.findChildren<QAction*>()) {
        const QString n = a->objectName();
        if (n.endsWith("Action") && n != "ReLoginAction" && n != "ChangePasswordAction" && n != "RunModeSelectAction" &&
            n != "AboutAction" && n != "QuitAction" && n != "bbsAction" && n != "lumenoAction" && n != "HelpAction" &&
            n != "UserPowerAction" && n != "BackupAction" && n != "RestoreAction" && n != "VBatchDeleteAction" &&
            n != "ABatchDeleteAction")
            a->trigger();
    }
    EXPECT_TRUE(f.db.Messages.Messages.isEmpty()) << f.db.Messages.LastText().toStdString();
    EXPECT_EQ(factory.Created, 19);  // 11 lists, 4 data windows, 4 analysis and control
    for (QMdiSubWindow* s : main.MdiArea->subWindowList())
        if (ComponentNameOf(s->widget()) != "NavigateFrm") s->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(main.OpenWindowNames(), QStringList{"NavigateFrm"});

    // Re-login with only the navigation window open proceeds; a cancelled one keeps the user.
    f.runner.Scripts << [](QDialog& d) { dynamic_cast<TLoginFrm&>(d).CancelBtn->click(); };
    main.findChild<QAction*>("ReLoginAction")->trigger();
    EXPECT_EQ(power.UserID(), 1);
    f.runner.Scripts << LoginAs(QStringLiteral("班长"), QStringLiteral("pw"));
    main.findChild<QAction*>("ReLoginAction")->trigger();
    EXPECT_EQ(power.UserID(), 2);
    EXPECT_FALSE(power.IsAdmin());
    EXPECT_EQ(main.LabelTopRight->text(), QStringLiteral("当前用户：班长"));

    // Password change: differing texts keep the dialog open; the stored value is the trimmed text.
    f.runner.Scripts << [&](QDialog& d) {
        auto& dlg = dynamic_cast<TNewPasswordFrm&>(d);
        dlg.edtPassword->setText(QStringLiteral(" neu "));
        dlg.edtConfirm->setText(QStringLiteral(" neu"));
        dlg.btnOk->click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("新密码跟确认密码不一致,请重新输入！"));
        dlg.edtConfirm->setText(QStringLiteral(" neu "));
        dlg.btnOk->click();
    };
    main.findChild<QAction*>("ChangePasswordAction")->trigger();
    EXPECT_TRUE(VerifyPassword(QStringLiteral("neu"), GetSQLString("select Password from SP_User where ID = 2")));

    // The exit question: No keeps the program running.
    main.show();
    f.db.Messages.Answers << TMsgResult::No;
    EXPECT_FALSE(main.close());
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("是否确定退出本程序？"));
    f.db.Messages.Answers << TMsgResult::Yes;
    EXPECT_TRUE(main.close());
}

TEST(AppShell, RunModeFromTheMenuReopensTheConnection)
{
    TShellFixture f;
    SPC_SQLITE_ONLY(f.db);
    TWBUserPower power;
    power.LoadUser(1);
    TAppSettings settings;
    settings.SetDBQ(f.db.Path());
    TZEDAVAdevAzu main(power, settings, f.db.DM());
    main.findChild<QAction*>("RunModeSelectAction")->trigger();  // cancelled
    EXPECT_EQ(f.runner.Shown, QStringList{"TRunModeFrm"});
    EXPECT_TRUE(f.db.DM().Connected());
    f.runner.Scripts << RunModeOk();
    main.findChild<QAction*>("RunModeSelectAction")->trigger();
    EXPECT_TRUE(f.db.DM().Connected());
    EXPECT_EQ(GetSQLString("select Ver from S_System"), QStringLiteral("2"));
    // A database that cannot be opened again ends the program with the connection message.
    settings.SetDBQ(f.db.DirPath() + "/gone/MainData.mdb");
    main.show();
    main.findChild<QAction*>("RunModeSelectAction")->trigger();  // cancelled
    EXPECT_FALSE(f.db.DM().Connected());
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("数据连接失败，程序将关闭！"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(main.isVisible());
}

TEST(AppShell, Screenshots)
{
    TShellFixture f;
    TWBUserPower power;
    power.LoadUser(1);
    TAppSettings settings;
    TZEDAVAdevAzu main(power, settings, f.db.DM());
    main.AskOnClose = false;
    main.resize(1280, 800);
    main.show();
    main.ShowNavigate();
    QCoreApplication::processEvents();
    SaveShot(main, "main-window");
    // The main window with its data menu open, composed as a person sees it.
    QImage composed = main.grab().toImage();
    QMenu* menu = main.menuBar()->actions()[1]->menu();
    menu->popup(main.mapToGlobal(main.menuBar()->actionGeometry(main.menuBar()->actions()[1]).bottomLeft()));
    QCoreApplication::processEvents();
    {
        QPainter p(&composed);
        p.drawPixmap(main.mapFromGlobal(menu->pos()), menu->grab());
    }
    menu->hide();
    composed.save(QStringLiteral(SCREENSHOT_DIR "/main-window-menu.png"));

    TRunModeFrm runMode(settings);
    runMode.show();
    SaveShot(runMode, "run-mode");
    TLoginFrm login(power);
    login.show();
    SaveShot(login, "login");
    TAboutFrm about;
    about.show();
    SaveShot(about, "about");
    TSplashFrm splash;
    splash.show();
    SaveShot(splash, "splash");
    TNavigateFrm nav(&main);
    nav.show();
    SaveShot(nav, "navigate");
    TNewPasswordFrm pw;
    pw.show();
    SaveShot(pw, "new-password");
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(SCREENSHOT_DIR "/main-window.png")));
}
