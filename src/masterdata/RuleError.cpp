#include "masterdata/RuleError.h"

#include "foundation/MessageService.h"

QString RuleErrorCaption(TRuleErrorKind kind)
{
    switch (kind) {
    case TRuleErrorKind::Warning: return QStringLiteral("警告");
    case TRuleErrorKind::Hint: return QStringLiteral("提示");
    case TRuleErrorKind::Error: break;
    }
    return QStringLiteral("错误");
}

void ShowRuleError(const ERuleError& error)
{
    const TMsgIcon icon = error.Kind() == TRuleErrorKind::Warning ? TMsgIcon::Warning
                          : error.Kind() == TRuleErrorKind::Hint  ? TMsgIcon::Information
                                                                  : TMsgIcon::Error;
    TMessageService::Current().Show(error.Message(), RuleErrorCaption(error.Kind()), icon, TMsgButtons::Ok);
}
