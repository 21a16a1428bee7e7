#include "masterdata/windows/BaseListMDEditFrm.h"

#include "foundation/DataSet.h"
#include "foundation/ZCDb.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

TBaseListMDEditFrm::TBaseListMDEditFrm(QWidget* parent) : TBaseListMDDataFrm(parent)
{
    MainLayout = new QVBoxLayout(this);
    FieldLayout = new QFormLayout;
    FieldLayout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FieldLayout->setContentsMargins(16, 12, 16, 8);
    MainLayout->addLayout(FieldLayout);
}

TBaseListMDEditFrm::~TBaseListMDEditFrm()
{
    if (!FDetailReleased) return;
    DestroyForm();
    TDataSet* detail = DetailDataSet();
    Run([detail] {
        if (detail) detail->Open();
    });
}

bool TBaseListMDEditFrm::EditsDetail() const
{
    return ComponentName().contains(QStringLiteral("Detail"));
}

void TBaseListMDEditFrm::InitForm()
{
    TBaseListMDDataFrm::InitForm();
    TakeState(*this, EditsDetail() ? DetailDefaultValues.get() : MasterDefaultValues.get());
    // Only when another window holds it too: a detail closed for good would lose its rows.
    auto* detail = qobject_cast<TZCQuery*>(DetailDataSet());
    if (ReleasesDetail && !EditsDetail() && detail && detail->OpenCount() > 1) {
        detail->Close();
        FDetailReleased = true;
    }
}

void TBaseListMDEditFrm::AddRow(const QString& label, QWidget* control)
{
    FieldLayout->addRow(label, control);
}

QLineEdit* TBaseListMDEditFrm::AddTextRow(const QString& label, const QString& objectName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    AddRow(label, edit);
    return edit;
}

void TBaseListMDEditFrm::AddRow(const QString& label, QLayout* controls)
{
    FieldLayout->addRow(label, controls);
}

void TBaseListMDEditFrm::FinishLayout()
{
    auto* buttons = MakeEditButtons(this, *this);
    buttons->setContentsMargins(12, 0, 12, 10);
    MainLayout->addLayout(buttons);
}
