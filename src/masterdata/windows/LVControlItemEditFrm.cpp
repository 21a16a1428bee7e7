#include "masterdata/windows/LVControlItemEditFrm.h"

#include "foundation/DataSet.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/MasterDataRules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include "masterdata/windows/MasterDataTexts.h"

TLVControlItemEditFrm::TLVControlItemEditFrm(QWidget* parent) : TBaseListEditFrm(parent)
{
    setWindowTitle(QStringLiteral("计量型质量特性编辑"));
    SetupVControlItemForm(*this);
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtUSL = AddTextRow(QStringLiteral("规格上限："), QStringLiteral("edtUSL"));
    edtSL = AddTextRow(QStringLiteral("规格限："), QStringLiteral("edtSL"));
    edtLSL = AddTextRow(QStringLiteral("规格下限："), QStringLiteral("edtLSL"));
    spnSampleSize = new TOptionalSpinBox(this);
    spnSampleSize->setObjectName(QStringLiteral("spnSampleSize"));
    AddRow(QStringLiteral("样本容量："), spnSampleSize);
    spnSigma = new QSpinBox(this);
    spnSigma->setObjectName(QStringLiteral("spnSigma"));
    cbDefChart = new QComboBox(this);
    cbDefChart->setObjectName(QStringLiteral("cbDefChart"));
    AddRow(QStringLiteral("缺省控制图："), cbDefChart);
    edtUnit = AddTextRow(QStringLiteral("计量单位："), QStringLiteral("edtUnit"));
    spnDecPoint = new TOptionalSpinBox(this);
    spnDecPoint->setObjectName(QStringLiteral("spnDecPoint"));
    AddRow(QStringLiteral("数据精度："), spnDecPoint);
    spnStep = new TOptionalSpinBox(this);
    spnStep->setObjectName(QStringLiteral("spnStep"));
    AddRow(QStringLiteral("移动步长："), spnStep);
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
    spnSampleSize->setRange(0, 9999);
    spnSigma->setRange(1, 6);
    spnSigma->setSingleStep(1);
    auto* sigmaRow = new QHBoxLayout;
    sigmaRow->addWidget(spnSigma);
    sigmaRow->addWidget(new QLabel(QStringLiteral("倍标准差"), this));
    sigmaRow->addStretch(1);
    FieldLayout->insertRow(6, QStringLiteral("控制限水平："), sigmaRow);
    for (int i = 1; i <= 3; ++i) cbDefChart->addItem(DefChartText(i), i);
    spnDecPoint->setRange(0, 8);
    spnStep->setRange(0, 9999);
    spnStep->setEnabled(false);
    edtProcess = new QLineEdit(this);
    edtProcess->setObjectName(QStringLiteral("edtProcess"));
    btnProcess = new QPushButton(QStringLiteral("..."), this);
    btnProcess->setObjectName(QStringLiteral("btnProcess"));
    btnProcess->setAutoDefault(false);
    btnProcess->setFixedWidth(28);
    auto* processRow = new QHBoxLayout;
    processRow->addWidget(edtProcess, 1);
    processRow->addWidget(btnProcess);
    FieldLayout->insertRow(11, QStringLiteral("所属过程："), processRow);
    connect(btnProcess, &QPushButton::clicked, this, [this] {
        Run([this] { ChooseProcess(*MainDataSet(), QStringLiteral("ProID"), QStringLiteral("ProName")); });
    });
    spnSampleSize->installEventFilter(this);
    connect(spnSampleSize, &TOptionalSpinBox::Stepped, this, [this] { Run([this] { SampleSizeChanged(); }); });
    FinishLayout();
    resize(420, sizeHint().height());
}

void TLVControlItemEditFrm::BindControls()
{
    Bind(MainDataSet(), QStringLiteral("CCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("CName"), edtName, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("USL"), edtUSL, TFieldLink::TKind::Float);
    Bind(MainDataSet(), QStringLiteral("SL"), edtSL, TFieldLink::TKind::Float);
    Bind(MainDataSet(), QStringLiteral("LSL"), edtLSL, TFieldLink::TKind::Float);
    Bind(MainDataSet(), QStringLiteral("SampleSize"), spnSampleSize, TFieldLink::TKind::Spin);
    Bind(MainDataSet(), QStringLiteral("nSigma"), spnSigma, TFieldLink::TKind::Spin);
    Bind(MainDataSet(), QStringLiteral("DefChart"), cbDefChart, TFieldLink::TKind::Combo);
    Bind(MainDataSet(), QStringLiteral("Unit"), edtUnit, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("DecPoint"), spnDecPoint, TFieldLink::TKind::Spin);
    Bind(MainDataSet(), QStringLiteral("Step"), spnStep, TFieldLink::TKind::Spin);
    Bind(MainDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("ProName"), edtProcess, TFieldLink::TKind::Display);
    auto follow = [this] { spnStep->setEnabled(MainDataSet()->RecNo() > 0 && MainDataSet()->Value(QStringLiteral("SampleSize")).toInt() == 1); };
    connect(MainDataSet(), &TDataSet::CurrentRowChanged, this, follow);
    connect(MainDataSet(), &TDataSet::DataSetChanged, this, follow);
    follow();
}

void TLVControlItemEditFrm::CarryOver(const QVariantMap& saved)
{
    for (auto it = saved.begin(); it != saved.end(); ++it) MainDataSet()->SetValue(it.key(), it.value());
}

void TLVControlItemEditFrm::SampleSizeChanged()
{
    TDataSet* ds = MainDataSet();
    const int n = spnSampleSize->Number();
    const TSampleSizeFollowUp f = FollowSampleSize(n);
    if (ds->State() == TDataSetState::Browse) ds->Edit();
    ds->SetValue(QStringLiteral("SampleSize"), n == 0 ? QVariant() : QVariant(n));
    ds->SetValue(QStringLiteral("Step"), f.Step);
    ds->SetValue(QStringLiteral("DefChart"), f.DefChart);
    spnStep->setEnabled(f.StepEnabled);
    ReloadControls();
}

bool TLVControlItemEditFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == spnSampleSize && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Backspace || key == Qt::Key_Delete)
            Run([this] { SampleSizeChanged(); });
    }
    return TBaseListEditFrm::eventFilter(watched, event);
}

