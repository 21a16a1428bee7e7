#pragma once
// Data sets: rows read by a select (TQuery, SqlQuery.h) or kept in memory (TMemTable), a cursor over
// them, editing with the changes kept pending per row until they are written through an update
// object, a row filter, and the named events that windows hook.
//
// Rows are held as read; a changed row keeps a copy of its values as read, so the write statements
// can address it by its old key ("OLD_" parameters). Pending changes are written by ApplyUpdates
// inside the connection's transaction and stop being pending only when that transaction commits.
#include "foundation/Method.h"
#include "foundation/Types.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class TCompanyDM;
class TDataSet;
class TUpdateSQL;

// The handler type of every data-set event: called with the data set.
using TDataSetNotifyEvent = TMethod<void(TDataSet* DataSet)>;
// The row filter: runs with the data set positioned on the candidate row (fields read that row);
// true keeps the row.
using TFilterRecordEvent = std::function<bool(TDataSet& DataSet)>;

enum class TDataSetState { Inactive, Browse, Edit, Insert };
enum class TUpdateStatus : quint8 { Unmodified, Modified, Inserted, Deleted };
enum class TUpdateKind { Modify, Insert, Delete };
enum class TFieldType { Unknown, Integer, Float, String, Boolean, Date, Time, DateTime, Blob };

// The events a data set raises, by the names windows hook them with. A Before... handler that
// throws refuses the operation. Navigation (First, Next, Locate, ...), Insert/Append, Delete and
// a cancelled insertion raise BeforeScroll and AfterScroll, opening a non-empty data set
// AfterScroll; moving off a row being edited posts it first.
enum class TDataSetEvent {
    BeforeOpen, AfterOpen, BeforeClose, AfterClose,
    BeforeInsert, AfterInsert, BeforeEdit, AfterEdit,
    BeforePost, AfterPost, BeforeCancel, AfterCancel,
    BeforeDelete, AfterDelete, BeforeScroll, AfterScroll,
    OnNewRecord, BeforeRefresh, AfterRefresh,
};
inline constexpr int DataSetEventCount = static_cast<int>(TDataSetEvent::AfterRefresh) + 1;

QString DataSetEventName(TDataSetEvent event);
// Event names compare ignoring case ("afterpost" finds AfterPost).
bool FindDataSetEvent(const QString& name, TDataSetEvent& event);

// Equality of stored values across the types the drivers hand back: numbers by value (1 equals
// 1.0 and the text "1"), date-times by moment (also against their stored text), NULL only NULL.
bool VariantsEqual(const QVariant& a, const QVariant& b, bool caseInsensitive = false);

// The names of the ":Name" parameters of a statement, in order, each once (case-insensitive);
// quoted text and "::" casts are skipped.
QStringList ParseSqlParams(const QString& sql);

// The write statements of a data set's pending changes. A parameter named like a field takes the
// row's value; one named "OLD_" + field takes the value as read.
class TUpdateSQL : public QObject {
    Q_OBJECT
public:
    explicit TUpdateSQL(QObject* parent = nullptr) : QObject(parent) {}
    const QString& ModifySQL() const { return FSQL[0]; }
    const QString& InsertSQL() const { return FSQL[1]; }
    const QString& DeleteSQL() const { return FSQL[2]; }
    void SetModifySQL(const QString& sql) { FSQL[0] = sql; }
    void SetInsertSQL(const QString& sql) { FSQL[1] = sql; }
    void SetDeleteSQL(const QString& sql) { FSQL[2] = sql; }
    // Statements given as consecutive lines of one text.
    void SetModifySQL(const QStringList& lines) { FSQL[0] = lines.join(QLatin1Char('\n')); }
    void SetInsertSQL(const QStringList& lines) { FSQL[1] = lines.join(QLatin1Char('\n')); }
    void SetDeleteSQL(const QStringList& lines) { FSQL[2] = lines.join(QLatin1Char('\n')); }
    const QString& SQL(TUpdateKind kind) const { return FSQL[static_cast<int>(kind)]; }
    void SetSQL(TUpdateKind kind, const QString& sql) { FSQL[static_cast<int>(kind)] = sql; }

private:
    QString FSQL[3];
};

struct TFieldDef {
    QString Name;
    TFieldType DataType = TFieldType::String;
    int Size = 0;  // strings: the most characters kept (0: no limit)
};

