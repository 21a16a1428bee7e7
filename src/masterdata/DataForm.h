#pragma once
// The data life cycle shared by every maintenance window: managed data sets with cached changes,
// the window state, permission checks per operation, validation with the rule checker, default
// values of new records, and the save that writes every managed data set in one transaction.
//
// The logic lives here, without widgets, so that it can be driven and tested on its own; the
// window classes (masterdata/windows/BaseDataFrm.h and its branches) derive from these classes
// and add actions, grids and edit controls:
//   TDataForm            the operations of every data window (TBaseDataFrm)
//   TListDataForm        one main data set (TBaseListDataFrm and below)
//   TListMDDataForm      a master and a detail data set (TBaseListMDDataFrm and below)
#include "foundation/Errors.h"
#include "masterdata/DefaultValueManager.h"
#include "masterdata/RuleError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TCompanyDM;
class TDataSet;
class TField;
class TWBUserPower;
enum class TPowerKind;

enum class TDataFormState { Browse = 0, Inserting = 1, Editing = 2, Deleting = 3 };

// A table whose rows refer to a master record through one column (a process's items, a control
// item's subgroups). Deleting the record is refused while such a row exists, or the rows are
// deleted with it when they are its details.
struct TRecordReference {
    QString Table;
    QString Column;
};

// "该记录已被使用，不能删除！" when some referring table holds the value.
QString RecordInUseMessage();
void CheckNotReferenced(const QList<TRecordReference>& references, const QVariant& value);

class TDataForm {
public:
    TDataForm();
    virtual ~TDataForm();
    TDataForm(const TDataForm&) = delete;
    TDataForm& operator=(const TDataForm&) = delete;

    // --- The rights of the logged-in user (the current ones the start sequence installs) ----
    static TWBUserPower* UserPower();
    // The right of the module whose code is this window's class name.
    bool HasModulePower(TPowerKind kind) const;
    // "您没有本项操作的权限，请与系统管理员联系！" without the right.
    void CheckModulePower(TPowerKind kind) const;

    // --- Identity -------------------------------------------------------------------------------
    // The window's class name: the module code of its rights ("TLProcessListFrm").
    virtual QString FormClassName() const = 0;
    virtual QString FormCaption() const { return FormClassName(); }

    // --- Data model -----------------------------------------------------------------------------
    const QList<TDataSet*>& DataSets() const { return FDataSets; }
    // The first managed data set; "主数据集(FMainDatabase)未赋值" when none is registered.
    TDataSet& MainDatabaseDataSet() const;
    TCompanyDM& MainDatabase() const;
    TDataFormState State() const { return FState; }
    void SetState(TDataFormState state) { FState = state; }
    bool Prepared() const { return FPrepared; }
    bool ChangesPending() const { return FChangesPending; }
    bool ChangesReal() const { return FChangesReal; }

    // Creation: AssignDataSources, RegisterDataSets, InitForm. Destruction: closes every managed
    // data set, AfterCloseDataSets, DoneForm. Windows call both; a test of the logic may too.
    void CreateForm();
    void DestroyForm();

    // --- The operations ---------------------------------------------------------------------------
    // New, Edit, Delete as the actions run them; false when the operation did not happen. A
    // missing right raises.
    bool New();
    bool Edit();
    bool Delete();
    // Cancels every pending change of every managed data set; false when some step failed.
    bool CancelAll();
    // Before a record or the window is left: true when leaving is allowed. Real changes are asked
    // about ("数据没有保存，保存数据？"): Yes saves, No cancels them, Cancel stays; changes that
    // only hold default values are dropped without a question.
    bool CheckLeave();
    // After CheckLeave: reopen every managed data set and go back to the record of the same key.
    void Refresh();
    void First();
    void Prior();
    void Next();
    void Last();

    // --- The rule checker (raise ERuleError) ----------------------------------------------------------
    // True when the field's text is not empty; otherwise the field's control gets the focus and,
    // with raise, "请输入%s" is raised (kind hint).
    bool CheckRequired(TDataSet& dataSet, const QString& fieldName, const QString& displayName, bool raise = true);
    // True when one side is empty or left op right holds ("<", "<=", ">", ">="); otherwise the
    // left field's control gets the focus and, with raise, "%s必须%s%s" is raised (kind error).
    bool CheckCompare(TDataSet& dataSet, const QString& leftField, const QString& rightField, const QString& op,
                      bool raise, const QString& rightName, const QString& leftName);

