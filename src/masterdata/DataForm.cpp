#include "masterdata/DataForm.h"

#include "foundation/CompanyDM.h"
#include "foundation/DataSet.h"
#include "foundation/MessageService.h"
#include "foundation/ParseSQL.h"
#include "foundation/RecordUtils.h"
#include "foundation/SqlQuery.h"
#include "foundation/ZCDb.h"
#include "power/UserPowerCommon.h"

namespace {

const QString NoRightMessage = QStringLiteral("您没有本项操作的权限，请与系统管理员联系！");

// Runs f with the cursor on every row of the data set, then returns to the row it was on.
template <class F>
void ForEachRow(TDataSet& ds, F&& f)
{
    const int recNo = ds.RecNo();
    ds.First();
    while (!ds.Eof()) {
        f();
        ds.Next();
    }
    if (recNo > 0 && recNo <= ds.RecordCount()) ds.SetRecNo(recNo);
}

// Whether the current row holds more than its defaults and the keys the window assigned.
bool RowHoldsInput(TDataSet& ds, const TDefaultValueManager* defaults, const QStringList& keys)
{
    if (defaults) return defaults->IsModified(keys);
    for (int i = 0; i < ds.FieldCount(); ++i) {
        const TField* f = ds.Fields(i);
        if (!keys.contains(f->FieldName(), Qt::CaseInsensitive) && !f->IsNull()) return true;
    }
    return false;
}

QVariantList KeyValues(const TDataSet& ds, const QStringList& keys)
{
    QVariantList values;
    for (const QString& k : keys) values << (ds.FindField(k) ? ds.FindField(k)->Value() : QVariant());
    return values;
}

// Back to the row of the key values (as KeyValues read them); stays put when none matches.
void LocateKeys(TDataSet& ds, const QStringList& keys, const QVariantList& values)
{
    if (keys.isEmpty() || values.isEmpty() || values.first().isNull()) return;
    ds.Locate(keys.join(QLatin1Char(';')), values.size() == 1 ? values.first() : QVariant(values));
}
} // namespace

QString RecordInUseMessage()
{
    return QStringLiteral("该记录已被使用，不能删除！");
}

void CheckNotReferenced(const QList<TRecordReference>& references, const QVariant& value)
{
    if (value.isNull()) return;
    for (const TRecordReference& r : references) {
        const QVariant n = GetSQLValue(QStringLiteral("select count(*) from %1 where %2 = :ID").arg(r.Table, r.Column),
                                       {{QStringLiteral("ID"), value}});
        if (n.toInt() > 0) throw ERuleError(RecordInUseMessage(), TRuleErrorKind::Hint);
    }
}

// --- TDataForm --------------------------------------------------------------------------------

TDataForm::TDataForm() = default;
TDataForm::~TDataForm() = default;

TWBUserPower* TDataForm::UserPower() { return TWBUserPower::Current(); }

bool TDataForm::HasModulePower(TPowerKind kind) const
{
    TWBUserPower* power = UserPower();
    return power && power->ModulePowerByCode(FormClassName()).HasPower(kind);
}

void TDataForm::CheckModulePower(TPowerKind kind) const
{
    if (!HasModulePower(kind)) throw ESystemError(NoRightMessage);
}

TDataSet& TDataForm::MainDatabaseDataSet() const
{
    if (FDataSets.isEmpty()) throw ESystemError(QStringLiteral("主数据集(FMainDatabase)未赋值"));
    return *FDataSets.first();
}

TCompanyDM& TDataForm::MainDatabase() const
{
    TCompanyDM* dm = MainDatabaseDataSet().Database();
    if (!dm) throw ESystemError(QStringLiteral("数据库没有连接！"));
    return *dm;
}

void TDataForm::CreateForm()
{
    AssignDataSources();
    FDataSets.clear();
    RegisterDataSets(FDataSets);
    FCreated = true;
    InitForm();
}

void TDataForm::DestroyForm()
{
    if (!FCreated) return;
    FCreated = false;
    CloseDataSets();
    AfterCloseDataSets();
    DoneForm();
    FState = TDataFormState::Browse;
}

