#include "masterdata/windows/LCaseEditFrm.h"

#include "foundation/DataSet.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/MasterDataRules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

TLCaseEditFrm::TLCaseEditFrm(QWidget* parent) : TBaseListEditFrm(parent)
{
    setWindowTitle(QStringLiteral("异常原因编辑"));
    SetupCaseForm(*this);
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

void TLCaseEditFrm::BindControls()
{
    Bind(MainDataSet(), QStringLiteral("CaseCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("CaseName"), edtName, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);

}

