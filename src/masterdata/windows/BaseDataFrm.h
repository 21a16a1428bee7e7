#pragma once
// The window family of the maintenance windows. The data life cycle is masterdata/DataForm.h;
// these classes add the actions with their captions and shortcuts, the grids and the bound edit
// controls:
//   TBaseDataFrm → TBaseListDataFrm → TBaeListViewFrm → TBaseListGridFrm   (browse, one table)
//                  TBaseListDataFrm → TBaseListEditFrm                     (edit, one table)
//   TBaseDataFrm → TBaseListMDDataFrm → TBaseListMDViewFrm → TBaseListMDGridFrm (browse, master-detail)
//                  TBaseListMDDataFrm → TBaseListMDEditFrm                 (edit, master-detail)
//
// Every window of the family is a TBaseFrm widget, so the browse windows become child windows of
// the main window. An edit window is shown as a dialog: its browse window places it in a
// TDataEditDialog (DataEditDialog.h) and runs that modally through the dialog runner, so a test
// finds the edit window inside the dialog its script receives. Closing the dialog by Escape or
// its close button runs the edit window's "取消退出(&C)".
//
// A window's data sets are opened by Prepare(), which showing the window runs (and the dialog
// host before it runs the dialog): AssignDataSources, RegisterDataSets, InitForm, then BindControls.
#include "component/BaseFrm.h"
#include "masterdata/DataForm.h"
#include "masterdata/windows/FieldLink.h"

#include <QList>
#include <functional>

class QAction;
class QMenu;
class QComboBox;
class QLineEdit;

class TBaseDataFrm : public TBaseFrm {
    Q_OBJECT
public:
    explicit TBaseDataFrm(QWidget* parent = nullptr);
    ~TBaseDataFrm() override;

    virtual TDataForm& Form() = 0;
    // Opens the data sets and binds the controls (once).
    void Prepare();
    bool IsPrepared() const { return FPrepared; }

    QAction* actNew;
    QAction* actEdit;
    QAction* actDelete;
    QAction* actCancel;
    QAction* actSave;
    QAction* actFirst;
    QAction* actPrior;
    QAction* actNext;
    QAction* actLast;
    QAction* actLocate;
    QAction* actRefresh;
    QAction* actHelp;

    // Runs a step of an action: a rule error is shown in its box, any other error in the error box.
    static bool Run(const std::function<void()>& step);

    // The control bound to a field (nullptr when none).
    QWidget* FieldControl(TDataSet* dataSet, const QString& fieldName) const;
    void ReloadControls();

protected:
    // Binds the edit controls once the data sets are open.
    virtual void BindControls() {}
    TFieldLink* Bind(TDataSet* dataSet, const QString& fieldName, QWidget* control,
                     TFieldLink::TKind kind = TFieldLink::TKind::Text);
    // Shortcuts work anywhere in the window.
    void AddWindowActions(const QList<QAction*>& actions);
    void FocusControl(TDataSet& dataSet, const QString& fieldName);
    void showEvent(QShowEvent* event) override;

private:
    bool FPrepared = false;
    QList<TFieldLink*> FLinks;
};

class TBaseListDataFrm : public TBaseDataFrm, public TListDataForm {
    Q_OBJECT
public:
    explicit TBaseListDataFrm(QWidget* parent = nullptr);
    ~TBaseListDataFrm() override;
    TDataForm& Form() override { return *this; }
    QString FormClassName() const override;
    QString FormCaption() const override { return windowTitle(); }
    void FocusField(TDataSet& dataSet, const QString& fieldName) override { FocusControl(dataSet, fieldName); }
};

class TBaseListMDDataFrm : public TBaseDataFrm, public TListMDDataForm {
    Q_OBJECT
public:
    explicit TBaseListMDDataFrm(QWidget* parent = nullptr);
    ~TBaseListMDDataFrm() override;
    TDataForm& Form() override { return *this; }
    QString FormClassName() const override;
    QString FormCaption() const override { return windowTitle(); }
    void FocusField(TDataSet& dataSet, const QString& fieldName) override { FocusControl(dataSet, fieldName); }
};

// Opens the edit window of a class by name through the window factory, shows it as a modal
// dialog and frees it; the dialog's result.
int OpenEditWindow(const QString& className, QWidget* parent);
