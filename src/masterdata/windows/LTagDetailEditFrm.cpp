#include "masterdata/windows/LTagDetailEditFrm.h"

#include "masterdata/MasterDataForms.h"

#include <QLineEdit>
#include <QVBoxLayout>

TLTagDetailEditFrm::TLTagDetailEditFrm(QWidget* parent) : TBaseListMDEditFrm(parent)
{
    setWindowTitle(QStringLiteral("标签预设值编辑"));
    SetupTagForm(*this);
    edtValue = AddTextRow(QStringLiteral("预设值："), QStringLiteral("edtValue"));
    MainLayout->addStretch(1);
    FinishLayout();
    resize(420, sizeHint().height());
}

void TLTagDetailEditFrm::BindControls()
{
    Bind(DetailDataSet(), QStringLiteral("TagValue"), edtValue, TFieldLink::TKind::Text);
}