void TDataForm::InitForm()
{
    FState = TDataFormState::Browse;
    FPrepared = false;
    FChangesPending = false;
    FChangesReal = false;
}

void TDataForm::OpenDataSets()
{
    for (TDataSet* ds : FDataSets) {
        BeforeOpenDataSet(*ds);
        ds->Open();
        AfterOpenDataSet(*ds);
    }
}

void TDataForm::CloseDataSets()
{
    for (TDataSet* ds : FDataSets) {
        if (!ds || !ds->Active()) continue;
        BeforeCloseDataSet(*ds);
        ds->Close();
        AfterCloseDataSet(*ds);
    }
}

bool TDataForm::New()
{
    if (!CheckLeave()) return false;
    if (!CanNew()) throw ESystemError(NoRightMessage);
    BeforeNew();
    if (!DoNew()) return false;
    FState = TDataFormState::Inserting;
    AfterNew();
    return true;
}

bool TDataForm::Edit()
{
    if (!CanEdit()) throw ESystemError(NoRightMessage);
    BeforeEdit();
    if (!DoEdit()) return false;
    if (FState != TDataFormState::Inserting) FState = TDataFormState::Editing;
    AfterEdit();
    return true;
}

bool TDataForm::Delete()
{
    if (!CanDelete()) throw ESystemError(NoRightMessage);
    const TDataFormState remembered = FState;
    FState = TDataFormState::Deleting;
    try {
        BeforeDelete();
        if (DoDelete()) {
            FState = TDataFormState::Browse;
            AfterDelete();
            return true;
        }
    } catch (...) {
        FState = remembered;
        throw;
    }
    FState = remembered;
    return false;
}

bool TDataForm::CancelAll()
{
    bool ok = true;
    for (TDataSet* ds : FDataSets) {
        try {
            BeforeCancelDataSet(*ds);
            if (ds->Active()) {
                ds->Cancel();
                ds->CancelUpdates();
            }
            AfterCancelDataSet(*ds);
        } catch (const std::exception&) {
            ok = false;
        }
    }
    if (ok) FState = TDataFormState::Browse;
    return ok;
}

bool TDataForm::SettleDataSet(TDataSet& ds)
{
    if (ds.State() == TDataSetState::Edit || ds.State() == TDataSetState::Insert) {
        if (ds.Modified()) ds.Post();
        else ds.Cancel();
    }
    return ds.UpdatesPending();
}

bool TDataForm::ChangesAreReal(TDataSet& /*dataSet*/)
{
    return true;
}

bool TDataForm::HasChanges()
{
    FChangesPending = false;
    FChangesReal = false;
    for (TDataSet* ds : FDataSets) {
        if (!ds->Active() || !SettleDataSet(*ds)) continue;
        FChangesPending = true;
        if (ChangesAreReal(*ds)) FChangesReal = true;
    }
    return FChangesPending;
}

bool TDataForm::CheckLeave()
{
    if (!HasChanges()) return true;
    if (!FChangesReal) return CancelAll();
    switch (AskQuestion(QStringLiteral("数据没有保存，保存数据？"), TMsgButtons::YesNoCancel)) {
    case TMsgResult::Yes: return Save();
    case TMsgResult::No: return CancelAll();
    default: return false;
    }
}

void TDataForm::ApplyAll()
{
    for (TDataSet* ds : FDataSets) {
        if (!ds->Active()) continue;
        SettleDataSet(*ds);
        ds->ApplyUpdates();
    }
}

bool TDataForm::HandleDBError(const EDatabaseError& error)
{
    ShowException(error);
    return false;
}

bool TDataForm::Save()
{
    if (!HasChanges()) return true;
    if (FState != TDataFormState::Deleting) {
        try {
            Validate();
        } catch (const ERuleError& e) {
            ShowRuleError(e);
            return false;
        } catch (const std::exception&) {
            TMessageService::Current().Show(QStringLiteral("未知错误"), QString(), TMsgIcon::Error, TMsgButtons::Ok);
            return false;
        }
    }
    try {
        BeforeSave();
        if (!FPrepared) {
            PrepareSave();
            FPrepared = true;
        }
        for (TDataSet* ds : FDataSets) BeforeApplyDataSet(*ds);
        for (;;) {
            try {
                // A refused write rolls everything back; the changes stay pending (see DataSet.h),
                // so the user corrects the record instead of typing it again.
                TTransactionGuard guard(MainDatabase());
                ApplyAll();
                guard.Commit();
                break;
            } catch (const EDatabaseError& e) {
                if (!HandleDBError(e)) return false;
            }
        }
        for (TDataSet* ds : FDataSets) AfterCommitDataSet(*ds);
    } catch (const ERuleError& e) {
        ShowRuleError(e);
        return false;
    } catch (const ESystemError& e) {
        ShowException(e);
        return false;
    }
    AfterSave();
    FState = TDataFormState::Browse;
    return true;
}

