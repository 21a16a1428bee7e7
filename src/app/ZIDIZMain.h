#pragma once
// The main window: the multi-document frame with every function as an action, each testing the
// logged-in user's right before it opens its window.
#include "component/ChildWindowHost.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class TAppSettings;
class TCompanyDM;
class TWBUserPower;
class TUserPowerDM;
class TCommandCenter;
class TEventManager;

class TZEDAVAdevAzu : public QMainWindow, public TChildWindowHost {
    Q_OBJECT
public:
    // Installs itself as the child-window host while it lives.
    TZEDAVAdevAzu(TWBUserPower& power, TAppSettings& settings, TCompanyDM& dm, QWidget* parent = nullptr);
    ~TZEDAVAdevAzu() override;

    // The window factory: the open window of a class, or a new one. Throws for unknown classes.
    std::function<QWidget*(const QString& className)> FormInstance;

    QMdiArea* MdiArea;
    QLabel* LabelTopLeft;
    QLabel* LabelTopRight;
    QLabel* LabelBottomLeft;
    QLabel* LabelBottomRight;

    // Rights: each fails with the permission message when the right is missing.
    void CheckBrowsePower(const QString& code);
    void CheckExecutePower(const QString& code);
    void CheckModulePower(int moduleID);
    QWidget* OpenListWindow(const QString& code);
    QWidget* OpenWorkWindow(const QString& code);
    // Shows a module window as a child window (once) and brings it to the front.
    void ShowModuleWindow(QWidget* window);
    void ShowChildWindow(QWidget* window) override { ShowModuleWindow(window); }
    // The child windows' component names, in stacking order.
    QStringList OpenWindowNames() const;

    void ReLogin();
    void ChangePassword();
    void SelectRunModeFromMenu();
    QWidget* ShowNavigate();
    void ShowAbout();

    // The permission data module the password change writes through (none: written directly).
    TUserPowerDM* PowerDM = nullptr;
    // The program's command centre and shared event manager, made by the start sequence.
    TCommandCenter* Commands = nullptr;
    TEventManager* Events = nullptr;

    // When false, closing does not ask (used when the program ends for another reason).
    bool AskOnClose = true;

    // Runs a handler under the program-wide error display.
    static void Guarded(const std::function<void()>& handler);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* AddAction(QMenu* menu, const QString& name, const QString& caption, std::function<void()> handler);
    void BuildMenus();
    void PlaceCornerLabels();
    void UpdateBackground();
    void UpdateUserLabel();

    TWBUserPower& FPower;
    TAppSettings& FSettings;
    TCompanyDM& FDM;
};
