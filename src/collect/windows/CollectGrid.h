#pragma once
// The data grid of the collection windows: the value rows of the current control item, typed into
// cell by cell. Every cell's text goes to the collection's SetCellText, which refuses what it
// cannot take (the cell keeps its old text); Enter, in a cell or on the grid, is the collection's
// EnterPressed. The focused cell and the cell editor are yellow; rows take the window's colours.
#include "component/DataSetModel.h"

#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <functional>

class TBaseCollect;


class TCollectGrid : public QTableView {
    Q_OBJECT
public:
    TCollectGrid(TBaseCollect& collect, QWidget* parent = nullptr);

    TDataSetModel* Model() const { return FModel; }
    // The column of a field, -1 when it is not shown.
    int ColumnOf(const QString& fieldName) const;
    // Takes over the cell being typed; false when it was refused.
    bool CommitEdit();
    bool Editing() const { return FEditor != nullptr; }
    // The open cell editor, nullptr when none.
    QLineEdit* Editor() const { return FEditor; }
    // The view shows the value rows' current row (after the collection moved it).
    void FollowDataSet();

signals:
    void EnterPressed();
    void RowMoved(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    friend class TCollectDelegate;
    TBaseCollect& FCollect;
    TDataSetModel* FModel;
    QPointer<QLineEdit> FEditor;
    bool FEnterInEditor = false;
    bool FCommitOk = true;
    bool FCommitting = false;
};
