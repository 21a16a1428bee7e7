#pragma once
// The rule checker's error: a validation message with a kind that selects the box it is shown in.
#include "foundation/Errors.h"

enum class TRuleErrorKind { Warning = 0, Hint = 1, Error = 2 };

class ERuleError : public ESystemError {
public:
    ERuleError(const QString& message, TRuleErrorKind kind) : ESystemError(message), FKind(kind) {}
    TRuleErrorKind Kind() const { return FKind; }

private:
    TRuleErrorKind FKind;
};

// "警告", "提示" or "错误".
QString RuleErrorCaption(TRuleErrorKind kind);
// A box with one OK button, caption and icon after the kind.
void ShowRuleError(const ERuleError& error);