// One column of a data set; reads and writes the current row (or the row a filter is looking at).
class TField {
public:
    TDataSet* DataSet() const { return FDataSet; }
    const QString& FieldName() const { return FFieldName; }
    int Index() const { return FIndex; }
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FSize; }
    QString DisplayLabel() const { return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const QString& label) { FDisplayLabel = label; }

    // NULL reads as an invalid (null) variant.
    QVariant Value() const;
    // Needs the data set in edit or insert state. NullValue and empty variants store NULL.
    void SetValue(const QVariant& value);
    // The value as read from the database (the current value for unchanged rows, NULL for new rows).
    QVariant OldValue() const;
    bool IsNull() const;
    void Clear() { SetValue(QVariant()); }

    // NULL reads as NullValue.
    int AsInteger() const;
    void SetAsInteger(int value) { SetValue(value); }
    double AsFloat() const;
    void SetAsFloat(double value) { SetValue(value); }
    // NULL reads as empty text; empty text stores NULL.
    QString AsString() const;
    void SetAsString(const QString& value);
    // Invalid when NULL or not a date-time.
    QDateTime AsDateTime() const;
    void SetAsDateTime(const QDateTime& value) { SetValue(value); }
    bool AsBoolean() const;
    void SetAsBoolean(bool value) { SetValue(value); }

    // The text a grid shows: numbers "0.####", date-times "yyyy-MM-dd hh:mm:ss", NULL empty.
    QString DisplayText() const;

private:
    friend class TDataSet;
    TField(TDataSet* dataSet, int index, const TFieldDef& def, bool strict);
    QVariant Converted(const QVariant& value) const;

    TDataSet* FDataSet;
    int FIndex;
    QString FFieldName;
    TFieldType FDataType;
    int FSize;
    bool FStrict;  // declared type: assigned values are converted to it
    QString FDisplayLabel;
};

// The text a grid shows for a stored value (see TField::DisplayText).
QString DisplayTextOf(const QVariant& value);

// Rows kept by their maker in a compact form of its own and read through it, for data sets that
// take many rows at once (the chart judge hands over a hundred thousand exception rows). It must
// not change once handed over.
class TRecordSource {
public:
    virtual ~TRecordSource() = default;
    virtual int Count() const = 0;
    // The value of the field with that index in the row, already of the field's type.
    virtual QVariant Value(int row, int fieldIndex) const = 0;
};

class TDataSet : public QObject {
    Q_OBJECT
public:
    using TBookmark = quint32;  // 0: none

    explicit TDataSet(QObject* parent = nullptr);
    ~TDataSet() override;

    // --- Opening ------------------------------------------------------------------------------
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    bool Active() const { return FState != TDataSetState::Inactive; }
    virtual void SetActive(bool value);
    // Closes and opens again whatever the activation count (with the open and close events),
    // keeping the current row number. Pending changes are discarded.
    void Refresh();
    TDataSetState State() const { return FState; }

