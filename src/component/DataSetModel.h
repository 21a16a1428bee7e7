#pragma once
// A table model over a data set for the grids: the window chooses and titles the columns, marks
// read-only columns and tick-box columns (storing 1 when ticked, 0 otherwise) and may colour rows.
// The model follows the data set's rows as they are inserted, removed, changed and filtered.
#include "foundation/DataSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <deque>
#include <functional>

struct TGridColumn {
    QString FieldName;
    QString Title;
    bool ReadOnly = false;
    bool CheckBox = false;
    // The text shown for a value (default: DisplayTextOf, numbers "0.####").
    std::function<QString(int row, const QVariant& value)> Display;
};

class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDataSetModel(QObject* parent = nullptr);
    explicit TDataSetModel(TDataSet* dataSet, QObject* parent = nullptr);

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* dataSet);

    // Columns in the order added; without any, every field is shown under its name.
    TGridColumn& AddColumn(const QString& fieldName, const QString& title, bool readOnly = false);
    TGridColumn& AddCheckBoxColumn(const QString& fieldName, const QString& title);
    void ClearColumns();
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    TGridColumn& Column(int index) { return FColumns[static_cast<size_t>(index)]; }

    // A read-only grid edits nothing, tick boxes included.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // Posts the row after every cell written through the model (otherwise the row stays in edit
    // until the cursor leaves it, as in the grids of the data-entry windows).
    void SetAutoPost(bool value) { FAutoPost = value; }
    // The background of a row; an invalid colour leaves the view's own.
    void SetRowColor(std::function<QColor(int row)> color) { FRowColor = std::move(color); }

    // The field shown in a column, or -1.
    int FieldIndex(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The data set's cursor moved to this row (-1: none); a view selects it.
    void CurrentRowChanged(int row);

private:
    void Reset();
    void ResolveFields() const;
    const TGridColumn* ColumnAt(int column) const;

    QPointer<TDataSet> FDataSet;
    std::deque<TGridColumn> FColumns;
    mutable std::vector<int> FFieldIndexes;
    mutable std::deque<TGridColumn> FAutoColumns;  // every field, when no columns were chosen
    mutable bool FResolved = false;
    int FRowCount = 0;
    bool FReadOnly = false;
    bool FAutoPost = false;
    std::function<QColor(int row)> FRowColor;
    QList<QMetaObject::Connection> FConnections;
};
