#include "foundation/DataSet.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/ParseSQL.h"
#include "foundation/RecordUtils.h"

#include <QSqlError>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace {
const char* const kEventNames[DataSetEventCount] = {
    "BeforeOpen",   "AfterOpen",   "BeforeClose",  "AfterClose",  "BeforeInsert",
    "AfterInsert",  "BeforeEdit",  "AfterEdit",    "BeforePost",  "AfterPost",
    "BeforeCancel", "AfterCancel", "BeforeDelete", "AfterDelete", "BeforeScroll",
    "AfterScroll",  "OnNewRecord", "BeforeRefresh", "AfterRefresh",
};

bool IsNumeric(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool IsIntegral(const QVariant& v)
{
    const int id = v.metaType().id();
    return IsNumeric(v) && id != QMetaType::Double && id != QMetaType::Float;
}

bool IsDateLike(const QVariant& v)
{
    const int id = v.metaType().id();
    return id == QMetaType::QDateTime || id == QMetaType::QDate;
}

bool IsNull(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

QTime TimeOf(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QTime) return v.toTime();
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime().time();
    const QString s = v.toString().trimmed();
    for (const char* format : {"hh:mm:ss", "h:mm:ss", "hh:mm", "h:mm"}) {
        const QTime t = QTime::fromString(s, QLatin1String(format));
        if (t.isValid()) return t;
    }
    const QDateTime dt = VariantToDateTime(v);
    return dt.isValid() ? dt.time() : QTime();
}
} // namespace

QString DataSetEventName(TDataSetEvent event)
{
    return QString::fromLatin1(kEventNames[static_cast<int>(event)]);
}

bool FindDataSetEvent(const QString& name, TDataSetEvent& event)
{
    for (int i = 0; i < DataSetEventCount; ++i)
        if (name.compare(QLatin1String(kEventNames[i]), Qt::CaseInsensitive) == 0) {
            event = static_cast<TDataSetEvent>(i);
            return true;
        }
    return false;
}