void TDataForm::Refresh()
{
    if (!CheckLeave()) return;
    RefreshData();
}

void TDataForm::First()
{
    if (CheckLeave()) MoveFirst();
}

void TDataForm::Prior()
{
    if (CheckLeave()) MovePrior();
}

void TDataForm::Next()
{
    if (CheckLeave()) MoveNext();
}

void TDataForm::Last()
{
    if (CheckLeave()) MoveLast();
}

void TDataForm::ReopenAndLocate(TDataSet& dataSet, const QString& keyField)
{
    const TField* key = keyField.isEmpty() ? nullptr : dataSet.FindField(keyField);
    const QVariant value = key ? key->Value() : QVariant();
    for (TDataSet* ds : FDataSets)
        if (ds->Active()) ds->Refresh();
    dataSet.First();
    if (!value.isNull()) dataSet.Locate(keyField, value);
}

bool TDataForm::CheckRequired(TDataSet& dataSet, const QString& fieldName, const QString& displayName, bool raise)
{
    const TField* f = dataSet.FindField(fieldName);
    if (!f) throw ERuleError(QStringLiteral("指定的字段不存在,相关信息:") + displayName, TRuleErrorKind::Hint);
    if (!f->AsString().trimmed().isEmpty()) return true;
    FocusField(dataSet, fieldName);
    if (raise)
        throw ERuleError(QStringLiteral("请输入%1").arg(displayName.isEmpty() ? f->DisplayLabel() : displayName),
                         TRuleErrorKind::Hint);
    return false;
}

bool TDataForm::CheckCompare(TDataSet& dataSet, const QString& leftField, const QString& rightField, const QString& op,
                             bool raise, const QString& rightName, const QString& leftName)
{
    static const QStringList ops = {QStringLiteral("<"), QStringLiteral("<="), QStringLiteral(">"), QStringLiteral(">=")};
    static const QStringList words = {QStringLiteral("小于"), QStringLiteral("小于或等于"), QStringLiteral("大于"),
                                      QStringLiteral("大于或等于")};
    const int which = ops.indexOf(op);
    if (which < 0) throw ERuleError(QStringLiteral("不支持的算子%1").arg(op), TRuleErrorKind::Error);
    const TField* left = dataSet.FieldByName(leftField);
    const TField* right = dataSet.FieldByName(rightField);
    if (left->IsNull() || right->IsNull()) return true;
    const double l = left->AsFloat();
    const double r = right->AsFloat();
    const bool holds = which == 0 ? l < r : which == 1 ? l <= r : which == 2 ? l > r : l >= r;
    if (holds) return true;
    FocusField(dataSet, leftField);
    if (raise)
        throw ERuleError(QStringLiteral("%1必须%2%3").arg(leftName.isEmpty() ? left->DisplayLabel() : leftName,
                                                         words[which],
                                                         rightName.isEmpty() ? right->DisplayLabel() : rightName),
                         TRuleErrorKind::Error);
    return false;
}

// --- TListDataForm ----------------------------------------------------------------------------

void TListDataForm::SetDefaultDefinition(const QString& definition)
{
    DefaultValues = std::make_unique<TDefaultValueManager>(FMainDataSet, definition);
}

QString TListDataForm::NewRecordKeyField() const
{
    if (!KeyFieldName.isEmpty() || !FMainDataSet) return KeyFieldName;
    return FMainDataSet->objectName().mid(3) + QStringLiteral("ID");
}

