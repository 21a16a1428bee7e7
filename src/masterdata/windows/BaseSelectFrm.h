#pragma once
// The base of the selection dialogs: filter boxes on top, a grid over one look-up data set in the
// middle, "确定" and "取消" (and a hidden "新增") at the bottom. Each filter box filters the grid
// as it is typed into; the filter only hides rows in the grid, the data set keeps all of them.
#include "component/BaseFrm.h"
#include "foundation/DataSet.h"

#include <QList>
#include <QPointer>
#include <QString>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class TDataSetModel;
struct TGridColumn;

class TBaseSelectFrm : public TBaseDialog {
    Q_OBJECT
public:
    // Closes the data set if this dialog opened it.
    ~TBaseSelectFrm() override;

    TDataSet* DataSet() const { return FDataSet; }
    const QString& KeyFieldName() const { return FKeyFieldName; }
    TDataSetModel* Model() const { return FModel; }

    QWidget* FilterPanel;
    QWidget* DataPanel;
    QWidget* BottomPanel;
    QLabel* lblCode;
    QLineEdit* edtCode;  // "编码："
    QLabel* lblName;
    QLineEdit* edtName;  // "名称："
    QTableView* Grid;
    QPushButton* btnNew;  // hidden
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // Binds the data set to the grid and opens it for this dialog; raises "%s的数据集未指定或丢失"
    // (the caption) when there is none.
    void OpenDataSet();
    // The data-set row the grid has selected (0-based), -1 when it shows none selected.
    int CurrentRow() const;
    // The grid's index of a data-set row (invalid when the filter hides it).
    QModelIndex GridIndex(int row, int column = 0) const;

protected:
    TBaseSelectFrm(TDataSet* dataSet, const QString& caption, const QString& keyFieldName, QWidget* parent);

    // The column of the data set that a filter box searches (empty: the box does not filter).
    void SetFilterField(QLineEdit* box, const QString& fieldName);
    // A further filter box, placed after the others.
    QLineEdit* AddFilterBox(QLabel*& label, const QString& caption, const QString& fieldName);
    TGridColumn& AddColumn(const QString& fieldName, const QString& title);
    // Runs once the data set is open, before the grid shows it.
    virtual void DataSetOpened() {}
    QHBoxLayout* ButtonLayout() const { return FButtons; }
    // The window a dialog run by a command stays in front of.
    static QWidget* DialogParent();

private:
    struct TFilter {
        QLabel* Label;
        QLineEdit* Box;
        QString FieldName;
        QSortFilterProxyModel* Proxy = nullptr;
    };
    void AddFilter(QLabel* label, QLineEdit* box);
    // The shown boxes side by side, two to a row, in the order they were added.
    void LayoutFilterBoxes();
    void FilterChanged();
    void DataSetRowChanged(int row);
    void GridRowChanged(const QModelIndex& current);
    void SelectGridRow(const QModelIndex& index);

    QPointer<TDataSet> FDataSet;
    QString FKeyFieldName;
    TDataSetModel* FModel;
    QList<TFilter> FFilters;
    QGridLayout* FFilterLayout;
    QHBoxLayout* FButtons;
    bool FOpened = false;
    bool FSyncing = false;
};
