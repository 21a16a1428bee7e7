#include "rules/windows/BaseExceptionModifyFrm.h"

#include "component/DataSetModel.h"
#include "foundation/CommandCentre.h"
#include "foundation/CompanyDM.h"
#include "foundation/MessageService.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QTableView* MakeGrid(QWidget* parent, TDataSetModel* model)
{
    auto* grid = new QTableView(parent);
    model->SetReadOnly(true);
    grid->setModel(model);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setMinimumSectionSize(48);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    return grid;
}

TDataSetModel* CodeNameModel(QObject* parent, const char* prefix)
{
    auto* m = new TDataSetModel(parent);
    const QString p = QString::fromLatin1(prefix);
    m->AddColumn(p + QStringLiteral("Code"), QStringLiteral("编码"), true);
    m->AddColumn(p + QStringLiteral("Name"), QStringLiteral("名称"), true);
    m->AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"), true);
    return m;
}

QWidget* Titled(QWidget* parent, const QString& title, QWidget* body, QList<QPushButton*> buttons = {})
{
    auto* box = new QWidget(parent);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(title, box));
    head->addStretch();
    for (QPushButton* b : buttons) head->addWidget(b);
    v->addLayout(head);
    v->addWidget(body, 1);
    return box;
}
} // namespace

TBaseExceptionModifyFrm::TBaseExceptionModifyFrm(TItemKind kind, QWidget* parent)
    : TBaseDialog(parent), FPoint(std::make_unique<TExceptionPoint>(kind, *TCompanyDM::Current()))
{
    setWindowTitle(QStringLiteral("异常点编辑"));
    resize(820, 620);
    auto* layout = new QVBoxLayout(this);
    FValueGrid = new QGridLayout;
    layout->addLayout(FValueGrid);

    memRules = new QPlainTextEdit(this);
    memRules->setReadOnly(true);
    memRules->setMaximumHeight(56);
    memRules->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(Titled(this, QStringLiteral("违反规则："), memRules));

    auto* middle = new QHBoxLayout;
    FSampleModel = new TDataSetModel(this);
    grdSample = MakeGrid(this, FSampleModel);
    auto* tagModel = new TDataSetModel(this);
    tagModel->AddColumn(QStringLiteral("TagCode"), QStringLiteral("编码"), true);
    tagModel->AddColumn(QStringLiteral("TagName"), QStringLiteral("名称"), true);
    tagModel->AddColumn(QStringLiteral("TagValue"), QStringLiteral("取值"), true);
    grdTag = MakeGrid(this, tagModel);
    middle->addWidget(Titled(this, QStringLiteral("样本："), grdSample));
    middle->addWidget(Titled(this, QStringLiteral("标签："), grdTag));
    layout->addLayout(middle, 1);

    auto* lower = new QHBoxLayout;
    auto* caseModel = CodeNameModel(this, "Case");
    auto* actionModel = CodeNameModel(this, "Action");
    grdCase = MakeGrid(this, caseModel);
    grdAction = MakeGrid(this, actionModel);
    btnCaseEdit = new QPushButton(QStringLiteral("编辑"), this);
    btnCaseClear = new QPushButton(QStringLiteral("清空"), this);
    btnActionEdit = new QPushButton(QStringLiteral("编辑"), this);
    btnActionClear = new QPushButton(QStringLiteral("清空"), this);
    btnCaseEdit->setObjectName(QStringLiteral("btnCaseEdit"));
    btnCaseClear->setObjectName(QStringLiteral("btnCaseClear"));
    btnActionEdit->setObjectName(QStringLiteral("btnActionEdit"));
    btnActionClear->setObjectName(QStringLiteral("btnActionClear"));
    lower->addWidget(Titled(this, QStringLiteral("异常原因："), grdCase, {btnCaseEdit, btnCaseClear}));
    lower->addWidget(Titled(this, QStringLiteral("改善措施："), grdAction, {btnActionEdit, btnActionClear}));
    layout->addLayout(lower, 1);

    auto* note = new QHBoxLayout;
    edtNote = new QLineEdit(this);
    edtNote->setObjectName(QStringLiteral("edtNote"));
    note->addWidget(new QLabel(QStringLiteral("备注："), this));
    note->addWidget(edtNote, 1);
    layout->addLayout(note);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    caseModel->SetDataSet(&FPoint->qryCase);
    actionModel->SetDataSet(&FPoint->qryAction);
    tagModel->SetDataSet(&FPoint->qryTag);

    connect(btnCaseEdit, &QPushButton::clicked, this, &TBaseExceptionModifyFrm::EditCases);
    connect(btnActionEdit, &QPushButton::clicked, this, &TBaseExceptionModifyFrm::EditActions);
    connect(btnCaseClear, &QPushButton::clicked, this, [this] { FPoint->ClearCases(); });
    connect(btnActionClear, &QPushButton::clicked, this, [this] { FPoint->ClearActions(); });
    connect(edtNote, &QLineEdit::textEdited, this, [this](const QString& text) {
        TZCQuery& q = FPoint->qryNote;
        if (q.IsEmpty()) return;
        q.Edit();
        q.SetValue(QStringLiteral("ExceptionNote"), text);
        q.Post();
    });
    connect(btnOK, &QPushButton::clicked, this, &TBaseExceptionModifyFrm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TBaseExceptionModifyFrm::~TBaseExceptionModifyFrm()
{
    FPoint->Close();
}

void TBaseExceptionModifyFrm::AddValue(int row, int column, const QString& title, const QString& text)
{
    auto* caption = new QLabel(title, this);
    auto* value = new QLabel(text, this);
    value->setMinimumWidth(70);
    value->setStyleSheet(QStringLiteral("QLabel { color: #0000a0; }"));
    FValueGrid->addWidget(caption, row, column * 2, Qt::AlignRight);
    FValueGrid->addWidget(value, row, column * 2 + 1);
    Values.insert(title, value);
}

void TBaseExceptionModifyFrm::Load(TSPCChartData&, int index, int sn, int cid)
{
    FIndex = index;
    FPoint->Open(cid, sn);
    AddSampleColumns(*FSampleModel);
    FSampleModel->SetDataSet(&FPoint->qrySample);
    AddValue(0, 0, QStringLiteral("序号："), QString::number(sn));
    FillValues(index);
    memRules->setPlainText(FPoint->ViolationText());
    const TZCQuery& note = FPoint->qryNote;
    edtNote->setText(note.IsEmpty() ? QString() : note.Value(QStringLiteral("ExceptionNote")).toString());
    for (QTableView* g : {grdSample, grdTag, grdCase, grdAction}) g->resizeColumnsToContents();
}

void TBaseExceptionModifyFrm::RunSelection(const QString& commandName, const QString& key, TDataSet* rows, bool cases)
{
    TCommandCenter* center = TCommandCenter::Instance();
    if (!center) return;
    TCommand* command = center->CommandByName(commandName);
    TMultiSelectData data;
    data.DataSet = rows;
    TExceptionPoint* point = FPoint.get();
    data.Callback = TMultiSelectCallback::FromCallable([point, cases](TDataSet* choice, const QString& keyField) {
        if (cases)
            point->ReplaceCases(choice, keyField);
        else
            point->ReplaceActions(choice, keyField);
    });
    command->SetParamValue(QStringLiteral("SelectedKeyField"), key);
    command->SetData(&data);
    try {
        command->Execute();
    } catch (...) {
        command->SetData(nullptr);
        throw;
    }
    command->SetData(nullptr);
}

void TBaseExceptionModifyFrm::EditCases()
{
    try {
        RunSelection(QStringLiteral("MSelectCase"), QStringLiteral("CaseID"), &FPoint->qryCase, true);
        grdCase->resizeColumnsToContents();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TBaseExceptionModifyFrm::EditActions()
{
    try {
        RunSelection(QStringLiteral("MSelectAction"), QStringLiteral("ActionID"), &FPoint->qryAction, false);
        grdAction->resizeColumnsToContents();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

bool TBaseExceptionModifyFrm::SaveExceptionPoint()
{
    const TSubgroupState before = PointState();
    const TSubgroupState after = FPoint->Save(before);
    FChanged = after != before;
    if (FChanged) SetPointState(after);
    return FChanged;
}

void TBaseExceptionModifyFrm::btnOKClick()
{
    try {
        SaveExceptionPoint();
    } catch (const std::exception& e) {
        ShowException(e);  // the window stays open with everything keyed
        return;
    }
    accept();
}
