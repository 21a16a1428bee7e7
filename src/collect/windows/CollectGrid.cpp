#include "collect/windows/CollectGrid.h"

#include "collect/BaseCollect.h"
#include "foundation/MessageService.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
const QColor kFocusYellow(0xff, 0xff, 0x00);

// The rows of the collection; a cell is editable as the collection says, and typed text goes to it.
class TCollectModel : public TDataSetModel {
public:
    TCollectModel(TBaseCollect& collect, QObject* parent)
        : TDataSetModel(&collect.ValueRows(), parent), FCollect(collect)
    {
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = TDataSetModel::flags(index);
        const int field = FieldIndex(index.column());
        if (field < 0 || !FCollect.CellEditable(index.row(), DataSet()->Fields(field)->FieldName()))
            f &= ~Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole) return false;
        const int field = FieldIndex(index.column());
        if (field < 0) return false;
        try {
            FCollect.SetCellText(index.row(), DataSet()->Fields(field)->FieldName(), value.toString());
        } catch (const std::exception& e) {
            ShowException(e);
            return false;
        }
        return true;
    }

private:
    TBaseCollect& FCollect;
};
} // namespace

// Plain text editors (numbers, dates and times are typed as text and checked by the collection)
// and the yellow focused cell.
class TCollectDelegate : public QStyledItemDelegate {
public:
    explicit TCollectDelegate(TCollectGrid* grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("CellEditor"));
        editor->setFrame(false);
        editor->setStyleSheet(QStringLiteral("QLineEdit { background: #ffff00; color: black; }"));
        FGrid->FEditor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        // Selected, so that a key that opens the editor replaces the old text.
        auto* line = static_cast<QLineEdit*>(editor);
        line->setText(index.data(Qt::DisplayRole).toString());
        line->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        if (line->text() == index.data(Qt::DisplayRole).toString()) {
            FGrid->FCommitOk = true;
            return;
        }
        // The collection moves its cursor while it stages; the view follows once the editor is closed.
        FGrid->FCommitting = true;
        FGrid->FCommitOk = model->setData(index, line->text(), Qt::EditRole);
        FGrid->FCommitting = false;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        if ((opt.state & (QStyle::State_HasFocus | QStyle::State_Selected)) || index == FGrid->currentIndex()) {
            painter->fillRect(opt.rect, kFocusYellow);
            opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
            opt.backgroundBrush = QBrush(kFocusYellow);
        }
        opt.palette.setColor(QPalette::Text, Qt::black);
        QStyledItemDelegate::paint(painter, opt, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) FGrid->FEnterInEditor = true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TCollectGrid* FGrid;
};

TCollectGrid::TCollectGrid(TBaseCollect& collect, QWidget* parent)
    : QTableView(parent), FCollect(collect), FModel(new TCollectModel(collect, this))
{
    setObjectName(QStringLiteral("Grid"));
    setModel(FModel);
    setItemDelegate(new TCollectDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    setStyleSheet(QStringLiteral("QTableView { background: white; color: black; gridline-color: #c0c0c0; }"));
    connect(FModel, &TDataSetModel::CurrentRowChanged, this, [this](int) { FollowDataSet(); });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] { FollowDataSet(); });
    connect(FModel, &QAbstractItemModel::rowsInserted, this, [this] { FollowDataSet(); });
}

int TCollectGrid::ColumnOf(const QString& fieldName) const
{
    for (int c = 0; c < FModel->ColumnCount(); ++c)
        if (FModel->Column(c).FieldName.compare(fieldName, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

void TCollectGrid::FollowDataSet()
{
    if (FCommitting) return;
    const int row = FCollect.ValueRows().CurrentRow();
    if (row < 0 || row >= FModel->rowCount()) return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row) return;
    int column = current.isValid() ? current.column() : -1;
    if (column < 0 || !(FModel->flags(FModel->index(row, column)) & Qt::ItemIsEditable)) {
        // The first editable column of the row, else the first one.
        column = 0;
        for (int c = 0; c < FModel->columnCount(); ++c)
            if (FModel->flags(FModel->index(row, c)) & Qt::ItemIsEditable) {
                column = c;
                break;
            }
    }
    setCurrentIndex(FModel->index(row, column));
}

bool TCollectGrid::CommitEdit()
{
    if (!FEditor) return true;
    QLineEdit* editor = FEditor;
    commitData(editor);
    const bool ok = FCommitOk;
    if (ok) QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    return ok;
}

void TCollectGrid::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        emit EnterPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TCollectGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool enter = FEnterInEditor;
    FEnterInEditor = false;
    // A refused cell keeps its editor closed and its old text (shown by the model).
    QTableView::closeEditor(editor, hint);
    if (editor == FEditor) FEditor = nullptr;
    if (enter && FCommitOk) emit EnterPressed();
    FollowDataSet();
    FCommitOk = true;
}

void TCollectGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid() && (!previous.isValid() || current.row() != previous.row())) emit RowMoved(current.row());
}
