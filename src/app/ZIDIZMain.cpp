#include "app/ZIDIZMain.h"

#include "app/About.h"
#include "analysis/windows/DataCleanupProc.h"
#include "app/Backup.h"
#include "app/Navigate.h"
#include "power/windows/NewPasswordFrm.h"
#include "app/Pictures.h"
#include "app/RunMode.h"
#include "component/BaseFrm.h"
#include "component/DialogRunner.h"
#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "foundation/Settings.h"
#include "power/LoginCheck.h"
#include "power/UserPowerDM.h"
#include "power/UserPowerCommon.h"
#include "power/windows/Login.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QUrl>

namespace {
const QString kNoPower = QStringLiteral("你没有操作本功能的权限，请与系统管理员联系。");
}

TZEDAVAdevAzu::TZEDAVAdevAzu(TWBUserPower& power, TAppSettings& settings, TCompanyDM& dm, QWidget* parent)
    : QMainWindow(parent), FPower(power), FSettings(settings), FDM(dm)
{
    setObjectName(QStringLiteral("ZEDAVAdevAzu"));
    setWindowTitle(QStringLiteral("启衡SPC"));
    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);
    MdiArea->viewport()->installEventFilter(this);

    auto makeLabel = [this](const QString& name, const QString& text) {
        auto* l = new QLabel(text, MdiArea->viewport());
        l->setObjectName(name);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->setStyleSheet(QStringLiteral("color:#4a5a70"));
        return l;
    };
    LabelTopLeft = makeLabel(QStringLiteral("LabelTopLeft"), QStringLiteral("启衡SPC 统计过程控制工作站"));
    LabelTopRight = makeLabel(QStringLiteral("LabelTopRight"), QString());
    LabelBottomLeft = makeLabel(QStringLiteral("LabelBottomLeft"), QStringLiteral("技术支持：support@qiheng-spc.cn"));
    LabelBottomRight = makeLabel(QStringLiteral("LabelBottomRight"), QStringLiteral("服务热线：400-820-6688"));
    UpdateUserLabel();
    BuildMenus();
    resize(1280, 800);
    TChildWindowHost::SetCurrent(this);
}

TZEDAVAdevAzu::~TZEDAVAdevAzu()
{
    if (TChildWindowHost::Current() == this) TChildWindowHost::SetCurrent(nullptr);
}

void TZEDAVAdevAzu::Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

QAction* TZEDAVAdevAzu::AddAction(QMenu* menu, const QString& name, const QString& caption,
                                  std::function<void()> handler)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [handler] { Guarded(handler); });
    if (menu) menu->addAction(action);
    return action;
}

