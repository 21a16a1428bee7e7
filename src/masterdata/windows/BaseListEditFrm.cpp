#include "masterdata/windows/BaseListEditFrm.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

TBaseListEditFrm::TBaseListEditFrm(QWidget* parent) : TBaseListDataFrm(parent)
{
    MainLayout = new QVBoxLayout(this);
    FieldLayout = new QFormLayout;
    FieldLayout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FieldLayout->setContentsMargins(16, 12, 16, 8);
    MainLayout->addLayout(FieldLayout);
}

void TBaseListEditFrm::InitForm()
{
    TBaseListDataFrm::InitForm();
    TakeState(*this, DefaultValues.get());
}

void TBaseListEditFrm::AfterNew()
{
    TBaseListDataFrm::AfterNew();
}

void TBaseListEditFrm::AddRow(const QString& label, QWidget* control)
{
    FieldLayout->addRow(label, control);
}

QLineEdit* TBaseListEditFrm::AddTextRow(const QString& label, const QString& objectName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    AddRow(label, edit);
    return edit;
}

void TBaseListEditFrm::AddRow(const QString& label, QLayout* controls)
{
    FieldLayout->addRow(label, controls);
}

void TBaseListEditFrm::FinishLayout()
{
    MainLayout->addStretch(1);
    auto* buttons = MakeEditButtons(this, *this);
    buttons->setContentsMargins(12, 0, 12, 10);
    MainLayout->addLayout(buttons);
}