void TListDataForm::RegisterDataSets(QList<TDataSet*>& dataSets)
{
    if (!FMainDataSet) throw ESystemError(QStringLiteral("%1的数据集未设定").arg(FormCaption()));
    dataSets.append(FMainDataSet);
}

void TListDataForm::InitForm()
{
    TDataForm::InitForm();
    BeforeOpenDataSets();
    OpenDataSets();
}

void TListDataForm::Validate()
{
    if (Rules) Rules(*this);
}

void TListDataForm::DoneForm()
{
    DefaultValues.reset();
}

bool TListDataForm::CanNew()
{
    CheckModulePower(TPowerKind::New);
    return true;
}

bool TListDataForm::DoNew()
{
    FMainDataSet->Append();
    return true;
}

void TListDataForm::AfterNew()
{
    if (DefaultValues) DefaultValues->ApplyDefaults();
}

bool TListDataForm::CanEdit()
{
    CheckModulePower(TPowerKind::Edit);
    return true;
}

bool TListDataForm::DoEdit()
{
    // Edit on an empty data set would start a new record.
    if (FMainDataSet->IsEmpty() && FMainDataSet->State() != TDataSetState::Insert) return false;
    if (FMainDataSet->RecordCount() == 1 && FMainDataSet->RecNo() < 0) FMainDataSet->First();
    FMainDataSet->Edit();
    return true;
}

bool TListDataForm::CanDelete()
{
    CheckModulePower(TPowerKind::Delete);
    return true;
}

void TListDataForm::BeforeDelete()
{
    if (FMainDataSet->IsEmpty()) return;
    if (const TField* key = FMainDataSet->FindField(NewRecordKeyField())) CheckNotReferenced(References, key->Value());
}

bool TListDataForm::DoDelete()
{
    if (FMainDataSet->IsEmpty()) return false;
    if (AskQuestion(QStringLiteral("删除本记录后将不可恢复，是否继续？")) != TMsgResult::Yes) return false;
    FMainDataSet->Delete();
    if (Save()) return true;
    CancelAll();  // the refused deletion leaves the record
    return false;
}

void TListDataForm::PrepareSave()
{
    if (auto* q = qobject_cast<TZCQuery*>(FMainDataSet))
        SetupUpdateSQL(*q, ReadOnlyFields, KeyFieldName.isEmpty() ? QStringList() : QStringList{KeyFieldName});
}

void TListDataForm::BeforeApplyDataSet(TDataSet& dataSet)
{
    if (&dataSet != FMainDataSet || State() != TDataFormState::Inserting || dataSet.IsEmpty()) return;
    TField* key = dataSet.FindField(NewRecordKeyField());
    if (!key || dataSet.UpdateStatus() != TUpdateStatus::Inserted || !key->IsNull()) return;
    dataSet.Edit();
    key->SetValue(GetPrimaryKey(QStringLiteral("List")));
    dataSet.Post();
}

bool TListDataForm::ChangesAreReal(TDataSet& dataSet)
{
    if (&dataSet != FMainDataSet || !DefaultValues || dataSet.IsEmpty()) return true;
    if (dataSet.UpdateStatus() != TUpdateStatus::Inserted || dataSet.ChangeCount() != 1) return true;
    return DefaultValues->IsModified({NewRecordKeyField()});
}

void TListDataForm::MoveFirst() { FMainDataSet->First(); }
void TListDataForm::MovePrior() { FMainDataSet->Prior(); }
void TListDataForm::MoveNext() { FMainDataSet->Next(); }
void TListDataForm::MoveLast() { FMainDataSet->Last(); }

void TListDataForm::RefreshData()
{
    ReopenAndLocate(*FMainDataSet, NewRecordKeyField());
}

// --- TListMDDataForm --------------------------------------------------------------------------

void TListMDDataForm::RegisterDataSets(QList<TDataSet*>& dataSets)
{
    if (!FMaster) throw ESystemError(QStringLiteral("%1的Master数据集未设定").arg(FormCaption()));
    if (!FDetail) throw ESystemError(QStringLiteral("%1的Detail数据集未设定").arg(FormCaption()));
    dataSets << FMaster << FDetail;
}

void TListMDDataForm::InitForm()
{
    TDataForm::InitForm();
    BeforeOpenDataSets();
    OpenDataSets();
}

