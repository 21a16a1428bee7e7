#include "app/NewPassword.h"

#include "foundation/MessageService.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNewPasswordFrm::TNewPasswordFrm(QWidget* parent) : TBaseDialog(parent)
{
    setWindowTitle(QStringLiteral("新密码"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    edtPassword = new QLineEdit(this);
    edtConfirm = new QLineEdit(this);
    for (QLineEdit* e : {edtPassword, edtConfirm}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(10);
        e->installEventFilter(this);
    }
    form->addRow(QStringLiteral("新密码(&N)："), edtPassword);
    form->addRow(QStringLiteral("确认密码(&C)："), edtConfirm);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnOk = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnCancel = new QPushButton(QStringLiteral("取消(&A)"), this);
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    layout->addLayout(row);
    setFixedWidth(300);
    connect(btnOk, &QPushButton::clicked, this, &TNewPasswordFrm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TNewPasswordFrm::eventFilter(QObject* watched, QEvent* event)
{
    // Enter moves on to the next control instead of closing the dialog.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == edtPassword) edtConfirm->setFocus();
            else btnOk->setFocus();
            return true;
        }
    }
    return TBaseDialog::eventFilter(watched, event);
}

void TNewPasswordFrm::btnOkClick()
{
    if (edtPassword->text() != edtConfirm->text()) {
        ShowErrorBox(QStringLiteral("新密码跟确认密码不一致,请重新输入！"));
        return;
    }
    accept();
}

QString TNewPasswordFrm::NewPassword() const
{
    return edtPassword->text().trimmed();
}
