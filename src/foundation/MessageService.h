#pragma once
// Every message box of the program goes through the current message service. The desktop program
// installs one that shows real boxes; tests install a TScriptedMessageService.
#include <QList>
#include <QString>
#include <exception>

enum class TMsgIcon { Information, Warning, Error, Question };
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgResult { Ok, Cancel, Yes, No };

class TMessageService {
public:
    virtual ~TMessageService() = default;
    virtual TMsgResult Show(const QString& text, const QString& caption, TMsgIcon icon,
                            TMsgButtons buttons) = 0;

    // The installed service; without one, messages go to standard error and questions get No/Cancel.
    static TMessageService& Current();
    // Installs a service (not owned); nullptr restores the default.
    static void SetCurrent(TMessageService* service);
};

// The caption of boxes that have none of their own: the application title.
QString ApplicationTitle();

// A plain box with an OK button.
void ShowInfo(const QString& message);
// The error box: stop icon, OK, the application title as caption.
void ShowErrorBox(const QString& message);
// The program-wide error display: a number-conversion message reads "请输入正确的数值！".
QString ErrorDisplayText(const QString& message);
void ShowException(const std::exception& error);
void ShowWarning(const QString& message, const QString& caption = QStringLiteral("警告"));
// A question with the caption "询问".
TMsgResult AskQuestion(const QString& message, TMsgButtons buttons = TMsgButtons::YesNo,
                       const QString& caption = QStringLiteral("询问"));

// Records every message and answers questions from a script; for tests and batch use.
class TScriptedMessageService : public TMessageService {
public:
    struct TMessage {
        QString Text;
        QString Caption;
        TMsgIcon Icon;
        TMsgButtons Buttons;
    };

    TMsgResult Show(const QString& text, const QString& caption, TMsgIcon icon,
                    TMsgButtons buttons) override;

    // Answers given in order to the next questions; when none is left, DefaultAnswer.
    QList<TMsgResult> Answers;
    TMsgResult DefaultAnswer = TMsgResult::Yes;
    QList<TMessage> Messages;

    QStringList Texts() const;
    QString LastText() const { return Messages.isEmpty() ? QString() : Messages.last().Text; }
};

// Installs a service for the lifetime of the guard and restores the previous one.
class TMessageServiceScope {
public:
    explicit TMessageServiceScope(TMessageService* service);
    ~TMessageServiceScope();
    TMessageServiceScope(const TMessageServiceScope&) = delete;
    TMessageServiceScope& operator=(const TMessageServiceScope&) = delete;

private:
    TMessageService* FPrevious;
};
