#pragma once
// A master-detail browse window: master and detail actions; new and edit open the master edit
// window ("ListFrm" → "MasterEditFrm") or the detail edit window ("ListFrm" → "DetailEditFrm").
#include "masterdata/windows/BaseDataFrm.h"

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

class TBaseListMDViewFrm : public TBaseListMDDataFrm {
    Q_OBJECT
public:
    explicit TBaseListMDViewFrm(QWidget* parent = nullptr);
    QAction* actMasterNew;
    QAction* actMasterEdit;
    QAction* actMasterDelete;
    QAction* actDetailNew;
    QAction* actDetailEdit;
    QAction* actDetailDelete;
    QAction* actExit;
    QMenu* PopupMenu;
    QMenu* MasterPopupMenu;
    QMenu* DetailPopupMenu;
    QPushButton* btnEdit;
    // Hides the detail actions (phenomena are assigned in the master edit window only).
    void HideDetailActions();

    void AfterMasterNew() override;
    void AfterMasterEdit() override;
    void AfterDetailNew() override;
    void AfterDetailEdit() override;
    virtual void OpenDetailEditor();
    virtual void OpenMasterEditor();

protected:
    void OpenEditor(const QString& suffix);
    void closeEvent(QCloseEvent* event) override;
    QVBoxLayout* MainLayout;
    QHBoxLayout* BottomPanel;
};
