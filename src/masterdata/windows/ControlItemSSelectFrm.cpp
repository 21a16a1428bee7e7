#include "masterdata/windows/ControlItemSSelectFrm.h"

#include <QLabel>

TControlItemSSelectFrm::TControlItemSSelectFrm(TDataSet* dataSet, const QString& caption, QWidget* parent)
    : TBaseSingleSelectFrm(dataSet, caption, QStringLiteral("CID"), QStringLiteral("CName"), parent)
{
    lblCode->setText(QStringLiteral("特性编码："));
    lblName->setText(QStringLiteral("特性名称："));
    SetFilterField(edtCode, QStringLiteral("CCode"));
    SetFilterField(edtName, QStringLiteral("CName"));
    edtProCode = AddFilterBox(lblProCode, QStringLiteral("过程编码："), QStringLiteral("ProCode"));
    edtProName = AddFilterBox(lblProName, QStringLiteral("过程名称："), QStringLiteral("ProName"));
    AddColumn(QStringLiteral("CCode"), QStringLiteral("特性编码"));
    AddColumn(QStringLiteral("CName"), QStringLiteral("特性名称"));
    AddColumn(QStringLiteral("ProCode"), QStringLiteral("过程编码"));
    AddColumn(QStringLiteral("ProName"), QStringLiteral("过程名称"));
    resize(600, 400);
}
