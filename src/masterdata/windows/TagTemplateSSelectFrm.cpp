#include "masterdata/windows/TagTemplateSSelectFrm.h"

TTagTemplateSSelectFrm::TTagTemplateSSelectFrm(TKQCommonDM* dm, QWidget* parent)
    : TBaseSingleSelectFrm(dm ? &dm->qryTagTemplate() : nullptr, QStringLiteral("标签模板选择"),
                           QStringLiteral("TagTemplateID"), QStringLiteral("TagTemplateName"), parent)
{
    SetFilterField(edtCode, QStringLiteral("TagTemplateCode"));
    SetFilterField(edtName, QStringLiteral("TagTemplateName"));
    AddColumn(QStringLiteral("TagTemplateCode"), QStringLiteral("模板编号"));
    AddColumn(QStringLiteral("TagTemplateName"), QStringLiteral("模板名称"));
    AddColumn(QStringLiteral("Describe"), QStringLiteral("描述"));
}
