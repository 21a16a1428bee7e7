#include "masterdata/windows/LActionEditFrm.h"

#include "foundation/DataSet.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/MasterDataRules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

TLActionEditFrm::TLActionEditFrm(QWidget* parent) : TBaseListEditFrm(parent)
{
    setWindowTitle(QStringLiteral("改善措施编辑"));
    SetupActionForm(*this);
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));

    FinishLayout();
    resize(420, sizeHint().height());
}

void TLActionEditFrm::BindControls()
{
    Bind(MainDataSet(), QStringLiteral("ActionCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("ActionName"), edtName, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);

}

