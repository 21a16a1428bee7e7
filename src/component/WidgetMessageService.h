#pragma once
// The message service of the desktop program: real message boxes.
#include "foundation/MessageService.h"

#include <memory>

class QMessageBox;
class QWidget;

// The box a message is shown in (tests render it to see what a person sees).
std::unique_ptr<QMessageBox> MakeMessageBox(const QString& text, const QString& caption, TMsgIcon icon,
                                            TMsgButtons buttons, QWidget* parent = nullptr);

class TWidgetMessageService : public TMessageService {
public:
    TMsgResult Show(const QString& text, const QString& caption, TMsgIcon icon, TMsgButtons buttons) override;
};
