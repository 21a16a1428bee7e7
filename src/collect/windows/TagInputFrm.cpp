#include "collect/windows/TagInputFrm.h"

#include "collect/TagInput.h"
#include "component/DataSetModel.h"
#include "foundation/MessageService.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kValueColumn = 1;
constexpr int kButtonWidth = 18;

QRect ButtonIn(const QRect& cell)
{
    return QRect(cell.right() - kButtonWidth + 1, cell.top() + 1, kButtonWidth - 1, cell.height() - 2);
}

// Draws the value cell's ellipsis button.
class TValueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        opt.rect.setRight(opt.rect.right() - kButtonWidth);
        QStyledItemDelegate::paint(painter, opt, index);
        if (index.column() != kValueColumn) return;
        QStyleOptionButton button;
        button.rect = ButtonIn(option.rect);
        button.text = QStringLiteral("…");
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
    }
};
} // namespace

TTagInputFrm::TTagInputFrm(TTagInput& input, QWidget* parent) : TBaseFrm(parent), FInput(input)
{
    setObjectName(QStringLiteral("TagInputFrm"));
    auto* box = new QGroupBox(QStringLiteral("标签"), this);
    Grid = new QTableView(box);
    Grid->setObjectName(QStringLiteral("TagGrid"));
    Model = new TDataSetModel(&input.CDSDataTag, Grid);
    Model->AddColumn(QStringLiteral("TagName"), QStringLiteral("标签项目"), true);
    Model->AddColumn(QStringLiteral("TagValue"), QStringLiteral("取值"), true);
    Model->SetReadOnly(true);
    Grid->setModel(Model);
    Grid->setItemDelegate(new TValueDelegate(Grid));
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setDefaultSectionSize(20);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->setColumnWidth(0, 110);
    Grid->setStyleSheet(QStringLiteral("QTableView { background: white; color: black; }"));
    Grid->viewport()->installEventFilter(this);
    Grid->installEventFilter(this);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(4, 2, 4, 4);
    boxLayout->addWidget(Grid);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
}

QRect TTagInputFrm::ValueButtonRect(int row) const
{
    return ButtonIn(Grid->visualRect(Model->index(row, kValueColumn)));
}

void TTagInputFrm::SelectValue(int row)
{
    try {
        FInput.SelectValue(row);
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

bool TTagInputFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QModelIndex index = Grid->indexAt(pos);
            if (index.isValid() && index.column() == kValueColumn &&
                (event->type() == QEvent::MouseButtonDblClick || ValueButtonRect(index.row()).contains(pos))) {
                SelectValue(index.row());
                return true;
            }
        }
    } else if (watched == Grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) && Grid->currentIndex().isValid()) {
            SelectValue(Grid->currentIndex().row());
            return true;
        }
    }
    return TBaseFrm::eventFilter(watched, event);
}