void TListMDDataForm::DoneForm()
{
    MasterDefaultValues.reset();
    DetailDefaultValues.reset();
}

bool TListMDDataForm::CanNew()
{
    CheckModulePower(TPowerKind::New);
    return true;
}

bool TListMDDataForm::CanEdit()
{
    CheckModulePower(TPowerKind::Edit);
    return true;
}

bool TListMDDataForm::CanDelete()
{
    CheckModulePower(TPowerKind::Delete);
    return true;
}

bool TListMDDataForm::MasterNew()
{
    if (!CheckLeave()) return false;
    if (!CanNew()) throw ESystemError(NoRightMessage);
    BeforeMasterNew();
    try {
        FMaster->Append();
    } catch (const std::exception&) {
    }
    SetState(TDataFormState::Inserting);
    AfterMasterNew();
    return true;
}

void TListMDDataForm::AfterMasterNew()
{
    if (FMaster->State() != TDataSetState::Insert) return;
    // A master takes its identifier as soon as it is appended, so that its detail rows can name it.
    if (TField* key = FMaster->FindField(MasterKeyFields.value(0)); key && key->IsNull())
        key->SetValue(GetPrimaryKey(QStringLiteral("List")));
    if (MasterDefaultValues) MasterDefaultValues->ApplyDefaults();
}

void TListMDDataForm::ValidateMaster()
{
    if (MasterRules) MasterRules(*this);
}

void TListMDDataForm::ValidateDetailRow()
{
    if (DetailRowRules) DetailRowRules(*this);
}

bool TListMDDataForm::MasterEdit()
{
    if (!CanEdit()) throw ESystemError(NoRightMessage);
    if (FMaster->IsEmpty()) return false;
    FMaster->Edit();
    if (State() != TDataFormState::Inserting) SetState(TDataFormState::Editing);
    AfterMasterEdit();
    return true;
}

void TListMDDataForm::BeforeMasterDelete()
{
    if (const TField* key = FMaster->FindField(MasterKeyFields.value(0))) FDeletedMasters << key->Value();
}

bool TListMDDataForm::MasterDelete()
{
    if (!CanDelete()) throw ESystemError(NoRightMessage);
    if (FMaster->IsEmpty()) return false;
    if (!CheckLeave()) return false;
    if (const TField* key = FMaster->FindField(MasterKeyFields.value(0))) CheckNotReferenced(References, key->Value());
    if (AskQuestion(QStringLiteral("删除本记录后将不可恢复，是否继续？")) != TMsgResult::Yes) return false;
    const TDataFormState remembered = State();
    const QVariantList keys = KeyValues(*FMaster, MasterKeyFields);
    SetState(TDataFormState::Deleting);
    BeforeMasterDelete();
    FMaster->Delete();
    AfterMasterDelete();
    if (Save()) return true;
    // The refused deletion leaves the record, and the user on it (the cursor had moved on).
    CancelAll();
    LocateKeys(*FMaster, MasterKeyFields, keys);
    SetState(remembered);
    return false;
}

bool TListMDDataForm::DetailNew()
{
    if (!CanNew()) throw ESystemError(NoRightMessage);
    if (FMaster->IsEmpty()) return false;
    BeforeDetailNew();
    FDetail->Append();
    if (State() == TDataFormState::Browse) SetState(TDataFormState::Inserting);
    AfterDetailNew();
    return true;
}

void TListMDDataForm::AfterDetailNew()
{
    if (FDetail->State() != TDataSetState::Insert) return;
    if (InitDetailRow) InitDetailRow(*this);
    if (DetailDefaultValues) DetailDefaultValues->ApplyDefaults();
}

bool TListMDDataForm::DetailEdit()
{
    if (!CanEdit()) throw ESystemError(NoRightMessage);
    if (FDetail->IsEmpty()) return false;
    BeforeDetailEdit();
    FDetail->Edit();
    if (State() != TDataFormState::Inserting) SetState(TDataFormState::Editing);
    AfterDetailEdit();
    return true;
}

