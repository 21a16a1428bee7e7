#include "analysis/windows/AdjustLimitFrm.h"

#include "foundation/Errors.h"
#include "foundation/MessageService.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kEditNames[LimitFieldCount] = {"edtMUCL", "edtMCL", "edtMLCL", "edtSUCL", "edtSCL",
                                                 "edtSLCL", "edtCL",  "edtUCL",  "edtLCL"};
}

TAdjustLimitFrm::TAdjustLimitFrm(TLimitAdjust adjust, QWidget* parent) : TBaseDialog(parent), FAdjust(adjust)
{
    setWindowTitle(QStringLiteral("控制限调整"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    edtCName = new QLineEdit(FAdjust.CName(), this);
    edtCName->setObjectName(QStringLiteral("edtCName"));
    edtCName->setReadOnly(true);
    edtChartType = new QLineEdit(FAdjust.ChartTypeName(), this);
    edtChartType->setObjectName(QStringLiteral("edtChartType"));
    edtChartType->setReadOnly(true);
    for (int f = 0; f < LimitFieldCount; ++f) {
        if (!FAdjust.IsShown(static_cast<TLimitField>(f))) continue;
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(kEditNames[f]));
        edit->setMinimumWidth(140);
        FEdits[f] = edit;
    }
    auto button = [this](const char* name, const QString& text, void (TAdjustLimitFrm::*click)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    btnOK = button("btnOK", QStringLiteral("确定"), &TAdjustLimitFrm::btnOKClick);
    btnOK->setDefault(true);
    btnCancel = button("btnCancel", QStringLiteral("取消"), &TAdjustLimitFrm::reject);
    btnCalc = button("btnCalc", QStringLiteral("系统计算"), &TAdjustLimitFrm::btnCalcClick);
    btnManual = button("btnManual", QStringLiteral("手工设定"), &TAdjustLimitFrm::btnManualClick);
    btnSave = button("btnSave", QStringLiteral("保存"), &TAdjustLimitFrm::btnSaveClick);
    ShowLimits();
    SetLimitsEnabled(false);
}

void TAdjustLimitFrm::AddLimitRows(QFormLayout* form, TLimitField upper, TLimitField centre, TLimitField lower)
{
    const std::pair<TLimitField, QString> rows[] = {
        {upper, QStringLiteral("控制上限：")}, {centre, QStringLiteral("控制限：")}, {lower, QStringLiteral("控制下限：")}};
    for (const auto& [field, label] : rows)
        if (FEdits[field]) form->addRow(label, FEdits[field]);
}

void TAdjustLimitFrm::Finish(QWidget* limits)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    auto* header = new QFormLayout;
    header->addRow(QStringLiteral("特性名称："), edtCName);
    header->addRow(QStringLiteral("控制图类型："), edtChartType);
    layout->addLayout(header);
    layout->addWidget(limits);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnCalc);
    buttons->addWidget(btnManual);
    buttons->addWidget(btnSave);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
}

TLimitAdjust::TTexts TAdjustLimitFrm::Texts() const
{
    TLimitAdjust::TTexts texts;
    for (int f = 0; f < LimitFieldCount; ++f)
        if (FEdits[f]) texts[f] = FEdits[f]->text();
    return texts;
}

void TAdjustLimitFrm::ShowLimits()
{
    const TLimitAdjust::TTexts texts = FAdjust.Texts();
    for (int f = 0; f < LimitFieldCount; ++f)
        if (FEdits[f]) FEdits[f]->setText(texts[f]);
}

void TAdjustLimitFrm::SetLimitsEnabled(bool enabled)
{
    for (QLineEdit* edit : FEdits)
        if (edit) edit->setEnabled(enabled);
}

void TAdjustLimitFrm::btnOKClick()
{
    if (FAdjust.Apply(Texts())) accept();
}

void TAdjustLimitFrm::reject()
{
    FAdjust.Restore();
    TBaseDialog::reject();
}

void TAdjustLimitFrm::btnCalcClick()
{
    // A failure (a missing factor) is shown and the dialog stays open.
    try {
        FAdjust.CalcLimits();
    } catch (const std::exception& e) {
        ShowException(e);
    }
    ShowLimits();
    SetLimitsEnabled(false);
}

void TAdjustLimitFrm::btnManualClick()
{
    SetLimitsEnabled(true);
    for (QLineEdit* edit : FEdits)
        if (edit) {
            edit->setFocus();
            edit->selectAll();
            break;
        }
}

void TAdjustLimitFrm::btnSaveClick()
{
    if (FAdjust.Save(Texts())) ShowLimits();
}
