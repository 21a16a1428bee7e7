#include "component/WidgetMessageService.h"

#include <QApplication>
#include <QMessageBox>

std::unique_ptr<QMessageBox> MakeMessageBox(const QString& text, const QString& caption, TMsgIcon icon,
                                            TMsgButtons buttons, QWidget* parent)
{
    auto owned = std::make_unique<QMessageBox>(parent);
    QMessageBox& box = *owned;
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case TMsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case TMsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case TMsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case TMsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case TMsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case TMsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    return owned;
}

TMsgResult TWidgetMessageService::Show(const QString& text, const QString& caption, TMsgIcon icon,
                                       TMsgButtons buttons)
{
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(text, caption, icon, buttons, QApplication::activeWindow());
    switch (box->exec()) {
    case QMessageBox::Yes: return TMsgResult::Yes;
    case QMessageBox::No: return TMsgResult::No;
    case QMessageBox::Ok: return TMsgResult::Ok;
    default: return TMsgResult::Cancel;
    }
}
