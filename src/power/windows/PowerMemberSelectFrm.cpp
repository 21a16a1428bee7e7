#include "power/windows/PowerMemberSelectFrm.h"

#include "component/DataSetModel.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// The data set's cursor on the view's current row, so the selection acts on what is highlighted.
bool FollowView(QTableView* view, TDataSet& dataSet)
{
    const QModelIndex index = view->currentIndex();
    if (!index.isValid() || index.row() >= dataSet.RecordCount()) return false;
    dataSet.SetRecNo(index.row() + 1);
    return true;
}
} // namespace

TPowerMemberSelectFrm::TPowerMemberSelectFrm(TUserPowerDM& dm, TPowerEntryKind owner, int ownerID, QWidget* parent)
    : TPowerDialog(parent), FSelection(dm, owner, ownerID)
{
    const bool duty = owner == TPowerEntryKind::Duty;
    auto* layout = new QVBoxLayout(this);
    auto* grids = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(duty ? QStringLiteral("可选用户：") : QStringLiteral("可选职务："), this));
    CandidateGrid = NewGrid(FSelection.Candidates(), duty ? QStringLiteral("姓名") : QStringLiteral("名称"));
    left->addWidget(CandidateGrid);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    btnAdd = new QPushButton(QStringLiteral("添加(&A)"), this);
    btnRemove = new QPushButton(QStringLiteral("移去(&D)"), this);
    middle->addWidget(btnAdd);
    middle->addWidget(btnRemove);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(duty ? QStringLiteral("成员：") : QStringLiteral("隶属于："), this));
    AssignedGrid = NewGrid(FSelection.Assigned(), duty ? QStringLiteral("姓名") : QStringLiteral("名称"));
    right->addWidget(AssignedGrid);
    grids->addLayout(left, 1);
    grids->addLayout(middle);
    grids->addLayout(right, 1);
    layout->addLayout(grids);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    layout->addLayout(row);
    resize(720, 380);
    connect(btnAdd, &QPushButton::clicked, this, &TPowerMemberSelectFrm::btnAddClick);
    connect(btnRemove, &QPushButton::clicked, this, &TPowerMemberSelectFrm::btnRemoveClick);
    connect(CandidateGrid, &QTableView::doubleClicked, this, &TPowerMemberSelectFrm::btnAddClick);
    connect(AssignedGrid, &QTableView::doubleClicked, this, &TPowerMemberSelectFrm::btnRemoveClick);
    connect(btnOk, &QPushButton::clicked, this, &TPowerMemberSelectFrm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QTableView* TPowerMemberSelectFrm::NewGrid(TDataSet& dataSet, const QString& nameTitle)
{
    auto* model = new TDataSetModel(&dataSet, this);
    model->AddColumn(QStringLiteral("Code"), QStringLiteral("编码"), true);
    model->AddColumn(QStringLiteral("Name"), nameTitle, true);
    model->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"), true);
    model->SetReadOnly(true);
    auto* view = new QTableView(this);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

void TPowerMemberSelectFrm::btnAddClick()
{
    if (FollowView(CandidateGrid, FSelection.Candidates())) FSelection.AddCurrent();
}

void TPowerMemberSelectFrm::btnRemoveClick()
{
    if (FollowView(AssignedGrid, FSelection.Assigned())) FSelection.RemoveCurrent();
}

void TPowerMemberSelectFrm::btnOkClick()
{
    try {
        FSelection.Apply();
    } catch (const ESystemError& e) {
        ShowException(e);
        return;
    }
    accept();
}