bool VariantsEqual(const QVariant& a, const QVariant& b, bool caseInsensitive)
{
    const bool an = IsNull(a), bn = IsNull(b);
    if (an || bn) return an && bn;
    // Dates and times of one kind compare as they are (the general way goes through local time).
    const int type = a.metaType().id();
    if (type == b.metaType().id()) {
        if (type == QMetaType::QDate) return a.toDate() == b.toDate();
        if (type == QMetaType::QTime) return a.toTime() == b.toTime();
        if (type == QMetaType::QDateTime) return a.toDateTime() == b.toDateTime();
        if (type == QMetaType::Int) return *static_cast<const int*>(a.constData()) == *static_cast<const int*>(b.constData());
        if (type == QMetaType::Double)
            return *static_cast<const double*>(a.constData()) == *static_cast<const double*>(b.constData());
        if (type == QMetaType::QString)
            return static_cast<const QString*>(a.constData())
                       ->compare(*static_cast<const QString*>(b.constData()),
                                 caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    }
    if (IsNumeric(a) && IsNumeric(b)) {
        if (IsIntegral(a) && IsIntegral(b)) return a.toLongLong() == b.toLongLong();
        return a.toDouble() == b.toDouble();
    }
    if (IsDateLike(a) || IsDateLike(b)) {
        const QDateTime da = VariantToDateTime(a), db = VariantToDateTime(b);
        if (da.isValid() && db.isValid()) return da == db;
    }
    if (IsNumeric(a) != IsNumeric(b)) {
        // A number against its text (a key typed into an edit).
        bool ok = false;
        const double d = (IsNumeric(a) ? b : a).toString().trimmed().toDouble(&ok);
        if (ok) return d == (IsNumeric(a) ? a : b).toDouble();
    }
    return a.toString().compare(b.toString(), caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

QStringList ParseSqlParams(const QString& sql)
{
    QStringList names;
    for (const TSqlParamAt& p : FindSqlParams(sql))
        if (!names.contains(p.Name, Qt::CaseInsensitive)) names << p.Name;
    return names;
}

QString DisplayTextOf(const QVariant& value)
{
    if (IsNull(value)) return {};
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FormatNumber(value.toDouble());
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    default:
        return value.toString();
    }
}

// ---------------------------------------------------------------------------------------------
// TField

TField::TField(TDataSet* dataSet, int index, const TFieldDef& def, bool strict)
    : FDataSet(dataSet), FIndex(index), FFieldName(def.Name), FDataType(def.DataType),
      FSize(def.Size), FStrict(strict)
{
}

QVariant TField::Value() const
{
    const TDataSet::TRecord* record = FDataSet->ActiveRecord();
    return record ? FDataSet->CellValue(*record, FIndex) : QVariant();
}

bool TField::IsNull() const
{
    return ::IsNull(Value());
}

QVariant TField::Converted(const QVariant& value) const
{
    if (::IsNull(value)) return {};
    // The common cases first: a number of the field's own type needs no checking.
    const int typeId = value.metaType().id();
    if (typeId == QMetaType::Int && (!FStrict || FDataType == TFieldType::Integer))
        return value.toInt() == NullValue ? QVariant() : value;
    if (typeId == QMetaType::Double && (!FStrict || FDataType == TFieldType::Float))
        return value.toDouble() == NullValue ? QVariant() : value;
    if (IsNumeric(value) && value.metaType().id() != QMetaType::Bool && value.toDouble() == NullValue) return {};
    const bool isText = value.metaType().id() == QMetaType::QString;
    if (!FStrict) {
        if (isText && FSize > 0 && FDataType == TFieldType::String) return value.toString().left(FSize);
        return value;
    }
    bool ok = true;
    switch (FDataType) {
    case TFieldType::Integer: {
        qlonglong i = 0;
        const int id = value.metaType().id();
        if (isText || id == QMetaType::Double || id == QMetaType::Float) {
            // Whole numbers only: "3" and 3.0 are taken, "2.5" is refused rather than cut.
            const QString text = value.toString().trimmed();
            if (isText && text.isEmpty()) return {};
            i = isText ? text.toLongLong(&ok) : 0;
            if (!isText || !ok) {
                const double d = isText ? text.toDouble(&ok) : value.toDouble(&ok);
                ok = ok && std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e18;
                i = ok ? static_cast<qlonglong>(d) : 0;
            }
        } else {
            i = value.toLongLong(&ok);
        }
        if (!ok) throw ESystemError(QStringLiteral("请输入正确的数值！"));
        if (i == NullValue) return {};
        if (i >= std::numeric_limits<int>::min() && i <= std::numeric_limits<int>::max())
            return QVariant(static_cast<int>(i));
        return QVariant(i);
    }
    case TFieldType::Float: {
        if (isText && value.toString().trimmed().isEmpty()) return {};
        const double d = isText ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
        if (!ok) throw ESystemError(QStringLiteral("请输入正确的数值！"));
        if (d == NullValue) return {};
        return QVariant(d);
    }
    case TFieldType::String: {
        QString s = value.metaType().id() == QMetaType::QDateTime ? DateTimeToDbText(value.toDateTime())
                                                                  : value.toString();
        if (FSize > 0) s = s.left(FSize);
        return QVariant(s);
    }
    case TFieldType::Boolean:
        return QVariant(value.toBool());
    case TFieldType::Date: {
        if (value.metaType().id() == QMetaType::QDate && value.toDate().isValid()) return value;
        if (isText && value.toString().trimmed().isEmpty()) return {};
        const QDateTime dt = VariantToDateTime(value);
        if (!dt.isValid()) throw ESystemError(QStringLiteral("请输入正确的日期！"));
        return QVariant(dt.date());
    }
    case TFieldType::Time: {
        if (isText && value.toString().trimmed().isEmpty()) return {};
        const QTime t = TimeOf(value);
        if (!t.isValid()) throw ESystemError(QStringLiteral("请输入正确的时间！"));
        return QVariant(t);
    }
    case TFieldType::DateTime: {
        if (isText && value.toString().trimmed().isEmpty()) return {};
        const QDateTime dt = VariantToDateTime(value);
        if (!dt.isValid()) throw ESystemError(QStringLiteral("请输入正确的日期！"));
        return QVariant(dt);
    }
    case TFieldType::Blob:
    case TFieldType::Unknown:
        break;
    }
    return value;
}

void TField::SetValue(const QVariant& value)
{
    QVariant* values = FDataSet->EditableValues(*this);
    values[FIndex] = Converted(value);
    FDataSet->FModified = true;
    FDataSet->Notify(&TDataSet::RowChanged, FDataSet->FCur);
}

QVariant TField::OldValue() const
{
    const TDataSet::TRecord* record = nullptr;
    if (FDataSet->FFilterRecord) record = FDataSet->FFilterRecord;
    else if (FDataSet->FCur >= 0) record = FDataSet->FRows[static_cast<size_t>(FDataSet->FCur)];
    if (!record) return {};
    if (record->Old) return record->Old[FIndex];
    const bool current = !FDataSet->FFilterRecord;
    if (record->Status == TUpdateStatus::Inserted || (current && FDataSet->FState == TDataSetState::Insert)) return {};
    if (current && FDataSet->FState == TDataSetState::Edit && FDataSet->FEditBackup)
        return FDataSet->FEditBackup[FIndex];
    return FDataSet->CellValue(*record, FIndex);
}

int TField::AsInteger() const
{
    return VariantToInt(Value());
}

double TField::AsFloat() const
{
    return VariantToFloat(Value());
}

QString TField::AsString() const
{
    const QVariant v = Value();
    if (::IsNull(v)) return {};
    switch (v.metaType().id()) {
    case QMetaType::QDateTime: return DateTimeToDbText(v.toDateTime());
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime: return v.toTime().toString(QStringLiteral("hh:mm:ss"));
    default: return v.toString();
    }
}

void TField::SetAsString(const QString& value)
{
    SetValue(value.isEmpty() ? QVariant() : QVariant(value));
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    if (v.metaType().id() == QMetaType::QTime) return QDateTime(QDate(1899, 12, 30), v.toTime());
    return VariantToDateTime(v);
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (::IsNull(v)) return false;
    if (v.metaType().id() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || (s.toDouble() != 0);
    }
    return v.toBool();
}

QString TField::DisplayText() const
{
    return DisplayTextOf(Value());
}

// ---------------------------------------------------------------------------------------------
// TDataSet

TDataSet::TDataSet(QObject* parent) : QObject(parent)
{
}

TDataSet::~TDataSet()
{
    // No events: the windows whose handlers they would call may be gone already.
    FRows.clear();
    FRecords.clear();
}

void TDataSet::CheckActive() const
{
    if (!Active()) throw ESystemError(QStringLiteral("数据集%1没有打开").arg(objectName()));
}

void TDataSet::DoEvent(TDataSetEvent event)
{
    const TDataSetNotifyEvent& handler = FEvents[static_cast<int>(event)];
    if (!handler) return;
    const TDataSetNotifyEvent call = handler;  // the handler may replace itself
    call(this);
}

void TDataSet::Notify(void (TDataSet::*signal)(int), int row)
{
    if (FDisableCount > 0) return;
    (this->*signal)(row);
    if (signal == &TDataSet::CurrentRowChanged || (signal == &TDataSet::RowChanged && row == FCur)) NotifyDetails();
}

void TDataSet::NotifyReset()
{
    if (FDisableCount > 0) return;
    emit DataSetChanged();
    emit CurrentRowChanged(FCur);
    NotifyDetails();
}

void TDataSet::AddDetail(TDataSet* detail)
{
    RemoveDetail(detail);
    FDetails.emplace_back(detail);
}

void TDataSet::RemoveDetail(TDataSet* detail)
{
    FDetails.erase(std::remove_if(FDetails.begin(), FDetails.end(),
                                  [detail](const QPointer<TDataSet>& d) { return d.isNull() || d == detail; }),
                   FDetails.end());
}

void TDataSet::NotifyDetails()
{
    if (FDetails.empty()) return;
    const auto details = FDetails;  // a detail may unlink itself
    for (const auto& d : details)
        if (d) d->MasterRecordChanged();
}

void TDataSet::SetState(TDataSetState state)
{
    if (FState == state) return;
    FState = state;
    if (FDisableCount == 0) emit StateChanged();
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0) return;
    if (--FDisableCount == 0) {
        emit DataSetChanged();
        emit CurrentRowChanged(FCur);
        emit StateChanged();
        NotifyDetails();
    }
}

TDataSetNotifyEvent TDataSet::EventByName(const QString& name) const
{
    TDataSetEvent event;
    if (!FindDataSetEvent(name, event)) throw ESystemError(QStringLiteral("数据集没有事件%1").arg(name));
    return Event(event);
}

void TDataSet::SetEventByName(const QString& name, const TDataSetNotifyEvent& handler)
{
    TDataSetEvent event;
    if (!FindDataSetEvent(name, event)) throw ESystemError(QStringLiteral("数据集没有事件%1").arg(name));
    SetEvent(event, handler);
}

// --- Fields ----------------------------------------------------------------------------------

void TDataSet::DefineFields(const std::vector<TFieldDef>& givenDefs, bool strict)
{
    // A name that occurs twice (two joined tables' "Describe") gets "_1", "_2", ... on its repeats.
    std::vector<TFieldDef> defs = givenDefs;
    QSet<QString> taken;
    for (TFieldDef& d : defs) {
        QString name = d.Name;
        for (int n = 1; taken.contains(name.toLower()); ++n) name = d.Name + QLatin1Char('_') + QString::number(n);
        d.Name = name;
        taken.insert(name.toLower());
    }
    bool same = defs.size() == FFields.size();
    for (size_t i = 0; same && i < defs.size(); ++i)
        same = FFields[i]->FFieldName.compare(defs[i].Name, Qt::CaseInsensitive) == 0;
    if (same) {
        // Kept, so that windows holding field pointers stay valid across reopening.
        for (size_t i = 0; i < defs.size(); ++i) {
            FFields[i]->FFieldName = defs[i].Name;
            FFields[i]->FDataType = defs[i].DataType;
            FFields[i]->FSize = defs[i].Size;
            FFields[i]->FStrict = strict;
        }
        return;
    }
    FFields.clear();
    FFieldIndex.clear();
    for (size_t i = 0; i < defs.size(); ++i) {
        FFields.push_back(std::unique_ptr<TField>(new TField(this, static_cast<int>(i), defs[i], strict)));
        FFieldIndex.insert(defs[i].Name.toLower(), static_cast<int>(i));
    }
}

void TDataSet::RefineFieldType(int index, TFieldType type)
{
    FFields[static_cast<size_t>(index)]->FDataType = type;
}

QStringList TDataSet::FieldNames() const
{
    QStringList names;
    for (const auto& f : FFields) names << f->FieldName();
    return names;
}

TField* TDataSet::FindField(const QString& name) const
{
    // Names are nearly always spelt as defined: those are found without a lower-case copy.
    for (const auto& f : FFields)
        if (f->FieldName() == name) return f.get();
    const int i = FFieldIndex.value(name.toLower(), -1);
    return i < 0 ? nullptr : FFields[static_cast<size_t>(i)].get();
}

TField* TDataSet::FieldByName(const QString& name) const
{
    TField* f = FindField(name);
    if (!f) throw ESystemError(QStringLiteral("数据集%1没有字段%2").arg(objectName(), name));
    return f;
}

const TDataSet::TRecord* TDataSet::ActiveRecord() const
{
    if (FFilterRecord) return FFilterRecord;
    if (FCur >= 0) return FRows[static_cast<size_t>(FCur)];
    return nullptr;
}

QVariant TDataSet::CellValue(const TRecord& record, int fieldIndex) const
{
    return record.Values ? record.Values[fieldIndex] : record.Source->Value(record.SourceRow, fieldIndex);
}

QVariant* TDataSet::OwnValues(TRecord& record)
{
    if (!record.Values) {
        record.Values = NewValues();
        for (int i = 0; i < FieldCount(); ++i) record.Values[i] = record.Source->Value(record.SourceRow, i);
    }
    return record.Values.get();
}

QVariant* TDataSet::EditableValues(const TField& field)
{
    if (FFilterRecord || (FState != TDataSetState::Edit && FState != TDataSetState::Insert) || FCur < 0)
        throw ESystemError(QStringLiteral("数据集%1不在编辑状态，不能修改字段%2").arg(objectName(), field.FieldName()));
    return OwnValues(*FRows[static_cast<size_t>(FCur)]);
}

std::unique_ptr<QVariant[]> TDataSet::NewValues() const
{
    return std::make_unique<QVariant[]>(FFields.size());
}

// --- Rows ------------------------------------------------------------------------------------

void TDataSet::AddReadRecord(std::unique_ptr<QVariant[]> values)
{
    auto record = std::make_unique<TRecord>();
    record->Values = std::move(values);
    record->Id = FNextId++;
    FRecords.push_back(std::move(record));
}

void TDataSet::ClearRecords()
{
    FRows.clear();
    FRecords.clear();
    FSources.clear();
    FApplied.clear();
    FEditBackup.reset();
    FCur = -1;
    FBof = FEof = true;
}

bool TDataSet::Accepts(TRecord* record)
{
    if (!FFiltered || !FFilter) return true;
    FFilterRecord = record;
    struct TReset {
        TDataSet* ds;
        ~TReset() { ds->FFilterRecord = nullptr; }
    } reset{this};
    return FFilter(*this);
}

void TDataSet::RebuildRows()
{
    FRows.clear();
    FRows.reserve(FRecords.size());
    for (const auto& r : FRecords) {
        if (r->Status == TUpdateStatus::Deleted) continue;
        if (!Accepts(r.get())) continue;
        FRows.push_back(r.get());
    }
}

size_t TDataSet::PhysicalIndex(const TRecord* record) const
{
    for (size_t i = 0; i < FRecords.size(); ++i)
        if (FRecords[i].get() == record) return i;
    return FRecords.size();
}

void TDataSet::RemovePhysical(const TRecord* record)
{
    const size_t i = PhysicalIndex(record);
    if (i < FRecords.size()) FRecords.erase(FRecords.begin() + static_cast<std::ptrdiff_t>(i));
}

void TDataSet::MoveTo(int row, bool bof, bool eof)
{
    const int old = FCur;
    FCur = row;
    FBof = bof;
    FEof = eof;
    if (old != row) Notify(&TDataSet::CurrentRowChanged, row);
}

// Takes a visible row out of the view; the cursor stays on the same position (the next row), or
// on the new last row.
void TDataSet::RemoveRow(int row)
{
    Notify(&TDataSet::RowAboutToBeRemoved, row);
    FRows.erase(FRows.begin() + row);
    Notify(&TDataSet::RowRemoved, row);
    const int count = RecordCount();
    if (FCur > row) {
        MoveTo(FCur - 1, false, false);
    } else if (FCur == row) {
        FCur = std::min(row, count - 1);
        FBof = FEof = count == 0;
        Notify(&TDataSet::CurrentRowChanged, FCur);
    }
}

QVariant TDataSet::RowValue(int row, int fieldIndex) const
{
    if (row < 0 || row >= RecordCount() || fieldIndex < 0 || fieldIndex >= FieldCount()) return {};
    return CellValue(*FRows[static_cast<size_t>(row)], fieldIndex);
}

TUpdateStatus TDataSet::RowUpdateStatus(int row) const
{
    if (row < 0 || row >= RecordCount()) return TUpdateStatus::Unmodified;
    if (row == FCur && FState == TDataSetState::Insert) return TUpdateStatus::Inserted;
    return FRows[static_cast<size_t>(row)]->Status;
}

// --- Opening ---------------------------------------------------------------------------------

void TDataSet::SetActive(bool value)
{
    if (value == Active()) return;
    if (value) DoOpen();
    else DoClose();
}

void TDataSet::DoOpen()
{
    if (Active()) return;
    DoEvent(TDataSetEvent::BeforeOpen);
    ClearRecords();
    try {
        InternalOpen();
        RebuildRows();
    } catch (...) {
        ClearRecords();
        throw;
    }
    FModified = false;
    FCur = FRows.empty() ? -1 : 0;
    FBof = true;
    FEof = FRows.empty();
    SetState(TDataSetState::Browse);
    NotifyReset();
    DoEvent(TDataSetEvent::AfterOpen);
    if (!FRows.empty()) DoEvent(TDataSetEvent::AfterScroll);
}

void TDataSet::DoClose()
{
    if (!Active()) return;
    DoEvent(TDataSetEvent::BeforeClose);
    InternalClose();
    ClearRecords();
    FModified = false;
    FBof = FEof = true;
    SetState(TDataSetState::Inactive);
    NotifyReset();
    DoEvent(TDataSetEvent::AfterClose);
}

void TDataSet::Refresh()
{
    CheckActive();
    DoEvent(TDataSetEvent::BeforeRefresh);
    const int recNo = RecNo();
    DoClose();
    DoOpen();
    if (recNo > 1 && !IsEmpty()) MoveTo(std::min(recNo, RecordCount()) - 1, false, false);
    DoEvent(TDataSetEvent::AfterRefresh);
}

// --- Cursor ----------------------------------------------------------------------------------

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert) Post();
}

