#include "rules/windows/LJudgeRuleEditFrm.h"

#include "foundation/DataSet.h"
#include "foundation/EventManager.h"
#include "rules/JudgeRuleForm.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace {
const QString kAfterScroll = QStringLiteral("AfterScroll");

TOptionalSpinBox* NumberBox(QWidget* parent, const char* name)
{
    auto* box = new TOptionalSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    // The judge looks at no more than 25 points; the lowest value is the empty box.
    box->setRange(0, 25);
    box->setFixedWidth(64);
    return box;
}

QComboBox* PatternList(QWidget* parent, const char* name, const QList<TRulePatternItem>& items)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (const TRulePatternItem& item : items) list->addItem(item.Text, item.Code);
    list->setCurrentIndex(-1);
    list->setMinimumContentsLength(12);
    return list;
}
} // namespace

TLJudgeRuleEditFrm::TLJudgeRuleEditFrm(QWidget* parent) : TBaseListEditFrm(parent)
{
    setWindowTitle(QStringLiteral("检测规则编辑"));
    SetupJudgeRuleForm(*this);
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtDescribe = new QLineEdit(this);
    edtDescribe->setObjectName(QStringLiteral("edtDescribe"));
    // Wide enough for a composed description.
    edtDescribe->setMinimumWidth(400);
    chkAutoDescribe = new QCheckBox(QStringLiteral("自动描述"), this);
    chkAutoDescribe->setObjectName(QStringLiteral("chkAutoDescribe"));
    auto* describeRow = new QHBoxLayout;
    describeRow->addWidget(edtDescribe, 1);
    describeRow->addWidget(chkAutoDescribe);
    AddRow(QStringLiteral("描述："), describeRow);

    grpExpression = new QGroupBox(QStringLiteral("规则表达式"), this);
    grpExpression->setObjectName(QStringLiteral("grpExpression"));
    auto* grid = new QGridLayout(grpExpression);
    grid->setHorizontalSpacing(8);
    rbMain = new QRadioButton(QStringLiteral("主控制图"), grpExpression);
    rbMain->setObjectName(QStringLiteral("rbMain"));
    rbSub = new QRadioButton(QStringLiteral("副控制图"), grpExpression);
    rbSub->setObjectName(QStringLiteral("rbSub"));
    rbTrend = new QRadioButton(QStringLiteral("趋势型"), grpExpression);
    rbTrend->setObjectName(QStringLiteral("rbTrend"));
    rbRun = new QRadioButton(QStringLiteral("运行型"), grpExpression);
    rbRun->setObjectName(QStringLiteral("rbRun"));
    auto* targets = new QButtonGroup(this);
    targets->addButton(rbMain);
    targets->addButton(rbSub);
    auto* types = new QButtonGroup(this);
    types->addButton(rbTrend);
    types->addButton(rbRun);
    spnAreaTrend = NumberBox(grpExpression, "spnAreaTrend");
    cbTrend = PatternList(grpExpression, "cbTrend", TrendPatternItems());
    spnAreaRun = NumberBox(grpExpression, "spnAreaRun");
    spnExceptionRun = NumberBox(grpExpression, "spnExceptionRun");
    cbRun = PatternList(grpExpression, "cbRun", RunPatternItems());

    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(rbMain);
    targetRow->addWidget(rbSub);
    targetRow->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("检测对象："), grpExpression), 0, 0);
    grid->addLayout(targetRow, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("检测类型"), grpExpression), 1, 0);
    auto* trendRow = new QHBoxLayout;
    trendRow->addWidget(new QLabel(QStringLiteral("连续"), grpExpression));
    trendRow->addWidget(spnAreaTrend);
    trendRow->addWidget(new QLabel(QStringLiteral("点"), grpExpression));
    trendRow->addWidget(cbTrend, 1);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(spnAreaRun);
    runRow->addWidget(new QLabel(QStringLiteral("点中有"), grpExpression));
    runRow->addWidget(spnExceptionRun);
    runRow->addWidget(new QLabel(QStringLiteral("点"), grpExpression));
    runRow->addWidget(cbRun, 1);
    grid->addWidget(rbTrend, 2, 0);
    grid->addLayout(trendRow, 2, 1);
    grid->addWidget(rbRun, 3, 0);
    grid->addLayout(runRow, 3, 1);
    grid->setColumnStretch(1, 1);
    // In line with the fields above.
    auto* groupRow = new QHBoxLayout;
    groupRow->setContentsMargins(16, 0, 16, 8);
    groupRow->addWidget(grpExpression);
    MainLayout->addLayout(groupRow);

    // A new rule is a run rule until the record says otherwise.
    rbMain->setChecked(true);
    rbRun->setChecked(true);
    EnableTypeControls();

    // clicked, not toggled: checking a radio button to show a record edits nothing.
    connect(rbMain, &QRadioButton::clicked, this, [this] { Run([this] { SetRuleTargetType(*MainDataSet(), 1); }); });
    connect(rbSub, &QRadioButton::clicked, this, [this] { Run([this] { SetRuleTargetType(*MainDataSet(), 2); }); });
    connect(rbTrend, &QRadioButton::clicked, this, [this] {
        Run([this] { SetRuleJudgeType(*MainDataSet(), 1); });
        EnableTypeControls();
    });
    connect(rbRun, &QRadioButton::clicked, this, [this] {
        Run([this] { SetRuleJudgeType(*MainDataSet(), 2); });
        EnableTypeControls();
    });
    connect(chkAutoDescribe, &QCheckBox::clicked, this, [this](bool checked) {
        Run([&] { SetRuleAutoDescribe(*MainDataSet(), checked); });
        ShowAutoDescribe();
    });
    FinishLayout();
    resize(560, sizeHint().height());
}