bool TListMDDataForm::DetailDelete()
{
    if (!CanDelete()) throw ESystemError(NoRightMessage);
    if (FDetail->IsEmpty()) return false;
    if (CheckDetailDeletable) CheckDetailDeletable(*FDetail);
    if (AskQuestion(QStringLiteral("删除本记录后将不可恢复，是否继续？")) != TMsgResult::Yes) return false;
    const TDataFormState remembered = State();
    const QVariantList keys = KeyValues(*FDetail, DetailKeyFields);
    SetState(TDataFormState::Deleting);
    BeforeDetailDelete();
    FDetail->Delete();
    AfterDetailDelete();
    if (Save()) return true;
    CancelAll();
    LocateKeys(*FDetail, DetailKeyFields, keys);
    SetState(remembered);
    return false;
}

bool TListMDDataForm::Save()
{
    // While the rows are written, the detail must not follow the master (a re-read would drop
    // its pending rows), and neither grid follows the cursor moves.
    auto* detail = qobject_cast<TQuery*>(FDetail);
    TDataSet* link = detail ? detail->MasterSource() : nullptr;
    FMaster->DisableControls();
    FDetail->DisableControls();
    if (detail) detail->SetMasterSource(nullptr);
    bool ok = false;
    try {
        ok = TDataForm::Save();
    } catch (...) {
        if (detail) detail->SetMasterSource(link);
        FDetail->EnableControls();
        FMaster->EnableControls();
        FDeletedMasters.clear();
        throw;
    }
    if (detail) detail->SetMasterSource(link);
    FDetail->EnableControls();
    FMaster->EnableControls();
    FDeletedMasters.clear();
    return ok;
}

void TListMDDataForm::Validate()
{
    ValidateMaster();
    if (FDetail->Active()) ForEachRow(*FDetail, [this] { ValidateDetailRow(); });
    if (!AfterValidate()) throw ERuleError(QStringLiteral("数据校验失败！"), TRuleErrorKind::Error);
}

void TListMDDataForm::PrepareSave()
{
    if (auto* q = qobject_cast<TZCQuery*>(FMaster)) SetupUpdateSQL(*q, MasterReadOnlyFields, MasterKeyFields);
    if (auto* q = qobject_cast<TZCQuery*>(FDetail)) SetupUpdateSQL(*q, DetailReadOnlyFields, DetailKeyFields);
}

void TListMDDataForm::ApplyAll()
{
    TDataForm::ApplyAll();
    for (const QVariant& id : FDeletedMasters)
        for (const TRecordReference& t : DetailTables)
            ExecuteSQL(QStringLiteral("delete from %1 where %2 = :ID").arg(t.Table, t.Column), {{QStringLiteral("ID"), id}});
}

bool TListMDDataForm::ChangesAreReal(TDataSet& dataSet)
{
    if (&dataSet == FMaster) {
        if (dataSet.IsEmpty() || dataSet.UpdateStatus() != TUpdateStatus::Inserted) return true;
        return RowHoldsInput(dataSet, MasterDefaultValues.get(), MasterKeyFields);
    }
    if (&dataSet == FDetail && State() == TDataFormState::Inserting && DetailDefaultValues) {
        bool real = false;
        ForEachRow(dataSet, [&] {
            const TUpdateStatus s = dataSet.UpdateStatus();
            if (s == TUpdateStatus::Modified || s == TUpdateStatus::Deleted) real = true;
            else if (s == TUpdateStatus::Inserted && RowHoldsInput(dataSet, DetailDefaultValues.get(), DetailKeyFields))
                real = true;
        });
        return real;
    }
    return true;
}

void TListMDDataForm::MoveFirst() { FMaster->First(); }
void TListMDDataForm::MovePrior() { FMaster->Prior(); }
void TListMDDataForm::MoveNext() { FMaster->Next(); }
void TListMDDataForm::MoveLast() { FMaster->Last(); }

void TListMDDataForm::RefreshData()
{
    ReopenAndLocate(*FMaster, MasterKeyFields.value(0));
}

void TListMDDataForm::RefreshDetail()
{
    if (!CheckLeave()) return;
    const QVariantList keys = KeyValues(*FDetail, DetailKeyFields);
    FDetail->Refresh();
    FDetail->First();
    LocateKeys(*FDetail, DetailKeyFields, keys);
}