void TDataSet::First()
{
    CheckBrowseMode();
    DoEvent(TDataSetEvent::BeforeScroll);
    MoveTo(IsEmpty() ? -1 : 0, true, IsEmpty());
    DoEvent(TDataSetEvent::AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    DoEvent(TDataSetEvent::BeforeScroll);
    MoveTo(RecordCount() - 1, IsEmpty(), true);
    DoEvent(TDataSetEvent::AfterScroll);
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    DoEvent(TDataSetEvent::BeforeScroll);
    int moved = 0;
    const int count = RecordCount();
    if (count == 0) {
        FBof = FEof = true;
    } else if (distance > 0) {
        const int target = std::min(FCur + distance, count - 1);
        moved = target - FCur;
        MoveTo(target, false, moved < distance);
    } else if (distance < 0) {
        const int target = std::max(FCur + distance, 0);
        moved = target - FCur;
        MoveTo(target, moved > distance, false);
    }
    DoEvent(TDataSetEvent::AfterScroll);
    return moved;
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    if (IsEmpty()) return;
    const int row = std::clamp(recNo - 1, 0, RecordCount() - 1);
    if (row == FCur) return;
    DoEvent(TDataSetEvent::BeforeScroll);
    MoveTo(row, false, false);
    DoEvent(TDataSetEvent::AfterScroll);
}

std::vector<int> TDataSet::FieldIndexes(const QString& keyFields) const
{
    std::vector<int> result;
    for (const QString& name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        result.push_back(FieldByName(name.trimmed())->Index());
    if (result.empty()) throw ESystemError(QStringLiteral("没有指定关键字段"));
    return result;
}

QVariantList TDataSet::KeyList(const QVariant& keyValues, size_t count) const
{
    const bool isList = keyValues.metaType().id() == QMetaType::QVariantList ||
                        keyValues.metaType().id() == QMetaType::QStringList;
    QVariantList values = isList ? keyValues.toList() : QVariantList{keyValues};
    if (static_cast<size_t>(values.size()) != count) {
        if (count == 1 && isList) values = QVariantList{keyValues};
        else throw ESystemError(QStringLiteral("关键字段与取值的个数不一致"));
    }
    return values;
}

int TDataSet::FindRow(const std::vector<int>& fields, const QVariantList& values, bool caseInsensitive) const
{
    for (int row = 0; row < RecordCount(); ++row) {
        const TRecord& record = *FRows[static_cast<size_t>(row)];
        bool match = true;
        for (size_t i = 0; match && i < fields.size(); ++i)
            match = VariantsEqual(CellValue(record, fields[i]), values[static_cast<int>(i)], caseInsensitive);
        if (match) return row;
    }
    return -1;
}

bool TDataSet::Locate(const QString& keyFields, const QVariant& keyValues, bool caseInsensitive)
{
    CheckBrowseMode();
    const std::vector<int> fields = FieldIndexes(keyFields);
    const int row = FindRow(fields, KeyList(keyValues, fields.size()), caseInsensitive);
    if (row < 0) return false;
    DoEvent(TDataSetEvent::BeforeScroll);
    MoveTo(row, false, false);
    DoEvent(TDataSetEvent::AfterScroll);
    return true;
}

QVariant TDataSet::Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultField) const
{
    CheckActive();
    const std::vector<int> fields = FieldIndexes(keyFields);
    const std::vector<int> results = FieldIndexes(resultField);
    const int row = FindRow(fields, KeyList(keyValues, fields.size()), false);
    if (row < 0) return {};
    const TRecord& record = *FRows[static_cast<size_t>(row)];
    if (results.size() == 1) return CellValue(record, results[0]);
    QVariantList list;
    for (int f : results) list << CellValue(record, f);
    return list;
}

TDataSet::TBookmark TDataSet::GetBookmark() const
{
    return FCur >= 0 ? FRows[static_cast<size_t>(FCur)]->Id : 0;
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const
{
    if (bookmark == 0) return false;
    return std::any_of(FRows.begin(), FRows.end(), [bookmark](const TRecord* r) { return r->Id == bookmark; });
}

bool TDataSet::GotoBookmark(TBookmark bookmark)
{
    CheckBrowseMode();
    for (int row = 0; row < RecordCount(); ++row)
        if (FRows[static_cast<size_t>(row)]->Id == bookmark) {
            DoEvent(TDataSetEvent::BeforeScroll);
            MoveTo(row, false, false);
            DoEvent(TDataSetEvent::AfterScroll);
            return true;
        }
    return false;
}

// --- Editing ---------------------------------------------------------------------------------

void TDataSet::Edit()
{
    CheckActive();
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert) return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    DoEvent(TDataSetEvent::BeforeEdit);
    const QVariant* values = OwnValues(*FRows[static_cast<size_t>(FCur)]);
    FEditBackup = NewValues();
    for (int i = 0; i < FieldCount(); ++i) FEditBackup[i] = values[i];
    FModified = false;
    SetState(TDataSetState::Edit);
    DoEvent(TDataSetEvent::AfterEdit);
}

void TDataSet::Insert()
{
    InsertRecord(false);
}

void TDataSet::Append()
{
    InsertRecord(true);
}

void TDataSet::InsertRecord(bool append)
{
    CheckBrowseMode();
    DoEvent(TDataSetEvent::BeforeInsert);
    DoEvent(TDataSetEvent::BeforeScroll);
    auto record = std::make_unique<TRecord>();
    record->Values = NewValues();
    record->Id = FNextId++;
    TRecord* raw = record.get();
    int row = RecordCount();
    size_t physical = FRecords.size();
    if (!append && FCur >= 0) {
        row = FCur;
        physical = PhysicalIndex(FRows[static_cast<size_t>(FCur)]);
    }
    const int previous = FCur;
    Notify(&TDataSet::RowAboutToBeInserted, row);
    FRecords.insert(FRecords.begin() + static_cast<std::ptrdiff_t>(physical), std::move(record));
    FRows.insert(FRows.begin() + row, raw);
    Notify(&TDataSet::RowInserted, row);
    SetState(TDataSetState::Insert);
    FCur = -2;  // so that the move below always announces the new row
    MoveTo(row, false, false);
    try {
        DoEvent(TDataSetEvent::OnNewRecord);
    } catch (...) {
        RemoveRow(row);
        RemovePhysical(raw);
        SetState(TDataSetState::Browse);
        if (previous >= 0 && previous < RecordCount()) MoveTo(previous, false, false);
        throw;
    }
    FModified = false;
    DoEvent(TDataSetEvent::AfterInsert);
    DoEvent(TDataSetEvent::AfterScroll);
}

void TDataSet::Post()
{
    CheckActive();
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert) return;
    DoEvent(TDataSetEvent::BeforePost);
    TRecord* record = FRows[static_cast<size_t>(FCur)];
    if (FState == TDataSetState::Edit) {
        bool changed = false;
        for (int i = 0; !changed && i < FieldCount(); ++i)
            changed = !VariantsEqual(FEditBackup[i], record->Values[i]);
        if (changed) {
            if (FLogChanges && record->Status == TUpdateStatus::Unmodified) {
                record->Old = std::move(FEditBackup);
                record->Status = TUpdateStatus::Modified;
            }
            ++record->Serial;
        }
    } else {
        record->Status = FLogChanges ? TUpdateStatus::Inserted : TUpdateStatus::Unmodified;
        ++record->Serial;
    }
    FEditBackup.reset();
    FModified = false;
    SetState(TDataSetState::Browse);
    Notify(&TDataSet::RowChanged, FCur);
    if (!Accepts(record)) RemoveRow(FCur);
    DoEvent(TDataSetEvent::AfterPost);
}

