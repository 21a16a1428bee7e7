#include "masterdata/windows/BaseSelectFrm.h"

#include "component/DataSetModel.h"
#include "foundation/Errors.h"
#include "masterdata/KQCommonDM.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

TBaseSelectFrm::TBaseSelectFrm(TDataSet* dataSet, const QString& caption, const QString& keyFieldName,
                               QWidget* parent)
    : TBaseDialog(parent), FDataSet(dataSet), FKeyFieldName(keyFieldName)
{
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    FModel = new TDataSetModel(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    FilterPanel = new QWidget(this);
    FilterPanel->setObjectName(QStringLiteral("FilterPanel"));
    FFilterLayout = new QGridLayout(FilterPanel);
    FFilterLayout->setContentsMargins(0, 0, 0, 0);
    FFilterLayout->setHorizontalSpacing(6);
    FFilterLayout->setColumnStretch(1, 1);
    FFilterLayout->setColumnStretch(3, 1);
    layout->addWidget(FilterPanel);

    DataPanel = new QWidget(this);
    DataPanel->setObjectName(QStringLiteral("DataPanel"));
    auto* dataLayout = new QVBoxLayout(DataPanel);
    dataLayout->setContentsMargins(0, 0, 0, 0);
    Grid = new QTableView(DataPanel);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setAlternatingRowColors(true);
    Grid->verticalHeader()->setVisible(false);
    Grid->verticalHeader()->setDefaultSectionSize(22);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->horizontalHeader()->setHighlightSections(false);
    dataLayout->addWidget(Grid);
    layout->addWidget(DataPanel, 1);

    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    FButtons = new QHBoxLayout(BottomPanel);
    FButtons->setContentsMargins(0, 0, 0, 0);
    btnNew = new QPushButton(QStringLiteral("新增"), BottomPanel);
    btnNew->setVisible(false);
    btnOK = new QPushButton(QStringLiteral("确定"), BottomPanel);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"), BottomPanel);
    FButtons->addWidget(btnNew);
    FButtons->addStretch(1);
    FButtons->addWidget(btnOK);
    FButtons->addWidget(btnCancel);
    layout->addWidget(BottomPanel);

    lblCode = new QLabel(QStringLiteral("编码："), FilterPanel);
    edtCode = new QLineEdit(FilterPanel);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    AddFilter(lblCode, edtCode);
    lblName = new QLabel(QStringLiteral("名称："), FilterPanel);
    edtName = new QLineEdit(FilterPanel);
    edtName->setObjectName(QStringLiteral("edtName"));
    AddFilter(lblName, edtName);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FModel, &TDataSetModel::CurrentRowChanged, this, &TBaseSelectFrm::DataSetRowChanged);
    resize(480, 360);
}

TBaseSelectFrm::~TBaseSelectFrm()
{
    FModel->SetDataSet(nullptr);
    if (FOpened) CloseSelectDataSet(FDataSet);
}

QWidget* TBaseSelectFrm::DialogParent()
{
    return QApplication::activeWindow();
}

void TBaseSelectFrm::AddFilter(QLabel* label, QLineEdit* box)
{
    label->setBuddy(box);
    FFilters.append({label, box, QString(), nullptr});
    connect(box, &QLineEdit::textChanged, this, &TBaseSelectFrm::FilterChanged);
    LayoutFilterBoxes();
}

void TBaseSelectFrm::LayoutFilterBoxes()
{
    int slot = 0;
    for (const TFilter& f : FFilters) {
        FFilterLayout->removeWidget(f.Label);
        FFilterLayout->removeWidget(f.Box);
        if (f.Box->isHidden()) {
            f.Label->hide();
            continue;
        }
        FFilterLayout->addWidget(f.Label, slot / 2, (slot % 2) * 2);
        FFilterLayout->addWidget(f.Box, slot / 2, (slot % 2) * 2 + 1);
        ++slot;
    }
    // A single box takes the whole row.
    FFilterLayout->setColumnStretch(3, slot > 1 ? 1 : 0);
}

void TBaseSelectFrm::SetFilterField(QLineEdit* box, const QString& fieldName)
{
    for (TFilter& f : FFilters)
        if (f.Box == box) f.FieldName = fieldName;
}

QLineEdit* TBaseSelectFrm::AddFilterBox(QLabel*& label, const QString& caption, const QString& fieldName)
{
    label = new QLabel(caption, FilterPanel);
    auto* box = new QLineEdit(FilterPanel);
    AddFilter(label, box);
    SetFilterField(box, fieldName);
    return box;
}

