#pragma once
// The base of the program's windows and dialogs: the default font and F1 help on the window's own topic.
#include <QDialog>
#include <QWidget>

// The window's component name: its object name when set, else its class name without the leading "T".
QString ComponentNameOf(const QObject* window);

// Opens the help window at the topic of a window name (empty: the help's start page).
void ShowHelpTopic(const QString& windowName);

class TBaseFrm : public QWidget {
    Q_OBJECT
public:
    explicit TBaseFrm(QWidget* parent = nullptr);
    virtual void ShowHelp();
    QString ComponentName() const { return ComponentNameOf(this); }
};

class TBaseDialog : public QDialog {
    Q_OBJECT
public:
    explicit TBaseDialog(QWidget* parent = nullptr);
    virtual void ShowHelp();
    QString ComponentName() const { return ComponentNameOf(this); }
};

// The help window: one for the program, showing the HTML pages of the help folder.
class THelpFrm : public QDialog {
    Q_OBJECT
public:
    static THelpFrm* Instance();
    void ShowPage(const QString& path);
    QString CurrentPage() const;

private:
    explicit THelpFrm(QWidget* parent = nullptr);
    class QTextBrowser* FBrowser;
};
