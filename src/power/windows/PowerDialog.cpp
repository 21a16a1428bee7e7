#include "power/windows/PowerDialog.h"

#include <QKeyEvent>
#include <QLineEdit>

TPowerDialog::TPowerDialog(QWidget* parent) : TBaseDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void TPowerDialog::keyPressEvent(QKeyEvent* event)
{
    // A button with the focus takes Enter itself; anywhere else Enter moves on.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        event->accept();
        return;
    }
    TBaseDialog::keyPressEvent(event);
}

QLineEdit* TPowerDialog::NewEdit(int maxLength, bool password)
{
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(maxLength);
    if (password) edit->setEchoMode(QLineEdit::Password);
    return edit;
}
