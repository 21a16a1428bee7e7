#include "component/DataSetModel.h"

#include "foundation/Errors.h"
#include "foundation/MessageService.h"

#include <QBrush>

TDataSetModel::TDataSetModel(QObject* parent) : QAbstractTableModel(parent)
{
}

TDataSetModel::TDataSetModel(TDataSet* dataSet, QObject* parent) : QAbstractTableModel(parent)
{
    SetDataSet(dataSet);
}

void TDataSetModel::SetDataSet(TDataSet* dataSet)
{
    for (const auto& c : FConnections) disconnect(c);
    FConnections.clear();
    FDataSet = dataSet;
    if (dataSet) {
        FConnections << connect(dataSet, &TDataSet::DataSetChanged, this, &TDataSetModel::Reset);
        FConnections << connect(dataSet, &TDataSet::RowAboutToBeInserted, this,
                                [this](int row) { beginInsertRows(QModelIndex(), row, row); });
        FConnections << connect(dataSet, &TDataSet::RowInserted, this, [this](int) {
            ++FRowCount;
            endInsertRows();
        });
        FConnections << connect(dataSet, &TDataSet::RowAboutToBeRemoved, this,
                                [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
        FConnections << connect(dataSet, &TDataSet::RowRemoved, this, [this](int) {
            --FRowCount;
            endRemoveRows();
        });
        FConnections << connect(dataSet, &TDataSet::RowChanged, this, [this](int row) {
            if (row >= 0 && row < FRowCount && columnCount() > 0)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        FConnections << connect(dataSet, &TDataSet::CurrentRowChanged, this, &TDataSetModel::CurrentRowChanged);
    }
    Reset();
}

void TDataSetModel::Reset()
{
    beginResetModel();
    FResolved = false;
    FRowCount = FDataSet && FDataSet->Active() ? FDataSet->RecordCount() : 0;
    endResetModel();
}

TGridColumn& TDataSetModel::AddColumn(const QString& fieldName, const QString& title, bool readOnly)
{
    beginResetModel();
    FColumns.push_back({fieldName, title, readOnly, false, {}});
    FResolved = false;
    endResetModel();
    return FColumns.back();
}

TGridColumn& TDataSetModel::AddCheckBoxColumn(const QString& fieldName, const QString& title)
{
    TGridColumn& c = AddColumn(fieldName, title);
    c.CheckBox = true;
    return c;
}

void TDataSetModel::ClearColumns()
{
    beginResetModel();
    FColumns.clear();
    FResolved = false;
    endResetModel();
}

void TDataSetModel::ResolveFields() const
{
    if (FResolved) return;
    FFieldIndexes.clear();
    FAutoColumns.clear();
    if (FColumns.empty() && FDataSet) {
        for (int i = 0; i < FDataSet->FieldCount(); ++i) {
            const QString name = FDataSet->Fields(i)->FieldName();
            FAutoColumns.push_back({name, name, false, false, {}});
        }
    }
    const auto& columns = FColumns.empty() ? FAutoColumns : FColumns;
    for (const TGridColumn& c : columns) {
        const TField* f = FDataSet ? FDataSet->FindField(c.FieldName) : nullptr;
        FFieldIndexes.push_back(f ? f->Index() : -1);
    }
    FResolved = true;
}

const TGridColumn* TDataSetModel::ColumnAt(int column) const
{
    ResolveFields();
    const auto& columns = FColumns.empty() ? FAutoColumns : FColumns;
    if (column < 0 || column >= static_cast<int>(columns.size())) return nullptr;
    return &columns[static_cast<size_t>(column)];
}

int TDataSetModel::FieldIndex(int column) const
{
    ResolveFields();
    if (column < 0 || column >= static_cast<int>(FFieldIndexes.size())) return -1;
    return FFieldIndexes[static_cast<size_t>(column)];
}

int TDataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FRowCount;
}

int TDataSetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid()) return 0;
    ResolveFields();
    return static_cast<int>(FFieldIndexes.size());
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !FDataSet || index.row() >= FDataSet->RecordCount()) return {};
    const TGridColumn* column = ColumnAt(index.column());
    if (!column) return {};
    const int row = index.row();
    const int field = FieldIndex(index.column());
    const QVariant value = field >= 0 ? FDataSet->RowValue(row, field) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        if (column->CheckBox) return {};
        return column->Display ? column->Display(row, value) : DisplayTextOf(value);
    case Qt::EditRole:
        return value;
    case Qt::CheckStateRole:
        if (!column->CheckBox) return {};
        return VariantToInt(value) == 1 ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
        if (FRowColor) {
            const QColor color = FRowColor(row);
            if (color.isValid()) return QBrush(color);
        }
        return {};
    case Qt::TextAlignmentRole: {
        const int id = value.metaType().id();
        const bool number = id == QMetaType::Int || id == QMetaType::LongLong || id == QMetaType::Double ||
                            id == QMetaType::Float;
        return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const TGridColumn* column = ColumnAt(index.column());
    if (!column || FReadOnly || column->ReadOnly || FieldIndex(index.column()) < 0) return f;
    if (column->CheckBox) return f | Qt::ItemIsUserCheckable;
    return f | Qt::ItemIsEditable;
}

bool TDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !FDataSet || !FDataSet->Active() || index.row() >= FDataSet->RecordCount()) return false;
    const TGridColumn* column = ColumnAt(index.column());
    const int field = FieldIndex(index.column());
    if (!column || field < 0 || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable))) return false;
    QVariant stored;
    if (column->CheckBox) {
        if (role != Qt::CheckStateRole && role != Qt::EditRole) return false;
        const bool ticked = role == Qt::CheckStateRole ? value.toInt() == Qt::Checked : VariantToInt(value) == 1;
        stored = ticked ? 1 : 0;
    } else {
        if (role != Qt::EditRole) return false;
        stored = value;
    }
    // Errors cannot travel through the view's event handling: they are shown here and the cell
    // keeps its old content.
    try {
        FDataSet->SetRecNo(index.row() + 1);
        FDataSet->Edit();
        FDataSet->Fields(field)->SetValue(stored);
        if (FAutoPost) FDataSet->Post();
    } catch (const std::exception& e) {
        ShowException(e);
        return false;
    }
    return true;
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const TGridColumn* column = ColumnAt(section);
        return column ? QVariant(column->Title) : QVariant();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
