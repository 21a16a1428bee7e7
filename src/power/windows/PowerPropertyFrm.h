#pragma once
// The base of the duty and user properties: the name, an editable description and the list of
// members or duties (their codes), edited through the selection dialog.
#include "power/UserPowerDM.h"
#include "power/windows/PowerDialog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

class TPowerPropertyFrm : public TPowerDialog {
    Q_OBJECT
public:
    TPowerPropertyFrm(TUserPowerDM& dm, TPowerEntryKind kind, int id, QWidget* parent = nullptr);
    QTabWidget* Tabs;
    QLabel* NameLabel;
    QLineEdit* DescribeEdit;
    QListWidget* MemberList;
    QPushButton* btnEdit;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    // Opens the member or duty selection and shows the list as it then stands.
    void btnEditClick();
    // Writes a changed description and closes; a refused write keeps the dialog open.
    void btnOkClick();

protected:
    // The selection dialog of the members (a duty) or of the duties (a user).
    virtual void RunSelection() = 0;
    TUserPowerDM& FDM;
    int FID;

private:
    void FillMembers();
    TPowerEntryKind FKind;
};