void TZEDAVAdevAzu::BuildMenus()
{
    QMenu* list = menuBar()->addMenu(QStringLiteral("基础资料(&L)"));
    const struct { const char* action; const char* caption; const char* code; } lists[] = {
        {"ProcessAction", "过程资料", "TLProcessListFrm"},
        {"VControlItemAction", "计量型质量特性", "TLVControlItemListFrm"},
        {"DefectPhenomenonAction", "缺点项目", "TLDefectPhenomenonListFrm"},
        {"DefectItemAction", "缺点类别", "TLDefectItemListFrm"},
        {"AControlItemAction", "计数型质量特性", "TLAControlItemListFrm"},
        {"CaseAction", "异常原因", "TLCaseListFrm"},
        {"ActionAction", "改善措施", "TLActionListFrm"},
        {"JudgeRuleAction", "检测规则", "TLJudgeRuleListFrm"},
        {"JudgeRuleTemplateAction", "检测规则模板", "TLJudgeRuleTemplateListFrm"},
        {"TagAction", "标签项目", "TLTagListFrm"},
        {"TagTemplateAction", "标签模板", "TLTagTemplateListFrm"},
    };
    for (const auto& l : lists) {
        const QString code = QLatin1String(l.code);
        AddAction(list, QLatin1String(l.action), QString::fromUtf8(l.caption), [this, code] { OpenListWindow(code); });
    }

    auto work = [this](QMenu* menu, const char* action, const char* caption, const char* code) {
        const QString c = QLatin1String(code);
        AddAction(menu, QLatin1String(action), QString::fromUtf8(caption), [this, c] { OpenWorkWindow(c); });
    };
    auto module = [this](QMenu* menu, const char* action, const char* caption, int id, const char* className) {
        const QString c = QLatin1String(className);
        AddAction(menu, QLatin1String(action), QString::fromUtf8(caption), [this, id, c] {
            CheckModulePower(id);
            ShowModuleWindow(FormInstance(c));
        });
    };
    QMenu* data = menuBar()->addMenu(QStringLiteral("数据管理(&M)"));
    work(data, "VCollectAction", "计量型数据采集", "TVCollectFrm");
    work(data, "ACollectAction", "计数型数据采集", "TACollectFrm");
    data->addSeparator();
    work(data, "VMofifyAction", "计量型数据编辑", "TVModifyFrm");
    work(data, "AMofifyAction", "计数型数据编辑", "TAModifyFrm");
    data->addSeparator();
    AddAction(data, QStringLiteral("VBatchDeleteAction"), QStringLiteral("计量型数据清理"), [this] {
        CheckModulePower(2005);
        ClearVariableData(this);
    });
    AddAction(data, QStringLiteral("ABatchDeleteAction"), QStringLiteral("计数型数据清理"), [this] {
        CheckModulePower(2006);
        ClearAttributeData(this);
    });

    QMenu* control = menuBar()->addMenu(QStringLiteral("分析控制(&C)"));
    work(control, "VControlItemAnlysisAction", "计量型特性分析", "TVControlItemAnalysisFrm");
    work(control, "AControlItemAnlysisAction", "计数型特性分析", "TAControlItemAnalysisFrm");
    control->addSeparator();
    work(control, "VControlAction", "计量型特性控制", "TVControlItemControlFrm");
    work(control, "AControlAction", "计数型特性控制", "TAControlItemControlFrm");

    QMenu* system = menuBar()->addMenu(QStringLiteral("系统管理(&S)"));
    QAction* sysParam = AddAction(system, QStringLiteral("SysParamAction"), QStringLiteral("系统参数设置"), [] {});
    sysParam->setVisible(false);
    AddAction(system, QStringLiteral("UserPowerAction"), QStringLiteral("用户权限管理"), [this] {
        CheckModulePower(9002);
        QWidget* w = FormInstance(QStringLiteral("TPowerManageFrm"));
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            RunDialog(*dialog);
            delete dialog;
        } else if (w) {
            ShowModuleWindow(w);
        }
    });
    AddAction(system, QStringLiteral("BackupAction"), QStringLiteral("数据备份"), [this] {
        CheckModulePower(9003);
        Backup(FDM, this);
    });
    AddAction(system, QStringLiteral("RestoreAction"), QStringLiteral("数据恢复"), [this] {
        CheckModulePower(9004);
        if (!Restore(FDM, FSettings, OpenWindowNames(), this)) {
            // Without its database the program cannot go on.
            AskOnClose = false;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
    });
    system->addSeparator();
    AddAction(system, QStringLiteral("RunModeSelectAction"), QStringLiteral("运行模式设置"), [this] { SelectRunModeFromMenu(); });
    system->addSeparator();
    AddAction(system, QStringLiteral("ReLoginAction"), QStringLiteral("重新登录"), [this] { ReLogin(); });
    AddAction(system, QStringLiteral("ChangePasswordAction"), QStringLiteral("更改用户密码"), [this] { ChangePassword(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    // F1 belongs to each window (its own topic); the menu opens the help's start page.
    AddAction(help, QStringLiteral("HelpAction"), QStringLiteral("帮助"), [] { ShowHelpTopic(QString()); });
    AddAction(help, QStringLiteral("AboutAction"), QStringLiteral("信息..."), [this] { ShowAbout(); });
    help->addSeparator();
    AddAction(help, QStringLiteral("NavigateAction"), QStringLiteral("导航图"), [this] { ShowNavigate(); });
    help->addSeparator();
    AddAction(help, QStringLiteral("bbsAction"), QStringLiteral("用户论坛..."),
              [] { QDesktopServices::openUrl(QUrl(QStringLiteral("https://bbs.qiheng-spc.cn/"))); });
    AddAction(help, QStringLiteral("lumenoAction"), QStringLiteral("启衡网站..."),
              [] { QDesktopServices::openUrl(QUrl(QStringLiteral("https://www.qiheng-spc.cn/"))); });

    QAction* quit = menuBar()->addAction(QStringLiteral("退出(&Q)"));
    quit->setObjectName(QStringLiteral("QuitAction"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void TZEDAVAdevAzu::CheckBrowsePower(const QString& code)
{
    if (!FPower.HasByCode(code, TPowerKind::Browse)) throw ESystemError(kNoPower);
}

void TZEDAVAdevAzu::CheckExecutePower(const QString& code)
{
    if (!FPower.HasByCode(code, TPowerKind::Execute)) throw ESystemError(kNoPower);
}

void TZEDAVAdevAzu::CheckModulePower(int moduleID)
{
    if (!FPower.Has(moduleID, TPowerKind::Execute)) throw ESystemError(kNoPower);
}

QWidget* TZEDAVAdevAzu::OpenListWindow(const QString& code)
{
    CheckBrowsePower(code);
    QWidget* w = FormInstance(code);
    ShowModuleWindow(w);
    return w;
}

QWidget* TZEDAVAdevAzu::OpenWorkWindow(const QString& code)
{
    CheckExecutePower(code);
    QWidget* w = FormInstance(code);
    ShowModuleWindow(w);
    return w;
}

void TZEDAVAdevAzu::ShowModuleWindow(QWidget* window)
{
    if (!window) return;
    if (qobject_cast<QDialog*>(window) && window->isWindow()) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    QMdiSubWindow* sub = nullptr;
    for (QMdiSubWindow* s : MdiArea->subWindowList())
        if (s->widget() == window) sub = s;
    if (!sub) {
        sub = MdiArea->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(window->windowTitle());
        sub->setWindowIcon(QIcon(QPixmap::fromImage(NavigatePicture(1, 32))));
    }
    sub->show();
    window->show();
    MdiArea->setActiveSubWindow(sub);
    sub->raise();
}

QStringList TZEDAVAdevAzu::OpenWindowNames() const
{
    QStringList names;
    for (QMdiSubWindow* s : MdiArea->subWindowList())
        if (s->widget()) names << ComponentNameOf(s->widget());
    return names;
}

void TZEDAVAdevAzu::ReLogin()
{
    QStringList open = OpenWindowNames();
    // Module windows shown as windows of their own count as well.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && (qobject_cast<TBaseFrm*>(w) || qobject_cast<TBaseDialog*>(w)))
            open << ComponentNameOf(w);
    for (const QString& name : open) {
        if (name != QLatin1String("NavigateFrm")) {
            ShowInfo(QStringLiteral("请关闭数据窗口后，再执行本操作！"));
            return;
        }
    }
    // The new user's rights are loaded aside; a cancelled or failed login keeps the current ones.
    TWBUserPower candidate;
    if (!Login(candidate, FSettings, this)) {
        SetPowerReadOnly(true);
        return;
    }
    FPower.LoadUser(candidate.UserID());
    UpdateUserLabel();
}

void TZEDAVAdevAzu::ChangePassword()
{
    TNewPasswordFrm dialog(this);
    if (RunDialog(dialog) != QDialog::Accepted) return;
    if (PowerDM)
        PowerDM->SetPassword(FPower.UserID(), dialog.NewPassword());
    else
        StorePassword(FPower.UserID(), dialog.NewPassword());
}

void TZEDAVAdevAzu::SelectRunModeFromMenu()
{
    CheckModulePower(9005);
    FDM.Disconnect();
    auto reopen = [this] {
        ApplyConnectionSettings(FSettings, FDM.Params);
        try {
            FDM.ConnectWithFallback();
        } catch (const ESystemError&) {
            // Without its database the program cannot go on.
            ShowErrorBox(QStringLiteral("数据连接失败，程序将关闭！"));
            AskOnClose = false;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
    };
    // The connection is opened again in every outcome, also when the dialog failed.
    try {
        SelectRunMode(FSettings, true, this);
    } catch (...) {
        reopen();
        throw;
    }
    reopen();
}

QWidget* TZEDAVAdevAzu::ShowNavigate()
{
    QWidget* w = nullptr;
    for (QMdiSubWindow* s : MdiArea->subWindowList())
        if (s->widget() && ComponentNameOf(s->widget()) == QLatin1String("NavigateFrm")) w = s->widget();
    if (!w) {
        w = new TNavigateFrm(this);
        QMdiSubWindow* sub = MdiArea->addSubWindow(w, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowIcon(QIcon(QPixmap::fromImage(NavigatePicture(2, 32))));
        sub->setFixedSize(sub->sizeHint());
    }
    ShowModuleWindow(w);
    return w;
}

void TZEDAVAdevAzu::ShowAbout()
{
    TAboutFrm about(this);
    RunDialog(about);
}

void TZEDAVAdevAzu::closeEvent(QCloseEvent* event)
{
    if (AskOnClose && AskQuestion(QStringLiteral("是否确定退出本程序？")) != TMsgResult::Yes) {
        event->ignore();
        return;
    }
    event->accept();
}

bool TZEDAVAdevAzu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MdiArea->viewport() && event->type() == QEvent::Resize) {
        PlaceCornerLabels();
        UpdateBackground();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TZEDAVAdevAzu::PlaceCornerLabels()
{
    const QRect r = MdiArea->viewport()->rect();
    for (QLabel* l : {LabelTopLeft, LabelTopRight, LabelBottomLeft, LabelBottomRight}) l->adjustSize();
    LabelTopLeft->move(8, 8);
    LabelTopRight->move(r.width() - LabelTopRight->width() - 8, 8);
    LabelBottomLeft->move(8, r.height() - LabelBottomLeft->height() - 8);
    LabelBottomRight->move(r.width() - LabelBottomRight->width() - 8, r.height() - LabelBottomRight->height() - 8);
}

void TZEDAVAdevAzu::UpdateBackground()
{
    const QSize size = MdiArea->viewport()->size();
    if (size.isEmpty()) return;
    MdiArea->setBackground(QBrush(MainBackgroundPicture(size.width(), size.height())));
}

void TZEDAVAdevAzu::UpdateUserLabel()
{
    const QString name = GetSQLString(QStringLiteral("select Name from SP_User where ID = :ID"),
                                      {{QStringLiteral("ID"), FPower.UserID()}});
    LabelTopRight->setText(QStringLiteral("当前用户：%1").arg(name));
    LabelTopRight->adjustSize();
    PlaceCornerLabels();
}
