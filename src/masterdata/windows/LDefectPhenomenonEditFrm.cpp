#include "masterdata/windows/LDefectPhenomenonEditFrm.h"

#include "foundation/DataSet.h"
#include "masterdata/MasterDataForms.h"
#include "masterdata/MasterDataRules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include "masterdata/windows/MasterDataTexts.h"

TLDefectPhenomenonEditFrm::TLDefectPhenomenonEditFrm(QWidget* parent) : TBaseListEditFrm(parent)
{
    setWindowTitle(QStringLiteral("缺点项目编辑"));
    SetupDefectPhenomenonForm(*this);
    edtCode = new QLineEdit(this);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    AddRow(QStringLiteral("编码："), edtCode);
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    AddRow(QStringLiteral("名称："), edtName);
    cbPonderance = new QComboBox(this);
    cbPonderance->setObjectName(QStringLiteral("cbPonderance"));
    AddRow(QStringLiteral("严重级别："), cbPonderance);
    edtDescribe = new QLineEdit(this);
    edtDescribe->setObjectName(QStringLiteral("edtDescribe"));
    AddRow(QStringLiteral("描述："), edtDescribe);
    for (int i = 1; i <= 3; ++i) cbPonderance->addItem(PonderanceText(i), i);
    FinishLayout();
    resize(420, sizeHint().height());
}

void TLDefectPhenomenonEditFrm::BindControls()
{
    Bind(MainDataSet(), QStringLiteral("DPCode"), edtCode, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("DPName"), edtName, TFieldLink::TKind::Text);
    Bind(MainDataSet(), QStringLiteral("Ponderance"), cbPonderance, TFieldLink::TKind::Combo);
    Bind(MainDataSet(), QStringLiteral("Describe"), edtDescribe, TFieldLink::TKind::Text);

}