void TDataSet::Cancel()
{
    CheckActive();
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert) return;
    DoEvent(TDataSetEvent::BeforeCancel);
    const bool inserting = FState == TDataSetState::Insert;
    if (inserting) DoEvent(TDataSetEvent::BeforeScroll);
    TRecord* record = FRows[static_cast<size_t>(FCur)];
    if (inserting) {
        SetState(TDataSetState::Browse);
        RemoveRow(FCur);
        RemovePhysical(record);
    } else {
        if (FEditBackup) record->Values = std::move(FEditBackup);
        SetState(TDataSetState::Browse);
        Notify(&TDataSet::RowChanged, FCur);
    }
    FEditBackup.reset();
    FModified = false;
    DoEvent(TDataSetEvent::AfterCancel);
    if (inserting) DoEvent(TDataSetEvent::AfterScroll);
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == TDataSetState::Insert) {
        Cancel();
        return;
    }
    if (IsEmpty()) throw ESystemError(QStringLiteral("数据集%1没有记录，不能删除").arg(objectName()));
    DoEvent(TDataSetEvent::BeforeDelete);
    DoEvent(TDataSetEvent::BeforeScroll);
    TRecord* record = FRows[static_cast<size_t>(FCur)];
    if (FState == TDataSetState::Edit) {
        // The edit is given up with the row.
        if (FEditBackup) record->Values = std::move(FEditBackup);
        FEditBackup.reset();
        FModified = false;
        SetState(TDataSetState::Browse);
    }
    const int row = FCur;
    if (!FLogChanges || record->Status == TUpdateStatus::Inserted) {
        RemoveRow(row);
        RemovePhysical(record);
    } else {
        record->Status = TUpdateStatus::Deleted;
        ++record->Serial;
        RemoveRow(row);
    }
    DoEvent(TDataSetEvent::AfterDelete);
    DoEvent(TDataSetEvent::AfterScroll);
}