    // --- Virtual operations, in their order ---------------------------------------------------------
    virtual void PrepareSave() {}
    virtual void AssignDataSources() {}
    virtual void RegisterDataSets(QList<TDataSet*>& /*dataSets*/) {}
    virtual void InitForm();
    virtual void DoneForm() {}
    virtual void BeforeOpenDataSets() {}
    virtual void AfterCloseDataSets() {}
    virtual void BeforeOpenDataSet(TDataSet& /*dataSet*/) {}
    virtual void AfterOpenDataSet(TDataSet& /*dataSet*/) {}
    virtual void BeforeCloseDataSet(TDataSet& /*dataSet*/) {}
    virtual void AfterCloseDataSet(TDataSet& /*dataSet*/) {}
    virtual bool CanNew() { return true; }
    virtual void BeforeNew() {}
    virtual bool DoNew() { return true; }
    virtual void AfterNew() {}
    virtual bool CanEdit() { return true; }
    virtual void BeforeEdit() {}
    virtual bool DoEdit() { return true; }
    virtual void AfterEdit() {}
    virtual bool CanDelete() { return true; }
    virtual void BeforeDelete() {}
    virtual bool DoDelete() { return true; }
    virtual void AfterDelete() {}
    virtual void BeforeCancelDataSet(TDataSet& /*dataSet*/) {}
    virtual void AfterCancelDataSet(TDataSet& /*dataSet*/) {}
    // Writes every managed data set in one transaction. A validation error is shown and the save
    // stops; a database error rolls back, is shown with the system's message, and every pending
    // change stays so that the user can correct it. True when saved (or nothing to save).
    virtual bool Save();
    virtual void Validate() {}
    virtual void BeforeSave() {}
    virtual void AfterSave() {}
    virtual void BeforeApplyDataSet(TDataSet& /*dataSet*/) {}
    virtual void ApplyAll();
    virtual void AfterCommitDataSet(TDataSet& /*dataSet*/) {}
    // Shows the error's message; true would retry the save (never here).
    virtual bool HandleDBError(const EDatabaseError& error);
    virtual bool HasChanges();
    virtual void BeforeMove(int /*direction*/) {}
    virtual void MoveFirst() {}
    virtual void MovePrior() {}
    virtual void MoveNext() {}
    virtual void MoveLast() {}
    virtual void AfterMove(int /*direction*/) {}
    virtual void Locate() {}
    virtual void RefreshData() {}

    // --- Window hooks -------------------------------------------------------------------------------
    // Moves the focus to the control of a field (the rule checker's failures).
    virtual void FocusField(TDataSet& /*dataSet*/, const QString& /*fieldName*/) {}

protected:
    // Opens and closes the managed data sets with their hooks.
    void OpenDataSets();
    void CloseDataSets();
    // Posts a row being edited, drops an untouched new row; the data set's pending state.
    static bool SettleDataSet(TDataSet& dataSet);
    // Whether the pending changes of one data set are real (not only defaults); default: yes.
    virtual bool ChangesAreReal(TDataSet& dataSet);
    // Reopens every data set and returns to the row whose key field holds the value.
    void ReopenAndLocate(TDataSet& dataSet, const QString& keyField);

private:
    QList<TDataSet*> FDataSets;
    TDataFormState FState = TDataFormState::Browse;
    bool FPrepared = false;
    bool FChangesPending = false;
    bool FChangesReal = false;
    bool FCreated = false;
};

// One main data set with its key field, read-only columns and defaults.
class TListDataForm : public TDataForm {
public:
    TDataSet* MainDataSet() const { return FMainDataSet; }
    void SetMainDataSet(TDataSet* dataSet) { FMainDataSet = dataSet; }
    QString KeyFieldName;
    QStringList ReadOnlyFields;
    // Defaults of new records of the main data set (may be null).
    std::unique_ptr<TDefaultValueManager> DefaultValues;
    void SetDefaultDefinition(const QString& definition);
    // The key a new record takes when written: KeyFieldName, or the data set's name without its
    // first three characters followed by "ID".
    QString NewRecordKeyField() const;
    // Tables whose rows still refer to the current record (deletion refused while any exists).
    QList<TRecordReference> References;
    // The window's checks of the current record before it is saved (raise ERuleError).
    std::function<void(TListDataForm& form)> Rules;
    void Validate() override;