TLJudgeRuleEditFrm::~TLJudgeRuleEditFrm()
{
    // Here rather than in the base destructor, so that this window's DoneForm takes its hook off.
    DestroyForm();
}

void TLJudgeRuleEditFrm::InitForm()
{
    TBaseListEditFrm::InitForm();
    FEvents = std::make_unique<TEventManager>();
    FEvents->HookEvent(MainDataSet(), kAfterScroll,
                       TDataSetNotifyEvent(this, &TLJudgeRuleEditFrm::qryJudgeRuleAfterScroll));
}

void TLJudgeRuleEditFrm::DoneForm()
{
    if (FEvents) {
        FEvents->UnhookEvent(MainDataSet(), kAfterScroll);
        FEvents.reset();
    }
    TBaseListEditFrm::DoneForm();
}

void TLJudgeRuleEditFrm::qryJudgeRuleAfterScroll(TDataSet* DataSet)
{
    if (FEvents) FEvents->CallPreviousHandler(DataSet, kAfterScroll, DataSet);
    if (DataSet && !DataSet->IsEmpty()) ShowRuleRecord();
}

void TLJudgeRuleEditFrm::BindControls()
{
    TDataSet* ds = MainDataSet();
    Bind(ds, QStringLiteral("JRCode"), edtCode, TFieldLink::TKind::Text);
    Bind(ds, QStringLiteral("JRName"), edtName, TFieldLink::TKind::Text);
    Bind(ds, QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
    Bind(ds, QStringLiteral("Area_Trend"), spnAreaTrend, TFieldLink::TKind::Spin);
    Bind(ds, QStringLiteral("ExceptionType_Trend"), cbTrend, TFieldLink::TKind::Combo);
    Bind(ds, QStringLiteral("Area_Run"), spnAreaRun, TFieldLink::TKind::Spin);
    Bind(ds, QStringLiteral("Exception_Run"), spnExceptionRun, TFieldLink::TKind::Spin);
    Bind(ds, QStringLiteral("ExceptionType_Run"), cbRun, TFieldLink::TKind::Combo);
    // Connected after the bindings, so the field holds the new value when the description follows.
    for (TOptionalSpinBox* box : {spnAreaTrend, spnAreaRun, spnExceptionRun})
        connect(box, &QSpinBox::valueChanged, this, [this](int value) {
            if (value > 0) DescribeUpdate();
        });
    for (QComboBox* list : {cbTrend, cbRun}) connect(list, &QComboBox::activated, this, [this] { DescribeUpdate(); });
    for (auto signal : {&TDataSet::CurrentRowChanged, &TDataSet::RowChanged})
        connect(ds, signal, this, [this] { ShowAutoDescribe(); });
    connect(ds, &TDataSet::DataSetChanged, this, [this] { ShowAutoDescribe(); });
    if (!ds->IsEmpty()) ShowRuleRecord();
    ShowAutoDescribe();
}

void TLJudgeRuleEditFrm::ShowRuleRecord()
{
    const TDataSet* ds = MainDataSet();
    if (!ds || ds->RecNo() < 0) return;
    (VariantsEqual(ds->Value(QStringLiteral("TargetType")), 2) ? rbSub : rbMain)->setChecked(true);
    (VariantsEqual(ds->Value(QStringLiteral("JudgeType")), 1) ? rbTrend : rbRun)->setChecked(true);
    EnableTypeControls();
    ShowAutoDescribe();
}

void TLJudgeRuleEditFrm::EnableTypeControls()
{
    const bool trend = rbTrend->isChecked();
    spnAreaTrend->setEnabled(trend);
    cbTrend->setEnabled(trend);
    spnAreaRun->setEnabled(!trend);
    spnExceptionRun->setEnabled(!trend);
    cbRun->setEnabled(!trend);
}

void TLJudgeRuleEditFrm::ShowAutoDescribe()
{
    const TDataSet* ds = MainDataSet();
    const bool on = ds && ds->Active() && ds->RecNo() > 0 && ds->FieldByName(QStringLiteral("AutoDescribe"))->AsInteger() == 1;
    chkAutoDescribe->setChecked(on);
    edtDescribe->setEnabled(!on);
}

void TLJudgeRuleEditFrm::DescribeUpdate()
{
    Run([this] { UpdateRuleDescribe(*MainDataSet()); });
}