void TDataSet::AppendRecord(const QVariantList& values)
{
    Append();
    const int n = std::min(static_cast<int>(values.size()), FieldCount());
    for (int i = 0; i < n; ++i) Fields(i)->SetValue(values[i]);
    Post();
}

void TDataSet::AppendRecords(std::shared_ptr<const TRecordSource> source)
{
    CheckBrowseMode();
    const int count = source ? source->Count() : 0;
    if (count <= 0) return;
    FSources.push_back(std::move(source));
    const TRecordSource* rows = FSources.back().get();
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<TRecord>();
        record->Source = rows;
        record->SourceRow = i;
        record->Id = FNextId++;
        record->Status = FLogChanges ? TUpdateStatus::Inserted : TUpdateStatus::Unmodified;
        ++record->Serial;
        TRecord* raw = record.get();
        FRecords.push_back(std::move(record));
        if (Accepts(raw)) FRows.push_back(raw);
    }
    FCur = RecordCount() - 1;
    FBof = FEof = RecordCount() == 0;
    NotifyReset();
}

// --- Pending changes -------------------------------------------------------------------------

bool TDataSet::UpdatesPending() const
{
    return std::any_of(FRecords.begin(), FRecords.end(),
                       [](const auto& r) { return r->Status != TUpdateStatus::Unmodified; });
}

