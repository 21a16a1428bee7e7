#pragma once
// A browse window over one table: a bottom panel with the button "编辑(&E)" dropping down the
// window's menu; new and edit open the edit window of the same name with "EditFrm" for "ListFrm".
#include "masterdata/windows/BaseDataFrm.h"

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

class TBaeListViewFrm : public TBaseListDataFrm {
    Q_OBJECT
public:
    explicit TBaeListViewFrm(QWidget* parent = nullptr);
    QAction* actExit;
    QMenu* PopupMenu;
    QPushButton* btnEdit;
    QString EditFormClassName() const;

    void AfterNew() override;
    void AfterEdit() override;

protected:
    // Shows the edit window; afterwards the window is back in browse state.
    void OpenEditor();
    void closeEvent(QCloseEvent* event) override;
    QVBoxLayout* MainLayout;
    QHBoxLayout* BottomPanel;
};
