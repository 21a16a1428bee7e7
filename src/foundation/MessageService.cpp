#include "foundation/MessageService.h"

#include "foundation/Errors.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {
class TConsoleMessageService : public TMessageService {
public:
    TMsgResult Show(const QString& text, const QString& caption, TMsgIcon, TMsgButtons buttons) override
    {
        QTextStream err(stderr);
        err << caption << ": " << text << Qt::endl;
        switch (buttons) {
        case TMsgButtons::Ok: return TMsgResult::Ok;
        case TMsgButtons::OkCancel: return TMsgResult::Cancel;
        case TMsgButtons::YesNo: return TMsgResult::No;
        case TMsgButtons::YesNoCancel: return TMsgResult::Cancel;
        }
        return TMsgResult::Cancel;
    }
};

TConsoleMessageService g_console;
TMessageService* g_current = nullptr;
} // namespace

TMessageService& TMessageService::Current()
{
    return g_current ? *g_current : static_cast<TMessageService&>(g_console);
}

void TMessageService::SetCurrent(TMessageService* service)
{
    g_current = service;
}

QString ApplicationTitle()
{
    return QStringLiteral("启衡SPC");
}

void ShowInfo(const QString& message)
{
    TMessageService::Current().Show(message, ApplicationTitle(), TMsgIcon::Information, TMsgButtons::Ok);
}

void ShowErrorBox(const QString& message)
{
    TMessageService::Current().Show(message, ApplicationTitle(), TMsgIcon::Error, TMsgButtons::Ok);
}

QString ErrorDisplayText(const QString& message)
{
    if (message.toLower().contains(QLatin1String("is not a valid floating point value")))
        return QStringLiteral("请输入正确的数值！");
    return message;
}

void ShowException(const std::exception& error)
{
    const auto* sys = dynamic_cast<const ESystemError*>(&error);
    ShowErrorBox(ErrorDisplayText(sys ? sys->Message() : QString::fromLocal8Bit(error.what())));
}

void ShowWarning(const QString& message, const QString& caption)
{
    TMessageService::Current().Show(message, caption, TMsgIcon::Warning, TMsgButtons::Ok);
}

TMsgResult AskQuestion(const QString& message, TMsgButtons buttons, const QString& caption)
{
    return TMessageService::Current().Show(message, caption, TMsgIcon::Question, buttons);
}

TMsgResult TScriptedMessageService::Show(const QString& text, const QString& caption, TMsgIcon icon,
                                         TMsgButtons buttons)
{
    Messages.append({text, caption, icon, buttons});
    if (buttons == TMsgButtons::Ok) return TMsgResult::Ok;
    if (!Answers.isEmpty()) return Answers.takeFirst();
    return DefaultAnswer;
}

QStringList TScriptedMessageService::Texts() const
{
    QStringList texts;
    for (const auto& m : Messages) texts << m.Text;
    return texts;
}

TMessageServiceScope::TMessageServiceScope(TMessageService* service)
    : FPrevious(&TMessageService::Current())
{
    TMessageService::SetCurrent(service);
}

TMessageServiceScope::~TMessageServiceScope()
{
    TMessageService::SetCurrent(FPrevious);
}