int TDataSet::ChangeCount() const
{
    return static_cast<int>(std::count_if(FRecords.begin(), FRecords.end(),
                                          [](const auto& r) { return r->Status != TUpdateStatus::Unmodified; }));
}

TUpdateStatus TDataSet::UpdateStatus() const
{
    if (FCur < 0) return TUpdateStatus::Unmodified;
    return RowUpdateStatus(FCur);
}

TCompanyDM* TDataSet::Database() const
{
    return FDatabase ? FDatabase : TCompanyDM::Current();
}

namespace {
struct TPreparedUpdate {
    struct TBind {
        QString Placeholder;
        int Field;
        bool Old;
    };
    QSqlQuery Query;
    QString SQL;
    std::vector<TBind> Binds;
    bool Prepared = false;
};

// Consecutive new rows written by one statement of many rows (see TInsertRows).
class TInsertBatch {
public:
    TInsertBatch(const TDataSet& dataSet, TCompanyDM& dm, const QString& insertSQL) : FDM(dm)
    {
        FRows = ParseInsertRows(insertSQL);
        if (!FRows.Valid() || FRows.Params.isEmpty()) return;
        for (const QString& name : std::as_const(FRows.Params)) {
            const bool old = name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive);
            const TField* field = dataSet.FindField(old ? name.mid(4) : name);
            if (!field) return;  // the one-row path reports it
            FBinds.push_back({field->Index(), old});
        }
        // Well under the engines' limits on parameters per statement.
        FMaxRows = std::clamp(4000 / int(FBinds.size()), 1, 100);
    }
    bool Usable() const { return FMaxRows > 1; }
    int MaxRows() const { return FMaxRows; }

