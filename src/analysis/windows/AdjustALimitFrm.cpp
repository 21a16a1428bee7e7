#include "analysis/windows/AdjustALimitFrm.h"

#include "component/DialogRunner.h"
#include "engine/AttributeData.h"

#include <QFormLayout>
#include <QGroupBox>

TAdjustALimitFrm::TAdjustALimitFrm(QWidget* owner, TAttributeChartData& data)
    : TAdjustLimitFrm(TLimitAdjust(data), owner)
{
    setObjectName(QStringLiteral("AdjustALimitFrm"));
    auto* limits = new QGroupBox(QStringLiteral("控制限"), this);
    auto* form = new QFormLayout(limits);
    AddLimitRows(form, lfUCL, lfCL, lfLCL);
    Finish(limits);
}

bool AdjustAttributeLimits(TAttributeChartData& data, QWidget* parent)
{
    TAdjustALimitFrm dialog(parent, data);
    return RunDialog(dialog) == QDialog::Accepted || dialog.Adjust().Saved();
}
