#include "analysis/windows/AdjustVLimitFrm.h"

#include "component/DialogRunner.h"
#include "engine/VariableData.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>

TAdjustVLimitFrm::TAdjustVLimitFrm(QWidget* owner, TVariableChartData& data) : TAdjustLimitFrm(TLimitAdjust(data), owner)
{
    setObjectName(QStringLiteral("AdjustVLimitFrm"));
    auto* limits = new QWidget(this);
    auto* row = new QHBoxLayout(limits);
    row->setContentsMargins(0, 0, 0, 0);
    auto* main = new QGroupBox(QStringLiteral("主控制图"), limits);
    auto* mainForm = new QFormLayout(main);
    AddLimitRows(mainForm, lfMUCL, lfMCL, lfMLCL);
    auto* sub = new QGroupBox(QStringLiteral("副控制图"), limits);
    auto* subForm = new QFormLayout(sub);
    AddLimitRows(subForm, lfSUCL, lfSCL, lfSLCL);
    row->addWidget(main);
    row->addWidget(sub);
    Finish(limits);
}

bool AdjustVariableLimits(TVariableChartData& data, QWidget* parent)
{
    TAdjustVLimitFrm dialog(parent, data);
    return RunDialog(dialog) == QDialog::Accepted || dialog.Adjust().Saved();
}