    template <typename TRecordPtr, typename TValueOf>
    void Insert(TRecordPtr* records, int count, const TValueOf& valueOf)
    {
        if (FPlaceholders.isEmpty())
            for (int r = 0; r < FMaxRows; ++r)
                for (int k = 0; k < int(FBinds.size()); ++k) FPlaceholders << TInsertRows::Placeholder(r, k);
        auto it = FQueries.find(count);
        if (it == FQueries.end()) {
            QSqlQuery q(FDM.dbCLM());
            const QString sql = FRows.SQL(count);
            FDM.PrepareQuery(q, sql);
            it = FQueries.emplace(count, std::make_pair(q, sql)).first;
        }
        QSqlQuery& q = it->second.first;
        int position = 0;
        // Named: Qt makes a name of every position bound by number.
        for (int r = 0; r < count; ++r)
            for (const TBind& b : FBinds)
                q.bindValue(FPlaceholders[position++], ToDbValue(valueOf(records[r], b.Field, b.Old)));
        FDM.ExecPrepared(q, it->second.second);
    }

private:
    struct TBind {
        int Field;
        bool Old;
    };
    TCompanyDM& FDM;
    TInsertRows FRows;
    std::vector<TBind> FBinds;
    QStringList FPlaceholders;  // row by row
    int FMaxRows = 0;
    std::map<int, std::pair<QSqlQuery, QString>> FQueries;  // by number of rows
};

const char* KindName(TUpdateKind kind)
{
    switch (kind) {
    case TUpdateKind::Modify: return "修改";
    case TUpdateKind::Insert: return "插入";
    case TUpdateKind::Delete: return "删除";
    }
    return "";
}
} // namespace

void TDataSet::ApplyUpdates()
{
    CheckBrowseMode();
    // Rows already written in the open transaction are not written twice.
    auto applied = [this](const TRecord* r) {
        const auto it = FApplied.find(r->Id);
        return it != FApplied.end() && it->second == r->Serial;
    };
    std::vector<TRecord*> work;
    for (const auto& r : FRecords)
        if (r->Status == TUpdateStatus::Deleted && !applied(r.get())) work.push_back(r.get());
    for (const auto& r : FRecords)
        if ((r->Status == TUpdateStatus::Modified || r->Status == TUpdateStatus::Inserted) && !applied(r.get()))
            work.push_back(r.get());
    if (work.empty()) return;
    if (!FUpdateObject) throw ESystemError(QStringLiteral("数据集%1没有更新语句，不能保存").arg(objectName()));
    TCompanyDM* dm = Database();
    if (!dm) throw ESystemError(QStringLiteral("数据库没有连接！"));

    TTransactionGuard guard(*dm);
    TPreparedUpdate statements[3];
    const auto valueOf = [this](const TRecord* record, int field, bool old) -> QVariant {
        if (!old) return CellValue(*record, field);
        if (record->Old) return record->Old[field];
        if (record->Status != TUpdateStatus::Inserted) return CellValue(*record, field);
        return {};
    };
    TInsertBatch batch(*this, *dm, FUpdateObject->SQL(TUpdateKind::Insert));
    for (size_t w = 0; w < work.size(); ++w) {
        TRecord* record = work[w];
        if (record->Status == TUpdateStatus::Inserted && batch.Usable()) {
            size_t count = 1;
            while (count < size_t(batch.MaxRows()) && w + count < work.size() &&
                   work[w + count]->Status == TUpdateStatus::Inserted)
                ++count;
            if (count > 1) {
                batch.Insert(work.data() + w, int(count), valueOf);
                w += count - 1;
                continue;
            }
        }
        const TUpdateKind kind = record->Status == TUpdateStatus::Deleted    ? TUpdateKind::Delete
                                 : record->Status == TUpdateStatus::Inserted ? TUpdateKind::Insert
                                                                             : TUpdateKind::Modify;
        TPreparedUpdate& st = statements[static_cast<int>(kind)];
        if (!st.Prepared) {
            st.SQL = FUpdateObject->SQL(kind);
            if (st.SQL.trimmed().isEmpty())
                throw ESystemError(QStringLiteral("数据集%1没有%2语句，不能保存")
                                       .arg(objectName(), QString::fromUtf8(KindName(kind))));
            for (const QString& name : ParseSqlParams(st.SQL)) {
                const bool old = name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive);
                const TField* field = FindField(old ? name.mid(4) : name);
                if (!field) throw ESystemError(QStringLiteral("更新语句的参数%1没有对应的字段").arg(name));
                st.Binds.push_back({QLatin1Char(':') + name, field->Index(), old});
            }
            st.Query = QSqlQuery(dm->dbCLM());
            dm->PrepareQuery(st.Query, st.SQL);
            st.Prepared = true;
        }
        for (const auto& bind : st.Binds) st.Query.bindValue(bind.Placeholder, ToDbValue(valueOf(record, bind.Field, bind.Old)));
        dm->ExecPrepared(st.Query, st.SQL);
        if (kind != TUpdateKind::Insert) {
            const int rows = st.Query.numRowsAffected();
            if (rows == 0)
                throw EDatabaseError(TDbErrorKind::RecordNotFound, QStringLiteral("记录已被删除或修改！"), st.SQL);
            if (rows > 1)
                throw EDatabaseError(TDbErrorKind::Other,
                                     QStringLiteral("一次修改涉及%1条记录，数据没有保存！").arg(rows), st.SQL);
        }
    }
    for (const TRecord* record : work) FApplied[record->Id] = record->Serial;
    if (!FAppliedHooked) {
        FAppliedHooked = true;
        QPointer<TDataSet> self(this);
        dm->OnTransactionEnd([self](bool committed) {
            if (self) self->TransactionEnded(committed);
        });
    }
    guard.Commit();
}

