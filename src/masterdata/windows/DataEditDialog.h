#pragma once
// The dialog an edit window is shown in, and what the two edit-window bases share: the buttons
// "保存&退出(&S)", "保存&&新增(&A)", "取消退出(&C)", "前一记录(&P)", "后一记录(&N)" and their steps.
#include "component/BaseFrm.h"

class QPushButton;
class QHBoxLayout;
class TBaseDataFrm;
class TDataForm;
class TDataSet;

// The edit windows' part (mixed into TBaseListEditFrm and TBaseListMDEditFrm).
class TEditWindowSupport {
public:
    virtual ~TEditWindowSupport() = default;
    // The data set the window edits.
    virtual TDataSet* EditedDataSet() = 0;
    // Starts a new record of the edited data set (New or DetailNew); false when none started.
    virtual bool StartNewRecord() = 0;
    // After "保存&&新增(&A)" started the new record: values carried over from the saved one.
    virtual void CarryOver(const QVariantMap& /*saved*/) {}
    // The fields whose values CarryOver receives.
    virtual QStringList CarriedFields() const { return {}; }

    QPushButton* btnSaveExit = nullptr;
    QPushButton* btnSaveNew = nullptr;
    QPushButton* btnCancelExit = nullptr;
    QPushButton* btnPrior = nullptr;
    QPushButton* btnNext = nullptr;

    // Takes the window's state from the edited data set (and applies the defaults of a new record).
    void TakeState(TDataForm& form, class TDefaultValueManager* defaults);
    bool SaveAndExit(TDataForm& form, QWidget* window);
    bool SaveAndNew(TDataForm& form, QWidget* window);
    // Unsaved input is asked about first ("数据没有保存，保存数据？"); closes when allowed.
    bool CancelExit(TDataForm& form, QWidget* window);
    // -1 prior, +1 next; Cancel to the question stays on the record.
    void MoveRecord(TDataForm& form, int direction);

protected:
    // Builds the button row and connects it; the window adds it to its layout.
    QHBoxLayout* MakeEditButtons(TBaseDataFrm* window, TDataForm& form);
};

// Hosts an edit window as a modal dialog (run through the dialog runner).
class TDataEditDialog : public TBaseDialog {
    Q_OBJECT
public:
    // Takes ownership of the edit window.
    TDataEditDialog(TBaseDataFrm* editWindow, QWidget* parent = nullptr);
    TBaseDataFrm* EditWindow() const { return FEditWindow; }
    int Execute();
    // Closes with the result (the edit window's own buttons).
    void Finish(int result) { QDialog::done(result); }
    void reject() override;
    void ShowHelp() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TBaseDataFrm* FEditWindow;
};

// The dialog an edit window is shown in, or nullptr.
TDataEditDialog* HostDialogOf(QWidget* editWindow);
