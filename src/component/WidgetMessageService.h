#pragma once
// The message service of the desktop program: real message boxes.
#include "foundation/MessageService.h"

class TWidgetMessageService : public TMessageService {
public:
    TMsgResult Show(const QString& text, const QString& caption, TMsgIcon icon, TMsgButtons buttons) override;
};