TGridColumn& TBaseSelectFrm::AddColumn(const QString& fieldName, const QString& title)
{
    return FModel->AddColumn(fieldName, title, true);
}

void TBaseSelectFrm::OpenDataSet()
{
    if (FOpened) return;
    LayoutFilterBoxes();
    OpenSelectDataSet(FDataSet, windowTitle());
    FOpened = true;
    DataSetOpened();
    FModel->SetDataSet(FDataSet);

    // One proxy per filtering box, each on its own column: a row shows when every box matches.
    QAbstractItemModel* source = FModel;
    for (TFilter& f : FFilters) {
        if (f.FieldName.isEmpty()) continue;
        int column = -1;
        for (int c = 0; c < FModel->ColumnCount() && column < 0; ++c)
            if (FModel->Column(c).FieldName.compare(f.FieldName, Qt::CaseInsensitive) == 0) column = c;
        if (column < 0) throw ESystemError(QStringLiteral("%1的过滤字段%2不在列表中").arg(windowTitle(), f.FieldName));
        f.Proxy = new QSortFilterProxyModel(this);
        f.Proxy->setSourceModel(source);
        f.Proxy->setFilterKeyColumn(column);
        f.Proxy->setFilterCaseSensitivity(Qt::CaseSensitive);
        source = f.Proxy;
    }
    Grid->setModel(source);
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { GridRowChanged(current); });
    // Rows read again while the dialog is open: back to the data set's row.
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        if (FDataSet) DataSetRowChanged(FDataSet->CurrentRow());
    });
    FilterChanged();
    DataSetRowChanged(FDataSet->CurrentRow());
    Grid->resizeColumnsToContents();
    for (int c = 0; c < FModel->ColumnCount(); ++c)
        Grid->setColumnWidth(c, qBound(60, Grid->columnWidth(c) + 16, 240));
    for (const TFilter& f : FFilters)
        if (f.Box->isVisibleTo(this)) {
            f.Box->setFocus();
            break;
        }
}

QModelIndex TBaseSelectFrm::GridIndex(int row, int column) const
{
    if (row < 0 || row >= FModel->rowCount()) return {};
    QModelIndex index = FModel->index(row, column);
    for (const TFilter& f : FFilters)
        if (f.Proxy) index = f.Proxy->mapFromSource(index);
    return index;
}

int TBaseSelectFrm::CurrentRow() const
{
    if (!Grid->selectionModel()) return -1;
    const QModelIndexList rows = Grid->selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    QModelIndex index = rows.first();
    for (auto it = FFilters.crbegin(); it != FFilters.crend(); ++it)
        if (it->Proxy) index = it->Proxy->mapToSource(index);
    return index.isValid() ? index.row() : -1;
}

void TBaseSelectFrm::SelectGridRow(const QModelIndex& index)
{
    QItemSelectionModel* selection = Grid->selectionModel();
    if (!selection) return;
    if (!index.isValid()) {
        selection->clearSelection();
        return;
    }
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Grid->scrollTo(index);
}

void TBaseSelectFrm::FilterChanged()
{
    for (const TFilter& f : FFilters)
        if (f.Proxy) f.Proxy->setFilterFixedString(f.Box->text().trimmed());
    // A row hidden by the filter is no choice: the grid goes back to the data set's row when it
    // shows again, else to the first row it shows.
    if (!Grid->model() || CurrentRow() >= 0 || Grid->model()->rowCount() == 0) return;
    QModelIndex index = FDataSet ? GridIndex(FDataSet->CurrentRow()) : QModelIndex();
    if (!index.isValid()) index = Grid->model()->index(0, 0);
    SelectGridRow(index);
}

void TBaseSelectFrm::DataSetRowChanged(int row)
{
    if (FSyncing || !Grid->model()) return;
    FSyncing = true;
    SelectGridRow(GridIndex(row));
    FSyncing = false;
}

void TBaseSelectFrm::GridRowChanged(const QModelIndex& current)
{
    if (FSyncing || !FDataSet || !current.isValid()) return;
    QModelIndex index = current;
    for (auto it = FFilters.crbegin(); it != FFilters.crend(); ++it)
        if (it->Proxy) index = it->Proxy->mapToSource(index);
    if (!index.isValid() || index.row() == FDataSet->CurrentRow()) return;
    FSyncing = true;
    FDataSet->SetRecNo(index.row() + 1);
    FSyncing = false;
}