    // --- Fields -------------------------------------------------------------------------------
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int index) const { return FFields[static_cast<size_t>(index)].get(); }
    QStringList FieldNames() const;
    // Names compare ignoring case. FindField gives nullptr, FieldByName fails for an unknown name.
    TField* FindField(const QString& name) const;
    TField* FieldByName(const QString& name) const;
    QVariant Value(const QString& fieldName) const { return FieldByName(fieldName)->Value(); }
    void SetValue(const QString& fieldName, const QVariant& value) { FieldByName(fieldName)->SetValue(value); }

    // --- Cursor (over the rows the filter lets through) ----------------------------------------
    int RecordCount() const { return static_cast<int>(FRows.size()); }
    bool IsEmpty() const { return FRows.empty(); }
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    // 1-based; -1 when there is no current row.
    int RecNo() const { return FCur >= 0 ? FCur + 1 : -1; }
    void SetRecNo(int recNo);
    // Moves to the first row whose key fields ("CID;SN") hold the values (one value, or a list with
    // one value per field). False leaves the cursor where it was.
    bool Locate(const QString& keyFields, const QVariant& keyValues, bool caseInsensitive = false);
    // The result field's value of the first row matching the key, without moving; null when none.
    QVariant Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultField) const;
    TBookmark GetBookmark() const;
    bool BookmarkValid(TBookmark bookmark) const;
    bool GotoBookmark(TBookmark bookmark);

    // --- Editing ------------------------------------------------------------------------------
    // Edit on an empty data set inserts, as the grids expect.
    void Edit();
    void Insert();  // before the current row
    void Append();  // after the last row
    void Post();    // nothing to do in browse state
    void Cancel();
    void Delete();
    // Append, assign the values to the fields in order (missing ones stay NULL), Post.
    void AppendRecord(const QVariantList& values);
    // Appends the source's rows at the end as pending insertions in one step, without the events
    // of one row at a time. The rows read their values from the source until they are edited. The
    // views are told once; the last new row becomes the current one.
    void AppendRecords(std::shared_ptr<const TRecordSource> source);
    // A field was assigned since Edit, Insert or Append.
    bool Modified() const { return FModified; }

    // --- Pending changes ----------------------------------------------------------------------
    // Whether posts and deletions are kept as pending changes (queries) or are final (memory tables).
    bool LogChanges() const { return FLogChanges; }
    void SetLogChanges(bool value) { FLogChanges = value; }
    bool UpdatesPending() const;
    int ChangeCount() const;
    TUpdateStatus UpdateStatus() const;
    TUpdateSQL* UpdateObject() const { return FUpdateObject; }
    void SetUpdateObject(TUpdateSQL* updateObject) { FUpdateObject = updateObject; }
    // The connection the changes are written to (nullptr: the current one).
    TCompanyDM* Database() const;
    void SetDatabase(TCompanyDM* dm) { FDatabase = dm; }
    // Posts a row being edited, then writes every pending change with the update object's
    // statements: deletions first, then modifications and insertions in row order. Runs inside
    // the connection's open transaction (or a transaction of its own when none is open). The
    // changes stay pending until that transaction commits; after a roll-back they are still
    // pending and can be written again. A modification or deletion that does not find exactly one
    // row fails with EDatabaseError (TDbErrorKind::RecordNotFound when it found none).
    void ApplyUpdates();
    // Takes every pending change as written.
    void CommitUpdates();
    // Puts every row back as it was read: new rows go, changed rows get their old values, deleted
    // rows come back. A row being edited is cancelled first.
    void CancelUpdates();

    // --- Filter -------------------------------------------------------------------------------
    void SetFilter(TFilterRecordEvent filter);
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool value);
    // Evaluates the filter again (after the values it compares with have changed).
    void Refilter();

    // --- Events and the display ---------------------------------------------------------------
    const TDataSetNotifyEvent& Event(TDataSetEvent event) const { return FEvents[static_cast<int>(event)]; }
    void SetEvent(TDataSetEvent event, const TDataSetNotifyEvent& handler) { FEvents[static_cast<int>(event)] = handler; }
    // By name, as the event manager hooks them; unknown names fail.
    TDataSetNotifyEvent EventByName(const QString& name) const;
    void SetEventByName(const QString& name, const TDataSetNotifyEvent& handler);

    // While disabled (counted), views and linked detail data sets do not follow the data set;
    // enabling it again tells them everything changed.
    void DisableControls() { ++FDisableCount; }
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // --- Row access for views (0-based visible rows, no cursor move) ---------------------------
    QVariant RowValue(int row, int fieldIndex) const;
    TUpdateStatus RowUpdateStatus(int row) const;
    // The visible row of the cursor, -1 when none.
    int CurrentRow() const { return FCur; }

signals:
    // Rows replaced wholesale (open, close, filter, pending changes cancelled, controls enabled).
    void DataSetChanged();
    void RowAboutToBeInserted(int row);
    void RowInserted(int row);
    void RowAboutToBeRemoved(int row);
    void RowRemoved(int row);
    // Values of a visible row changed.
    void RowChanged(int row);
    void CurrentRowChanged(int row);
    void StateChanged();

