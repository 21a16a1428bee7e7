#include "power/PowerManage.h"

#include "foundation/Errors.h"

int PowerCodeWidth(TPowerEntryKind kind)
{
    return kind == TPowerEntryKind::Duty ? 30 : 16;
}

int PowerNameWidth(TPowerEntryKind kind)
{
    return kind == TPowerEntryKind::Duty ? 30 : 64;
}

void CheckPowerEntryNames(TPowerEntryKind kind, const QString& code, const QString& name)
{
    if (code.trimmed().isEmpty()) throw ESystemError(QStringLiteral("请输入编码！"));
    if (name.trimmed().isEmpty()) throw ESystemError(QStringLiteral("请输入名称！"));
    if (code.size() > PowerCodeWidth(kind))
        throw ESystemError(QStringLiteral("编码不能超过%1个字符！").arg(PowerCodeWidth(kind)));
    if (name.size() > PowerNameWidth(kind))
        throw ESystemError(QStringLiteral("名称不能超过%1个字符！").arg(PowerNameWidth(kind)));
}

void CheckPowerDescribe(const QString& describe)
{
    if (describe.size() > PowerDescribeWidth)
        throw ESystemError(QStringLiteral("描述不能超过%1个字符！").arg(PowerDescribeWidth));
}

void CheckNewUserInput(const QString& code, const QString& name, const QString& password, const QString& confirm)
{
    CheckPowerEntryNames(TPowerEntryKind::User, code, name);
    if (!password.trimmed().isEmpty() && confirm != password)
        throw ESystemError(QStringLiteral("确认密码和密码不相同！"));
}

void CheckNewPassword(const QString& password, const QString& confirm)
{
    if (password != confirm) throw ESystemError(QStringLiteral("新密码跟确认密码不一致,请重新输入！"));
}
