#pragma once
// The base of the member and duty selection: candidates on the left, the assigned on the right,
// moved with 添加/移去 or a double click; 确定 writes the changes, 取消 drops them.
#include "power/PowerMemberSelection.h"
#include "power/windows/PowerDialog.h"

class QPushButton;
class QTableView;
class TDataSetModel;

class TPowerMemberSelectFrm : public TPowerDialog {
    Q_OBJECT
public:
    TPowerMemberSelectFrm(TUserPowerDM& dm, TPowerEntryKind owner, int ownerID, QWidget* parent = nullptr);
    TPowerMemberSelection& Selection() { return FSelection; }
    QTableView* CandidateGrid;
    QTableView* AssignedGrid;
    QPushButton* btnAdd;
    QPushButton* btnRemove;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    void btnAddClick();
    void btnRemoveClick();
    // Closes when the changes are written; a refusal keeps the dialog open with them.
    void btnOkClick();

private:
    QTableView* NewGrid(TDataSet& dataSet, const QString& nameTitle);
    TPowerMemberSelection FSelection;
};