    void RegisterDataSets(QList<TDataSet*>& dataSets) override;
    void InitForm() override;
    void DoneForm() override;
    bool CanNew() override;
    bool DoNew() override;
    void AfterNew() override;
    bool CanEdit() override;
    bool DoEdit() override;
    bool CanDelete() override;
    void BeforeDelete() override;
    bool DoDelete() override;
    void PrepareSave() override;
    void BeforeApplyDataSet(TDataSet& dataSet) override;
    void MoveFirst() override;
    void MovePrior() override;
    void MoveNext() override;
    void MoveLast() override;
    void RefreshData() override;

protected:
    bool ChangesAreReal(TDataSet& dataSet) override;

private:
    TDataSet* FMainDataSet = nullptr;
};

// A master data set and its detail (linked through the detail's parameters).
class TListMDDataForm : public TDataForm {
public:
    TDataSet* MasterDataSet() const { return FMaster; }
    TDataSet* DetailDataSet() const { return FDetail; }
    void SetMasterDataSet(TDataSet* dataSet) { FMaster = dataSet; }
    void SetDetailDataSet(TDataSet* dataSet) { FDetail = dataSet; }
    QStringList MasterKeyFields;
    QStringList DetailKeyFields;
    QStringList MasterReadOnlyFields;
    QStringList DetailReadOnlyFields;
    std::unique_ptr<TDefaultValueManager> MasterDefaultValues;
    std::unique_ptr<TDefaultValueManager> DetailDefaultValues;
    // Tables whose rows still refer to the current master (deletion refused), and the detail
    // tables whose rows go with it (deleted in the same transaction, including rows the detail
    // data set does not list).
    QList<TRecordReference> References;
    QList<TRecordReference> DetailTables;
    // References refusing the deletion of a detail row; the values are the row's key fields.
    std::function<void(TDataSet& detail)> CheckDetailDeletable;
    // Checks of the master record and of each detail row before a save (raise ERuleError), and
    // what a new detail row gets besides its defaults (the master's identifier, its own number).
    std::function<void(TListMDDataForm& form)> MasterRules;
    std::function<void(TListMDDataForm& form)> DetailRowRules;
    std::function<void(TListMDDataForm& form)> InitDetailRow;

    // The master and detail actions; false when nothing happened.
    bool MasterNew();
    bool MasterEdit();
    virtual bool MasterDelete();
    bool DetailNew();
    bool DetailEdit();
    bool DetailDelete();
    void RefreshDetail();

    void RegisterDataSets(QList<TDataSet*>& dataSets) override;
    void InitForm() override;
    void DoneForm() override;
    bool CanNew() override;
    bool CanEdit() override;
    bool CanDelete() override;
    bool Save() override;
    void Validate() override;
    void PrepareSave() override;
    void ApplyAll() override;
    void MoveFirst() override;
    void MovePrior() override;
    void MoveNext() override;
    void MoveLast() override;
    void RefreshData() override;

    // The master-detail operations, in their order.
    virtual void AfterDetailDelete() {}
    virtual void AfterDetailEdit() {}
    virtual void AfterDetailNew();
    virtual void AfterMasterDelete() {}
    virtual void AfterMasterEdit() {}
    virtual void AfterMasterNew();
    virtual void BeforeDetailDelete() {}
    virtual void BeforeDetailEdit() {}
    virtual void BeforeDetailNew() {}
    virtual void BeforeMasterDelete();
    virtual void BeforeMasterNew() {}
    virtual bool AfterValidate() { return true; }
    virtual void ValidateDetailRow();
    virtual void ValidateMaster();

protected:
    bool ChangesAreReal(TDataSet& dataSet) override;

private:
    TDataSet* FMaster = nullptr;
    TDataSet* FDetail = nullptr;
    QVariantList FDeletedMasters;  // masters deleted in the pending save: their detail rows go too
};