protected:
    struct TRecord {
        std::unique_ptr<QVariant[]> Values;  // null while the row reads from its source
        std::unique_ptr<QVariant[]> Old;  // the values as read, once a read row has changed
        const TRecordSource* Source = nullptr;
        int SourceRow = 0;
        quint32 Id = 0;
        quint32 Serial = 0;               // grows with every change; a commit compares it
        TUpdateStatus Status = TUpdateStatus::Unmodified;
    };

    // Subclasses fill the rows (and define the fields) here, and release what they hold.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() {}

    // The field layout; existing TField objects are kept when names and count stay the same.
    void DefineFields(const std::vector<TFieldDef>& defs, bool strict);
    // Adds a row read from the source; values has FieldCount() entries.
    void AddReadRecord(std::unique_ptr<QVariant[]> values);
    void ReserveRecords(size_t count) { FRecords.reserve(count); }
    // Drops every row without events (the rows of an open data set are emptied).
    void ClearRecords();
    // Sets the type of a field whose type the source left open.
    void RefineFieldType(int index, TFieldType type);

    // The real open and close with their events, whatever an activation count says.
    void DoOpen();
    void DoClose();
    void CheckActive() const;
    // Posts a row being edited.
    void CheckBrowseMode();
    void DoEvent(TDataSetEvent event);
    void Notify(void (TDataSet::*signal)(int), int row);
    void NotifyReset();
    // Called on a detail when its master's current row or that row's values may have changed.
    virtual void MasterRecordChanged() {}
    void AddDetail(TDataSet* detail);
    void RemoveDetail(TDataSet* detail);

private:
    friend class TField;
    friend class TQuery;  // links itself to its master
    const TRecord* ActiveRecord() const;
    QVariant CellValue(const TRecord& record, int fieldIndex) const;
    // The row's own values, copied from its source first if need be.
    QVariant* OwnValues(TRecord& record);
    QVariant* EditableValues(const TField& field);
    std::unique_ptr<QVariant[]> NewValues() const;
    bool Accepts(TRecord* record);
    void RebuildRows();
    void MoveTo(int row, bool bof, bool eof);
    void SetState(TDataSetState state);
    void InsertRecord(bool append);
    void RemoveRow(int row);
    size_t PhysicalIndex(const TRecord* record) const;
    void RemovePhysical(const TRecord* record);
    std::vector<int> FieldIndexes(const QString& keyFields) const;
    QVariantList KeyList(const QVariant& keyValues, size_t count) const;
    int FindRow(const std::vector<int>& fields, const QVariantList& values, bool caseInsensitive) const;
    void TransactionEnded(bool committed);
    void NotifyDetails();

    std::vector<std::unique_ptr<TField>> FFields;
    QHash<QString, int> FFieldIndex;  // lower-case name → index
    std::vector<std::unique_ptr<TRecord>> FRecords;  // every row in order, deleted ones included
    std::vector<TRecord*> FRows;                      // the visible rows
    std::vector<std::shared_ptr<const TRecordSource>> FSources;  // of the rows appended in bulk
    int FCur = -1;
    bool FBof = true;
    bool FEof = true;
    TDataSetState FState = TDataSetState::Inactive;
    std::unique_ptr<QVariant[]> FEditBackup;  // values of the row when Edit began
    bool FModified = false;
    const TRecord* FFilterRecord = nullptr;  // the row a filter is evaluating
    quint32 FNextId = 1;
    bool FLogChanges = true;
    TUpdateSQL* FUpdateObject = nullptr;
    TCompanyDM* FDatabase = nullptr;
    // Rows written in the open transaction (id → serial), taken as written when it commits.
    std::unordered_map<quint32, quint32> FApplied;
    bool FAppliedHooked = false;
    TFilterRecordEvent FFilter;
    bool FFiltered = false;
    TDataSetNotifyEvent FEvents[DataSetEventCount];
    int FDisableCount = 0;
    std::vector<QPointer<TDataSet>> FDetails;
};

// A table held in memory only (the windows' working rows): the fields are defined by the window,
// rows are final when posted unless LogChanges is switched on.
class TMemTable : public TDataSet {
    Q_OBJECT
public:
    explicit TMemTable(QObject* parent = nullptr);

    void AddFieldDef(const QString& name, TFieldType type, int size = 0);
    void ClearFieldDefs() { FDefs.clear(); }
    const std::vector<TFieldDef>& FieldDefs() const { return FDefs; }
    // The field definitions of another data set.
    void CopyStructure(const TDataSet& source);
    // Opens the table empty with the defined fields.
    void CreateDataSet() { Close(); Open(); }
    // Removes every row; nothing becomes pending.
    void EmptyDataSet();

protected:
    void InternalOpen() override;

private:
    std::vector<TFieldDef> FDefs;
};
