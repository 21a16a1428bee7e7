#pragma once
// "条件选择": the tags, the time window and the control item of a task. The dialog owns the
// condition (and with it the task's rows, deleted when the dialog is destroyed); its grids show
// the condition's data sets and its buttons call the condition's operations.
#include "analysis/BaseCondition.h"
#include "component/BaseFrm.h"

#include <memory>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class QTimeEdit;
class TDataSetModel;

class TBaseConditionFrm : public TBaseDialog {
    Q_OBJECT
public:
    ~TBaseConditionFrm() override;

    TBaseCondition& Condition() const { return *FCondition; }
    int TaskID() const { return FCondition->TaskID(); }

    // Read-outs after OK.
    QDateTime StartDateTime() const { return FCondition->StartDateTime(); }
    QDateTime EndDateTime() const { return FCondition->EndDateTime(); }
    QString TagText() const { return FCondition->TagText(); }
    const QStringList& MandatoryTags() const { return FCondition->MandatoryTags; }
    const QStringList& OptionalTags() const { return FCondition->OptionalTags; }
    // The owner closes the task's queries once it has read the results.
    void CloseTaskQueries() { FCondition->CloseTaskQueries(); }

    QLabel* lblTag;
    QPushButton* btnTag;  // "选择(&T)..."
    QTableView* grdTag;
    QTableView* grdTagValue;
    QLabel* lblDate;
    QDateEdit* dtpStartDate;
    QTimeEdit* dtpStartTime;
    QLabel* lblTo;
    QDateEdit* dtpEndDate;
    QTimeEdit* dtpEndTime;
    QLabel* lblCharacter;
    QPushButton* btnCharacter;  // "选择(&C)..."
    QTableView* grdCharacter;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // The operations behind the controls.
    virtual void ChooseCharacteristic();
    virtual void ChooseTagValues();
    // The OK step: the controls' values go to the condition, which validates and writes them.
    virtual bool SaveCondition();

protected:
    TBaseConditionFrm(TItemKind kind, bool analysis, int taskID, QWidget* parent);

    virtual void InitCondition();
    virtual bool ValidateCondition();
    // The command that chooses a control item of this dialog's kind.
    virtual QString CharacteristicCommand() const = 0;
    // Called after the control item has changed.
    virtual void CharacteristicChanged() {}
    // Takes the controls' values into the condition.
    virtual void ReadControls();
    // A row of controls below the item grid (the analysis dialogs' chart type).
    void AddExtraRow(QWidget* row);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnOKClick();
    void TagRowChosen(int row);
    void ShowTaskTagRow(int row);

    std::unique_ptr<TBaseCondition> FCondition;
    TDataSetModel* FTagModel;
    TDataSetModel* FTagValueModel;
    TDataSetModel* FCharacterModel;
    class QVBoxLayout* FLayout;
    bool FSyncing = false;
};
