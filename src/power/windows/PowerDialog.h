#pragma once
// The base of the small dialogs of the user and duty management: Enter moves on to the next
// control instead of closing the dialog.
#include "component/BaseFrm.h"

class QLineEdit;

class TPowerDialog : public TBaseDialog {
    Q_OBJECT
public:
    explicit TPowerDialog(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // An edit of the given width.
    QLineEdit* NewEdit(int maxLength, bool password = false);
};
