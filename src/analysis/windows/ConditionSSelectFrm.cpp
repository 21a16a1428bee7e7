#include "analysis/windows/ConditionSSelectFrm.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

TConditionSSelectFrm::TConditionSSelectFrm(TItemKind kind, bool analysis, int taskID, QWidget* parent)
    : TBaseConditionFrm(kind, analysis, taskID, parent)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    lblChartType = new QLabel(QStringLiteral("控制图类型："), row);
    cmbChartType = new QComboBox(row);
    cmbChartType->setObjectName(QStringLiteral("cmbChartType"));
    cmbChartType->setMinimumWidth(180);
    layout->addWidget(lblChartType);
    layout->addWidget(cmbChartType);
    layout->addStretch(1);
    AddExtraRow(row);
    row->setVisible(analysis);
    cmbChartType->installEventFilter(this);
    connect(cmbChartType, &QComboBox::textActivated, this, [this](const QString& text) { Condition().ChartTypeText = text; });
    FillChartTypeList();
}

void TConditionSSelectFrm::PresetChartType(TChartType type)
{
    Condition().PresetChartType(type);
    FillChartTypeList();
}

void TConditionSSelectFrm::CharacteristicChanged()
{
    FillChartTypeList();
}

void TConditionSSelectFrm::FillChartTypeList()
{
    const TBaseCondition& c = Condition();
    cmbChartType->clear();
    cmbChartType->addItems(c.ChartTypes());
    cmbChartType->setCurrentIndex(cmbChartType->findText(c.ChartTypeText));
}

void TConditionSSelectFrm::ReadControls()
{
    TBaseConditionFrm::ReadControls();
    if (Condition().Analysis() && cmbChartType->count() > 0) Condition().ChartTypeText = cmbChartType->currentText();
}

bool TConditionSSelectFrm::eventFilter(QObject* watched, QEvent* event)
{
    // The list has nothing to offer before an item is chosen: saying so instead of opening it.
    if (watched == cmbChartType && !Condition().HasCharacteristic()) {
        const bool opens = event->type() == QEvent::MouseButtonPress ||
                           (event->type() == QEvent::KeyPress &&
                            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Tab &&
                            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Backtab);
        if (opens) {
            Condition().CheckCharacteristicChosen();
            return true;
        }
    }
    return TBaseConditionFrm::eventFilter(watched, event);
}