void TDataSet::TransactionEnded(bool committed)
{
    FAppliedHooked = false;
    if (committed && !FApplied.empty()) {
        for (auto& r : FRecords) {
            const auto it = FApplied.find(r->Id);
            if (it == FApplied.end() || it->second != r->Serial) continue;
            if (r->Status != TUpdateStatus::Deleted) {
                r->Status = TUpdateStatus::Unmodified;
                r->Old.reset();
            }
        }
        // Deleted rows that were written are gone for good.
        FRecords.erase(std::remove_if(FRecords.begin(), FRecords.end(),
                                      [this](const std::unique_ptr<TRecord>& r) {
                                          if (r->Status != TUpdateStatus::Deleted) return false;
                                          const auto it = FApplied.find(r->Id);
                                          return it != FApplied.end() && it->second == r->Serial;
                                      }),
                       FRecords.end());
    }
    FApplied.clear();
}

void TDataSet::CommitUpdates()
{
    for (auto& r : FRecords) {
        if (r->Status == TUpdateStatus::Deleted) continue;
        r->Status = TUpdateStatus::Unmodified;
        r->Old.reset();
    }
    FRecords.erase(std::remove_if(FRecords.begin(), FRecords.end(),
                                  [](const std::unique_ptr<TRecord>& r) { return r->Status == TUpdateStatus::Deleted; }),
                   FRecords.end());
    FApplied.clear();
}

void TDataSet::CancelUpdates()
{
    if (!Active()) return;
    Cancel();
    const TRecord* current = FCur >= 0 ? FRows[static_cast<size_t>(FCur)] : nullptr;
    FRecords.erase(std::remove_if(FRecords.begin(), FRecords.end(),
                                  [&current](const std::unique_ptr<TRecord>& r) {
                                      if (r->Status != TUpdateStatus::Inserted) return false;
                                      if (r.get() == current) current = nullptr;
                                      return true;
                                  }),
                   FRecords.end());
    for (auto& r : FRecords) {
        if (r->Old) r->Values = std::move(r->Old);
        r->Old.reset();
        r->Status = TUpdateStatus::Unmodified;
        ++r->Serial;
    }
    FApplied.clear();
    RebuildRows();
    FCur = -1;
    for (int row = 0; current && row < RecordCount(); ++row)
        if (FRows[static_cast<size_t>(row)] == current) FCur = row;
    if (FCur < 0 && !IsEmpty()) FCur = 0;
    FBof = FCur <= 0;
    FEof = IsEmpty();
    NotifyReset();
}

// --- Filter ----------------------------------------------------------------------------------

void TDataSet::SetFilter(TFilterRecordEvent filter)
{
    FFilter = std::move(filter);
    if (FFiltered) Refilter();
}

void TDataSet::SetFiltered(bool value)
{
    if (FFiltered == value) return;
    FFiltered = value;
    Refilter();
}

void TDataSet::Refilter()
{
    if (!Active()) return;
    CheckBrowseMode();
    DoEvent(TDataSetEvent::BeforeScroll);
    RebuildRows();
    FCur = IsEmpty() ? -1 : 0;
    FBof = true;
    FEof = IsEmpty();
    NotifyReset();
    DoEvent(TDataSetEvent::AfterScroll);
}

// ---------------------------------------------------------------------------------------------
// TMemTable

TMemTable::TMemTable(QObject* parent) : TDataSet(parent)
{
    SetLogChanges(false);
}

void TMemTable::AddFieldDef(const QString& name, TFieldType type, int size)
{
    FDefs.push_back({name, type, size});
}

void TMemTable::CopyStructure(const TDataSet& source)
{
    FDefs.clear();
    const bool declared = qobject_cast<const TMemTable*>(&source) != nullptr;
    for (int i = 0; i < source.FieldCount(); ++i) {
        const TField* f = source.Fields(i);
        // A query's text columns may be the driver's guess (SQLite reports declared types it does
        // not know as text): their values are kept as they come.
        const TFieldType type = !declared && f->DataType() == TFieldType::String ? TFieldType::Unknown : f->DataType();
        FDefs.push_back({f->FieldName(), type, f->Size()});
    }
}

void TMemTable::InternalOpen()
{
    DefineFields(FDefs, true);
}

void TMemTable::EmptyDataSet()
{
    CheckActive();
    Cancel();
    ClearRecords();
    NotifyReset();
}
