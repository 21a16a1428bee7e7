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
    edtCode = new QLineEdit(this);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    AddRow(QStringLiteral("编码："), edtCode);
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    AddRow(QStringLiteral("名称："), edtName);
    edtDescribe = new QLineEdit(this);
    edtDescribe->setObjectName(QStringLiteral("edtDescribe"));
    AddRow(QStringLiteral("描述："), edtDescribe);

    FinishLayout();
    resize(420, sizeHint().height());
}

void TLActionEditFrm::BindControls()
{
    Bind(MainDataSet(), QStringLiteral("ActionCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("ActionName"), edtName, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);

}

