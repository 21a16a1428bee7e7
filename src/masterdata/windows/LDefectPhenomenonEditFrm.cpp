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
    edtCode = AddTextRow(QStringLiteral("编码："), QStringLiteral("edtCode"));
    edtName = AddTextRow(QStringLiteral("名称："), QStringLiteral("edtName"));
    cbPonderance = new QComboBox(this);
    cbPonderance->setObjectName(QStringLiteral("cbPonderance"));
    AddRow(QStringLiteral("严重级别："), cbPonderance);
    edtDescribe = AddTextRow(QStringLiteral("描述："), QStringLiteral("edtDescribe"));
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

