#pragma once
// The navigation window: the workflow as a picture with clickable entries that run the main
// window's actions (so the same permission tests apply).
#include "component/BaseFrm.h"

#include <QLabel>
#include <QPoint>

class QMenu;
class QToolButton;

// A transparent label that runs the main window's action of its name on click; hovering shows it as a link.
class TFunctionLabel : public QLabel {
    Q_OBJECT
public:
    TFunctionLabel(const QString& caption, const QString& actionName, QWidget* parent);
    QString ActionName;
signals:
    void Clicked(const QString& actionName);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TNavigateFrm : public TBaseFrm {
    Q_OBJECT
public:
    // mainWindow holds the actions ("ProcessAction", ...) the entries run; none: the program's
    // main window (as when the window factory makes the window).
    explicit TNavigateFrm(QWidget* mainWindow = nullptr, QWidget* parent = nullptr);

    QToolButton* ControlItemBtn;
    QToolButton* CollectBtn;
    QToolButton* AnlysisBtn;
    QToolButton* ControlBtn;

    // Runs the main window's action of that name, when it has one.
    bool RunAction(const QString& actionName);
    QMenu* MenuOf(QToolButton* button) const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* AddButton(const QString& name, const QString& caption, int picture, const QPoint& at,
                           const QStringList& actions);
    void AddLabel(const QString& suffix, const QString& caption, const QPoint& at);
    QWidget* FMainWindow;
    QPoint FLastMouse;
};
